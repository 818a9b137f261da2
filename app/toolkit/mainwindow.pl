# (being written)
use strict;
use warnings;
