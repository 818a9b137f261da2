# The main window: menu bar, shortcut bar with the busy animation, file list
# with its buttons, the frames of the two notebooks, the status line.
use strict;
use warnings;

our ($MW, $MainArea, $FrameTitle, $FrameListbox, $ProgPath, $MsgProject, $IsWindows);
our ($LCPRODTAG, $UCPRODTAG, $SysProgDir, $SysIconDir, $DIRSEPNAME, $FontID_MenuBar);
our ($ButtonActionName, $AnalyzerActionLabel, $AnalyzerActionBalloon, $SysBrowser);
our ($CompanyNameShort, $CompanySiteContact, $CompanySiteMain, $MainTitle);
our ($ICON_FILE_NEW, $ICON_FILE_OPEN, $ICON_FILE_SAVE, $ICON_FILE_TEST, $ICON_FILE_HELP);
our (@OrderedReportKeys, %ReportLabel, $DEBUG, $RefDebug);

our ($ButtonProject, $MenuProject, $ButtonFile, $MenuFile, $ButtonAction, $MenuAction);
our ($ButtonReport, $MenuReport, $MenuReportSave, $MenuReportSaveAs, $MenuReportPrint);
our ($ButtonHelp, $MenuHelp);
our ($ImgButtonProjectNew, $ImgButtonProjectOpen, $ImgButtonProjectSave, $ImgButtonAnalyze);
our ($ImgButtonHelp, $ImgButtonAnim);
our ($TextButtonFileAdd, $TextButtonFileRemove, $TextButtonSelectAll, $TextButtonSelectNone);
our (@WaitFrames, $ref_anim, $ref_frames);
our $FlagAnalyzerCreated = 0;

our $NUM_WAIT_FRAMES         = 10;
our $ICON_FILE_ANIM_AT_REST  = 'vqlogo.gif';
our $ICON_FILE_ANIM_TEMPLATE = 'vqrock##.gif';

# Menu entries, keys and buttons name their operation; it is looked up when
# it runs, so the window can be built before every operation is loaded.
my @Unwired;

sub AnalyzerCommand {
    my ($name, @args) = @_;
    return sub {
        no strict 'refs';
        &{"main::$name"}(@args) if defined &{"main::$name"};
    };
}

sub AnalyzerIsWired {
    my ($name) = @_;
    no strict 'refs';
    return defined &{"main::$name"} ? 1 : 0;
}

sub AnalyzerSetup {
    my $rtn = 'AnalyzerSetup';
    $RefDebug->($rtn) if $DEBUG;
    return if $FlagAnalyzerCreated;
    @Unwired = ();
    AppInit();

    my @menubar_font = $FontID_MenuBar ne '' ? (-font => $FontID_MenuBar) : ();
    $ProgPath = AppExePathGet();

    AnalyzerMenuBarCreate(@menubar_font);
    AnalyzerKeysBind();
    AnalyzerShortcutBarCreate();
    AnalyzerMainAreaCreate();

    AppStatusCreate();
    AppStatusUpdate();
    GuiStart();

    my ($width, $height) = GuiScreenSizeGet();
    if ($width < 1024 || $height < 768) {
        UtilFatalError(UtilTextParagraphs(
            "Error: Display dimensions are too small\nPresently, we need 1024x768 or above\n"));
    }
    AnalyzerUnwiredDisable();
    $FlagAnalyzerCreated = 1;
    return;
}

sub AnalyzerMenuBarCreate {
    my (@font) = @_;
    my $bar = $MW->Frame(-relief => 'raised', -borderwidth => 2)->pack(-side => 'top', -fill => 'x');
    my $button = sub {
        my ($label, $side) = @_;
        my $mb = $bar->Menubutton(-text => $label, @font, -foreground => 'black')->pack(-side => $side);
        return ($mb, $mb->menu);
    };

    ($ButtonProject, $MenuProject) = $button->('Project', 'left');
    AnalyzerMenuEntry('Project', 'AppProjectHighLevelNew', 'New', 2);
    AnalyzerMenuEntry('Project', 'AppProjectHighLevelOpen', 'Open', 0);
    AnalyzerMenuEntry('Project', 'AppProjectHighLevelClose', 'Close');
    $MenuProject->separator;
    AnalyzerMenuEntry('Project', 'AppProjectHighLevelSave', 'Save', 0);
    AnalyzerMenuEntry('Project', 'AppProjectHighLevelSaveAs', 'Save As...');
    $MenuProject->separator;
    AnalyzerMenuEntry('Project', 'AppProjectHighLevelExit', 'Exit', 0);

    ($ButtonFile, $MenuFile) = $button->('File', 'left');
    AnalyzerMenuEntry('File', 'AppFileHighLevelAdd', 'Add File');
    AnalyzerMenuEntry('File', 'AppFileHighLevelRemove', 'Remove File');
    $MenuFile->separator;
    AnalyzerMenuEntry('File', 'AppFileHighLevelSelectAll', 'Select All');
    AnalyzerMenuEntry('File', 'AppFileHighLevelSelectNone', 'Select None');

    ($ButtonAction, $MenuAction) = $button->($ButtonActionName, 'left');
    AnalyzerMenuEntry('Action', 'AnalyzerExecute', $AnalyzerActionLabel);

    ($ButtonReport, $MenuReport) = $button->('Report', 'left');
    $MenuReportSave   = $MenuReport->Menu;
    $MenuReportSaveAs = $MenuReport->Menu;
    $MenuReportPrint  = $MenuReport->Menu;
    GuiMenuCascadeAdd($MenuReport, $MenuReportSave, 'Save');
    GuiMenuCascadeAdd($MenuReport, $MenuReportSaveAs, 'Save As');
    GuiMenuCascadeAdd($MenuReport, $MenuReportPrint, 'Print');
    my @reports = grep { !/MERGED/ } @OrderedReportKeys;
    for my $key (@reports) {
        AnalyzerSubmenuEntry($MenuReportSave, 'AppReportSave', $ReportLabel{$key}, $key);
        AnalyzerSubmenuEntry($MenuReportSaveAs, 'AppReportSaveAs', $ReportLabel{$key}, $key);
        AnalyzerSubmenuEntry($MenuReportPrint, 'AppReportPrint', $ReportLabel{$key}, $key);
    }
    for my $menu ($MenuReportSave, $MenuReportSaveAs, $MenuReportPrint) {
        $menu->separator if @reports;
    }
    AnalyzerSubmenuEntry($MenuReportSave, 'AppReportSave', 'Merged Report', 'REPORT_MERGED');
    $MenuReportSave->separator;
    AnalyzerSubmenuEntry($MenuReportSave, 'AppReportSaveAll', 'All Reports');
    AnalyzerSubmenuEntry($MenuReportSaveAs, 'AppReportSaveAs', 'Merged Report', 'REPORT_MERGED');
    $MenuReportSaveAs->separator;
    AnalyzerSubmenuEntry($MenuReportSaveAs, 'AppReportSaveAllAs', 'All Reports');
    AnalyzerSubmenuEntry($MenuReportPrint, 'AppReportPrint', 'All Reports', 'REPORT_MERGED');

    ($ButtonHelp, $MenuHelp) = $button->('Help', 'right');
    AnalyzerMenuEntry('Help', 'AppHelpHighLevelIndex', 'Contents and Index', 0);
    $MenuHelp->separator;
    my $web = 0;
    if ($SysBrowser ne '' && $CompanySiteContact ne '') {
        AnalyzerMenuEntry('Help', 'AppHelpHighLevelContact', "Contact $CompanyNameShort");
        $web = 1;
    }
    if ($SysBrowser ne '' && $CompanySiteMain ne '') {
        AnalyzerMenuEntry('Help', 'AppHelpHighLevelHomepage', "$CompanyNameShort home page");
        $web = 1;
    }
    $MenuHelp->separator if $web;
    AnalyzerMenuEntry('Help', 'AppHelpHighLevelAbout', "About $MainTitle");
    return;
}

sub AnalyzerMenuEntry {
    my ($menu, $action, $label, $underline) = @_;
    no strict 'refs';
    &{"main::Analyzer${menu}CommandAdd"}(AnalyzerCommand($action), $label, $underline);
    push @Unwired, ['menu', ${"main::Menu$menu"}, $label] unless AnalyzerIsWired($action);
    return;
}

sub AnalyzerSubmenuEntry {
    my ($menu, $action, $label, @args) = @_;
    GuiMenuCommandAdd($menu, AnalyzerCommand($action, @args), $label);
    push @Unwired, ['menu', $menu, $label] unless AnalyzerIsWired($action);
    return;
}

sub AnalyzerKeysBind {
    my %keys = (
        '<Alt-w>' => 'AppProjectHighLevelNew',
        '<Alt-o>' => 'AppProjectHighLevelOpen',
        '<Alt-s>' => 'AppProjectHighLevelSave',
        '<Alt-e>' => 'AppProjectHighLevelExit',
        '<Alt-t>' => 'AnalyzerExecute',
        '<F1>'    => 'AppHelpHighLevelIndex',
    );
    $MW->bind($_ => AnalyzerCommand($keys{$_})) for sort keys %keys;
    return;
}

sub AnalyzerShortcutBarCreate {
    my $bar = $MW->Frame(-relief => 'raised', -borderwidth => 2)->pack(-side => 'top', -fill => 'x');
    my $image_button = sub {
        my ($icon, $action, $balloon) = @_;
        my $b = GuiImageButtonCreate($bar, -file => AppImageLocate($icon),
                                     -command => AnalyzerCommand($action), -balloon => $balloon);
        push @Unwired, ['image', $b] unless AnalyzerIsWired($action);
        return $b;
    };
    $ImgButtonProjectNew  = $image_button->($ICON_FILE_NEW,  'AppProjectHighLevelNew',  'New Project');
    $ImgButtonProjectOpen = $image_button->($ICON_FILE_OPEN, 'AppProjectHighLevelOpen', 'Open Project');
    $ImgButtonProjectSave = $image_button->($ICON_FILE_SAVE, 'AppProjectHighLevelSave', 'Save Project');
    $ImgButtonAnalyze     = $image_button->($ICON_FILE_TEST, 'AnalyzerExecute', $AnalyzerActionBalloon);
    $ImgButtonHelp        = $image_button->($ICON_FILE_HELP, 'AppHelpHighLevelIndex', 'Help');
    $ImgButtonAnim = GuiImageButtonCreate($bar, -file => AppImageLocate($ICON_FILE_ANIM_AT_REST),
                                          -side => 'right');

    @WaitFrames = ();
    for my $n (1 .. $NUM_WAIT_FRAMES) {
        (my $name = $ICON_FILE_ANIM_TEMPLATE) =~ s/##/sprintf '%02d', $n/e;
        push @WaitFrames, GuiPhotoCreate($MW, AppImageLocate($name), 'gif');
    }
    $ref_anim   = \$ImgButtonAnim;
    $ref_frames = \@WaitFrames;
    return;
}

sub AnalyzerMainAreaCreate {
    $MainArea = $MW->Frame(-relief => 'raised', -borderwidth => 2)
        ->pack(-side => 'top', -expand => 1, -fill => 'both');
    my $left  = $MainArea->Frame(-relief => 'raised', -borderwidth => 2)->pack(-side => 'left', -fill => 'y');
    my $right = $MainArea->Frame(-relief => 'raised', -borderwidth => 2)
        ->pack(-side => 'left', -expand => 1, -fill => 'both');
    GuiNotebookCreate($right);
    GuiNotebookShow();
    $right->pack(-expand => 1, -fill => 'both', -side => 'bottom');

    my $list = $left->Frame(-relief => 'sunken', -borderwidth => 2)
        ->pack(-side => 'top', -expand => 1, -fill => 'both');
    $FrameTitle = $list->Label(-text => $MsgProject, -anchor => 'w', -justify => 'left', -width => 38)
        ->pack(-side => 'top', -anchor => 'w');
    $FrameListbox = $list->Scrolled('Listbox', -scrollbars => 'osoe', -relief => 'sunken',
                                    -selectmode => 'multiple', -background => 'gray',
                                    -foreground => 'black', -exportselection => 0)
        ->pack(-expand => 1, -fill => 'both');

    my $buttons = $left->Frame(-relief => 'flat', -borderwidth => 2)->pack(-side => 'top', -fill => 'both');
    my $text_button = sub {
        my ($label, $action) = @_;
        my $b = GuiTextButtonCreate($buttons, -text => $label, -command => AnalyzerCommand($action));
        push @Unwired, ['text', $b] unless AnalyzerIsWired($action);
        return $b;
    };
    $TextButtonFileAdd    = $text_button->('Add File',    'AppFileHighLevelAdd');
    $TextButtonFileRemove = $text_button->('Remove File', 'AppFileHighLevelRemove');
    $TextButtonSelectAll  = $text_button->('Select All',  'AppFileHighLevelSelectAll');
    $TextButtonSelectNone = $text_button->('Select None', 'AppFileHighLevelSelectNone');

    my $setup = $left->Frame(-relief => 'sunken', -borderwidth => 2);
    AppSetupScreenAdd($setup) if AnalyzerIsWired("${UCPRODTAG}_SetupScreenAdd");
    $setup->pack(-side => 'bottom', -expand => 1, -fill => 'both');
    return;
}

# Controls whose operation this build does not have yet are shown disabled
# rather than failing when chosen.
sub AnalyzerUnwiredDisable {
    for my $item (@Unwired) {
        my ($kind, $widget, $label) = @$item;
        GuiMenuDisable($widget, $label) if $kind eq 'menu';
        GuiImageButtonsDisable($widget)  if $kind eq 'image';
        GuiTextButtonsDisable($widget)   if $kind eq 'text';
    }
    return;
}

sub AppExePathGet {
    my $rtn = 'AppExePathGet';
    $RefDebug->($rtn) if $DEBUG;
    my $exepath = "$SysProgDir/$LCPRODTAG" . ($IsWindows ? '.exe' : '');
    $exepath =~ s{[/\\]}{$DIRSEPNAME}g;
    UtilFatalError("Missing file: $exepath") unless -f $exepath && -x _;
    $exepath =~ s/\A(C:[\\\/]progra)m files/$1~1/i if $IsWindows;
    if ($exepath =~ / /) {
        my $msg = "Directory path for $UCPRODTAG executable cannot contain spaces\n";
        $msg .= "C:\\Program Files is an exception" if $IsWindows;
        UtilFatalError(UtilTextParagraphs($msg));
    }
    return $exepath;
}

sub AppImageLocate {
    my ($basename) = @_;
    my $rtn = 'AppImageLocate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn: $basename") if !defined $basename || $basename =~ m{[/\\]};
    my $candidate = "$SysIconDir/$basename";
    unless (-f $candidate) {
        opendir my $dh, $SysIconDir or UtilFatalError("Can't access directory \"$SysIconDir\":\n$!");
        for my $entry (readdir $dh) {
            next if $entry =~ /\A\.+\z/;
            next unless -d "$SysIconDir/$entry";
            $candidate = "$SysIconDir/$entry/$basename";
            last if -f $candidate;
        }
        closedir $dh;
    }
    UtilFatalError("Can't locate image file \"$basename\"") unless -f $candidate;
    return $candidate;
}
