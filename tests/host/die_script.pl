# An error raised while Main is evaluated.
use strict;
use warnings;
sub SetARGV { return 1 }
sub Main    { die "broken main\n" }
sub MainLoop { return }
