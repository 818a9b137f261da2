! ---------------------------------------------------------------------
! Reporting for the HEAT example, in free form.
! ---------------------------------------------------------------------
module plate_stats
  implicit none
  integer, parameter :: nbins = 10
contains
  ! Mean of the interior temperatures.
  real function interior_mean(t, nx, ny)
    integer, intent(in) :: nx, ny
    real, intent(in) :: t(nx, ny)
    integer :: i, j
    real :: total
    total = 0.0
    do j = 2, ny - 1
      do i = 2, nx - 1
        total = total + t(i, j)
      end do
    end do
    interior_mean = total / real((nx - 2) * (ny - 2))
  end function interior_mean
end module plate_stats

subroutine report(title, nsteps, resid)
  use plate_stats
  implicit none
  character(len=*), intent(in) :: title
  integer, intent(in) :: nsteps
  real, intent(in) :: resid
  integer, parameter :: nx = 40, ny = 30
  real :: t(nx, ny), tnew(nx, ny), dx, dy, alpha
  common /grid/ t, tnew, dx, dy, alpha
  real :: mean, q
  real :: flux
  integer :: nbad
  integer :: unused_count     ! FAULT: declared but never used
  mean = interior_mean(t, nx, ny)
  ! FAULT: FLUX takes one REAL argument; an INTEGER is passed here.
  q = flux(2)
  write (*, '(a)') trim(title)
  write (*, '(a, i6)') ' steps:           ', nsteps
  write (*, '(a, es12.4)') ' final residual:  ', resid
  write (*, '(a, f10.4)') ' mean temperature:', mean
  write (*, '(a, f10.4)') ' left-edge flux:  ', q
  write (*, '(a, f10.4)') ' plate spacing:   ', dx + dy * 0.0 + alpha * 0.0 + tnew(1, 1) * 0.0
  call histogram(t, nx, ny)
  call check_plate(t, nx, ny, nbad)
end subroutine report

! Prints how many interior points fall into each temperature band.
subroutine histogram(t, nx, ny)
  use plate_stats, only: nbins
  implicit none
  integer, intent(in) :: nx, ny
  real, intent(in) :: t(nx, ny)
  integer :: counts(nbins), i, j, k
  real :: tmax
  counts = 0
  tmax = maxval(t)
  if (tmax <= 0.0) return
  do j = 2, ny - 1
    do i = 2, nx - 1
      k = min(nbins, 1 + int(real(nbins) * t(i, j) / tmax))
      counts(k) = counts(k) + 1
    end do
  end do
  do k = 1, nbins
    write (*, '(i4, a, i6)') k, ': ', counts(k)
  end do
  call edges(nx, ny, t)
end subroutine histogram
