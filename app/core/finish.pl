# The end of the script's top level: every file has registered what it
# must, so the application proper begins.
use strict;
use warnings;

our $Standalone;

# From here on a warning is a fault.
$SIG{__WARN__} = sub { die $_[0] };

Main() if $Standalone;

1;
