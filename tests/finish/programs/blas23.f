C     A level 2 and a level 3 routine in the style of BLAS:
C     y := alpha*A*x + beta*y (and with A transposed), and
C     C := alpha*A*B + beta*C, on leading dimensions larger than the
C     matrices.
      PROGRAM BLAS23
      INTEGER LDA, M, N, K, I, J
      PARAMETER (LDA = 5, M = 3, N = 4, K = 2)
      DOUBLE PRECISION A(LDA, N), B(LDA, N), C(LDA, N), X(N), Y(LDA)
      DO 20 J = 1, N
         X(J) = 1.0D0 / J
         DO 10 I = 1, LDA
            A(I, J) = DBLE(I + J) / 7.0D0 - DBLE(I * J) / 11.0D0
            B(I, J) = DBLE(I - J) * 0.5D0
            C(I, J) = 1.0D0
   10    CONTINUE
   20 CONTINUE
      DO 30 I = 1, LDA
         Y(I) = DBLE(I)
   30 CONTINUE
      CALL DGEMV('N', M, N, 2.0D0, A, LDA, X, 1, 0.5D0, Y, 1)
      WRITE (*, 100) 'dgemv n', (Y(I), I = 1, M)
      CALL DGEMV('T', M, N, 1.0D0, A, LDA, Y, 1, 0.0D0, X, 1)
      WRITE (*, 100) 'dgemv t', (X(J), J = 1, N)
      CALL DGEMM('N', 'N', M, N, K, 1.5D0, A, LDA, B, LDA, -1.0D0, C,
     &           LDA)
      DO 40 I = 1, M
         WRITE (*, 100) 'dgemm', (C(I, J), J = 1, N)
   40 CONTINUE
      CALL DGEMM('T', 'N', K, K, M, 1.0D0, A, LDA, A, LDA, 0.0D0, C,
     &           LDA)
      PRINT *, 'ata', C(1, 1), C(2, 1), C(1, 2), C(2, 2)
  100 FORMAT (1X, A, 4E24.15)
      END

      LOGICAL FUNCTION LSAME(CA, CB)
      CHARACTER CA, CB
      LSAME = CA .EQ. CB
      END

      SUBROUTINE DGEMV(TRANS, M, N, ALPHA, A, LDA, X, INCX, BETA, Y,
     &                 INCY)
      DOUBLE PRECISION ALPHA, BETA
      INTEGER INCX, INCY, LDA, M, N
      CHARACTER TRANS
      DOUBLE PRECISION A(LDA,*), X(*), Y(*)
      DOUBLE PRECISION ONE, ZERO
      PARAMETER (ONE=1.0D+0, ZERO=0.0D+0)
      DOUBLE PRECISION TEMP
      INTEGER I, IX, IY, J, JX, JY, KX, KY, LENX, LENY
      LOGICAL LSAME
      EXTERNAL LSAME
      IF ((M.EQ.0) .OR. (N.EQ.0) .OR.
     +    ((ALPHA.EQ.ZERO).AND. (BETA.EQ.ONE))) RETURN
      IF (LSAME(TRANS,'N')) THEN
          LENX = N
          LENY = M
      ELSE
          LENX = M
          LENY = N
      END IF
      IF (INCX.GT.0) THEN
          KX = 1
      ELSE
          KX = 1 - (LENX-1)*INCX
      END IF
      IF (INCY.GT.0) THEN
          KY = 1
      ELSE
          KY = 1 - (LENY-1)*INCY
      END IF
      IF (BETA.NE.ONE) THEN
          IF (INCY.EQ.1) THEN
              IF (BETA.EQ.ZERO) THEN
                  DO 10 I = 1,LENY
                      Y(I) = ZERO
   10             CONTINUE
              ELSE
                  DO 20 I = 1,LENY
                      Y(I) = BETA*Y(I)
   20             CONTINUE
              END IF
          ELSE
              IY = KY
              DO 30 I = 1,LENY
                  Y(IY) = BETA*Y(IY)
                  IY = IY + INCY
   30         CONTINUE
          END IF
      END IF
      IF (ALPHA.EQ.ZERO) RETURN
      IF (LSAME(TRANS,'N')) THEN
          JX = KX
          DO 60 J = 1,N
              TEMP = ALPHA*X(JX)
              DO 50 I = 1,M
                  Y(I) = Y(I) + TEMP*A(I,J)
   50         CONTINUE
              JX = JX + INCX
   60     CONTINUE
      ELSE
          JY = KY
          DO 100 J = 1,N
              TEMP = ZERO
              DO 90 I = 1,M
                  TEMP = TEMP + A(I,J)*X(I)
   90         CONTINUE
              Y(JY) = Y(JY) + ALPHA*TEMP
              JY = JY + INCY
  100     CONTINUE
      END IF
      RETURN
      END

      SUBROUTINE DGEMM(TRANSA, TRANSB, M, N, K, ALPHA, A, LDA, B, LDB,
     &                 BETA, C, LDC)
      DOUBLE PRECISION ALPHA, BETA
      INTEGER K, LDA, LDB, LDC, M, N
      CHARACTER TRANSA, TRANSB
      DOUBLE PRECISION A(LDA,*), B(LDB,*), C(LDC,*)
      LOGICAL LSAME
      EXTERNAL LSAME
      DOUBLE PRECISION TEMP
      INTEGER I, J, L
      LOGICAL NOTA
      DOUBLE PRECISION ONE, ZERO
      PARAMETER (ONE=1.0D+0, ZERO=0.0D+0)
      NOTA = LSAME(TRANSA,'N')
      IF ((M.EQ.0) .OR. (N.EQ.0) .OR.
     +    (((ALPHA.EQ.ZERO).OR. (K.EQ.0)).AND. (BETA.EQ.ONE))) RETURN
      IF (NOTA) THEN
          DO 90 J = 1,N
              IF (BETA.EQ.ZERO) THEN
                  DO 50 I = 1,M
                      C(I,J) = ZERO
   50             CONTINUE
              ELSE IF (BETA.NE.ONE) THEN
                  DO 60 I = 1,M
                      C(I,J) = BETA*C(I,J)
   60             CONTINUE
              END IF
              DO 80 L = 1,K
                  TEMP = ALPHA*B(L,J)
                  DO 70 I = 1,M
                      C(I,J) = C(I,J) + TEMP*A(I,L)
   70             CONTINUE
   80         CONTINUE
   90     CONTINUE
      ELSE
          DO 120 J = 1,N
              DO 110 I = 1,M
                  TEMP = ZERO
                  DO 100 L = 1,K
                      TEMP = TEMP + A(L,I)*B(L,J)
  100             CONTINUE
                  IF (BETA.EQ.ZERO) THEN
                      C(I,J) = ALPHA*TEMP
                  ELSE
                      C(I,J) = ALPHA*TEMP + BETA*C(I,J)
                  END IF
  110         CONTINUE
  120     CONTINUE
      END IF
      RETURN
      END
