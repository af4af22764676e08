C     Units held in variables, a file written, closed, opened again and
C     read back, and PRINT and WRITE on the standard output.
      PROGRAM UNITS
      INTEGER NOUT, NTMP, I, N
      DOUBLE PRECISION V(5), W(5), S
      NOUT = 6
      NTMP = 11
      DO 10 I = 1, 5
         V(I) = DBLE(I) ** 2 / 8.0D0
   10 CONTINUE
      OPEN (UNIT = NTMP, FILE = 'units.tmp', STATUS = 'UNKNOWN')
      WRITE (NTMP, *) 5
      WRITE (NTMP, *) (V(I), I = 1, 5)
      WRITE (NTMP, 100) 'tail', 42
  100 FORMAT (1X, '''', A, '''', I5)
      CLOSE (NTMP)
      OPEN (UNIT = NTMP, FILE = 'units.tmp', STATUS = 'OLD')
      READ (NTMP, *) N
      READ (NTMP, *) (W(I), I = 1, N)
      CLOSE (NTMP)
      S = 0.0D0
      DO 20 I = 1, N
         S = S + W(I) - V(I)
   20 CONTINUE
      WRITE (NOUT, *) 'read back', N, 'values, difference', S
      WRITE (NOUT, 200) (W(I), I = 1, N)
  200 FORMAT (1X, 'w =', 5F9.4)
      PRINT 200, V
      WRITE (*, '(1X, A, I3)') 'unit', NOUT
      END
