C ---------------------------------------------------------------------
C     Solver routines of the HEAT example.
C ---------------------------------------------------------------------
      SUBROUTINE STEP(DT, RESID)
      INCLUDE 'params.inc'
      REAL DT, RESID
      INTEGER I, J
      REAL RX, RY, D, OLDRES
C     FAULT: OLDRES is set below but its value is never used.
      RX = ALPHA * DT / (DX * DX)
      RY = ALPHA * DT / (DY * DY)
      OLDRES = RESID
      RESID = 0.0
C     FAULT: the next line runs past column 72; the "+ 1.0" is cut off.
      RESID = RESID * (RX + RY)                                         + 1.0
      DO 20 J = 2, NY - 1
         DO 10 I = 2, NX - 1
            TNEW(I, J) = T(I, J)
     &         + RX * (T(I + 1, J) - 2.0 * T(I, J) + T(I - 1, J))
     &         + RY * (T(I, J + 1) - 2.0 * T(I, J) + T(I, J - 1))
            D = ABS(TNEW(I, J) - T(I, J))
            IF (D .GT. RESID) RESID = D
   10    CONTINUE
   20 CONTINUE
      CALL COPYIN
      END
C
C     Copies the new time level into the current one.
      SUBROUTINE COPYIN
      INCLUDE 'params.inc'
      INTEGER I, J
      DO 20 J = 2, NY - 1
         DO 10 I = 2, NX - 1
            T(I, J) = TNEW(I, J)
   10    CONTINUE
   20 CONTINUE
      RETURN
C     FAULT: the statement after RETURN can never be reached.
      I = 0
      END
C
C     Fixed temperatures on the left and right edges, insulated top
C     and bottom.
      SUBROUTINE BOUND(TL, TR)
      REAL TL, TR
      INTEGER NX, NY
      PARAMETER (NX = 40, NY = 30)
      REAL T(NX, NY)
      COMMON /GRID/ T
C     FAULT: this unit declares COMMON /GRID/ shorter than the others.
      INTEGER J
      DO 10 J = 1, NY
         T(1, J) = TL
         T(NX, J) = TR
   10 CONTINUE
C     FAULT: EDGES takes three arguments; four are passed.
      CALL EDGES(NX, NY, T, 1)
      END
C
C     Copies the second and last-but-one rows onto the top and bottom.
      SUBROUTINE EDGES(MX, MY, A)
      INTEGER MX, MY
      REAL A(MX, MY)
      INTEGER I
      DO 10 I = 1, MX
         A(I, 1) = A(I, 2)
         A(I, MY) = A(I, MY - 1)
   10 CONTINUE
      END
C
C     Heat flux through the left edge.
      REAL FUNCTION FLUX(K)
      INCLUDE 'params.inc'
      REAL K
      INTEGER J
      REAL S
      S = 0.0
      DO 10 J = 1, NY
         S = S + K * (T(1, J) - T(2, J)) / DX
   10 CONTINUE
      FLUX = S * DY
      END
