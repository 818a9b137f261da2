! ---------------------------------------------------------------------
! Sanity checks on the plate after a run of the HEAT example.
! ---------------------------------------------------------------------
module plate_limits
  implicit none
  real, parameter :: tmin_allowed = -1.0
  real, parameter :: tmax_allowed = 101.0
  real :: unused_margin = 0.5   ! FAULT: a module variable nobody uses
end module plate_limits

! Counts the points outside the physical range and reports the extremes.
subroutine check_plate(t, nx, ny, nbad)
  use plate_limits
  implicit none
  integer, intent(in) :: nx, ny
  real, intent(in) :: t(nx, ny)
  integer, intent(out) :: nbad
  integer :: i, j
  real :: lo, hi
  lo = huge(lo)
  hi = -huge(hi)
  nbad = 0
  do j = 1, ny
    do i = 1, nx
      lo = min(lo, t(i, j))
      hi = max(hi, t(i, j))
      if (t(i, j) < tmin_allowed .or. t(i, j) > tmax_allowed) nbad = nbad + 1
    end do
  end do
  ! FAULT: SPREAD is not declared, and IMPLICIT NONE is in effect.
  spread = hi - lo
  write (*, '(a, 2f10.3, i6)') ' range and points out of range:', lo, hi, nbad
  if (nbad > 0) call warn_user(nbad)
end subroutine check_plate

! Tells the user how many points are out of range.
subroutine warn_user(count)
  implicit none
  integer, intent(in) :: count
  character(len=40) :: text
  write (text, '(i6, a)') count, ' points out of range'
  print '(a)', trim(adjustl(text))
end subroutine warn_user
