C     BLOCK DATA initialising COMMON blocks shared by position.
      PROGRAM BDATA
      INTEGER N(3)
      DOUBLE PRECISION W
      CHARACTER*5 TAG
      COMMON /CFG/ N, W
      COMMON /NAMES/ TAG
      CALL BUMP
      WRITE(*,*) N, W, TAG
      END

      SUBROUTINE BUMP
      INTEGER K(3)
      DOUBLE PRECISION V
      COMMON /CFG/ K, V
      K(2) = K(2) + 1
      V = V * 2.0D0
      END

      BLOCK DATA INIT
      INTEGER N(3)
      DOUBLE PRECISION W
      CHARACTER*5 TAG
      COMMON /CFG/ N, W
      COMMON /NAMES/ TAG
      DATA N /1, 2, 3/, W /0.25D0/, TAG /'abc'/
      END
