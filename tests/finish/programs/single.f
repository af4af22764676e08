C     REAL (single precision) arithmetic is rounded at every step: sums
C     that lose digits, a recurrence, and single values mixed with
C     double ones.
      PROGRAM SINGLE
      REAL S, T, X, H, Y
      DOUBLE PRECISION D
      INTEGER I
      S = 0.0
      D = 0.0D0
      DO 10 I = 1, 1000
         S = S + 0.1
         D = D + 0.1
   10 CONTINUE
      PRINT *, S, D
      T = 1.0
      DO 20 I = 1, 30
         T = T / 3.0 + 1.0 / 7.0
   20 CONTINUE
      PRINT *, T, T * 3.0, T - 0.2142857
      H = 0.1
      Y = 1.0
      DO 30 I = 1, 10
         X = I * H
         Y = Y + H * (X * X - Y)
   30 CONTINUE
      PRINT *, X, Y, Y * Y, SQRT(Y), EXP(-Y)
      WRITE (*, '(1X, 3F14.9, E16.8)') S, T, Y, Y / 3.0E7
      D = S
      PRINT *, D, D - 100.0D0, REAL(D) * 2
      END
