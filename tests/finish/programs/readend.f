C     READ to the end of a file (END=), WRITE into a CHARACTER variable.
      PROGRAM RDEND
      CHARACTER*12 S
      DOUBLE PRECISION X, T
      INTEGER K, N, M
      OPEN(UNIT=7, FILE='readend.dat', STATUS='OLD')
      T = 0.0D0
      N = 0
      M = 0
   10 READ(7, *, END=20) X, K
      T = T + X
      M = M + K
      N = N + 1
      GO TO 10
   20 CLOSE(7)
      WRITE(S, '(I4,F8.3)') N, T
      WRITE(*,*) 'read ', N, T, M
      WRITE(*,*) '[', S, ']'
      END
