C     Level 1 BLAS written here in the library's own style: strides,
C     unrolled clean-up loops, and elements passed as vectors.
      PROGRAM BLAS1
      INTEGER N, I
      PARAMETER (N = 9)
      DOUBLE PRECISION X(N), Y(N), DDOT, DNRM2
      INTEGER IDAMAX
      EXTERNAL DDOT, DNRM2, IDAMAX
      DO 10 I = 1, N
         X(I) = DBLE(I) / 3.0D0
         Y(I) = DBLE(N - I) * 0.25D0 - 1.0D0
   10 CONTINUE
      PRINT *, 'ddot', DDOT(N, X, 1, Y, 1), DDOT(4, X, 2, Y, 2)
      PRINT *, 'ddot neg', DDOT(3, X, -3, Y, 1)
      PRINT *, 'dnrm2', DNRM2(N, X, 1), DNRM2(3, Y(2), 3)
      PRINT *, 'idamax', IDAMAX(N, Y, 1), IDAMAX(N, X, 1), IDAMAX(4,Y,2)
      CALL DAXPY(N, 2.5D0, X, 1, Y, 1)
      PRINT *, 'daxpy', Y
      CALL DAXPY(3, -1.0D0, X(2), 2, Y(3), 1)
      PRINT *, 'daxpy strided', Y
      CALL DSCAL(N, 0.5D0, X, 1)
      CALL DSCAL(2, -3.0D0, X(5), 4)
      PRINT *, 'dscal', X
      END

      DOUBLE PRECISION FUNCTION DDOT(N, DX, INCX, DY, INCY)
      INTEGER INCX, INCY, N
      DOUBLE PRECISION DX(*), DY(*)
      DOUBLE PRECISION DTEMP
      INTEGER I, IX, IY, M, MP1
      INTRINSIC MOD
      DDOT = 0.0D0
      DTEMP = 0.0D0
      IF (N.LE.0) RETURN
      IF (INCX.EQ.1 .AND. INCY.EQ.1) THEN
         M = MOD(N,5)
         IF (M.NE.0) THEN
            DO I = 1,M
               DTEMP = DTEMP + DX(I)*DY(I)
            END DO
            IF (N.LT.5) THEN
               DDOT=DTEMP
            RETURN
            END IF
         END IF
         MP1 = M + 1
         DO I = MP1,N,5
          DTEMP = DTEMP + DX(I)*DY(I) + DX(I+1)*DY(I+1) +
     $            DX(I+2)*DY(I+2) + DX(I+3)*DY(I+3) + DX(I+4)*DY(I+4)
         END DO
      ELSE
         IX = 1
         IY = 1
         IF (INCX.LT.0) IX = (-N+1)*INCX + 1
         IF (INCY.LT.0) IY = (-N+1)*INCY + 1
         DO I = 1,N
            DTEMP = DTEMP + DX(IX)*DY(IY)
            IX = IX + INCX
            IY = IY + INCY
         END DO
      END IF
      DDOT = DTEMP
      RETURN
      END

      SUBROUTINE DAXPY(N, DA, DX, INCX, DY, INCY)
      DOUBLE PRECISION DA
      INTEGER INCX, INCY, N
      DOUBLE PRECISION DX(*), DY(*)
      INTEGER I, IX, IY, M, MP1
      INTRINSIC MOD
      IF (N.LE.0) RETURN
      IF (DA.EQ.0.0D0) RETURN
      IF (INCX.EQ.1 .AND. INCY.EQ.1) THEN
         M = MOD(N,4)
         IF (M.NE.0) THEN
            DO I = 1,M
               DY(I) = DY(I) + DA*DX(I)
            END DO
         END IF
         IF (N.LT.4) RETURN
         MP1 = M + 1
         DO I = MP1,N,4
            DY(I) = DY(I) + DA*DX(I)
            DY(I+1) = DY(I+1) + DA*DX(I+1)
            DY(I+2) = DY(I+2) + DA*DX(I+2)
            DY(I+3) = DY(I+3) + DA*DX(I+3)
         END DO
      ELSE
         IX = 1
         IY = 1
         IF (INCX.LT.0) IX = (-N+1)*INCX + 1
         IF (INCY.LT.0) IY = (-N+1)*INCY + 1
         DO I = 1,N
          DY(IY) = DY(IY) + DA*DX(IX)
          IX = IX + INCX
          IY = IY + INCY
         END DO
      END IF
      RETURN
      END

      SUBROUTINE DSCAL(N, DA, DX, INCX)
      DOUBLE PRECISION DA
      INTEGER INCX, N
      DOUBLE PRECISION DX(*)
      INTEGER I, M, MP1, NINCX
      INTRINSIC MOD
      IF (N.LE.0 .OR. INCX.LE.0) RETURN
      IF (INCX.EQ.1) THEN
         M = MOD(N,5)
         IF (M.NE.0) THEN
            DO I = 1,M
               DX(I) = DA*DX(I)
            END DO
            IF (N.LT.5) RETURN
         END IF
         MP1 = M + 1
         DO I = MP1,N,5
            DX(I) = DA*DX(I)
            DX(I+1) = DA*DX(I+1)
            DX(I+2) = DA*DX(I+2)
            DX(I+3) = DA*DX(I+3)
            DX(I+4) = DA*DX(I+4)
         END DO
      ELSE
         NINCX = N*INCX
         DO I = 1,NINCX,INCX
            DX(I) = DA*DX(I)
         END DO
      END IF
      RETURN
      END

      DOUBLE PRECISION FUNCTION DNRM2(N, X, INCX)
      INTEGER INCX, N
      DOUBLE PRECISION X(*)
      DOUBLE PRECISION ONE, ZERO
      PARAMETER (ONE=1.0D+0, ZERO=0.0D+0)
      DOUBLE PRECISION ABSXI, NORM, SCALE, SSQ
      INTEGER IX
      INTRINSIC ABS, SQRT
      IF (N.LT.1 .OR. INCX.LT.1) THEN
          NORM = ZERO
      ELSE IF (N.EQ.1) THEN
          NORM = ABS(X(1))
      ELSE
          SCALE = ZERO
          SSQ = ONE
          DO 10 IX = 1, 1 + (N-1)*INCX, INCX
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

      INTEGER FUNCTION IDAMAX(N, DX, INCX)
      INTEGER INCX, N
      DOUBLE PRECISION DX(*)
      DOUBLE PRECISION DMAX
      INTEGER I, IX
      INTRINSIC DABS
      IDAMAX = 0
      IF (N.LT.1 .OR. INCX.LE.0) RETURN
      IDAMAX = 1
      IF (N.EQ.1) RETURN
      IF (INCX.EQ.1) THEN
         DMAX = DABS(DX(1))
         DO I = 2,N
            IF (DABS(DX(I)).GT.DMAX) THEN
               IDAMAX = I
               DMAX = DABS(DX(I))
            END IF
         END DO
      ELSE
         IX = 1
         DMAX = DABS(DX(1))
         IX = IX + INCX
         DO I = 2,N
            IF (DABS(DX(IX)).GT.DMAX) THEN
               IDAMAX = I
               DMAX = DABS(DX(IX))
            END IF
            IX = IX + INCX
         END DO
      END IF
      RETURN
      END
