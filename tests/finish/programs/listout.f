C     List-directed output of every type, in records of all lengths.
      PROGRAM LISTOUT
      INTEGER I, K(3)
      REAL R
      DOUBLE PRECISION D
      LOGICAL L
      CHARACTER*5 C
      R = 1.0 / 7.0
      D = 1.0D0 / 7.0D0
      L = .FALSE.
      C = 'abc'
      K(1) = -1
      K(2) = 0
      K(3) = 123456789
      PRINT *, R, D, L, C, K
      PRINT *, 'r =', R, ' d =', D
      WRITE (*, *) (K(I), I = 3, 1, -1), (I * 0.5D0, I = 1, 3)
      PRINT *
      PRINT *, 1.0E-5, 1.0E6, 1.0E9, 123.456, -0.0001
      PRINT *, 1.0D-5, 1.0D15, 1.0D16, 1.0D17, 2.0D0**60, -1.0D-200
      D = 1.0D0
      DO 10 I = 1, 6
         D = D * 10.0D0 + 0.1D0
         PRINT *, I, D, REAL(D), D / 1.0D10
   10 CONTINUE
      WRITE (*, *) 'text only'
      WRITE (6, *) 'unit 6', .TRUE., 7
      END
