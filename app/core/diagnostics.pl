# How problems reach the user: fatal errors, warnings and internal errors.
use strict;
use warnings;

sub UtilFatalError {
    my ($msg) = @_;
    $msg = '???' if !defined $msg || $msg eq '';
    # Toolkit and interpreter texts carry noise the user need not read.
    $msg =~ s/\s*Background\s+Error:+\s*Tk:+Error:+\s*/\n/i;
    $msg =~ s/(unblessed\s+reference\s+at\s*)/$1\n/i;
    $msg =~ s/(Undefined\s+subroutine.*?)(\bcalled\b)/$1\n$2/is;
    $msg = UtilTextNormalize($msg);
    UtilLogWrite($msg);
    GuiFatalErrorShow($msg) if UtilReportInBox();
    $msg = "Error: $msg" unless $msg =~ /error:/i;
    print STDERR "$msg\n";
    UtilExit(1);
}

sub UtilWarning {
    my ($msg) = @_;
    $msg = '???' if !defined $msg || $msg eq '';
    $msg = UtilTextNormalize($msg);
    UtilLogWrite($msg);
    if (UtilReportInBox()) {
        GuiWarningShow($msg);
        return;
    }
    $msg = "Warning: $msg" unless $msg =~ /warning:/i;
    print STDERR "$msg\n";
    return;
}

# A box once the main window is up and no other box is open; the console
# before that, and while a box is open (a second box would be refused).
sub UtilReportInBox {
    return GuiIsStarted() && !GuiInDialogBoxGet() ? 1 : 0;
}

sub UtilInternalError {
    my ($msg) = @_;
    $msg = UtilTextNormalize(defined $msg ? $msg : '');
    my $n = length $msg;
    my $text = $n == 0 ? 'Internal error'
             : $n < 25 ? "Internal error: $msg"
             :           "Internal error:\n$msg";
    UtilFatalError($text);
}

sub UtilPrintError {
    my ($msg, $fatal) = @_;
    my $rtn = 'UtilPrintError';
    $fatal = UtilBooleanParse($fatal, 1);
    $msg = '' unless defined $msg;
    if ($fatal) {
        UtilFatalError("System problem\nInternal code: $msg");
    }
    UtilWarning("Printing failed\nInternal code: $msg");
    return;
}
