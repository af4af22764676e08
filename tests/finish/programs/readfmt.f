C     Formatted READ: a count and an implied DO from standard input,
C     then a file read with I, F, E, D, G, A, L, X, T, TL, TR and /,
C     fields without a point, blanks ignored (BN) and taken as zeros
C     (BZ), short records, format reversion and whole arrays.
      PROGRAM RDFMT
      INTEGER NIN, N, I, J, K, M(6), IB, IZ
      DOUBLE PRECISION A(10), X, Y, Z, W(3)
      REAL R, S
      CHARACTER*4 C4
      CHARACTER*8 C8, C8B
      CHARACTER*2 C2
      LOGICAL L1, L2
      READ (5, 100) N, (A(I), I = 1, N)
  100 FORMAT (I3 / (4F8.3))
      WRITE (6, *) 'n', N
      WRITE (6, 200) (A(I), I = 1, N)
  200 FORMAT (1X, 'a =', 10F9.3)
      NIN = 8
      OPEN (UNIT = NIN, FILE = 'readfmt.dat', STATUS = 'OLD')
      READ (NIN, '(3F10.3)') X, Y, Z
      WRITE (6, *) 'xyz', X, Y, Z
      READ (NIN, 110) I, R, S, J
  110 FORMAT (I5, E10.2, D10.3, I3)
      WRITE (6, *) 'i r s j', I, R, S, J
      READ (NIN, 120) C4, C8, C2, L1, L2
  120 FORMAT (A4, 1X, A, A6, 2L3)
      WRITE (6, *) '[', C4, '][', C8, '][', C2, ']', L1, L2
      READ (NIN, 130) K, X
  130 FORMAT (T6, I3, TL6, F4.1)
      WRITE (6, *) 'k x', K, X
      READ (NIN, 140) IB, IZ
  140 FORMAT (I5, BZ, I5)
      WRITE (6, *) 'bn bz', IB, IZ
      READ (NIN, 150) M
  150 FORMAT (3I2)
      WRITE (6, *) 'm', M
      READ (NIN, 160) X, Y, C8B
  160 FORMAT (G12.4, 2X, G8.2 / A)
      WRITE (6, *) 'g', X, Y, '[', C8B, ']'
      READ (NIN, '(F6.2, 3X, F6.2)') Y, Z
      WRITE (6, *) 'short', Y, Z
      READ (NIN, '(3D12.0)') W
      WRITE (6, *) 'w', W
      READ (NIN, '(A3)') C4
      WRITE (6, *) '[', C4, ']'
      CLOSE (NIN)
C     BLANK = 'ZERO': blanks in number fields are zeros, BN says not.
      OPEN (UNIT = NIN, FILE = 'readfmt.dat', STATUS = 'OLD',
     $      BLANK = 'ZERO')
      READ (NIN, '(////I5, BN, I5)') IB, IZ
      WRITE (6, *) 'zero', IB, IZ
      CLOSE (NIN)
      END
