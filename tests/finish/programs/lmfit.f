C     A Levenberg-Marquardt-like least squares driver: the residuals
C     routine goes as EXTERNAL through two levels, the machine precision
C     comes from a loop, and norms are scaled as the classic DNRM2 does.
      PROGRAM LMFIT
      INTEGER M, N, INFO, NFEV, I
      PARAMETER (M = 6, N = 3)
      DOUBLE PRECISION X(N), FVEC(M), WA(M*N + 5*N + M), TOL, FNORM
      DOUBLE PRECISION DPMPAR, ENORM
      EXTERNAL FCNEXP, DPMPAR, ENORM
      DATA X /1.0D0, 0.5D0, 0.0D0/
      TOL = DSQRT(DPMPAR(1))
      WRITE (6, 1000) DPMPAR(1)
      CALL LMDRV(FCNEXP, M, N, X, FVEC, TOL, INFO, NFEV, WA)
      FNORM = ENORM(M, FVEC)
      WRITE (6, 1010) INFO, NFEV, FNORM
      WRITE (6, 1020) (X(I), I = 1, N)
      WRITE (6, 1030) (I, FVEC(I), I = 1, M)
 1000 FORMAT (' MACHINE EPSILON', 1PD15.4)
 1010 FORMAT (5X, 'INFO =', I3, 3X, 'NFEV =', I4/5X,
     *        'FINAL L2 NORM OF THE RESIDUALS', 1PD15.7)
 1020 FORMAT (5X, 'FINAL APPROXIMATE SOLUTION'//(5X, 3F15.7))
 1030 FORMAT (2(3X, I2, 1X, 1PE12.4))
      END

      DOUBLE PRECISION FUNCTION DPMPAR(I)
      INTEGER I
      DOUBLE PRECISION EPS, ONE, HALF
      DATA ONE, HALF /1.0D0, 0.5D0/
      DPMPAR = 0.0D0
      IF (I .NE. 1) RETURN
      EPS = ONE
   10 CONTINUE
      IF (ONE + EPS*HALF .EQ. ONE) GO TO 20
      EPS = EPS*HALF
      GO TO 10
   20 DPMPAR = EPS
      RETURN
      END

      DOUBLE PRECISION FUNCTION ENORM(N, X)
      INTEGER N, I
      DOUBLE PRECISION X(N), SCALE, SSQ, ABSXI, ZERO, ONE
      PARAMETER (ZERO = 0.0D0, ONE = 1.0D0)
      IF (N .LT. 1) THEN
         ENORM = ZERO
         RETURN
      END IF
      SCALE = ZERO
      SSQ = ONE
      DO 10 I = 1, N
         IF (X(I) .NE. ZERO) THEN
            ABSXI = ABS(X(I))
            IF (SCALE .LT. ABSXI) THEN
               SSQ = ONE + SSQ*(SCALE/ABSXI)**2
               SCALE = ABSXI
            ELSE
               SSQ = SSQ + (ABSXI/SCALE)**2
            END IF
         END IF
   10 CONTINUE
      ENORM = SCALE*SQRT(SSQ)
      END

      SUBROUTINE FCNEXP(M, N, X, FVEC, IFLAG)
      INTEGER M, N, IFLAG, I
      DOUBLE PRECISION X(N), FVEC(M), T, Y(6)
      SAVE Y
      DATA Y /2.95D0, 2.25D0, 1.81D0, 1.55D0, 1.40D0, 1.32D0/
      IF (IFLAG .EQ. 0) RETURN
      DO 10 I = 1, M
         T = DBLE(I - 1)*0.5D0
         FVEC(I) = X(1)*EXP(-X(2)*T) + X(3) - Y(I)
   10 CONTINUE
      END

      SUBROUTINE LMDRV(FCN, M, N, X, FVEC, TOL, INFO, NFEV, WA)
      INTEGER M, N, INFO, NFEV
      DOUBLE PRECISION X(N), FVEC(M), TOL, WA(*)
      EXTERNAL FCN
      INTEGER IW
      IW = M*N + 1
      CALL LMSTEP(FCN, M, N, X, FVEC, WA(1), M, TOL, INFO, NFEV,
     *            WA(IW), WA(IW + N), WA(IW + 2*N))
      END

      SUBROUTINE FDJAC(FCN, M, N, X, FVEC, FJAC, LDFJAC, IFLAG, WA)
      INTEGER M, N, LDFJAC, IFLAG, I, J
      DOUBLE PRECISION X(N), FVEC(M), FJAC(LDFJAC, N), WA(M), H, TEMP
      EXTERNAL FCN
      DO 20 J = 1, N
         TEMP = X(J)
         H = 1.0D-7*ABS(TEMP)
         IF (H .EQ. 0.0D0) H = 1.0D-7
         X(J) = TEMP + H
         CALL FCN(M, N, X, WA, IFLAG)
         IF (IFLAG .LT. 0) GO TO 30
         X(J) = TEMP
         DO 10 I = 1, M
            FJAC(I, J) = (WA(I) - FVEC(I))/H
   10    CONTINUE
   20 CONTINUE
   30 CONTINUE
      END

      SUBROUTINE LMSTEP(FCN, M, N, X, FVEC, FJAC, LDFJAC, TOL, INFO,
     *                  NFEV, DIAG, XNEW, WA)
      INTEGER M, N, LDFJAC, INFO, NFEV, IFLAG, ITER, I, J, K
      DOUBLE PRECISION X(N), FVEC(M), FJAC(LDFJAC, N), TOL, DIAG(N),
     *                 XNEW(N), WA(*), A(3, 4), XLAM, FNORM, FNEW,
     *                 ENORM, S, P
      EXTERNAL FCN, ENORM
      INFO = 0
      IFLAG = 1
      CALL FCN(M, N, X, FVEC, IFLAG)
      NFEV = 1
      FNORM = ENORM(M, FVEC)
      XLAM = 1.0D-3
      DO 100 ITER = 1, 50
         CALL FDJAC(FCN, M, N, X, FVEC, FJAC, LDFJAC, IFLAG, WA(1))
         NFEV = NFEV + N
C        Normal equations (J'J + lambda diag) dx = -J'f, augmented.
   40    CONTINUE
         DO 60 J = 1, N
            DO 50 K = 1, N
               S = 0.0D0
               DO 45 I = 1, M
                  S = S + FJAC(I, J)*FJAC(I, K)
   45          CONTINUE
               A(J, K) = S
   50       CONTINUE
            DIAG(J) = A(J, J)
            A(J, J) = A(J, J)*(1.0D0 + XLAM)
            S = 0.0D0
            DO 55 I = 1, M
               S = S - FJAC(I, J)*FVEC(I)
   55       CONTINUE
            A(J, N + 1) = S
   60    CONTINUE
C        Gaussian elimination without pivoting (A is positive definite).
         DO 70 K = 1, N - 1
            DO 70 I = K + 1, N
               P = A(I, K)/A(K, K)
               DO 65 J = K, N + 1
                  A(I, J) = A(I, J) - P*A(K, J)
   65          CONTINUE
   70    CONTINUE
         DO 80 I = N, 1, -1
            S = A(I, N + 1)
            DO 75 J = I + 1, N
               S = S - A(I, J)*XNEW(J)
   75       CONTINUE
            XNEW(I) = S/A(I, I)
   80    CONTINUE
         DO 85 J = 1, N
            XNEW(J) = X(J) + XNEW(J)
   85    CONTINUE
         CALL FCN(M, N, XNEW, WA, IFLAG)
         NFEV = NFEV + 1
         FNEW = ENORM(M, WA)
         IF (FNEW .GE. FNORM) THEN
            XLAM = XLAM*10.0D0
            IF (XLAM .GT. 1.0D10) THEN
               INFO = 5
               RETURN
            END IF
            GO TO 40
         END IF
         XLAM = XLAM*0.1D0
         DO 90 J = 1, N
            X(J) = XNEW(J)
   90    CONTINUE
         DO 95 I = 1, M
            FVEC(I) = WA(I)
   95    CONTINUE
         IF (FNORM - FNEW .LE. TOL*FNORM) THEN
            INFO = 1
            RETURN
         END IF
         FNORM = FNEW
  100 CONTINUE
      INFO = 4
      END
