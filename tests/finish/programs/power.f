C     ** binds tighter than unary minus and groups from the right.
      PROGRAM POWER
      INTEGER I, J, N
      DOUBLE PRECISION X, Y
      X = 3.0D0
      I = 2
      J = 3
      PRINT *, -X**2, (-X)**2, -2**2, 2**3**2
      PRINT *, I**J, I**(-1), (-I)**J, 1**(-5), (-1)**(-3), 0**2
      Y = X**0.5D0
      PRINT *, Y, X**(-2), X**I, 2.0D0**J, 10.0D0**(-3)
      PRINT *, -X**I + 1, 1 - X**2, X**2**2 / 3
      N = -I**2
      PRINT *, N, -I**J, 4**(1/2), 2**(J-1)**2
      Y = 1.1D0
      DO 10 I = 1, 12, 3
         PRINT *, I, Y**I, Y**(-I)
   10 CONTINUE
      END
