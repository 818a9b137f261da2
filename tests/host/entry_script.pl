# Records every entry the host makes, in order, on standard output.
use strict;
use warnings;
$| = 1;
print "loaded\n";
sub SetARGV { print 'SetARGV(' . join('|', @_) . ")\n"; return 1 }
sub Main    { print "Main($_[0])\n"; return }
sub MainLoop { print "MainLoop\n"; return }
