C     Concatenation, substrings on both sides, and the character
C     intrinsics.
      PROGRAM CHARS
      CHARACTER*10 S, T
      CHARACTER*3 U
      CHARACTER*20 W
      INTEGER I, N
      S = 'hello'
      T = 'world'
      W = S // T
      PRINT *, '[', W, ']'
      W = S(1:5) // ', ' // T(1:5) // '!'
      PRINT *, '[', W, ']', LEN(W), LEN(S(2:4))
      U = 'abcdef'
      PRINT *, '[', U, ']'
      S(1:1) = 'J'
      S(3:4) = 'LL'
      PRINT *, '[', S, ']'
      T(6:) = '12345'
      PRINT *, '[', T, ']', T(:3), T(8:)
      PRINT *, INDEX(W, 'world'), INDEX(W, 'x'), INDEX('banana', 'an')
      PRINT *, ICHAR('A'), ICHAR('z'), CHAR(72) // CHAR(105),
     &         ICHAR(U(2:2))
      N = 0
      DO 10 I = 1, LEN(W)
         IF (W(I:I) .EQ. 'l') N = N + 1
   10 CONTINUE
      PRINT *, 'l count', N
      IF (S .LT. T) PRINT *, S, ' before ', T
      IF ('abc' .EQ. 'abc   ') PRINT *, 'blank padded equal'
      IF (LGE('b', 'abc')) PRINT *, 'lge'
      DO 20 I = 1, 5
         W(I:I) = CHAR(ICHAR('a') + I - 1)
   20 CONTINUE
      PRINT *, W
      WRITE (*, '(A, A3, A12, 1X, A)') S, T, U, W(1:5)
      END
