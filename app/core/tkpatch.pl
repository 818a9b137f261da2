# Our toolkit patch: background errors raised in toolkit callbacks go to
# the application's fatal-error path instead of a console warning, which
# the application would in turn raise as an error inside the toolkit.
package Tk::VqxPatch;
use strict;
use warnings;

our $Quiet;
BEGIN { $INC{'Tk/VqxPatch.pm'} = __FILE__ }

sub import {
    no warnings 'redefine';
    local $SIG{__WARN__} = sub { } if $Quiet;
    *Tk::Error = \&BackgroundError;
    return;
}

sub BackgroundError {
    my ($widget, $error) = @_;
    $error = '' unless defined $error;
    chomp $error;
    main::UtilFatalError("Background Error: Tk::Error: $error");
}

package main;
