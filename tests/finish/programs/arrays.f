C     Arrays: lower bounds, adjustable and assumed-size dummies, 2-D
C     column-major order, and an element passed where an array is taken.
      PROGRAM ARRAYS
      INTEGER I, J
      DOUBLE PRECISION A(-2:2), B(3, 4), C(12), S
      DOUBLE PRECISION TOTAL
      EXTERNAL TOTAL
      DO 10 I = -2, 2
         A(I) = I * 1.5D0
   10 CONTINUE
      PRINT *, A
      PRINT *, A(-2), A(0), A(2)
      DO 20 J = 1, 4
         DO 20 I = 1, 3
            B(I, J) = 10 * I + J
   20 CONTINUE
      PRINT *, B
      CALL FLAT(B, C, 12)
      PRINT *, C(1), C(4), C(12)
      PRINT *, TOTAL(B, 12), TOTAL(B(1, 3), 6), TOTAL(C(5), 3)
      CALL FILL(B(2, 2), 3, 7.0D0)
      PRINT *, ((B(I, J), J = 1, 4), I = 1, 3)
      CALL COLSUM(B, 3, 3, 4)
      S = 0.0D0
      DO 30 I = 1, 3
         S = S + B(I, 4)
   30 CONTINUE
      PRINT *, S
      CALL SHIFT(A, -2, 2)
      PRINT *, A
      END

      SUBROUTINE FLAT(X, Y, N)
      INTEGER N, I
      DOUBLE PRECISION X(*), Y(N)
      DO 10 I = 1, N
         Y(I) = X(I)
   10 CONTINUE
      END

      DOUBLE PRECISION FUNCTION TOTAL(X, N)
      INTEGER N, I
      DOUBLE PRECISION X(*)
      TOTAL = 0.0D0
      DO 10 I = 1, N
         TOTAL = TOTAL + X(I)
   10 CONTINUE
      END

      SUBROUTINE FILL(X, N, V)
      INTEGER N, I
      DOUBLE PRECISION X(N), V
      DO 10 I = 1, N
         X(I) = V + I
   10 CONTINUE
      END

      SUBROUTINE COLSUM(X, LDX, M, N)
      INTEGER LDX, M, N, I, J
      DOUBLE PRECISION X(LDX, *)
      DO 20 J = 1, N - 1
         DO 10 I = 1, M
            X(I, N) = X(I, N) + X(I, J)
   10    CONTINUE
   20 CONTINUE
      END

      SUBROUTINE SHIFT(X, LO, HI)
      INTEGER LO, HI, I
      DOUBLE PRECISION X(LO:HI)
      DO 10 I = HI, LO + 1, -1
         X(I) = X(I - 1)
   10 CONTINUE
      X(LO) = 0.0D0
      END
