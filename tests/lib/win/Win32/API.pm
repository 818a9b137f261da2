package Win32::API;
# Simulated Windows: imported functions are looked up in a table the test
# fills (%Win32::API::Functions, "Library/Name" => code).
use strict;
use warnings;

our %Functions;

sub new {
    my ($class, $library, $name) = @_;
    my $code = $Functions{"$library/$name"} or return undef;
    return bless { code => $code }, $class;
}

sub Call {
    my ($self, @args) = @_;
    return $self->{code}->(@args);
}

1;
