package Win32;
# Simulated Windows: the core Win32 module's calls the application uses.
use strict;
use warnings;

sub GetLastError { return $Win32::LastError || 0 }
sub FormatMessage { my ($code) = @_; return "Windows error $code" }
sub GetOSName { return 'Win10' }

1;
