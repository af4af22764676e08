C     Output under FORMAT: I, F, E, D, G, A, L, X, /, text, repeat
C     counts, groups, reversion, and fields too narrow for the value.
      PROGRAM FORMAT
      INTEGER I, N(6)
      DOUBLE PRECISION X(4)
      REAL R
      CHARACTER*8 WORD
      LOGICAL OK
      DATA N /1, -22, 333, -4444, 55555, 0/
      DATA X /3.14159265358979D0, -2.5D-3, 6.02D23, 0.0D0/
      R = 12.375
      WORD = 'format'
      OK = .TRUE.
      WRITE (*, 100) N
      WRITE (*, 110) (X(I), I = 1, 4)
      WRITE (*, 120) (X(I), I = 1, 4)
      WRITE (*, 130) X(1), X(2), X(3)
      WRITE (*, 140) R, R, R, -R
      WRITE (*, 150) WORD, WORD, OK, .NOT. OK
      WRITE (*, 160) (I, I * I, I = 1, 5)
      WRITE (*, 170) N(3), X(1), N(4)
      WRITE (*, 180) 'end', 7
      PRINT 190, X(1), N(5)
  100 FORMAT (1X, 3I6, /, 1X, 2I8, I3)
  110 FORMAT (1X, 4F12.5)
  120 FORMAT (1X, 2E14.6, 2D13.4)
  130 FORMAT (1X, 'g:', 3G14.5)
  140 FORMAT (1X, F5.1, F8.3, E11.3, F4.0)
  150 FORMAT (1X, A, '|', A4, '|', L2, L4, 3X, 'done')
  160 FORMAT (1X, 'pairs', 2(1X, I2, '->', I3))
  170 FORMAT (1X, I2, F6.1, I4, 5X, 'stars')
  180 FORMAT (1X, A, 2X, I1, 4HHOLL, 1X, 'it''s')
  190 FORMAT (' pi =', F9.6, '   n =', I7)
      END
