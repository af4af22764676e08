C     Implicit typing and IMPLICIT, statement functions, CHARACTER*(*)
C     dummies, functions of every type, and the generic conversions.
      PROGRAM IMPLIC
      IMPLICIT DOUBLE PRECISION (A-H, O-Z)
      CHARACTER*12 LABEL
      CHARACTER*3 TRIM3
      LOGICAL ISODD
      INTEGER NDIGIT
      SQ(X) = X * X
      HYPOT(X, Y) = SQRT(SQ(X) + SQ(Y))
      A = 3.0D0
      B = 4.0D0
      I = 7
      K = I / 2
      PRINT *, A, B, I, K, HYPOT(A, B), SQ(A + 1.0D0)
      LABEL = 'result'
      CALL SHOW(LABEL, HYPOT(5.0D0, 12.0D0))
      CALL SHOW('short', 1.0D0 / 3.0D0)
      PRINT *, TRIM3('abcdef'), ISODD(I), ISODD(K), NDIGIT(-12345)
      PRINT *, DBLE(I) / 2, REAL(I) / 2, FLOAT(I) / 3, SNGL(A) / 3,
     &         INT(A * 1.7D0), IFIX(2.5), IDNINT(A * 0.5D0)
      N = 0
      DO 10 J = 1, 20
         IF (ISODD(J)) N = N + NDIGIT(J * J * J)
   10 CONTINUE
      PRINT *, 'digits of odd cubes', N
      END

      SUBROUTINE SHOW(NAME, VALUE)
      CHARACTER*(*) NAME
      DOUBLE PRECISION VALUE
      WRITE (*, 100) NAME, LEN(NAME), VALUE
  100 FORMAT (1X, '[', A, ']', I4, F16.10)
      END

      CHARACTER*3 FUNCTION TRIM3(S)
      CHARACTER*(*) S
      TRIM3 = S(LEN(S) - 2:)
      END

      LOGICAL FUNCTION ISODD(N)
      ISODD = MOD(N, 2) .NE. 0
      END

      INTEGER FUNCTION NDIGIT(N)
      M = IABS(N)
      NDIGIT = 1
   10 IF (M .LT. 10) RETURN
      M = M / 10
      NDIGIT = NDIGIT + 1
      GO TO 10
      END
