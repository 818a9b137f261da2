# Ends the process from inside Main, as the application's exit does.
use strict;
use warnings;
$| = 1;
sub SetARGV { return 1 }
sub Main    { print "Main($_[0])\n"; exit 7 if $_[0] == 1; return }
sub MainLoop { print "MainLoop\n"; return }
