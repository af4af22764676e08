C     Scalars passed where the callee takes an array: variables (their
C     new value comes back), constants and expressions, a dummy and a
C     COMMON member passed on, in a CALL, a logical IF and a function.
      PROGRAM SCALRG
      DOUBLE PRECISION X, Y, S, TOTAL, C
      INTEGER K
      COMMON /BLK/ C
      EXTERNAL TOTAL
      X = 1.5D0
      CALL SCALE(1, X, 2.0D0)
      WRITE (*, *) 'scaled', X
      CALL SHOW(1, 3.25D0)
      CALL SHOW(1, X + 1.0D0)
      IF (X .GT. 0.0D0) CALL SCALE(1, X, -1.0D0)
      WRITE (*, *) 'negated', X
      S = TOTAL(1, X) + 1.0D0
      WRITE (*, *) 'total', S, X
      Y = 0.5D0
      CALL OUTER(Y)
      WRITE (*, *) 'outer', Y
      C = 4.0D0
      CALL SCALE(1, C, 0.25D0)
      WRITE (*, *) 'common', C
      K = 0
      CALL IFILL(1, K, 7)
      WRITE (*, *) 'filled', K
      END

      SUBROUTINE SCALE(N, A, F)
      INTEGER N, I
      DOUBLE PRECISION A(*), F
      DO 10 I = 1, N
         A(I) = A(I) * F
   10 CONTINUE
      END

      SUBROUTINE SHOW(N, A)
      INTEGER N
      DOUBLE PRECISION A(N)
      WRITE (*, *) 'show', A
      END

      DOUBLE PRECISION FUNCTION TOTAL(N, A)
      INTEGER N, I
      DOUBLE PRECISION A(*)
      TOTAL = 0.0D0
      DO 10 I = 1, N
         TOTAL = TOTAL + A(I)
         A(I) = 0.0D0
   10 CONTINUE
      END

      SUBROUTINE OUTER(Y)
      DOUBLE PRECISION Y
      CALL SCALE(1, Y, 3.0D0)
      END

      SUBROUTINE IFILL(N, K, V)
      INTEGER N, K(N), V, I
      DO 10 I = 1, N
         K(I) = V
   10 CONTINUE
      END
