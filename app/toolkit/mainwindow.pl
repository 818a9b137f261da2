# The toolkit's start: the main window with its size limits, the screen
# size, the close request, the shared balloon help.
use strict;
use warnings;

our ($MW, $IsWindows, $Registry, $DEBUG, $RefDebug);

our $GuiStarted         = 0;
our $ExternalDialogBusy = 0;
our ($ScreenWidth, $ScreenHeight, $IsLargeFonts, $HelpBalloon);

sub GuiInit {
    my (%opt) = @_;
    my $rtn = 'GuiInit';
    $RefDebug->($rtn) if $DEBUG;
    $ENV{HOME} = '/' unless defined $ENV{HOME};
    $MW = GuiMainWindowCreate(%opt);
    $ScreenWidth  = $MW->screenwidth;
    $ScreenHeight = $MW->screenheight;
    $MW->protocol('WM_DELETE_WINDOW', \&GuiCloseRequest);
    $HelpBalloon = $MW->Balloon;
    return;
}

# The window manager's close button.
sub GuiCloseRequest {
    return if $ExternalDialogBusy;
    if ($GuiStarted && defined &main::AppProjectHighLevelExit) {
        no strict 'refs';
        &{'main::AppProjectHighLevelExit'}(-required => 1);
        return;
    }
    UtilQuit();
    return;
}

sub GuiMainWindowCreate {
    my (%opt) = @_;
    my $rtn = 'GuiMainWindowCreate';
    $RefDebug->($rtn) if $DEBUG;
    my $w = eval { MainWindow->new };
    unless ($w) {
        print STDERR GuiNoDisplayMessage();
        UtilLogClose();
        CORE::exit(1);
    }
    my $ok = eval {
        local $SIG{__WARN__} = sub { die $_[0] };
        $w->title($opt{-title}) if defined $opt{-title};
        my ($sw, $sh) = ($w->screenwidth, $w->screenheight);
        if (defined $opt{-width} && defined $opt{-height}) {
            my $width  = $opt{-width}  > $sw ? $sw : $opt{-width};
            my $height = $opt{-height} > $sh ? $sh : $opt{-height};
            $w->geometry("${width}x$height");
        }
        if (defined $opt{-min_width} && defined $opt{-min_height}) {
            $w->minsize($opt{-min_width}, $opt{-min_height});
        }
        if (defined $opt{-max_width} && defined $opt{-max_height}) {
            my $width  = $opt{-max_width}  > $sw ? $sw : $opt{-max_width};
            my $height = $opt{-max_height} > $sh ? $sh : $opt{-max_height};
            $w->maxsize($width, $height);
        }
        $w->optionAdd('*tearOff', $opt{-tearoff}) if defined $opt{-tearoff};
        1;
    };
    UtilInternalError("$rtn: $@") unless $ok;
    return $w;
}

sub GuiNoDisplayMessage {
    return "Can't initialize GUI: Undetermined problem.\n\nAre you running in text mode?\n" if $IsWindows;
    return "Can't connect to X server; please start X.\n\n"
         . "If X is  already running,  you may have used  \"su\" to  become somebody\n"
         . "other than the user who started X. If so, shut down X, log out, log in\n"
         . "again, and restart X.\n";
}

sub GuiStart {
    my $rtn = 'GuiStart';
    $RefDebug->($rtn) if $DEBUG;
    $GuiStarted = 1;
    $MW->update;
    return;
}

sub GuiIsStarted { return $GuiStarted }

sub GuiScreenSizeGet {
    my $rtn = 'GuiScreenSizeGet';
    for ($ScreenWidth, $ScreenHeight) {
        UtilInternalError($rtn) if !defined $_ || $_ !~ /\A\d+\z/;
    }
    return ($ScreenWidth, $ScreenHeight);
}

sub GuiIsLargeFontsUNIX { return 0 }

sub GuiIsLargeFontsWindows {
    return $IsLargeFonts if defined $IsLargeFonts;
    my $dpi = eval { $Registry->{'HKEY_CURRENT_CONFIG/Display/Settings//DPILogicalX'} };
    $IsLargeFonts = (defined $dpi && $dpi =~ /\A\d+\z/ && $dpi > 100) ? 1 : 0;
    return $IsLargeFonts;
}

UtilVariantBind('GuiIsLargeFonts');
