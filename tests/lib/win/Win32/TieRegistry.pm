package Win32::TieRegistry;
# Simulated Windows registry: a table of full value paths ("KEY/SUB//" for a
# key's default value) that the test fills; keys compare ignoring case, as
# the registry does. Exports $Registry like the real module.
use strict;
use warnings;

our %Values;
our $Delimiter = '\\';

sub TIEHASH { return bless {}, shift }
sub FETCH   { my ($self, $key) = @_; return Lookup($key) }
sub EXISTS  { my ($self, $key) = @_; return defined Lookup($key) }
sub STORE   { die "Win32::TieRegistry: the simulated registry is read-only here\n" }

sub Lookup {
    my ($key) = @_;
    $key =~ s/\Q$Delimiter\E/\//g unless $Delimiter eq '/';
    for my $k (keys %Values) {
        return $Values{$k} if lc $k eq lc $key;
    }
    return undef;
}

sub import {
    my ($class, %opt) = @_;
    $Delimiter = $opt{Delimiter} if defined $opt{Delimiter};
    my %tied;
    tie %tied, $class;
    no strict 'refs';
    ${caller() . '::Registry'} = \%tied;
    return;
}

1;
