C     The intrinsics whose BASIC counterparts mean something else.
      PROGRAM INTRIN
      INTEGER I
      DOUBLE PRECISION X, Y, PI
      PRINT *, INT(2.7D0), INT(-2.7D0), NINT(2.5D0), NINT(-2.5D0),
     &         NINT(0.4999D0), IDINT(-3.9D0), IFIX(7.9)
      PRINT *, MOD(17, 5), MOD(-17, 5), MOD(17, -5), MOD(5.5D0, 2.0D0),
     &         DMOD(-7.25D0, 2.0D0), AMOD(10.0, 3.0)
      PRINT *, SIGN(3, -2), SIGN(-3, 2), ISIGN(5, 0), DSIGN(2.5D0,-1D0)
      PRINT *, DIM(5, 3), DIM(3, 5), IDIM(-2, -7), DDIM(1.5D0, 2.5D0)
      PRINT *, MAX(3, 9, -1, 4), MIN(3, 9, -1, 4), MAX0(1, 2),
     &         AMAX1(1.5, 2.5, -0.5), DMIN1(1D0, -1D0, 0D0), MIN0(8, 3)
      PRINT *, DMAX1(1.0D0, 2.0D0), MAX(1.5D0, 2.0D0), ABS(-4),
     &         DABS(-4D0)
      PRINT *, LOG10(1000.0D0), DLOG10(2.0D0), LOG10(0.001D0)
      PI = 4.0D0 * ATAN(1.0D0)
      PRINT *, PI, DATAN2(1.0D0, -1.0D0), ATAN2(-1.0D0, -1.0D0),
     &         ATAN2(0.0D0, 1.0D0)
      DO 10 I = -2, 2
         X = DBLE(I) / 2.0D0
         Y = DATAN2(X, 0.5D0)
         WRITE (*, 100) I, X, Y, SQRT(ABS(X)), EXP(X), DNINT(X * 3)
   10 CONTINUE
  100 FORMAT (1X, I3, 5F14.8)
      PRINT *, DSQRT(2.0D0), DEXP(1.0D0), DLOG(10.0D0), DSIN(0.5D0),
     &         DCOS(0.5D0), DTAN(0.5D0)
      PRINT *, ASIN(0.5D0), ACOS(0.5D0), SINH(1.0D0), COSH(1.0D0),
     &         TANH(0.25D0), AINT(-3.7D0), ANINT(2.5D0)
      END
