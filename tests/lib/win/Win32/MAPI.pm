package Win32::MAPI;
# Simulated Windows: the Yes and No constants of the mail interface.
use strict;
use warnings;
use Exporter 'import';

our @EXPORT_OK = qw(Yes No);
use constant Yes => 1;
use constant No  => 0;

1;
