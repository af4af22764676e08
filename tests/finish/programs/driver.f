C     A test driver's input, as LAPACK's read theirs: a title, counts
C     and values with FMT = *, then lines read as text and taken apart
C     by READs of their substrings, with ERR= and END=, to the end of
C     standard input.
      PROGRAM DRIVER
      CHARACTER*80 LINE
      CHARACTER*3 PATH
      INTEGER NIN, NN, NVAL(10), I, IC, NTESTS
      DOUBLE PRECISION THRESH
      PARAMETER (NIN = 5)
      READ (NIN, FMT = '(A80)') LINE
      WRITE (*, *) 'title: ', LINE(1:20)
      READ (NIN, FMT = *) NN
      READ (NIN, FMT = *) (NVAL(I), I = 1, NN)
      READ (NIN, FMT = *) THRESH
      WRITE (*, *) 'n', (NVAL(I), I = 1, NN), 'thresh', THRESH
      NTESTS = 0
   10 READ (NIN, FMT = '(A80)', END = 90) LINE
      PATH = LINE(1:3)
      IF (PATH .EQ. '   ') GO TO 10
      IC = 0
      READ (LINE(4:80), FMT = *, ERR = 20, END = 20) IC
   20 NTESTS = NTESTS + 1
      WRITE (*, FMT = 9999) PATH, IC
 9999 FORMAT (1X, A3, ' count ', I5)
      GO TO 10
   90 WRITE (*, *) 'paths', NTESTS
      END
