C     Special functions in the style of the old libraries: constants as
C     PARAMETERs, series and continued fractions chosen by arithmetic IF,
C     Chebyshev coefficients in DATA, results printed in a table with
C     Hollerith headings, G, E and 1P edits, T and X tabs.
      PROGRAM SPECFN
      INTEGER I, NTERM
      DOUBLE PRECISION X, GAMLN, ERFC1, BESJ0, CHEB
      DOUBLE PRECISION XS(7)
      DATA XS /0.25D0, 0.5D0, 1.0D0, 1.5D0, 2.5D0, 4.0D0, 7.5D0/
      WRITE (6, 900)
      DO 10 I = 1, 7
         X = XS(I)
         WRITE (6, 910) X, GAMLN(X), ERFC1(X, NTERM), NTERM, BESJ0(X)
   10 CONTINUE
      WRITE (6, 920) (CHEB(-1.0D0 + 0.5D0*DBLE(I)), I = 0, 4)
      WRITE (6, 930) GAMLN(0.5D0)*2.0D0, 1.0D-300, -123456.789D0
  900 FORMAT (1X, 1HX, T10, 6HLGAMMA, T28, 4HERFC, T44, 5HTERMS,
     *        T52, 2HJ0/1X, 60(1H-))
  910 FORMAT (1X, F5.2, 2X, 1PE16.8, 1X, D16.8, I4, 2X, 0PG16.8)
  920 FORMAT (' CHEBYSHEV', 5F10.6)
  930 FORMAT (1X, G12.5, 1X, G12.5, 1X, 1PG14.6)
      END

C     log Gamma: recurrence up to X >= 8, then Stirling's series.
      DOUBLE PRECISION FUNCTION GAMLN(XX)
      DOUBLE PRECISION XX, X, S, Z, HLNTPI, C1, C2, C3, C4, C5
      PARAMETER (HLNTPI = 0.91893853320467274D0)
      PARAMETER (C1 = 1.0D0/12.0D0, C2 = -1.0D0/360.0D0,
     *           C3 = 1.0D0/1260.0D0, C4 = -1.0D0/1680.0D0,
     *           C5 = 1.0D0/1188.0D0)
      X = XX
      S = 0.0D0
   10 IF (X - 8.0D0) 20, 30, 30
   20 S = S - LOG(X)
      X = X + 1.0D0
      GO TO 10
   30 Z = 1.0D0/(X*X)
      GAMLN = S + (X - 0.5D0)*LOG(X) - X + HLNTPI
     *        + (C1 + Z*(C2 + Z*(C3 + Z*(C4 + Z*C5))))/X
      END

C     erfc: the series below 2, a continued fraction above.
      DOUBLE PRECISION FUNCTION ERFC1(X, NTERM)
      INTEGER NTERM, N, NMAX
      PARAMETER (NMAX = 200)
      DOUBLE PRECISION X, SUM, TERM, EPS, PI, F, T
      PARAMETER (EPS = 1.0D-16, PI = 3.14159265358979324D0)
      NTERM = 0
      IF (X - 2.0D0) 10, 20, 20
   10 SUM = X
      TERM = X
      DO 15 N = 1, NMAX
         TERM = -TERM*X*X/DBLE(N)
         SUM = SUM + TERM/DBLE(2*N + 1)
         NTERM = N
         IF (ABS(TERM) .LT. EPS*ABS(SUM)) GO TO 16
   15 CONTINUE
   16 ERFC1 = 1.0D0 - 2.0D0/SQRT(PI)*SUM
      RETURN
C     Backward evaluation of the continued fraction, 60 levels.
   20 F = 0.0D0
      DO 25 N = 60, 1, -1
         T = DBLE(N)*0.5D0
         F = T/(X + F)
         NTERM = NTERM + 1
   25 CONTINUE
      ERFC1 = EXP(-X*X)/SQRT(PI)/(X + F)
      END

C     J0 by its power series, summed until the terms stop counting.
      DOUBLE PRECISION FUNCTION BESJ0(X)
      DOUBLE PRECISION X, TERM, SUM, Q
      INTEGER K
      SUM = 1.0D0
      TERM = 1.0D0
      Q = -0.25D0*X*X
      K = 0
   10 K = K + 1
      TERM = TERM*Q/DBLE(K*K)
      SUM = SUM + TERM
      IF (ABS(TERM) .GT. 1.0D-17*ABS(SUM) .OR. K .LT. 3) GO TO 10
      BESJ0 = SUM
      END

C     A Chebyshev series by Clenshaw's recurrence, coefficients in DATA.
      DOUBLE PRECISION FUNCTION CHEB(X)
      DOUBLE PRECISION X, C(6), B0, B1, B2, TWOX
      INTEGER J
      DATA C /1.5D0, -0.75D0, 0.25D0, 0.125D0, -0.0625D0, 0.03125D0/
      TWOX = 2.0D0*X
      B1 = 0.0D0
      B0 = 0.0D0
      DO 10 J = 6, 1, -1
         B2 = B1
         B1 = B0
         B0 = TWOX*B1 - B2 + C(J)
   10 CONTINUE
      CHEB = 0.5D0*(B0 - B2) + 0.5D0*C(1) - 0.5D0*C(1)
      END
