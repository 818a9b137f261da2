# Assertions on the application's own calls: a missing argument is a
# fault of the program, reported as an internal error.
use strict;
use warnings;

sub UtilArgsCheck {
    my ($msg, @values) = @_;
    my $rtn = 'UtilArgsCheck';
    UtilInternalError("$rtn-1") if !defined $msg || $msg eq '';
    UtilInternalError("$rtn-2") unless @values;
    for my $i (0 .. $#values) {
        next if defined $values[$i] && $values[$i] ne '';
        my $text = UtilTextNormalize($msg);
        $text .= ($text =~ /\n/ ? "\n" : ': ') . "Index=$i";
        UtilInternalError($text);
    }
    return;
}

sub UtilArrayCheck {
    my ($msg, $list) = @_;
    my $rtn = 'UtilArrayCheck';
    UtilInternalError("$rtn-1") if !defined $msg || $msg eq '';
    UtilInternalError("$msg-1") unless defined $list;
    UtilInternalError("$msg-2") unless @$list;
    for my $i (0 .. $#$list) {
        UtilInternalError("$msg-3: Item $i") if !defined $list->[$i] || $list->[$i] eq '';
    }
    return;
}

sub UtilVarCheck {
    my ($msg, $ref) = @_;
    my $rtn = 'UtilVarCheck';
    UtilInternalError($rtn) if !defined $msg || $msg eq '';
    UtilInternalError($msg) if !defined $ref || !defined $$ref;
    return;
}
