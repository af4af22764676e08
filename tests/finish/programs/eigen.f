C     LAPACK's DSYEV (eigenvalues and vectors of a symmetric matrix:
C     tridiagonal reduction, implicit QL/QR) and DGELS (least squares by
C     QR) on small problems, routines taken from the release.
      PROGRAM EIGEN
      INTEGER N, LDA, LWORK, M, NRHS, LDB
      PARAMETER (N = 5, LDA = 6, LWORK = 200, M = 6, NRHS = 1, LDB = 6)
      DOUBLE PRECISION A(LDA, N), W(N), WORK(LWORK), B(LDB, NRHS)
      DOUBLE PRECISION Q(LDA, 3), SGN
      INTEGER I, J, K, INFO
      DO 20 J = 1, N
         DO 10 I = 1, N
            A(I, J) = 1.0D0 / DBLE(I + J) + DBLE(MIN(I, J))
   10    CONTINUE
   20 CONTINUE
      CALL DSYEV('V', 'U', N, A, LDA, W, WORK, LWORK, INFO)
      PRINT *, 'dsyev info', INFO
      WRITE (*, 100) (W(I), I = 1, N)
  100 FORMAT (1X, 'w', 5E24.15)
      DO 40 J = 1, N
C        the sign of an eigenvector is free: its largest entry is made
C        positive before it is printed
         K = 1
         DO 30 I = 2, N
            IF (ABS(A(I, J)) .GT. ABS(A(K, J))) K = I
   30    CONTINUE
         SGN = SIGN(1.0D0, A(K, J))
         WRITE (*, 110) J, (SGN * A(I, J), I = 1, N)
   40 CONTINUE
  110 FORMAT (1X, 'v', I2, 5F18.12)
      DO 60 J = 1, 3
         DO 50 I = 1, M
            Q(I, J) = DBLE(I) ** (J - 1)
   50    CONTINUE
   60 CONTINUE
      DO 70 I = 1, M
         B(I, 1) = 1.0D0 + 0.5D0 * I + 0.25D0 * I * I + 0.01D0 * (-1)**I
   70 CONTINUE
      CALL DGELS('N', M, 3, NRHS, Q, LDA, B, LDB, WORK, LWORK, INFO)
      PRINT *, 'dgels info', INFO
      PRINT *, 'coefficients', B(1, 1), B(2, 1), B(3, 1)
      PRINT *, 'residual norm', SQRT(B(4, 1)**2 + B(5, 1)**2 +
     &         B(6, 1)**2)
      END

C     The release has these three only in free form (.f90): plain
C     versions here, which gfortran builds too.
      SUBROUTINE DLASSQ(N, X, INCX, SCALE, SUMSQ)
      INTEGER N, INCX, IX
      DOUBLE PRECISION X(*), SCALE, SUMSQ, ABSXI
      IF (N .LE. 0) RETURN
      DO 10 IX = 1, 1 + (N - 1) * INCX, INCX
         ABSXI = ABS(X(IX))
         IF (ABSXI .GT. 0.0D0) THEN
            IF (SCALE .LT. ABSXI) THEN
               SUMSQ = 1.0D0 + SUMSQ * (SCALE / ABSXI)**2
               SCALE = ABSXI
            ELSE
               SUMSQ = SUMSQ + (ABSXI / SCALE)**2
            END IF
         END IF
   10 CONTINUE
      END

      SUBROUTINE DLARTG(F, G, CS, SN, R)
      DOUBLE PRECISION F, G, CS, SN, R, D
      IF (G .EQ. 0.0D0) THEN
         CS = 1.0D0
         SN = 0.0D0
         R = F
      ELSE IF (F .EQ. 0.0D0) THEN
         CS = 0.0D0
         SN = SIGN(1.0D0, G)
         R = ABS(G)
      ELSE
         D = SQRT(F * F + G * G)
         CS = ABS(F) / D
         R = SIGN(D, F)
         SN = G / R
      END IF
      END

      DOUBLE PRECISION FUNCTION DNRM2(N, X, INCX)
      INTEGER N, INCX, IX
      DOUBLE PRECISION X(*), SCALE, SSQ
      SCALE = 0.0D0
      SSQ = 1.0D0
      CALL DLASSQ(N, X, INCX, SCALE, SSQ)
      DNRM2 = SCALE * SQRT(SSQ)
      END
