C     Block, logical and arithmetic IF, computed GO TO, ASSIGN and the
C     assigned GO TO.
      PROGRAM IFGOTO
      INTEGER I, K, N, L
      DO 50 I = -1, 4
         IF (I .LT. 0) THEN
            PRINT *, I, 'negative'
         ELSE IF (I .EQ. 0) THEN
            PRINT *, I, 'zero'
         ELSE IF (I .LE. 2) THEN
            PRINT *, I, 'small'
            IF (I .EQ. 2) THEN
               PRINT *, '  two'
            END IF
         ELSE
            PRINT *, I, 'large'
         END IF
   50 CONTINUE
      DO 70 I = -1, 1
         IF (I) 61, 62, 63
   61    PRINT *, 'arith minus'
         GO TO 70
   62    PRINT *, 'arith zero'
         GO TO 70
   63    PRINT *, 'arith plus'
   70 CONTINUE
      DO 90 K = 0, 4
         GO TO (81, 82, 83), K
         PRINT *, K, 'fell through'
         GO TO 90
   81    PRINT *, K, 'first'
         GO TO 90
   82    PRINT *, K, 'second'
         GO TO 90
   83    PRINT *, K, 'third'
   90 CONTINUE
      N = 0
      ASSIGN 110 TO L
  100 N = N + 1
      GO TO L, (110, 120)
  110 PRINT *, 'at 110', N
      ASSIGN 120 TO L
      GO TO 100
  120 PRINT *, 'at 120', N
      IF (N .GT. 1) GO TO 130
      PRINT *, 'not here'
  130 CONTINUE
      END
