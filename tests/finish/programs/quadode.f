C     An adaptive Simpson quadrature and a fixed-step Runge-Kutta ODE
C     integrator as the old packages wrote them: state in COMMON /QDAT/,
C     SAVE between calls, the integrand as EXTERNAL, arithmetic IF and
C     computed GOTO for the control, REAL*8 declarations.
      PROGRAM QUADOD
      REAL*8 F1, F2, ADAPT, A, B, TOL, RES, Y(2), T, H
      INTEGER NEVAL, LEVMAX, IER, I, K, NCALL
      EXTERNAL F1, F2, RHS
      COMMON /QDAT/ NEVAL, LEVMAX
      COMMON /ODEC/ NCALL
      DATA TOL /1.0D-8/
      NCALL = 0
      DO 10 K = 1, 2
         A = 0.0D0
         B = DBLE(K)
         IF (K .EQ. 1) RES = ADAPT(F1, A, B, TOL, IER)
         IF (K .EQ. 2) RES = ADAPT(F2, A, B, TOL*1.0D2, IER)
         WRITE (6, 900) K, A, B, RES, NEVAL, LEVMAX, IER
   10 CONTINUE
      Y(1) = 1.0D0
      Y(2) = 0.0D0
      T = 0.0D0
      H = 0.1D0
      DO 20 I = 1, 4
         CALL RK4(RHS, 2, T, Y, H, 5)
         WRITE (6, 910) T, Y(1), Y(2), NCALL
   20 CONTINUE
      CALL TALLY(3)
      CALL TALLY(-2)
      CALL TALLY(0)
  900 FORMAT (' INTEGRAL', I2, ' OVER [', F4.1, ',', F4.1, '] =',
     *        1PE22.14, ' EVALS', I5, ' DEPTH', I3, ' IER', I2)
  910 FORMAT (' T =', 0PF5.2, '  Y =', 2D20.12, I6)
      END

      REAL*8 FUNCTION F1(X)
      REAL*8 X
      F1 = 4.0D0/(1.0D0 + X*X)
      END

      REAL*8 FUNCTION F2(X)
      REAL*8 X
      F2 = SQRT(X)*EXP(-X)
      END

      SUBROUTINE RHS(N, T, Y, DY)
      INTEGER N, NCALL
      REAL*8 T, Y(N), DY(N)
      COMMON /ODEC/ NCALL
      NCALL = NCALL + 1
      DY(1) = Y(2)
      DY(2) = -Y(1) - 0.1D0*Y(2) + 0.0D0*T
      END

C     Adaptive Simpson with an explicit stack (no recursion in FORTRAN 77).
      REAL*8 FUNCTION ADAPT(F, A, B, TOL, IER)
      REAL*8 F, A, B, TOL
      INTEGER IER, NEVAL, LEVMAX, SP, LEV(30)
      EXTERNAL F
      COMMON /QDAT/ NEVAL, LEVMAX
      REAL*8 SA(30), SB(30), SFA(30), SFM(30), SFB(30), SWHOLE(30),
     *       STOL(30), C, FM, FL, FR, SL, SR, SUM, DIFF
      IER = 0
      NEVAL = 3
      LEVMAX = 0
      SUM = 0.0D0
      SP = 1
      SA(1) = A
      SB(1) = B
      SFA(1) = F(A)
      SFB(1) = F(B)
      C = 0.5D0*(A + B)
      SFM(1) = F(C)
      SWHOLE(1) = (B - A)/6.0D0*(SFA(1) + 4.0D0*SFM(1) + SFB(1))
      STOL(1) = TOL
      LEV(1) = 1
   10 IF (SP) 90, 90, 20
   20 C = 0.5D0*(SA(SP) + SB(SP))
      FL = F(0.5D0*(SA(SP) + C))
      FR = F(0.5D0*(C + SB(SP)))
      NEVAL = NEVAL + 2
      SL = (C - SA(SP))/6.0D0*(SFA(SP) + 4.0D0*FL + SFM(SP))
      SR = (SB(SP) - C)/6.0D0*(SFM(SP) + 4.0D0*FR + SFB(SP))
      DIFF = SL + SR - SWHOLE(SP)
      LEVMAX = MAX(LEVMAX, LEV(SP))
      IF (ABS(DIFF) .LE. 15.0D0*STOL(SP)) GO TO 30
      IF (LEV(SP) .GE. 30 .OR. SP .GE. 29) GO TO 40
C     Split: the right half replaces the top, the left half goes above.
      FM = SFM(SP)
      SA(SP + 1) = SA(SP)
      SB(SP + 1) = C
      SFA(SP + 1) = SFA(SP)
      SFM(SP + 1) = FL
      SFB(SP + 1) = FM
      SWHOLE(SP + 1) = SL
      STOL(SP + 1) = 0.5D0*STOL(SP)
      LEV(SP + 1) = LEV(SP) + 1
      SA(SP) = C
      SFA(SP) = FM
      SFM(SP) = FR
      SWHOLE(SP) = SR
      STOL(SP) = 0.5D0*STOL(SP)
      LEV(SP) = LEV(SP) + 1
      SP = SP + 1
      GO TO 10
   40 IER = 1
   30 SUM = SUM + SL + SR + DIFF/15.0D0
      SP = SP - 1
      GO TO 10
   90 ADAPT = SUM
      END

C     NSTEP classical Runge-Kutta steps of H; the work arrays are kept.
      SUBROUTINE RK4(F, N, T, Y, H, NSTEP)
      EXTERNAL F
      INTEGER N, NSTEP, I, J, ISTAGE
      REAL*8 T, Y(N), H, YT(10), K(10, 4), W(4)
      SAVE W, YT
      DATA W /1.0D0, 2.0D0, 2.0D0, 1.0D0/
      DO 50 J = 1, NSTEP
         DO 40 ISTAGE = 1, 4
            GO TO (10, 20, 20, 30), ISTAGE
   10       CALL F(N, T, Y, K(1, 1))
            GO TO 40
   20       DO 25 I = 1, N
               YT(I) = Y(I) + 0.5D0*H*K(I, ISTAGE - 1)
   25       CONTINUE
            CALL F(N, T + 0.5D0*H, YT, K(1, ISTAGE))
            GO TO 40
   30       DO 35 I = N, 1, -1
               YT(I) = Y(I) + H*K(I, 3)
   35       CONTINUE
            CALL F(N, T + H, YT, K(1, 4))
   40    CONTINUE
         DO 45 I = 1, N
            Y(I) = Y(I) + H/6.0D0*(W(1)*K(I, 1) + W(2)*K(I, 2)
     *             + W(3)*K(I, 3) + W(4)*K(I, 4))
   45    CONTINUE
         T = T + H
   50 CONTINUE
      END

C     A counter kept with SAVE; its sign chosen by an arithmetic IF.
      SUBROUTINE TALLY(K)
      INTEGER K, NPOS, NNEG, NZERO, HIST(3)
      SAVE NPOS, NNEG, NZERO, HIST
      DATA NPOS, NNEG, NZERO /3*0/, HIST /3*0/
      IF (K) 10, 20, 30
   10 NNEG = NNEG + 1
      HIST(1) = HIST(1) + K
      GO TO 40
   20 NZERO = NZERO + 1
      HIST(2) = HIST(2) + 1
      GO TO 40
   30 NPOS = NPOS + 1
      HIST(3) = HIST(3) + K
   40 WRITE (6, 900) K, NNEG, NZERO, NPOS, HIST
  900 FORMAT (' TALLY', SP, I3, SS, ':', 3I2, ' HIST', 3(1X, I3))
      END
