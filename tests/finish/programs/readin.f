C     List-directed READ from a file the program opens, values spread
C     over records, repeats, and a count read before the values.
      PROGRAM READIN
      INTEGER N, I, K(4)
      DOUBLE PRECISION A(10), S
      CHARACTER*8 NAME
      LOGICAL FLAG
      OPEN (UNIT = 10, FILE = 'readin.dat', STATUS = 'OLD')
      READ (10, *) N
      READ (10, *) (A(I), I = 1, N)
      READ (10, *) K
      READ (10, *) NAME, FLAG
      CLOSE (10)
      S = 0.0D0
      DO 10 I = 1, N
         S = S + A(I)
   10 CONTINUE
      PRINT *, 'n', N
      PRINT *, 'a', (A(I), I = 1, N)
      PRINT *, 'sum', S
      PRINT *, 'k', K
      PRINT *, 'name ', NAME, FLAG
      END
