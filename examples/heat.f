C ---------------------------------------------------------------------
C     HEAT: explicit finite-difference solution of the 2-D heat
C     equation on a rectangular plate with fixed edge temperatures.
C
C     This example carries deliberate faults for the analyzer to find;
C     each one is marked with "FAULT:" in a comment.
C ---------------------------------------------------------------------
      PROGRAM HEAT
      INCLUDE 'params.inc'
      INTEGER IT, NSTEPS
      REAL DT, RESID, TOL, TLEFT, TRIGHT
      REAL SCRAP
C     FAULT: SCRAP is declared but never used.
      LOGICAL DONE
      CHARACTER*32 TITLE
C
      TITLE = 'Heat plate, explicit scheme'
      TOL = 1.0E-4
      TLEFT = 100.0
      TRIGHT = 0.0
      CALL SETUP(TLEFT, TRIGHT)
      DT = 0.2 * DX * DX / ALPHA
      NSTEPS = 0
      DONE = .FALSE.
C
      DO 100 IT = 1, MAXIT
         CALL STEP(DT, RESID)
         NSTEPS = NSTEPS + 1
         IF (RESID .LT. TOL) THEN
            DONE = .TRUE.
            GO TO 200
         END IF
  100 CONTINUE
C
  200 CONTINUE
      IF (.NOT. DONE) THEN
         WRITE (*, 900) MAXIT
      END IF
      CALL REPORT(TITLE, NSTEPS, RESID)
C     FAULT: SUMMRY is called but no routine of that name exists.
      CALL SUMMRY(NSTEPS)
      CALL SAVEPL('plate.dat')
C     FAULT: FLUX is a function but is called as a subroutine.
      CALL FLUX(0.5)
      STOP
  900 FORMAT (' No convergence after ', I5, ' steps')
  910 FORMAT (' unused format ', F8.3)
C     FAULT: label 910 above is defined but never used.
      END
C
C ---------------------------------------------------------------------
C     SETUP: grid spacing, material constant and boundary values.
C ---------------------------------------------------------------------
      SUBROUTINE SETUP(TL, TR)
      INCLUDE 'params.inc'
      REAL TL, TR
      INTEGER I, J
      DX = 1.0 / REAL(NX - 1)
      DY = 1.0 / REAL(NY - 1)
      ALPHA = 0.01
      DO 20 J = 1, NY
         DO 10 I = 1, NX
            T(I, J) = 0.0
            TNEW(I, J) = 0.0
   10    CONTINUE
   20 CONTINUE
      CALL BOUND(TL, TR)
      RETURN
      END
