C     LAPACK's DGELS (QR least squares) on a small problem; DLASSQ,
C     DLARTG and DNRM2 are written here in FORTRAN 77 (the release
C     has them in free form).
      PROGRAM TGELS
      INTEGER M, N, NRHS, LWORK, INFO, I, J
      PARAMETER (M = 6, N = 3, NRHS = 1, LWORK = 256)
      DOUBLE PRECISION A(M,N), B(M,NRHS), WORK(LWORK)
      DO 20 I = 1, M
         DO 10 J = 1, N
            A(I,J) = DBLE(I) ** (J - 1)
   10    CONTINUE
         B(I,1) = 1.0D0 + 0.5D0 * DBLE(I) - 0.25D0 * DBLE(I * I)
     &            + 0.01D0 * DBLE(MOD(I, 2))
   20 CONTINUE
      CALL DGELS('N', M, N, NRHS, A, M, B, M, WORK, LWORK, INFO)
      WRITE(*,*) 'gels info', INFO
      WRITE(*,'(1X,3E24.15)') (B(I,1), I = 1, N)
      WRITE(*,'(1X,3E24.15)') ((A(I,J), I = 1, N), J = 1, N)
      END
      SUBROUTINE DLASSQ( N, X, INCX, SCALE, SUMSQ )
      INTEGER            INCX, N
      DOUBLE PRECISION   SCALE, SUMSQ
      DOUBLE PRECISION   X( * )
      DOUBLE PRECISION   ZERO
      PARAMETER          ( ZERO = 0.0D+0 )
      INTEGER            IX
      DOUBLE PRECISION   ABSXI
      IF( N.GT.0 ) THEN
         DO 10 IX = 1, 1 + ( N-1 )*INCX, INCX
            ABSXI = ABS( X( IX ) )
            IF( ABSXI.GT.ZERO.OR.ABSXI.NE.ABSXI ) THEN
               IF( SCALE.LT.ABSXI ) THEN
                  SUMSQ = 1 + SUMSQ*( SCALE / ABSXI )**2
                  SCALE = ABSXI
               ELSE
                  SUMSQ = SUMSQ + ( ABSXI / SCALE )**2
               END IF
            END IF
   10    CONTINUE
      END IF
      RETURN
      END
      SUBROUTINE DLARTG( F, G, C, S, R )
      DOUBLE PRECISION   C, F, G, R, S
      DOUBLE PRECISION   D
      IF( G.EQ.0.0D0 ) THEN
         C = 1.0D0
         S = 0.0D0
         R = F
      ELSE IF( F.EQ.0.0D0 ) THEN
         C = 0.0D0
         S = SIGN( 1.0D0, G )
         R = ABS( G )
      ELSE
         D = SQRT( F*F + G*G )
         C = ABS( F ) / D
         R = SIGN( D, F )
         S = G / R
      END IF
      RETURN
      END
      DOUBLE PRECISION FUNCTION DNRM2(N,X,INCX)
      INTEGER INCX,N
      DOUBLE PRECISION X(*)
      DOUBLE PRECISION ONE,ZERO
      PARAMETER (ONE=1.0D+0,ZERO=0.0D+0)
      DOUBLE PRECISION ABSXI,NORM,SCALE,SSQ
      INTEGER IX
      INTRINSIC ABS,SQRT
      IF (N.LT.1 .OR. INCX.LT.1) THEN
          NORM = ZERO
      ELSE IF (N.EQ.1) THEN
          NORM = ABS(X(1))
      ELSE
          SCALE = ZERO
          SSQ = ONE
          DO 10 IX = 1,1 + (N-1)*INCX,INCX
              IF (X(IX).NE.ZERO) THEN
                  ABSXI = ABS(X(IX))
                  IF (SCALE.LT.ABSXI) THEN
                      SSQ = ONE + SSQ* (SCALE/ABSXI)**2
                      SCALE = ABSXI
                  ELSE
                      SSQ = SSQ + (ABSXI/SCALE)**2
                  END IF
              END IF
   10     CONTINUE
          NORM = SCALE*SQRT(SSQ)
      END IF
      DNRM2 = NORM
      RETURN
      END
