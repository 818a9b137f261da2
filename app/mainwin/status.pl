# The status line at the bottom of the main window.
use strict;
use warnings;

our ($MW, $Status, $StatusText, $ProjIsOpen, $DEBUG, $RefDebug);

# The last message given; the status line shows it until the next one, while
# the default text follows the project state underneath.
our $StatusMessage = '';

sub AppStatusCreate {
    my $rtn = 'AppStatusCreate';
    $RefDebug->($rtn) if $DEBUG;
    $StatusText = '' unless defined $StatusText;
    $Status = $MW->Label(-textvariable => \$StatusText, -relief => 'sunken', -borderwidth => 1,
                         -anchor => 'w', -justify => 'left');
    $Status->pack(-side => 'top', -fill => 'both');
    return;
}

sub AppStatusUpdate {
    my ($message, $colour) = @_;
    my $rtn = 'AppStatusUpdate';
    $RefDebug->($rtn) if $DEBUG;
    $message = '' unless defined $message;
    $colour = 'black' if !defined $colour || $colour eq '';
    if ($message ne '') {
        $StatusMessage = $message;
        $Status->configure(-textvariable => \$StatusMessage, -foreground => $colour) if $Status;
        return;
    }
    $StatusText = $ProjIsOpen ? 'Ready' : 'No project open';
    return;
}
