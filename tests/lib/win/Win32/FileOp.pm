package Win32::FileOp;
# Simulated Windows: the file-operation module loads; the application uses
# none of its calls outside the Windows file chooser.
use strict;
use warnings;

1;
