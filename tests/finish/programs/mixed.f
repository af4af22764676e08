C     A bit of everything: IMPLICIT NONE, COMMON, a statement function,
C     DATA, FORMAT, substrings, assigned GOTO, arithmetic IF, SAVE.
      PROGRAM MISC
      IMPLICIT NONE
      INTEGER I, J, K, L, N, IA(10), ICOUNT
      REAL R, S
      DOUBLE PRECISION D, E, F
      CHARACTER*8 NAME
      CHARACTER*20 LINE
      LOGICAL OK
      COMMON /BLK/ D, IA
      DOUBLE PRECISION SQ, X
      SQ(X) = X * X + 1.0D0
      DATA R /1.5/, S /0.1/, NAME /'fortran'/
      ICOUNT = 0
      DO 10 I = 1, 10
         IA(I) = I * I
   10 CONTINUE
      D = 2.0D0
      CALL ADDUP(N)
      WRITE(*, 100) N, D
  100 FORMAT(1X, 'sum =', I6, ' d =', F10.4)
      WRITE(*, '(A, 3I4)') ' ints', (IA(I), I = 2, 4)
      R = R * S + 1.0
      PRINT *, 'real', R, S, R / 3.0
      E = 1.0D0 / 3.0D0
      F = E ** 3 + 2.0D0 ** 0.5D0
      WRITE(*, 200) E, F, SQ(E)
  200 FORMAT(' e=', E15.7, ' f=', D12.4, G14.6)
      LINE = NAME // '-77'
      LINE(1:1) = 'F'
      PRINT *, LINE, LEN(LINE), INDEX(LINE, '77')
      OK = LINE(1:7) .EQ. 'Fortran' .AND. .NOT. (I .LT. 0)
      PRINT *, 'ok', OK, LINE .GT. 'A'
C     computed and assigned goto, arithmetic if
      K = 2
      GO TO (20, 30, 40) K
   20 PRINT *, 'wrong 20'
   30 PRINT *, 'at 30'
      ASSIGN 50 TO L
      GO TO L, (50, 60)
   40 PRINT *, 'wrong 40'
   50 CONTINUE
   60 IF (K - 3) 70, 80, 80
   70 PRINT *, 'negative'
   80 CONTINUE
      J = 0
      DO WHILE (J .LT. 5)
         J = J + 2
      END DO
      PRINT *, 'while', J
      DO 90 I = 10, 1, -3
         ICOUNT = ICOUNT + 1
   90 CONTINUE
      PRINT *, 'down', I, ICOUNT
      DO 95 I = 1, 0
         ICOUNT = 99
   95 CONTINUE
      PRINT *, 'none', I, ICOUNT
      CALL COUNTER
      CALL COUNTER
      CALL COUNTER
      PRINT *, 'nint', NINT(2.5), NINT(-2.5), MAX(1, 7, 3),
     &   MIN(2.0D0, -1.0D0), SIGN(3, -1)
      PRINT *, 'mod', MOD(7.5D0, 2.0D0), ABS(-3), DIM(5, 3)
      STOP
      END

      SUBROUTINE ADDUP(N)
      INTEGER N, I, IA(10)
      DOUBLE PRECISION D
      COMMON /BLK/ D, IA
      N = 0
      DO 10 I = 1, 10
         N = N + IA(I)
   10 CONTINUE
      D = D * N
      END

      SUBROUTINE COUNTER
      INTEGER NCALLS
      SAVE NCALLS
      DATA NCALLS /0/
      NCALLS = NCALLS + 1
      WRITE(6, *) 'calls', NCALLS
      END
