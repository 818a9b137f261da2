# Push buttons: text buttons in the application's look, image buttons of
# the shortcut bar, and switching either kind on and off.
use strict;
use warnings;

our ($DEBUG, $RefDebug, $MW, $HelpBalloon, $FontID_TextButtons, $FGBUTTON, $BGBUTTON);

# Every image button, in the order made, so they can leave and rejoin the
# keyboard traversal together around the file choosers.
our @GuiButtonImageList;

sub GuiTextButtonCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiTextButtonCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $frame;
    my @font = (defined $FontID_TextButtons && $FontID_TextButtons ne '') ? (-font => $FontID_TextButtons) : ();
    my $button = $frame->Button(%options, @font, -borderwidth => 3,
        -activeforeground => $FGBUTTON, -activebackground => $BGBUTTON);
    $button->pack(-side => 'left', -expand => 1, -fill => 'x');
    return $button;
}

sub GuiImageButtonCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiImageButtonCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $frame;
    my $file    = delete $options{-file};
    my $format  = delete $options{-format};
    my $command = delete $options{-command};
    my $balloon = delete $options{-balloon};
    my $side    = delete $options{-side};
    UtilInternalError("$rtn-1") unless UtilPathIsAbsolute($file);
    $format = 'gif' if (!defined $format || $format eq '') && $file =~ /\.gif\z/i;
    UtilInternalError("$rtn-2") if !defined $format || $format eq '';
    $side = (defined $side && $side eq 'right') ? 'right' : 'left';
    my $image = GuiPhotoCreate($frame, $file, $format);
    my $button = $frame->Button(%options, -image => $image, (defined $command ? (-command => $command) : ()));
    $button->pack(-side => $side, -anchor => ($side eq 'right' ? 'e' : 'w'));
    $HelpBalloon->attach($button, -balloonmsg => $balloon)
        if $HelpBalloon && defined $balloon && $balloon ne '';
    push @GuiButtonImageList, $button;
    return $button;
}

# A photo image from an icon file. A file the toolkit cannot read is a
# damaged installation, not a fault of the program.
sub GuiPhotoCreate {
    my ($widget, $file, $format) = @_;
    my $rtn = 'GuiPhotoCreate';
    $RefDebug->($rtn) if $DEBUG;
    my $image = eval { $widget->Photo(-file => $file, -format => $format) };
    unless ($image) {
        (my $why = $@ || 'unknown error') =~ s/ at \S+ line \d+\.?\s*\z//;
        UtilFatalError("Can't read image file \"$file\":\n$why");
    }
    return $image;
}

# The buttons come as a list, or as one array reference.
sub GuiButtonsEnable {
    my ($enable, $text, @buttons) = @_;
    my $rtn = 'GuiButtonsEnable';
    $RefDebug->($rtn) if $DEBUG;
    @buttons = @{$buttons[0]} if @buttons == 1 && ref $buttons[0] eq 'ARRAY';
    $enable = UtilBooleanParse($enable);
    $text   = UtilBooleanParse($text);
    UtilInternalError($rtn) if grep { !$_ } @buttons;
    for my $button (@buttons) {
        my @look = (-state => $enable ? 'normal' : 'disabled');
        push @look, -foreground => ($enable ? 'black' : 'grey') if $text;
        $button->configure(@look);
    }
    return;
}

sub GuiImageButtonsEnable {
    my $rtn = 'GuiImageButtonsEnable';
    $RefDebug->($rtn) if $DEBUG;
    GuiButtonsEnable(1, 0, @_);
    return;
}

sub GuiImageButtonsDisable {
    my $rtn = 'GuiImageButtonsDisable';
    $RefDebug->($rtn) if $DEBUG;
    GuiButtonsEnable(0, 0, @_);
    return;
}

sub GuiTextButtonsEnable {
    my $rtn = 'GuiTextButtonsEnable';
    $RefDebug->($rtn) if $DEBUG;
    GuiButtonsEnable(1, 1, @_);
    return;
}

sub GuiTextButtonsDisable {
    my $rtn = 'GuiTextButtonsDisable';
    $RefDebug->($rtn) if $DEBUG;
    GuiButtonsEnable(0, 1, @_);
    return;
}

sub GuiImageButtonsFocusSet {
    my ($enable) = @_;
    my $rtn = 'GuiImageButtonsFocusSet';
    $RefDebug->($rtn) if $DEBUG;
    $enable = UtilBooleanParse($enable);
    if ($enable) {
        # Let the file chooser's last key and button events drain before the
        # shortcut bar can take the focus again.
        Time::HiRes::usleep(50_000) for 1 .. 6;
        my $update = sub { $MW->update if $MW && Tk::Exists($MW) };
        $update->();
        Time::HiRes::usleep(10_000);
        $update->();
        Time::HiRes::usleep(10_000);
        $update->();
    }
    $_->configure(-takefocus => $enable) for grep { Tk::Exists($_) } @GuiButtonImageList;
    return;
}
