C ---------------------------------------------------------------------
C     Output of the plate temperatures, and the run controls.
C ---------------------------------------------------------------------
      SUBROUTINE SAVEPL(FNAME)
      CHARACTER*(*) FNAME
      INCLUDE 'params.inc'
      INTEGER LUN, I, J, IOS
      INTEGER NWRITE
      COMMON /CTRL/ LUN, NWRITE
      OPEN (UNIT=LUN, FILE=FNAME, STATUS='UNKNOWN', IOSTAT=IOS)
      IF (IOS .NE. 0) THEN
         WRITE (*, 900) FNAME
         RETURN
      END IF
      DO 20 J = 1, NY
         WRITE (LUN, 910) (T(I, J), I = 1, NX)
   20 CONTINUE
      CLOSE (LUN)
      NWRITE = NWRITE + 1
      RETURN
  900 FORMAT (' cannot open ', A)
  910 FORMAT (40F8.3)
      END
C
C     Reads a plate written by SAVEPL back into the current level.
      SUBROUTINE LOADPL(FNAME, OK)
      CHARACTER*(*) FNAME
      LOGICAL OK
      INCLUDE 'params.inc'
      INTEGER LUN, I, J, IOS, NWRITE
      COMMON /CTRL/ LUN, NWRITE
      REAL TMIN
C     FAULT: TMIN is used below but never given a value.
      OK = .FALSE.
      OPEN (UNIT=LUN, FILE=FNAME, STATUS='OLD', IOSTAT=IOS)
      IF (IOS .NE. 0) RETURN
      DO 20 J = 1, NY
         READ (LUN, 910, END=30) (T(I, J), I = 1, NX)
         DO 10 I = 1, NX
            IF (T(I, J) .LT. TMIN) T(I, J) = TMIN
   10    CONTINUE
   20 CONTINUE
      OK = .TRUE.
   30 CLOSE (LUN)
      RETURN
  910 FORMAT (40F8.3)
      END
C
C     Initial values of the run controls.
      BLOCK DATA CTRLBD
      INTEGER LUN, NWRITE
      COMMON /CTRL/ LUN, NWRITE
      DATA LUN /21/, NWRITE /0/
      END
