# The optional log: one fresh file per run, opened at the first message.
use strict;
use warnings;
use Fcntl qw(O_WRONLY O_CREAT O_EXCL O_APPEND);

our ($LogFlag, $LogFlagSTDOUT, $LogFlagFlush, $LogFile);

my $LogStream;

sub UtilLogWrite {
    my ($msg) = @_;
    return unless $LogFlag;
    $msg = '' unless defined $msg;
    $msg =~ s/\s*\z/\n/;
    if ($LogFlagSTDOUT) {
        STDOUT->autoflush(1) if $LogFlagFlush;
        print STDOUT $msg;
        return;
    }
    unless ($LogStream) {
        return if !defined $LogFile || $LogFile eq '';
        if (-e $LogFile || -l $LogFile) {
            unless (unlink $LogFile) {
                my $err = $!;
                $LogFlag = 0;
                UtilWarning("Can't delete old \"log\" file \"$LogFile\":\n$err");
                return;
            }
        }
        my $fh = UtilLogStreamOpen($LogFile);
        unless ($fh) {
            my $err = $!;
            $LogFlag = 0;
            UtilWarning("Can't create \"log\" file \"$LogFile\":\n$err");
            return;
        }
        $fh->autoflush(1) if $LogFlagFlush;
        $LogStream = $fh;
    }
    print {$LogStream} $msg;
    return;
}

# The name is predictable and may sit in a shared directory such as /tmp:
# create the file ourselves, never open one or a link planted there.
sub UtilLogStreamOpen {
    my ($path) = @_;
    my $nofollow = eval { Fcntl::O_NOFOLLOW() } || 0;
    my $fh;
    sysopen($fh, $path, O_WRONLY | O_CREAT | O_EXCL | O_APPEND | $nofollow, 0600) or return undef;
    return $fh;
}

sub UtilLogClose {
    if ($LogStream) {
        close $LogStream;
        undef $LogStream;
    }
    $LogFlag = 0;
    return;
}
