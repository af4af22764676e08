C     REWIND, BACKSPACE and ENDFILE on a file written and read back,
C     and INQUIRE by file and by unit.
      PROGRAM POSITN
      INTEGER I, K, N, NUM
      LOGICAL THERE, OPEN1
      CHARACTER*16 FNAME
      INQUIRE (FILE = 'position.tmp', EXIST = THERE)
      WRITE (*, *) 'exists before', THERE
      OPEN (UNIT = 12, FILE = 'position.tmp', STATUS = 'UNKNOWN')
      INQUIRE (FILE = 'position.tmp', OPENED = OPEN1, NUMBER = NUM)
      WRITE (*, *) 'opened', OPEN1, NUM
      INQUIRE (UNIT = 12, OPENED = OPEN1, NAME = FNAME, NAMED = THERE)
      WRITE (*, *) 'unit 12', OPEN1, ' [', FNAME, '] ', THERE
      INQUIRE (FILE = 'position.tmp', NAME = FNAME, NAMED = THERE)
      WRITE (*, *) 'file [', FNAME, '] ', THERE
      INQUIRE (UNIT = 13, OPENED = OPEN1, NUMBER = NUM, EXIST = THERE)
      WRITE (*, *) 'unit 13', OPEN1, NUM, THERE
      DO 10 I = 1, 5
         WRITE (12, '(I4)') I * I
   10 CONTINUE
C     The last record written is replaced.
      BACKSPACE 12
      WRITE (12, '(I4)') 99
      REWIND 12
      N = 0
      DO 20 I = 1, 5
         READ (12, *) K
         N = N + K
   20 CONTINUE
      WRITE (*, *) 'sum', N
C     Back over two records: the fourth is read again.
      BACKSPACE (UNIT = 12)
      BACKSPACE 12
      READ (12, *) K
      WRITE (*, *) 'again', K
C     The file ends after the fourth record. (gfortran ends it one
C     record later when the READ before is list-directed.)
      BACKSPACE 12
      READ (12, '(I4)') K
      ENDFILE 12
      REWIND (12)
      N = 0
   30 READ (12, *, END = 40) K
      N = N + 1
      GO TO 30
   40 WRITE (*, *) 'records left', N
C     Writing after reading keeps what was read.
      REWIND 12
      READ (12, *) K
      WRITE (12, '(I4)') -7
      REWIND 12
      N = 0
   50 READ (12, *, END = 60) K
      N = N + 1
      WRITE (*, *) 'record', N, K
      GO TO 50
   60 CLOSE (12, STATUS = 'DELETE')
      INQUIRE (FILE = 'position.tmp', EXIST = THERE)
      WRITE (*, *) 'exists after', THERE
      END
