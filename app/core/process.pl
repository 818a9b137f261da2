# Child processes: started and forgotten, or started and waited for while
# the main window stays drawn and the busy animation plays.
use strict;
use warnings;

our ($MW, $WaitInterval, $ref_anim, $ref_frames, $DEBUG, $RefDebug);

sub UtilProcessSpawnUNIX {
    my ($command) = @_;
    my $rtn = 'UtilProcessSpawn';
    $RefDebug->($rtn) if $DEBUG;
    # Double fork: the program is adopted by init and never becomes a
    # finished child of ours.
    my $pid = fork;
    die "Cannot fork: $!\n" unless defined $pid;
    if ($pid == 0) {
        my $grandchild = fork;
        if (defined $grandchild && $grandchild == 0) {
            UtilProcessExec($command);
            POSIX::_exit(0);
        }
        POSIX::_exit(0);
    }
    waitpid $pid, 0;
    return;
}

# Replaces a forked child with the command. A failure must not raise
# anything: an error in the child would unwind into the application's code.
sub UtilProcessExec {
    my ($command) = @_;
    eval {
        local $SIG{__WARN__} = sub { };
        local $SIG{__DIE__};
        exec $command;
    };
    return;
}

sub UtilProcessSpawnWindows {
    my ($command) = @_;
    my $rtn = 'UtilProcessSpawn';
    $RefDebug->($rtn) if $DEBUG;
    my $program = $command;
    $program =~ s/(\.exe).+\z/$1/is;
    $program =~ s/\s*http:\/.*\z//is;
    my $process;
    Win32::Process::Create($process, $program, $command, 0,
                           Win32::Process::DETACHED_PROCESS(), '.');
    return;
}

sub UtilProcessWaitUNIX {
    my ($command, %opt) = @_;
    my $rtn = 'UtilProcessWait';
    $RefDebug->($rtn) if $DEBUG;
    my $animate = UtilProcessAnimationOn(%opt);
    my $pid = fork;
    die "Cannot fork: $!\n" unless defined $pid;
    if ($pid == 0) {
        UtilProcessExec($command);
        POSIX::_exit(1);
    }
    my $anim = UtilProcessBusyBegin($animate);
    while (1) {
        my $done = waitpid -1, POSIX::WNOHANG();
        # -1: no child left to wait for, so ours is gone too.
        last if $done == $pid || $done < 0;
        last unless UtilProcessBusyStep($anim);
        Time::HiRes::usleep($WaitInterval * 1000);
    }
    UtilProcessBusyEnd($anim);
    return;
}

sub UtilProcessWaitWindows {
    my ($command, %opt) = @_;
    my $rtn = 'UtilProcessWait';
    $RefDebug->($rtn) if $DEBUG;
    my $animate = UtilProcessAnimationOn(%opt);
    my ($program) = $command =~ /\A(\S+)/;
    my $process;
    Win32::Process::Create($process, $program, $command, 0,
                           Win32::Process::DETACHED_PROCESS(), '.') or return;
    my $anim = UtilProcessBusyBegin($animate);
    until ($process->Wait($WaitInterval)) {
        last unless UtilProcessBusyStep($anim);
    }
    UtilProcessBusyEnd($anim);
    return;
}

sub UtilProcessAnimationOn {
    my (%opt) = @_;
    return UtilBooleanParse($opt{-animate}, 0) && $ref_anim && $$ref_anim && $ref_frames && @$ref_frames
        ? 1 : 0;
}

# The main window takes no input and shows the busy cursor; the state of
# the animation lives in the returned record.
sub UtilProcessBusyBegin {
    my ($animate) = @_;
    my %anim = (on => $animate, index => 0);
    if ($animate) {
        $anim{count} = scalar @$ref_frames;
        $anim{rest}  = $$ref_anim->cget(-image);
    }
    $MW->Busy(-recurse => 1) if $MW && Tk::Exists($MW);
    return \%anim;
}

# One poll's worth of animation and redrawing; false once the main window
# has gone away (the user quit meanwhile), so the caller stops waiting.
sub UtilProcessBusyStep {
    my ($anim) = @_;
    return 0 unless $MW && Tk::Exists($MW);
    if ($anim->{on}) {
        $$ref_anim->configure(-image => $ref_frames->[$anim->{index}]);
        $anim->{index} = ($anim->{index} + 1) % $anim->{count};
    }
    $MW->update;
    return 1;
}

sub UtilProcessBusyEnd {
    my ($anim) = @_;
    return unless $MW && Tk::Exists($MW);
    if ($anim->{on}) {
        $$ref_anim->configure(-image => $anim->{rest});
        $MW->update;
    }
    $MW->Unbusy;
    return;
}

UtilVariantBind($_) for qw(UtilProcessSpawn UtilProcessWait);
