# Start-up: module loading, the entry operations the host calls, the
# project argument, the start-up initialisation and the dispatch to the
# product profile's own routines.
use strict;
use warnings;

our ($Standalone, $MultiStage, $APPTYPE, $UCPRODTAG, $IsWindows, $ORIGDIR, $DIRSEPNAME);
our ($SysIniFile, %Radiogroup, $SysBrowser, $DEBUG, $RefDebug, $FlagAnalyzerCreated, $MW);
our ($MainTitle, $MainWidth, $MainHeight, $MainMinWidth, $MainMinHeight, $MainMaxWidth, $MainMaxHeight);
our ($TearOffMode, $BaseWidth, $BaseHeight, $FontID_Default, %FontID_TagToVariable);

sub UseModule {
    my ($module, $required) = @_;
    $required = 1 unless defined $required;
    my $loaded = do {
        local $SIG{__WARN__} = sub { die $_[0] };
        local $@;
        eval "package main; use $module; 1" ? 1 : 0;
    };
    die "Error: Please install the module \"$module\"\n" if !$loaded && $required;
    return $loaded;
}

# Launchers may split a quoted argument at its blank; put two such pieces
# back together.
sub SetARGV {
    my @args = @_;
    for (@args) {
        tr/\x01/ /;
        s/\A"(.*)"\z/$1/s;
    }
    my $changed = 1;
    while ($changed) {
        $changed = 0;
        for my $i (0 .. $#args - 1) {
            if ($args[$i] =~ /\A"[^"]+\z/ && $args[$i + 1] =~ /\A[^"]+"\z/) {
                (my $joined = "$args[$i] $args[$i + 1]") =~ tr/"//d;
                splice @args, $i, 2, $joined;
                $changed = 1;
                last;
            }
        }
    }
    @ARGV = @args;
    return undef;
}

sub Main {
    my ($active) = @_;
    my $rtn = 'Main';
    $RefDebug->($rtn) if $DEBUG;
    $active = 1 unless defined $active;
    my $entry = "${APPTYPE}Main";
    my $ok = eval { no strict 'refs'; &$entry($active); 1 };
    UtilInternalError("$rtn:\n$@") unless $ok;
    Tk::MainLoop() if $active && ($Standalone || !$MultiStage);
    return;
}

sub AnalyzerMain {
    my ($active) = @_;
    my $rtn = 'AnalyzerMain';
    $RefDebug->($rtn) if $DEBUG;
    $active = 1 unless defined $active;
    AnalyzerSetup() unless $FlagAnalyzerCreated;
    return unless $active;
    AnalyzerProjectArgGet(@ARGV);
    return;
}

# The project named among the program's arguments, as an absolute path, or
# the empty string when none is named.
sub AnalyzerProjectArgGet {
    my @args = @_;
    my ($arg) = grep { /.\.vqx\z/i } @args;
    return '' unless defined $arg;
    1 while $arg =~ s{\A\.[/\\]}{};
    return '' unless $arg =~ /.\.vqx\z/i;
    if ($arg !~ m{\A[A-Za-z]:} && $arg !~ m{\A[/\\]}) {
        (my $dir = $ORIGDIR) =~ s{[/\\]\z}{};
        return $dir . $DIRSEPNAME . $arg;
    }
    if ($IsWindows && $arg =~ m{\A[/\\]} && $ORIGDIR =~ m{\A([A-Za-z]:)}) {
        return $1 . $arg;
    }
    # Already absolute: open it as named rather than dropping it.
    return $arg;
}

sub AppInit {
    my $rtn = 'AppInit';
    $RefDebug->($rtn) if $DEBUG;
    STDERR->autoflush(1);
    UtilPlatformInit();
    AppIniFileRead($SysIniFile);
    GuiInit(-title => $MainTitle, -width => $MainWidth, -height => $MainHeight,
            -min_width => $MainMinWidth, -min_height => $MainMinHeight,
            -max_width => $MainMaxWidth, -max_height => $MainMaxHeight, -tearoff => $TearOffMode);
    AppFontsCheck();
    AppWindowScale(GuiScreenSizeGet());
    %Radiogroup = ();
    $SysBrowser = UtilBrowserFind();
    return;
}

# A font the toolkit cannot resolve, or silently replaces by its "fixed"
# fallback, is put back to the platform's default.
sub AppFontsCheck {
    for my $tag (sort keys %FontID_TagToVariable) {
        no strict 'refs';
        my $var = "main::$FontID_TagToVariable{$tag}";
        my $desc = ${$var};
        my $family = eval { $MW->fontActual($desc, -family) };
        if (!defined $family || $family eq ''
            || (lc $family eq 'fixed' && $desc !~ /courier|fixed|mono/i)) {
            ${$var} = $FontID_Default;
        }
    }
    return;
}

# On a screen smaller than the one the sizes are made for in both
# directions, the window and its minimum shrink with it.
sub AppWindowScale {
    my ($width, $height) = @_;
    return unless $width < $BaseWidth && $height < $BaseHeight;
    my $wf = $width / $BaseWidth * 1.05;
    my $hf = $height / $BaseHeight * 1.05;
    $wf = 1 if $wf > 1;
    $hf = 1 if $hf > 1;
    $MainWidth     = int($MainWidth * $wf);
    $MainMinWidth  = int($MainMinWidth * $wf);
    $MainHeight    = int($MainHeight * $hf);
    $MainMinHeight = int($MainMinHeight * $hf);
    $MW->geometry("${MainWidth}x$MainHeight");
    $MW->minsize($MainMinWidth, $MainMinHeight);
    return;
}

# The framework reaches the product's routines by name: App<Name> passes
# its call on to <PRODUCT>_<Name>.
sub AppProfileDispatchDefine {
    for my $name (qw(DefaultLoadMisc RuntimeEnvSet RuntimeSwitchesSet SetupScreenAdd)) {
        my $target = "${UCPRODTAG}_$name";
        UtilRoutineDefine("sub App$name { no strict 'refs'; return &{'$target'}(\@_); }")
            or UtilInternalError("App$name:\nCompilation error");
    }
    return;
}
