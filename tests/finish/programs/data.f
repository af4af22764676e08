C     PARAMETER, DATA with repeats and implied DO, SAVE, and COMMON
C     blocks shared by several routines.
      PROGRAM DATAS
      INTEGER N
      PARAMETER (N = 5)
      DOUBLE PRECISION HALF, TWOPI
      PARAMETER (HALF = 0.5D0, TWOPI = 2 * 3.14159265358979D0)
      INTEGER IA(N), IB(2, 3), I, J, TOTAL
      DOUBLE PRECISION V(4)
      CHARACTER*4 NAME
      LOGICAL FLAG
      COMMON /SHARED/ V, TOTAL
      DATA IA /3 * 1, 2 * 7/
      DATA ((IB(I, J), I = 1, 2), J = 1, 3) /11, 21, 12, 22, 13, 23/
      DATA V /4 * 0.25D0/, NAME /'abcd'/, FLAG /.TRUE./
      PRINT *, N, HALF, TWOPI
      PRINT *, IA
      PRINT *, ((IB(I, J), J = 1, 3), I = 1, 2)
      PRINT *, V, NAME, FLAG
      TOTAL = 0
      DO 10 I = 1, 4
         CALL COUNT(I)
   10 CONTINUE
      PRINT *, 'total', TOTAL
      CALL SCALE(2.0D0)
      PRINT *, 'scaled', V
      END

      SUBROUTINE COUNT(K)
      INTEGER K, CALLS, TOTAL
      DOUBLE PRECISION V(4)
      COMMON /SHARED/ V, TOTAL
      SAVE CALLS
      DATA CALLS /0/
      CALLS = CALLS + 1
      TOTAL = TOTAL + K * CALLS
      PRINT *, 'call', CALLS, K, TOTAL
      END

      SUBROUTINE SCALE(F)
      DOUBLE PRECISION F, W(4)
      INTEGER M, I
      COMMON /SHARED/ W, M
      DO 10 I = 1, 4
         W(I) = W(I) * F * I + M
   10 CONTINUE
      END
