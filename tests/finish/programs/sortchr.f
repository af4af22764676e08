C     Sorting and searching as the old libraries wrote them: a Shell sort
C     stepping with a computed GOTO, an assigned GOTO for the way back,
C     an INTEGER bisection function, and keys handled as CHARACTER*(*).
      PROGRAM SORTCH
      INTEGER N, I, J, K, LOCATE, NCMP
      PARAMETER (N = 9)
      DOUBLE PRECISION A(N), KEY
      INTEGER IPERM(N)
      CHARACTER*8 NAMES(N), WORK
      CHARACTER*40 LINE
      CHARACTER*5 ABBREV
      COMMON /COUNT/ NCMP
      DATA A /3.5D0, -1.25D0, 7.0D0, 0.5D0, 2.0D0, -4.75D0, 9.5D0,
     *        1.0D0, 6.25D0/
      DATA NAMES /'delta', 'alpha', 'kilo', 'bravo', 'echo', 'zulu',
     *            'charlie', 'golf', 'hotel'/
      NCMP = 0
      DO 10 I = 1, N
         IPERM(I) = I
   10 CONTINUE
      CALL SHELL(N, A, IPERM)
      WRITE (6, 900) NCMP
      WRITE (6, 910) (A(I), IPERM(I), I = 1, N)
      DO 20 K = 1, 3
         KEY = 2.5D0*DBLE(K) - 3.0D0
         J = LOCATE(N, A, KEY)
         WRITE (6, 920) KEY, J
   20 CONTINUE
      CALL SSORT(NAMES, N)
      WRITE (6, 930) (NAMES(I), I = N, 1, -1)
      LINE = ' '
      K = 1
      DO 30 I = 1, N
         WORK = NAMES(I)
         CALL UPCASE(WORK)
         J = LENTRM(WORK)
         LINE(K:K + 1) = WORK(1:1) // WORK(J:J)
         K = K + 2
   30 CONTINUE
      WRITE (6, 940) LINE(1:K - 1), INDEX(LINE, 'EO'), LEN(WORK)
      WRITE (6, *) 'first ', NAMES(1), ' last ', NAMES(N)(1:4),
     *             ICHAR('A')
      WRITE (6, 950) (ABBREV(NAMES(I)), I = 1, N, 4), 'END'
  900 FORMAT (' SHELL SORT,', I4, ' COMPARISONS')
  910 FORMAT (3(1X, F8.3, ' (', I2, ')'))
  920 FORMAT (' KEY', F7.2, ' FALLS AFTER ELEMENT', I3)
  930 FORMAT (1X, 5A9)
  940 FORMAT (1X, 'INITIALS ', A, T30, 'AT', I3, 2X, 'LEN', I3)
  950 FORMAT (1X, 4('[', A, ']'))
      END

      SUBROUTINE SHELL(N, A, IPERM)
      INTEGER N, IPERM(N), GAP, I, J, IT, ISTEP, NCMP
      DOUBLE PRECISION A(N), T
      COMMON /COUNT/ NCMP
      GAP = N
   10 GAP = GAP/2
      IF (GAP) 90, 90, 20
   20 DO 60 I = GAP + 1, N
         J = I - GAP
   30    NCMP = NCMP + 1
         ISTEP = 1
         IF (A(J) .GT. A(J + GAP)) ISTEP = 2
         GO TO (60, 40), ISTEP
   40    T = A(J)
         A(J) = A(J + GAP)
         A(J + GAP) = T
         IT = IPERM(J)
         IPERM(J) = IPERM(J + GAP)
         IPERM(J + GAP) = IT
         J = J - GAP
         IF (J .GE. 1) GO TO 30
   60 CONTINUE
      GO TO 10
   90 RETURN
      END

C     The last I with A(I) .LE. KEY in the sorted A, 0 when none.
      INTEGER FUNCTION LOCATE(N, A, KEY)
      INTEGER N, LO, HI, MID
      DOUBLE PRECISION A(N), KEY
      LO = 0
      HI = N + 1
   10 IF (HI - LO .LE. 1) GO TO 20
      MID = (LO + HI)/2
      IF (KEY .GE. A(MID)) THEN
         LO = MID
      ELSE
         HI = MID
      END IF
      GO TO 10
   20 LOCATE = LO
      END

C     Straight insertion on strings; ASSIGN says where to go back.
      SUBROUTINE SSORT(S, N)
      INTEGER N, I, J, LABEL
      CHARACTER*(*) S(N)
      CHARACTER*16 T
      I = 1
      ASSIGN 20 TO LABEL
   10 I = I + 1
      IF (I .GT. N) RETURN
      T = S(I)
      J = I - 1
      GO TO LABEL, (20, 30)
   20 IF (J .LT. 1) GO TO 40
      IF (LLE(S(J), T)) GO TO 40
      S(J + 1) = S(J)
      J = J - 1
      ASSIGN 30 TO LABEL
      GO TO 20
   30 GO TO 20
   40 S(J + 1) = T
      ASSIGN 20 TO LABEL
      GO TO 10
      END

      SUBROUTINE UPCASE(S)
      CHARACTER*(*) S
      INTEGER I, C
      DO 10 I = LEN(S), 1, -1
         C = ICHAR(S(I:I))
         IF (C .GE. ICHAR('a') .AND. C .LE. ICHAR('z'))
     *      S(I:I) = CHAR(C - 32)
   10 CONTINUE
      END

      INTEGER FUNCTION LENTRM(S)
      CHARACTER*(*) S
      DO 10 LENTRM = LEN(S), 1, -1
         IF (S(LENTRM:LENTRM) .NE. ' ') RETURN
   10 CONTINUE
      LENTRM = 0
      END

C     The first three letters and a dot: as long as the caller says.
      CHARACTER*(*) FUNCTION ABBREV(S)
      CHARACTER*(*) S
      ABBREV = S(1:3) // '.'
      END
