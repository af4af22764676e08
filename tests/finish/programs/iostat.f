C     IOSTAT=, END= and ERR=: a file read to its end with IOSTAT=, an
C     end met in the middle of a READ, bad fields caught by ERR= and by
C     IOSTAT=, and an OPEN of a file that is not there.
      PROGRAM IOSTT
      INTEGER IOS, N, K, I
      DOUBLE PRECISION X, T, V(4)
      CHARACTER*8 S
      OPEN (UNIT = 9, FILE = 'iostat.dat', STATUS = 'OLD')
      N = 0
      T = 0.0D0
   10 READ (9, *, IOSTAT = IOS) X
      IF (IOS .NE. 0) GO TO 20
      N = N + 1
      T = T + X
      GO TO 10
   20 WRITE (*, *) 'read', N, 'values, sum', T, 'iostat', IOS
      REWIND 9
      READ (9, *) X
      READ (9, *, END = 30, ERR = 40) (V(I), I = 1, 4)
      WRITE (*, *) 'not here', V
      GO TO 50
   30 WRITE (*, *) 'end met in a READ'
      GO TO 50
   40 WRITE (*, *) 'error'
   50 CLOSE (9)
      S = '  12x'
      READ (S, '(I5)', ERR = 60) K
      WRITE (*, *) 'not here either'
   60 WRITE (*, *) 'bad integer caught'
      READ (S, *, IOSTAT = IOS) K
      WRITE (*, *) 'bad list value', IOS
      S = '1.0'
      READ (S, *, IOSTAT = IOS) K
      WRITE (*, *) 'real for an integer', IOS
      S = '  12x'
      READ (S, '(F8.2)', IOSTAT = IOS) X
      WRITE (*, *) 'bad real', IOS
      S = '3.5'
      READ (S, *, IOSTAT = IOS) X, K
      WRITE (*, *) 'short record', IOS, X
      S = '  7'
      READ (S, *, IOSTAT = IOS, ERR = 70) K
      WRITE (*, *) 'good', IOS, K
   70 OPEN (UNIT = 10, FILE = 'nothere.dat', STATUS = 'OLD',
     $      IOSTAT = IOS)
      WRITE (*, *) 'open', IOS
      OPEN (UNIT = 10, FILE = 'nothere.dat', STATUS = 'OLD', ERR = 80)
      WRITE (*, *) 'opened'
   80 WRITE (*, '(A, I3)', IOSTAT = IOS) ' write', 1
      WRITE (*, *) 'write status', IOS
      END
