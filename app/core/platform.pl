# Platform start-up: the random seed and, on UNIX, the process-listing
# command for the variant of UNIX we run on.
use strict;
use warnings;

our ($IsWindows, $ORIGDIR, $PID, $PROG_PS, $PROG_UNAME, $ALLPSCMD, $DEBUG, $RefDebug);

sub UtilPlatformInitWindows {
    my $rtn = 'UtilPlatformInit';
    $RefDebug->($rtn) if $DEBUG;
    $ORIGDIR =~ tr{/}{\\};
    srand(time() ^ ($PID + ($PID << 15)));
    return;
}

sub UtilPlatformInitUNIX {
    my $rtn = 'UtilPlatformInit';
    $RefDebug->($rtn) if $DEBUG;
    srand(time() ^ ($PID + ($PID << 15)));
    UtilInternalError($rtn) if $PROG_PS ne '';
    $PROG_PS = UtilProgramFind('ps');
    UtilFatalError("Can't find \"ps\" in PATH") if $PROG_PS eq '';
    $PROG_UNAME = UtilProgramFind('uname');
    UtilFatalError("Can't find \"uname\" in PATH") if $PROG_UNAME eq '';
    my $uname = UtilPlatformUnameRead($PROG_UNAME);
    $ALLPSCMD = UtilPlatformPsCommand($uname, $PROG_PS);
    UtilFatalError('This version of UNIX is not yet supported') if $ALLPSCMD eq '';
    return;
}

# Output of uname with its standard error joined, read without a shell.
sub UtilPlatformUnameRead {
    my ($uname) = @_;
    my $pid = open(my $fh, '-|');
    return '' unless defined $pid;
    if ($pid == 0) {
        open STDERR, '>&', \*STDOUT;
        { exec { $uname } $uname; }
        POSIX::_exit(127);
    }
    local $/;
    my $out = <$fh>;
    close $fh;
    return defined $out ? $out : '';
}

# The command that lists every process, for the UNIX variant that uname
# names; empty for one we do not know.
sub UtilPlatformPsCommand {
    my ($uname, $ps) = @_;
    return "$ps ax" if $uname =~ /linux/i;
    if ($uname =~ /\b(?:solaris|sparc|sun)/i) {
        $ps = '/usr/bin/ps' if -f '/usr/bin/ps';
        $PROG_PS = $ps;
        return "$ps -ea";
    }
    return "$ps -ea" if $uname =~ /\bHP\W*UX/i;
    return '';
}

UtilVariantBind('UtilPlatformInit');
