C     PAUSE: gfortran shows the message and waits for "go" (given on
C     standard input here); the module writes it to the report and
C     goes on. It comes after the last output, where gfortran's
C     standard error and output line up.
      PROGRAM PAUSES
      WRITE (*, *) 'before', 1
      PAUSE 'half way'
      END
