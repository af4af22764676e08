C     DO loops: steps, trip counts fixed at the start, zero trips,
C     negative steps, loops sharing a label, DO WHILE.
      PROGRAM DOLOOP
      INTEGER I, J, K, N, M
      DOUBLE PRECISION X
      N = 0
      DO 10 I = 1, 10, 3
         N = N + I
   10 CONTINUE
      PRINT *, 'step 3', N, I
      N = 0
      DO 20 I = 10, 1, -2
         N = N * 10 + I
   20 CONTINUE
      PRINT *, 'step -2', N, I
      N = 0
      DO 30 I = 5, 1
         N = N + 1
   30 CONTINUE
      PRINT *, 'zero trip', N, I
      M = 3
      N = 0
      DO 40 I = 1, M
         M = 10
         N = N + 1
   40 CONTINUE
      PRINT *, 'trips fixed', N, M
      N = 0
      DO 50 I = 1, 3
      DO 50 J = I, 3
         N = N + I * J
   50 CONTINUE
      PRINT *, 'shared label', N, I, J
      X = 0.0D0
      DO 60 K = -3, 3
         X = X + DBLE(K) * 0.5D0
         IF (K .EQ. 1) GO TO 60
         X = X * 2.0D0
   60 CONTINUE
      PRINT *, 'x', X
      K = 1
      N = 0
      DO WHILE (K .LT. 1000)
         K = K * 3
         N = N + 1
      END DO
      PRINT *, 'while', K, N
      N = 0
      DO 80 I = 1, 100
         IF (I * I .GT. 50) GO TO 90
         N = I
   80 CONTINUE
   90 PRINT *, 'exit', N, I
      DO 100 I = 1, 3
         DO 95 J = 3, I, -1
            WRITE (*, '(1X, 2I3)') I, J
   95    CONTINUE
  100 CONTINUE
      END
