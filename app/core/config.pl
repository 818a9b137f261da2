# The configuration: build switches, platform facts, the product profile,
# paths, sizes, fonts, file types, fixed texts and the shared tables. This
# is the one file whose top level does the work of starting the script.
use strict;
use warnings;
require 5.006;

# While the script text is compiled nothing may warn on the console; the
# handler is made strict once the configuration is in place.
BEGIN {
    $SIG{__WARN__} = sub { };
    $Tk::VqxPatch::Quiet = 1;
}

use Cwd ();
use Time::HiRes ();
BEGIN {
    if ($^O eq 'MSWin32') {
        require Win32::MAPI;
        Win32::MAPI->import(qw(Yes No));
        require Win32::TieRegistry;
        Win32::TieRegistry->import(Delimiter => '/');
    }
}

# --- build switches
our $Standalone    = 0;
our $MultiStage    = 1;
our $DEBUG         = 0;
our $LogFlag       = 0;
our $LogFlagSTDOUT = 0;
our $LogFlagFlush  = 0;
our $IsQUARL       = 1;
our $APPTYPE       = 'Analyzer';

our $TRUE        = 1;
our $FALSE       = 0;
our $EmptyString = '';

# --- platform facts; ORIGDIR before anything can change directory
our $IsWindows  = ($^O eq 'MSWin32') ? 1 : 0;
our $IsWin9X    = (-d 'C:/Windows') ? 1 : 0;
our $IsUNIX     = $IsWindows ? 0 : 1;
our $ORIGDIR    = Cwd::getcwd();
our $PID        = $$;
our $UID        = $>;
our $PROG_PS    = '';
our $PROG_UNAME = '';
our $ALLPSCMD   = '';

# --- modules
UseModule('Tk');
UseModule($_) for qw(Tk::DialogBox Tk::NoteBook Tk::Frame Tk::Balloon Tk::Photo Tk::ROText
    Tk::Checkbutton Tk::Radiobutton Tk::BrowseEntry Tk::DirSelect Tk::FileSelect);
UseModule($_, 0) for qw(Tk::JPEG Tk::PNG);
UseModule('Tk::VqxPatch', $IsUNIX);
if ($IsUNIX) {
    eval { require POSIX; POSIX->import(':sys_wait_h'); 1 } or die "Internal error: POSIX\n";
} else {
    UseModule($_) for qw(Win32 Win32::API Win32::FileOp Win32::Process);
}

# --- product profile
our ($FMTCODE, $LCPRODTAG, $UCPRODTAG);
{
    my @chosen = grep { $_->[1] } (['QUARL', $IsQUARL]);
    UtilInternalError('VQXGUI framework: Too many programs specified') if @chosen > 1;
    UtilInternalError('VQXGUI framework: No program is specified') if @chosen == 0;
    if ($chosen[0][0] eq 'QUARL') {
        $FMTCODE   = 'QUARL_020301';
        $LCPRODTAG = lc 'quarl';
        $UCPRODTAG = uc $LCPRODTAG;
    }
}

our $DebugCode = 'UtilLogWrite($rtn);';
our $RefDebug  = sub { UtilLogWrite($_[0]) };
our $ProgRev   = '5.00.15';
our $DIRSEPENV  = $IsWindows ? ';' : ':';
our $DIRSEPNAME = $IsWindows ? '\\' : '/';

our $ProgName           = 'QuarlCheck';
our $MainTitle          = $ProgName;
our $AboutTitle         = "$MainTitle Static Source Code Analyzer";
our $CompanyNameLong    = 'Ostrelle Software';
our $CompanyNameShort   = 'Ostrelle';
our $AboutCopyright     = "Copyright (c) 1999-2026 $CompanyNameLong. All rights reserved.";
our $ManFile            = 'quarlman.pdf';
our $SupportAddress     = 'support@ostrelle.example';
our $SupportSubject     = "$ProgName Support";
our $UseWait            = 1;
our $FGBUTTON           = 'red';
our $BGBUTTON           = 'yellow';
our $ListFileType       = '';
our $MinENDISable       = 1;
our $MaxENDISable       = 32000;
our %ProductTagToDescription = (QUARL => 'QuarlCheck');
our $CompanyPhone       = '+1 555 0142';
our $SupportMail        = $SupportAddress;
our $CompanyInfo        = "For assistance, contact $CompanyNameLong:\n"
                        . "Phone: $CompanyPhone\n"
                        . "Email: $SupportMail\n";
our $CompanySiteMain    = 'https://www.ostrelle.example/';
our $CompanySiteContact = 'https://www.ostrelle.example/service/';

# --- paths
our ($SysBaseDir, $SysProgDir, $LogFile, $ReportTmpDir, $ReportTmpDel);
if ($IsWindows) {
    ($SysBaseDir = "C:/progra~1/ostrelle/$LCPRODTAG/main") =~ s{/}{\\}g;
    $SysProgDir   = $SysBaseDir;
    $LogFile      = "c:/${LCPRODTAG}.log";
    $ReportTmpDir = "$SysBaseDir/reports";
    $ReportTmpDel = 0;
} else {
    $SysBaseDir   = defined $ENV{VQXAPPBASE} ? $ENV{VQXAPPBASE} : "/usr/local/${LCPRODTAG}gui";
    $SysProgDir   = "$SysBaseDir/main";
    $LogFile      = "/tmp/${LCPRODTAG}log.$UID-$PID";
    $ReportTmpDir = "/tmp/${LCPRODTAG}tmp$UID-$PID";
    $ReportTmpDel = 1;
}
our $SysHelpDir    = "$SysBaseDir/help";
our $SysHelpFile   = "$SysHelpDir/index.smhtml";
our $SysIconDir    = "$SysBaseDir/icons";
our $SysIniFile    = "$SysProgDir/$LCPRODTAG.ini";
our $ReportTmpBase = "$ReportTmpDir/$LCPRODTAG";
our $defdir        = $SysBaseDir;

# --- main window size in pixels, made for a 1152x864 screen
our ($BaseWidth, $BaseHeight)       = (1152, 864);
our ($MainWidth, $MainHeight)       = (980, 710);
our ($MainMinWidth, $MainMinHeight) = ($MainWidth, $MainHeight);
our ($MainMaxWidth, $MainMaxHeight) = (1600, 1200);

# --- fonts; the tags are also the keys of the settings file
our $FontID_Default     = $IsWindows ? 'Arial 8 normal' : 'Helvetica 10 normal';
our $FontID_ConfigTabs  = $FontID_Default;
our $FontID_MenuBar     = $FontID_Default;
our $FontID_MenuItems   = $FontID_Default;
our $FontID_TabDataLabels = $FontID_Default;
our $FontID_TextButtons = $FontID_Default;
our $FontID_TabDataText = $IsWindows ? '' : 'Courier 10 normal';
# Tag to the name of the variable, so the variable can be localised.
our %FontID_TagToVariable = (
    configtabs   => 'FontID_ConfigTabs',
    menubar      => 'FontID_MenuBar',
    menuitems    => 'FontID_MenuItems',
    reportlabels => 'FontID_TabDataLabels',
    textbuttons  => 'FontID_TextButtons',
);

# --- files and file types
our $ProjFileExten      = '.vqx';
our $ProjFilePrefix     = 'project';
our @AllFileStrings     = ('All Files', '.*');
our @AllFileTypes       = ([@AllFileStrings]);
our @ProjFileTypes      = (["$ProgName Project Files", $ProjFileExten, 'Text'], [@AllFileStrings]);
our @FileListOpenTypes  = ();
our $MAX_FILE_READ_SIZE = 5000000;
our $FILE_TYPE_ANY      = 0;
our $FILE_TYPE_BINARY   = 1;
our $FILE_TYPE_TEXT     = 2;

# --- fixed texts and tags
our $OK                    = 'OK';
our $CANCEL                = 'Cancel';
our $MsgHelpF1             = 'For Help, press F1';
our $MsgProject            = 'Project';
our $TearOffMode           = 'false';
our $AnalyzerActionLabel   = 'Analyze Files';
our $AnalyzerActionBalloon = 'Analyze files';
our $ButtonActionName      = 'Process';
our $Q                     = '"';
our $SpaceOrComma          = qr/[ ,]/;
our $BOXTAG                = '_BOX_';
our $RADIOTAG              = '_RADIO_';
our $WaitInterval          = $IsWindows ? 50 : 15;
our %GuiToTkColorMap       = (Black => 'Black', Red => '#880000', Blue => '#000088');
our $ICON_FILE_HELP        = 'help.gif';
our $ICON_FILE_NEW         = 'new.gif';
our $ICON_FILE_OPEN        = 'open.gif';
our $ICON_FILE_SAVE        = 'save.gif';
our $ICON_FILE_TEST        = 'test.gif';

# --- shared application state, filled by the parts that own it
our (%Checkbox, %CheckboxKeyToProjectKey, %ProjectKeyToCheckboxKey, %ProjectKeyToSwitch);
our (%DependentCheckboxes, %Radiogroup, %DisabledBoxes, @SetupTabNames, @ArgList);
our (%Project, %DefaultSettings, %SavedProj, @ProjFileList);
our $ProjectName  = '';
our $ProjFilePath = '';
our $ProjCounter  = 1;
our $ProjIsOpen   = 0;
our $RptBase      = '';
our $ProgPath     = '';
our %InitSettings;
our ($RefHookFileListUpdate, $RefHookProjectNew, $RefHookProjectOpen, $RefHookProjectClose);
our ($RefHookReportLoadOne, $RefHookReportWindowUpdate);
our ($MW, $MainArea, $FrameListbox, $FrameTitle, $SetupTabNotebook, $Status, $StatusText);
our $SysBrowser = '';

AppProfileDispatchDefine();
