# Random numbers and codes, and the process and user ids taken at start.
use strict;
use warnings;

our ($PID, $UID);

sub UtilRandomNumberGet {
    my ($n) = @_;
    return int(rand($n));
}

sub UtilRandomCodeCreate {
    my ($groups, $size) = @_;
    my @chars = ('0' .. '9', 'A' .. 'Z');
    $groups = 4 if !defined $groups || $groups < 0 || $groups > 100;
    $size   = 4 if !defined $size   || $size < 0   || $size > 100;
    my $code = '';
    for my $i (1 .. $groups * $size) {
        $code .= $chars[UtilRandomNumberGet(36)];
        $code .= ' ' if $size && $i % $size == 0;
    }
    $code =~ s/ +\z//;
    return $code;
}

sub UtilProcessIdGet { return $PID }
sub UtilUserIdGet    { return $UID }
