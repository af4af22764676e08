C     A real-FFT-like package: an initialisation that factors N from a
C     DATA table and stores twiddles in WSAVE, the work array split by
C     passing WSAVE(2*N+1), radix-2 and radix-4 passes on CC(IDO,L1,4).
      PROGRAM RFFT
      INTEGER N, I, J
      PARAMETER (N = 16)
      DOUBLE PRECISION X(N), Y(N), WSAVE(4*N + 15), PI, ERR
      PI = 4.0D0*ATAN(1.0D0)
      DO 10 I = 1, N
         X(I) = COS(2.0D0*PI*DBLE(I - 1)/DBLE(N)) + 0.5D0*DBLE(I)
         Y(I) = 0.0D0
   10 CONTINUE
      CALL CFFTI(N, WSAVE)
      WRITE (6, 900) N, (INT(WSAVE(3*N + I)), I = 1, 4)
      CALL DFTF(N, X, Y, WSAVE)
      WRITE (6, 910)
      WRITE (6, 920) (J, X(J), Y(J), J = 1, N)
      CALL DFTB(N, X, Y, WSAVE)
      ERR = 0.0D0
      DO 20 I = 1, N
         ERR = MAX(ERR, ABS(X(I)/DBLE(N) -
     *         COS(2.0D0*PI*DBLE(I - 1)/DBLE(N)) - 0.5D0*DBLE(I)))
   20 CONTINUE
      WRITE (6, 930) ERR .LT. 1.0D-12
  900 FORMAT (' N =', I4, '  FACTORS', 4I3)
  910 FORMAT (/T3, 'K', T12, 'REAL', T30, 'IMAG')
  920 FORMAT (1X, I2, 2G18.8)
  930 FORMAT (' ROUND TRIP OK ', L1)
      END

      SUBROUTINE CFFTI(N, WSAVE)
      INTEGER N
      DOUBLE PRECISION WSAVE(*)
      IF (N .EQ. 1) RETURN
      CALL CFFTI1(N, WSAVE(2*N + 1), WSAVE(3*N + 1))
      END

      SUBROUTINE CFFTI1(N, WA, FAC)
      INTEGER N, NL, NF, J, NTRY, NQ, NR, I, NTRYH(4), L1, IP, K1, IDO
      DOUBLE PRECISION WA(*), FAC(*), TPI, ARGH, ARG
      DATA NTRYH /4, 2, 3, 5/
      NL = N
      NF = 0
      J = 0
  101 J = J + 1
      IF (J - 4) 102, 102, 103
  102 NTRY = NTRYH(J)
      GO TO 104
  103 NTRY = NTRY + 2
  104 NQ = NL/NTRY
      NR = NL - NTRY*NQ
      IF (NR) 101, 105, 101
  105 NF = NF + 1
      FAC(NF + 2) = DBLE(NTRY)
      NL = NQ
      IF (NL .NE. 1) GO TO 104
      FAC(1) = DBLE(N)
      FAC(2) = DBLE(NF)
      TPI = 8.0D0*ATAN(1.0D0)
      ARGH = TPI/DBLE(N)
C     Twiddles of each pass: WA(I) cos, WA(N/2+I) sin of I*ARGH.
      DO 110 I = 1, N/2
         ARG = DBLE(I - 1)*ARGH
         WA(I) = COS(ARG)
         WA(N/2 + I) = SIN(ARG)
  110 CONTINUE
      L1 = 1
      DO 120 K1 = 1, NF
         IP = INT(FAC(K1 + 2))
         IDO = N/(L1*IP)
         L1 = L1*IP
  120 CONTINUE
      END

      SUBROUTINE DFTF(N, X, Y, WSAVE)
      INTEGER N
      DOUBLE PRECISION X(N), Y(N), WSAVE(*)
      CALL DFT1(N, X, Y, WSAVE, WSAVE(2*N + 1), WSAVE(3*N + 1), -1)
      END

      SUBROUTINE DFTB(N, X, Y, WSAVE)
      INTEGER N
      DOUBLE PRECISION X(N), Y(N), WSAVE(*)
      CALL DFT1(N, X, Y, WSAVE, WSAVE(2*N + 1), WSAVE(3*N + 1), 1)
      END

C     Decimation in time: passes of radix 4 or 2 as the factors say,
C     between X and the scratch part of WSAVE, ping-ponging.
      SUBROUTINE DFT1(N, X, Y, CH, WA, FAC, ISIGN)
      INTEGER N, ISIGN, NF, K1, IP, L1, IDO, NA, I
      DOUBLE PRECISION X(N), Y(N), CH(N, 2), WA(*), FAC(*)
      DOUBLE PRECISION C(64), D(64)
      NF = INT(FAC(2))
      NA = 0
      L1 = 1
      DO 5 I = 1, N
         C(I) = X(I)
         D(I) = Y(I)
    5 CONTINUE
      DO 20 K1 = 1, NF
         IP = INT(FAC(K1 + 2))
         IDO = N/(L1*IP)
         GO TO (10, 12, 20, 14), IP
   10    GO TO 20
   12    IF (NA .EQ. 0) CALL PASS2(IDO, L1, C, D, CH(1, 1), CH(1, 2),
     *                             WA, N, ISIGN)
         IF (NA .NE. 0) CALL PASS2(IDO, L1, CH(1, 1), CH(1, 2), C, D,
     *                             WA, N, ISIGN)
         GO TO 16
   14    IF (NA .EQ. 0) CALL PASS4(IDO, L1, C, D, CH(1, 1), CH(1, 2),
     *                             WA, N, ISIGN)
         IF (NA .NE. 0) CALL PASS4(IDO, L1, CH(1, 1), CH(1, 2), C, D,
     *                             WA, N, ISIGN)
   16    NA = 1 - NA
         L1 = L1*IP
   20 CONTINUE
      DO 30 I = 1, N
         IF (NA .EQ. 0) THEN
            X(I) = C(I)
            Y(I) = D(I)
         ELSE
            X(I) = CH(I, 1)
            Y(I) = CH(I, 2)
         END IF
   30 CONTINUE
      END

C     One radix-2 pass: input CC(IDO,2,L1), output CH(IDO,L1,2), the
C     twiddle applied after the butterfly.
      SUBROUTINE PASS2(IDO, L1, CR, CI, HR, HI, WA, N, ISIGN)
      INTEGER IDO, L1, N, ISIGN, K, I
      DOUBLE PRECISION CR(IDO, 2, L1), CI(IDO, 2, L1), HR(IDO, L1, 2),
     *                 HI(IDO, L1, 2), WA(*), WR, WI, TR, TI
      DO 20 K = 1, L1
         DO 10 I = 1, IDO
            CALL TWID(WA, N, (I - 1)*L1, ISIGN, WR, WI)
            HR(I, K, 1) = CR(I, 1, K) + CR(I, 2, K)
            HI(I, K, 1) = CI(I, 1, K) + CI(I, 2, K)
            TR = CR(I, 1, K) - CR(I, 2, K)
            TI = CI(I, 1, K) - CI(I, 2, K)
            HR(I, K, 2) = WR*TR - WI*TI
            HI(I, K, 2) = WR*TI + WI*TR
   10    CONTINUE
   20 CONTINUE
      END

      SUBROUTINE PASS4(IDO, L1, CR, CI, HR, HI, WA, N, ISIGN)
      INTEGER IDO, L1, N, ISIGN, K, I, J, M, JM
      DOUBLE PRECISION FTW
      DOUBLE PRECISION CR(IDO, 4, L1), CI(IDO, 4, L1), HR(IDO, L1, 4),
     *                 HI(IDO, L1, 4), WA(*), WR, WI, S, TR, TI
      S = DBLE(ISIGN)
      DO 30 K = 1, L1
         DO 20 I = 1, IDO
            DO 15 M = 0, 3
               TR = 0.0D0
               TI = 0.0D0
               DO 10 J = 0, 3
                  JM = MOD(J*M, 4)
                  TR = TR + CR(I, J + 1, K)*FTW(JM, 0)
     *                    - S*CI(I, J + 1, K)*FTW(JM, 1)
                  TI = TI + CI(I, J + 1, K)*FTW(JM, 0)
     *                    + S*CR(I, J + 1, K)*FTW(JM, 1)
   10          CONTINUE
               CALL TWID(WA, N, (I - 1)*L1*M, ISIGN, WR, WI)
               HR(I, K, M + 1) = WR*TR - WI*TI
               HI(I, K, M + 1) = WR*TI + WI*TR
   15       CONTINUE
   20    CONTINUE
   30 CONTINUE
      END

C     exp(ISIGN*i*2*pi*IE/N) from the half table of cosines and sines.
      SUBROUTINE TWID(WA, N, IE, ISIGN, WR, WI)
      INTEGER N, IE, ISIGN, IW
      DOUBLE PRECISION WA(*), WR, WI
      IW = MOD(IE, N) + 1
      IF (IW .GT. N/2) THEN
         WR = -WA(IW - N/2)
         WI = -DBLE(ISIGN)*WA(IW)
      ELSE
         WR = WA(IW)
         WI = DBLE(ISIGN)*WA(N/2 + IW)
      END IF
      END

C     cos (K=0) and sin (K=1) of M quarter turns.
      DOUBLE PRECISION FUNCTION FTW(M, K)
      INTEGER M, K
      DOUBLE PRECISION T(0:3, 0:1)
      SAVE T
      DATA T /1.0D0, 0.0D0, -1.0D0, 0.0D0, 0.0D0, 1.0D0, 0.0D0, -1.0D0/
      FTW = T(M, K)
      END
