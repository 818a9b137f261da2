package Win32::Process;
# Simulated Windows processes: Create records the command and runs it as a
# real child on this machine, so waiting behaves as on Windows.
use strict;
use warnings;
use Exporter 'import';
use POSIX ();
use Time::HiRes ();

our @EXPORT = qw(DETACHED_PROCESS NORMAL_PRIORITY_CLASS INFINITE);
use constant DETACHED_PROCESS      => 0x00000008;
use constant NORMAL_PRIORITY_CLASS => 0x00000020;
use constant INFINITE              => 0xFFFFFFFF;

our @Created;    # [program, command line, flags] of every Create

sub Create {
    my ($objref, $program, $cmdline, $inherit, $flags, $dir) = @_;
    push @Created, [$program, $cmdline, $flags];
    return 0 unless defined $program && -x $program;
    my $pid = fork;
    return 0 unless defined $pid;
    if ($pid == 0) {
        chdir $dir if defined $dir && -d $dir;
        { exec '/bin/sh', '-c', $cmdline; }
        POSIX::_exit(127);
    }
    $_[0] = bless { pid => $pid, done => 0, status => 0 }, __PACKAGE__;
    return 1;
}

# Waits at most TIMEOUT milliseconds; 1 when the process has ended.
sub Wait {
    my ($self, $timeout) = @_;
    return 1 if $self->{done};
    my $deadline = $timeout == INFINITE ? undef : Time::HiRes::time() + $timeout / 1000;
    while (1) {
        my $r = waitpid $self->{pid}, POSIX::WNOHANG();
        if ($r == $self->{pid} || $r < 0) {
            $self->{done}   = 1;
            $self->{status} = $? >> 8;
            return 1;
        }
        return 0 if defined $deadline && Time::HiRes::time() >= $deadline;
        select undef, undef, undef, 0.005;
    }
}

sub GetExitCode { my ($self) = @_; $_[1] = $self->{status}; return 1 }
sub GetProcessID { my ($self) = @_; return $self->{pid} }

1;
