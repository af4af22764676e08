C     Procedures passed as arguments (EXTERNAL): a quadrature and a root
C     finder called with several functions.
      PROGRAM EXTERN
      DOUBLE PRECISION SIMPS, BISECT, F1, F2, F3
      EXTERNAL F1, F2, F3
      PRINT *, 'simpson f1', SIMPS(F1, 0.0D0, 1.0D0, 10)
      PRINT *, 'simpson f2', SIMPS(F2, 0.0D0, 2.0D0, 20)
      PRINT *, 'bisect f2', BISECT(F2, 0.0D0, 3.0D0, 40)
      PRINT *, 'bisect f3', BISECT(F3, 0.0D0, 1.0D0, 40)
      CALL APPLY(F1, 3)
      CALL APPLY(F3, 2)
      END

      DOUBLE PRECISION FUNCTION F1(X)
      DOUBLE PRECISION X
      F1 = X * X
      END

      DOUBLE PRECISION FUNCTION F2(X)
      DOUBLE PRECISION X
      F2 = X**3 - 2.0D0 * X - 1.0D0
      END

      DOUBLE PRECISION FUNCTION F3(X)
      DOUBLE PRECISION X
      F3 = COS(X) - X
      END

      DOUBLE PRECISION FUNCTION SIMPS(F, A, B, N)
      DOUBLE PRECISION F, A, B, H, S
      INTEGER N, I
      EXTERNAL F
      H = (B - A) / N
      S = F(A) + F(B)
      DO 10 I = 1, N - 1, 2
         S = S + 4.0D0 * F(A + I * H)
   10 CONTINUE
      DO 20 I = 2, N - 2, 2
         S = S + 2.0D0 * F(A + I * H)
   20 CONTINUE
      SIMPS = S * H / 3.0D0
      END

      DOUBLE PRECISION FUNCTION BISECT(F, A, B, N)
      DOUBLE PRECISION F, A, B, LO, HI, MID
      INTEGER N, I
      EXTERNAL F
      LO = A
      HI = B
      DO 10 I = 1, N
         MID = (LO + HI) / 2.0D0
         IF (F(LO) * F(MID) .LE. 0.0D0) THEN
            HI = MID
         ELSE
            LO = MID
         END IF
   10 CONTINUE
      BISECT = (LO + HI) / 2.0D0
      END

      SUBROUTINE APPLY(G, N)
      DOUBLE PRECISION G
      INTEGER N, I
      EXTERNAL G
      DO 10 I = 1, N
         PRINT *, 'apply', I, G(DBLE(I) / 4.0D0)
   10 CONTINUE
      END
