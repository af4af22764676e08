C     Integer division truncates toward zero; mixed mode converts the
C     integer operand only where the other one is real.
      PROGRAM INTDIV
      INTEGER I, J, K, N
      REAL R
      DOUBLE PRECISION D
      I = 7
      J = 2
      K = -7
      PRINT *, I / J, K / J, I / (-J), K / (-J)
      PRINT *, 1 / 3, 2 / 3 * 3, 3 * 2 / 3, 99 / 100
      R = I / J
      PRINT *, R, I / J * 1.0, 1.0 * I / J, REAL(I) / J
      D = I / J + 0.5D0
      PRINT *, D, I / 2.0D0, DBLE(K) / J
      N = 2.9
      PRINT *, N, INT(-2.9), 10 / 4 * 4, MOD(10, 4)
      R = 1.0 / 3.0
      D = 1.0D0 / 3.0D0
      PRINT *, R, D, R + D, R * 3
      N = 0
      DO 10 I = 1, 10
         N = N + I / 3
   10 CONTINUE
      PRINT *, 'sum of i/3 =', N
      END
