C     LAPACK's DGEEV on a small nonsymmetric matrix (complex pairs);
C     DLASSQ, DLARTG and DNRM2 here in FORTRAN 77.
      PROGRAM TGEEV
      INTEGER N, LWORK, INFO, I, J
      PARAMETER (N = 4, LWORK = 256)
      DOUBLE PRECISION A(N,N), WR(N), WI(N), VL(N,N), VR(N,N)
      DOUBLE PRECISION WORK(LWORK)
      DO 20 J = 1, N
         DO 10 I = 1, N
            A(I,J) = DBLE(MOD(I * 3 + J * 5, 7)) - 2.5D0
   10    CONTINUE
   20 CONTINUE
      CALL DGEEV('N', 'V', N, A, N, WR, WI, VL, N, VR, N, WORK, LWORK,
     &           INFO)
      WRITE(*,*) 'geev info', INFO
      DO 30 I = 1, N
         WRITE(*,'(1X,2E24.15)') WR(I), WI(I)
   30 CONTINUE
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
