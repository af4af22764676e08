C     Logical operators, their precedence, .EQV. and .NEQV.
      PROGRAM LOGIC
      LOGICAL A, B, C, T(4)
      INTEGER I, J, K
      A = .TRUE.
      B = .FALSE.
      C = A .AND. .NOT. B .OR. B
      PRINT *, A, B, C, .NOT. A, A .AND. B, A .OR. B
      PRINT *, A .EQV. B, A .NEQV. B, .NOT. A .EQV. B, A .EQV. .NOT. B
      PRINT *, B .OR. A .AND. B, (B .OR. A) .AND. B
C     .AND. before .OR. before .EQV.: a BASIC that goes left to right
C     gets these wrong
      PRINT *, A .OR. B .AND. B, B .AND. A .OR. A .AND. .NOT. B,
     &         A .EQV. B .OR. A, .NOT. A .OR. B .EQV. B
      DO 20 I = 1, 2
         DO 10 J = 1, 2
            A = I .EQ. 1
            B = J .EQ. 1
            WRITE (*, 100) A, B, A .AND. B, A .OR. B, A .EQV. B,
     &                     A .NEQV. B
   10    CONTINUE
   20 CONTINUE
  100 FORMAT (1X, 6L3)
      K = 0
      DO 30 I = 1, 4
         T(I) = MOD(I, 2) .EQ. 0 .OR. I .GT. 3
         IF (T(I)) K = K + I
   30 CONTINUE
      PRINT *, T, K
      IF (K .GT. 5 .AND. .NOT. T(1) .OR. K .LT. 0) PRINT *, 'taken'
      IF (.NOT. (K .GE. 4 .AND. K .LE. 6)) PRINT *, 'outside'
      END
