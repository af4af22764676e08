C     CHARACTER arrays as internal files of several records: a WRITE
C     fills the elements from the first (those after the last record
C     keep their values), more records than elements is the end of the
C     file (where gfortran puts the one too many in the first element),
C     and READs take the elements as records, in a subroutine too.
      PROGRAM RECRDS
      CHARACTER*6 T(3)
      INTEGER I, J, K, IOS
      T(1) = 'xxxxxx'
      T(2) = 'yyyyyy'
      T(3) = 'zzzzzz'
      WRITE (T, '(I3/I4)') 1, 2
      WRITE (*, *) ('[', T(I), ']', I = 1, 3)
      WRITE (T, '(I3)', IOSTAT = IOS) 1, 2, 3, 4
      WRITE (*, *) 'too many', IOS, ' ', T(2), T(3)
      T(1) = ' 12 34'
      T(2) = ' 56'
      READ (T, *) I, J, K
      WRITE (*, *) I, J, K
      READ (T, '(I3/I3)') I, J
      WRITE (*, *) I, J
      READ (T, *, END = 10) I, J, K, I, J, K
      WRITE (*, *) 'not here'
   10 CALL SUMS(T, 3, K)
      WRITE (*, *) 'sums', K
      END

      SUBROUTINE SUMS(LINES, N, TOTAL)
      INTEGER N, TOTAL, V(6), I
      CHARACTER*6 LINES(N)
      DO 10 I = 1, 6
         V(I) = 0
   10 CONTINUE
      READ (LINES, '(2I3)', IOSTAT = I) V
      TOTAL = 0
      DO 20 I = 1, 6
         TOTAL = TOTAL + V(I)
   20 CONTINUE
      END
