C     LAPACK's own drivers on small systems: DGESV (LU with partial
C     pivoting, DGETRF's recursive DGETRF2, DLASWP, DTRSM) and DPOSV
C     (Cholesky), with the library's routines taken from the release.
      PROGRAM LAPACK
      INTEGER N, NRHS, LDA, LDB
      PARAMETER (N = 4, NRHS = 2, LDA = 5, LDB = 5)
      DOUBLE PRECISION A(LDA, N), B(LDB, NRHS), S(LDA, N), R
      INTEGER IPIV(N), INFO, I, J, K
      DO 20 J = 1, N
         DO 10 I = 1, N
            A(I, J) = 1.0D0 / DBLE(I + J - 1) + DBLE(MOD(I * J, 3))
            S(I, J) = 1.0D0 / DBLE(I + J - 1)
   10    CONTINUE
         S(J, J) = S(J, J) + 1.0D0
         B(J, 1) = DBLE(J)
         B(J, 2) = 1.0D0 / DBLE(J)
   20 CONTINUE
      CALL DGESV(N, NRHS, A, LDA, IPIV, B, LDB, INFO)
      PRINT *, 'dgesv info', INFO, ' ipiv', IPIV
      DO 30 I = 1, N
         PRINT *, 'x', I, B(I, 1), B(I, 2)
   30 CONTINUE
      DO 40 I = 1, N
         WRITE (*, 100) (A(I, J), J = 1, N)
   40 CONTINUE
  100 FORMAT (1X, 'lu', 4F18.12)
      DO 50 J = 1, N
         B(J, 1) = 1.0D0
         B(J, 2) = DBLE(J * J)
   50 CONTINUE
      CALL DPOSV('U', N, NRHS, S, LDA, B, LDB, INFO)
      PRINT *, 'dposv info', INFO
      DO 60 I = 1, N
         PRINT *, 'x', I, B(I, 1), B(I, 2)
   60 CONTINUE
      R = 0.0D0
      DO 80 J = 1, N
         DO 70 K = 1, J
            R = R + S(K, J)
   70    CONTINUE
   80 CONTINUE
      PRINT *, 'sum of the Cholesky factor', R
      DO 95 J = 1, N
         DO 90 I = 1, N
            A(I, J) = DBLE(I * J)
   90    CONTINUE
   95 CONTINUE
      CALL DGESV(N, 1, A, LDA, IPIV, B, LDB, INFO)
      PRINT *, 'singular: info', INFO
      END
