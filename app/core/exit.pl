# The ways out of the program, all through one clean-up.
use strict;
use warnings;

our ($MW, $ReportTmpDel, $ReportTmpDir, $ReportTmpBase);

sub UtilCleanup {
    {
        local $SIG{__WARN__} = sub { die $_[0] };
        local $@;
        eval { $MW->destroy if $MW && Tk::Exists($MW); };
        undef $MW;
    }
    UtilLogClose();
    if ($ReportTmpDel && -d $ReportTmpDir && -r _) {
        if (opendir my $dh, $ReportTmpDir) {
            my $prefix = lc $ReportTmpBase;
            for my $entry (readdir $dh) {
                my $path = "$ReportTmpDir/$entry";
                # lstat: only plain files we made, never what a link points to
                next unless lstat $path && -f _;
                next unless index(lc $path, $prefix) == 0;
                unlink $path;
            }
            closedir $dh;
        }
        rmdir $ReportTmpDir;
    }
    return;
}

sub UtilQuit {
    UtilCleanup();
    return;
}

sub UtilExit {
    my ($status) = @_;
    $status = 1 unless defined $status;
    UtilCleanup();
    STDOUT->flush;
    STDERR->flush;
    CORE::exit($status);
}

# However the event loop ended (the window destroyed from outside, say),
# the clean-up runs when the interpreter is destroyed.
END { UtilCleanup() }
