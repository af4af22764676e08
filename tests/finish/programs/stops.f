C     STOP inside a subroutine ends the whole program, after what was
C     printed so far, with its message; RETURN in the middle of a
C     function.
      PROGRAM STOPS
      INTEGER I, FIRST
      DO 10 I = 1, 10
         PRINT *, 'step', I, FIRST(I)
         CALL CHECK(I)
   10 CONTINUE
      PRINT *, 'not reached'
      END

      SUBROUTINE CHECK(I)
      INTEGER I
      IF (I .LT. 3) RETURN
      PRINT *, 'stopping at', I
      STOP 'check failed'
      END

      INTEGER FUNCTION FIRST(N)
      INTEGER N, K
      DO 10 K = 2, N
         IF (MOD(N, K) .EQ. 0) THEN
            FIRST = K
            RETURN
         END IF
   10 CONTINUE
      FIRST = N
      END
