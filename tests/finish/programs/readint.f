C     READ from CHARACTER variables: list-directed and formatted, from
C     a variable, an array element and a substring, numbers written to
C     text and read back, and a null value that keeps what was there.
      PROGRAM RDINT
      CHARACTER*40 LINE
      CHARACTER*12 CELLS(3)
      CHARACTER*6 WORD
      INTEGER I, J, K, N(3)
      DOUBLE PRECISION X, Y
      REAL R
      LOGICAL FLAG
      LINE = ' 17, 2.5d0  T ''quoted'' 99'
      READ (LINE, *) I, X, FLAG, WORD, J
      WRITE (*, *) I, X, FLAG, '[', WORD, ']', J
      LINE = '  123456  7.25'
      READ (LINE, '(I4, I4, F6.2)') I, J, X
      WRITE (*, *) 'formatted', I, J, X
      CELLS(1) = '1 2 3'
      CELLS(2) = '0.125'
      CELLS(3) = 'abcdefghij'
      READ (CELLS(1), *) N
      READ (CELLS(2), '(F12.0)') R
      READ (CELLS(3), '(4X, A)') WORD
      WRITE (*, *) 'cells', N, R, '[', WORD, ']'
      READ (CELLS(3)(3:5), '(A)') WORD
      WRITE (*, *) 'substring [', WORD, ']'
      K = 5
      LINE = '4,,6'
      READ (LINE, *) I, K, J
      WRITE (*, *) 'null', I, K, J
      X = 1.0D0 / 3.0D0
      WRITE (LINE, '(E24.17)') X
      READ (LINE, '(E24.17)') Y
      WRITE (*, *) 'round trip', Y - X
      WRITE (LINE, *) 42, -1.5D0
      READ (LINE, *) I, Y
      WRITE (*, *) 'list round trip', I, Y
      END
