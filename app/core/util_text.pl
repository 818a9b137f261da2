# Text and value helpers: normalising messages, reading yes/no values,
# protecting quoted phrases before a split, copying tables, hooks.
use strict;
use warnings;

our ($DEBUG, $RefDebug);

sub UtilTextNormalize {
    my ($text, %opt) = @_;
    my $rtn = 'UtilTextNormalize';
    $RefDebug->($rtn) if $DEBUG;
    $text = '' unless defined $text;
    my $keepnl = UtilBooleanParse($opt{-keepnl}, 1);
    $text =~ tr/\r//d;
    if ($keepnl) {
        $text =~ s/[\t\f ]+/ /g;
    } else {
        $text =~ s/[\t\n\f ]+/ /g;
    }
    $text =~ s/\A[ \t\n\r\f]+//;
    $text =~ s/[ \t\n\r\f]+\z//;
    return $text;
}

sub UtilTextParagraphs {
    my ($text) = @_;
    my $rtn = 'UtilTextParagraphs';
    $RefDebug->($rtn) if $DEBUG;
    $text = UtilTextNormalize($text);
    $text =~ s/\n/\n\n/g;
    return $text;
}

my %BooleanWords = (
    map({ $_ => 1 } qw(1 yes one true on)),
    map({ $_ => 0 } qw(0 no zero false off)),
);

sub UtilBooleanParse {
    my ($text, $default) = @_;
    my $rtn = 'UtilBooleanParse';
    $RefDebug->($rtn) if $DEBUG;
    $text = '' unless defined $text;
    $text =~ s/\A\s+//;
    $text =~ s/\s+\z//;
    $default = 0 if !defined $default || $default eq '';
    return $default if $text eq '';
    my $value = $BooleanWords{lc $text};
    UtilInternalError($rtn) unless defined $value;
    return $value;
}

# Maps characters inside double-quoted phrases, so that a phrase survives
# a split at blanks. Bytes 6, 7 and 8 mark escaped backslashes, escaped
# quotes and finished phrases while the text is scanned.
sub UtilQuotedCharsMap {
    my ($text, $map) = @_;
    my $rtn = 'UtilQuotedCharsMap';
    $RefDebug->($rtn) if $DEBUG;
    $text = '' unless defined $text;
    $text =~ tr/\x06\x07\x08//d;
    my %use;
    for my $in (sort keys %{$map || {}}) {
        my $out = $map->{$in};
        next unless defined $out && length($in) == 1 && length($out) == 1;
        next if grep { /[\x06\x07\x08"\\]/ } $in, $out;
        $use{$in} = $out;
    }
    for my $out (values %use) {
        $text =~ s/\Q$out\E//g;
    }
    $text =~ s/\\\\/\x06/g;
    $text =~ s/\\"/\x07/g;
    if (%use) {
        my $class = join '', map { quotemeta } keys %use;
        while ($text =~ /"([^"]*)"/) {
            my $inner = $1;
            $inner =~ s/([$class])/$use{$1}/g;
            $text =~ s/"[^"]*"/\x08$inner\x08/;
        }
    }
    $text =~ s/\x08/"/g;
    $text =~ s/\x07/\\"/g;
    $text =~ s/\x06/\\\\/g;
    return $text;
}

sub UtilHashCopy {
    my ($src, $dst) = @_;
    my $rtn = 'UtilHashCopy';
    $RefDebug->($rtn) if $DEBUG;
    $dst->{$_} = $src->{$_} for sort keys %$src;
    return;
}

sub UtilHookCall {
    my ($hook, @args) = @_;
    $hook->(@args) if $hook;
    return;
}
