# The main window as the user sees it after start-up: menus, keys, shortcut
# bar, file list, buttons, status line, sizes, and the ways start-up fails.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

plan(skip_all => 'no display') unless $ENV{DISPLAY};
no warnings qw(once redefine);
my $bin = tempdir(CLEANUP => 1);
spew("$bin/mozilla", "#!/bin/sh\n");
chmod 0755, "$bin/mozilla";
my $base = stage_install();
app_load(base => $base);

# Start-up in a child of its own: each builds its own window.
sub start_child {
    my ($setup, $after) = @_;
    return run_child(sub {
        $setup->() if $setup;
        AnalyzerSetup();
        print $after->() if $after;
    });
}

subtest 'start-up failures end with status 1' => sub {
    my $noanalyzer = stage_install(no_analyzer => 1);
    my $noicon = stage_install();
    unlink "$noicon/icons/vqrock07.gif";
    my $damaged = stage_install();
    spew("$damaged/icons/new.gif", "not a picture\n");
    spew("$damaged/icons/vqrock03.gif", "GIF89a");
    my $blank = stage_install();
    mkdir "$blank/main/with blank";
    spew("$blank/main/with blank/quarl", "#!/bin/sh\n");
    chmod 0755, "$blank/main/with blank/quarl";
    my @cases = (
        [sub { $main::SysProgDir = "$noanalyzer/main" }, "Error: Missing file: $noanalyzer/main/quarl\n"],
        [sub { chmod 0644, "$noanalyzer/main/quarl" if -e "$noanalyzer/main/quarl"; $main::SysProgDir = "$noanalyzer/main" },
             "Error: Missing file: $noanalyzer/main/quarl\n"],
        [sub { $main::SysIconDir = "$noicon/icons" }, "Error: Can't locate image file \"vqrock07.gif\"\n"],
        [sub { $main::SysIconDir = "$noicon/none" },
             "Error: Can't access directory \"$noicon/none\":\nNo such file or directory\n"],
        [sub { $main::SysIconDir = "$damaged/icons" },
             "Error: Can't read image file \"$damaged/icons/new.gif\":\n"
             . "couldn't recognize data in image file \"$damaged/icons/new.gif\"\n"],
        [sub { $main::SysIconDir = "$damaged/icons"; spew("$damaged/icons/new.gif", slurp("$base/icons/new.gif")) },
             "Error: Can't read image file \"$damaged/icons/vqrock03.gif\":\n"
             . "couldn't recognize data in image file \"$damaged/icons/vqrock03.gif\"\n"],
        [sub { $main::SysProgDir = "$blank/main/with blank" },
             "Error: Directory path for QUARL executable cannot contain spaces\n"],
    );
    for my $c (@cases) {
        my $r = start_child($c->[0]);
        is($r->{err}, $c->[1], $c->[1] =~ s/\n/ /gr);
        is($r->{status}, 1, 'status 1');
    }
};

subtest 'screen sizes' => sub {
    my $small = with_xvfb('1024x768', sub {
        start_child(undef, sub { join ' ', $main::MW->geometry =~ /^(\d+x\d+)/, join('x', $main::MW->minsize) });
    });
    is($small->{out}, '914x662 914x662', '1024x768: window and minimum scaled to 914x662');
    is($small->{status}, 0, 'and accepted');
    my $wide = with_xvfb('1280x720', sub {
        start_child(sub { *main::GuiDialogWait = sub { print 'box:', $_[0]->title, "\n"; 'OK' } });
    });
    is($wide->{out}, "box:Fatal Error\n", '1280x720 refused in a fatal-error box');
    is($wide->{status}, 1, 'with status 1');
    my $tiny = with_xvfb('800x600', sub {
        start_child(sub { *main::GuiDialogWait = sub { 'OK' } });
    });
    is($tiny->{status}, 1, '800x600 refused');
};

subtest 'Help menu without a web browser' => sub {
    my $r = start_child(sub { $ENV{PATH} = '/usr/bin:/bin' }, sub {
        join '|', map { $main::MenuHelp->type($_) eq 'separator' ? '-' : $main::MenuHelp->entrycget($_, -label) }
            0 .. $main::MenuHelp->index('end');
    });
    is($r->{out}, 'Contents and Index|-|About QuarlCheck', 'only the index, a separator and About');
};

subtest 'close request' => sub {
    my $r = run_child(sub {
        GuiInit(-title => 'x');
        my $close = $main::MW->protocol('WM_DELETE_WINDOW');
        $main::ExternalDialogBusy = 1;
        $close->Call;
        print Tk::Exists($main::MW) ? "kept\n" : "gone\n";
        $main::ExternalDialogBusy = 0;
        $close->Call;
        print $main::MW ? "still\n" : "quit\n";
    });
    is($r->{out}, "kept\nquit\n", 'ignored while a chooser runs; before start it quits without asking');
};

subtest 'main window options' => sub {
    my $r = run_child(sub {
        my @out;
        for my $opt ([-width => 5000, -height => 300], [-width => 500], [-min_width => 5000, -min_height => 10],
                     [-max_width => 5000, -max_height => 400], [-max_height => 400]) {
            my $w = GuiMainWindowCreate(@$opt);
            $w->update;
            push @out, join ' ', $w->geometry =~ /^(\d+x\d+)/, join('x', $w->minsize), join('x', $w->maxsize);
            $w->withdraw;    # kept: destroying main windows one after another upsets the toolkit
        }
        print join "\n", @out;
    });
    my @lines = split /\n/, $r->{out};
    like($lines[0], qr/^1280x300 /, 'a width above the screen is cut to it');
    unlike($lines[1], qr/^500x/, 'one of width and height alone leaves the geometry');
    like($lines[2], qr/ 5000x10 /, 'the minimum is not cut');
    like($lines[3], qr/ 1280x400$/, 'the maximum is cut to the screen');
    unlike($lines[4], qr/ \d+x400$/, 'one of the maximum pair alone does nothing');
    my $bad = run_child(sub { GuiMainWindowCreate(-width => 'wide', -height => 'tall') });
    like($bad->{err}, qr/\AInternal error:\nGuiMainWindowCreate: /, 'a rejected option is an internal error');
};

subtest 'font check' => sub {
    # In a child with a window of its own: a main window destroyed and made
    # again in one process upsets the toolkit's option tables.
    my %family = ('Good 10' => 'Good', 'Mono 9' => 'fixed', 'Lost 9' => 'fixed', 'Void 9' => '');
    my @cases = (['Good 10', 'Good 10'], ['Mono 9', 'Mono 9'], ['Lost 9', 'Helvetica 10 normal'],
                 ['Void 9', 'Helvetica 10 normal'], ['Broken 1', 'Helvetica 10 normal']);
    my $r = run_child(sub {
        local *Tk::Widget::fontActual = sub { my $d = $_[1]; die "unknown\n" unless exists $family{$d}; $family{$d} };
        $main::MW = MainWindow->new;
        for my $c (@cases) {
            $main::FontID_MenuBar = $c->[0];
            AppFontsCheck();
            print "$main::FontID_MenuBar\n";
        }
    });
    is_deeply([split /\n/, $r->{out}], [map { $_->[1] } @cases], 'unresolved fonts fall back, the others stay')
        or diag($r->{err});
};

# From here on the test process itself holds the window. One operation is
# present before the window is built; the controls of absent ones are off.
local $ENV{PATH} = "$bin:$ENV{PATH}";
my @about;
*main::AppHelpHighLevelAbout = sub { push @about, 'about' } unless defined &main::AppHelpHighLevelAbout;
AnalyzerSetup();
my $mw = $main::MW;

sub entries {
    my ($menu) = @_;
    return [map {
        my $t = $menu->type($_);
        $t eq 'separator' ? '-' : $menu->entrycget($_, -label)
            . (($menu->entrycget($_, -underline) // -1) >= 0 ? '_' . $menu->entrycget($_, -underline) : '')
    } 0 .. $menu->index('end')];
}

subtest 'window' => sub {
    is($mw->title, 'QuarlCheck', 'title');
    like($mw->geometry, qr/^980x710/, 'size');
    is(join('x', $mw->minsize), '980x710', 'minimum size');
    is(join('x', $mw->maxsize), '1280x1024', 'maximum size limited to the screen');
    is(GuiIsStarted(), 1, 'started');
};

subtest 'menus' => sub {
    my @bar = map { [$_->cget(-text), { $_->packInfo }->{-side}] }
        ($main::ButtonProject, $main::ButtonFile, $main::ButtonAction, $main::ButtonReport, $main::ButtonHelp);
    is_deeply(\@bar, [[Project => 'left'], [File => 'left'], [Process => 'left'], [Report => 'left'], [Help => 'right']],
              'menu bar buttons');
    is_deeply(entries($main::MenuProject), ['New_2', 'Open_0', 'Close', '-', 'Save_0', 'Save As...', '-', 'Exit_0'],
              'Project menu with its underlined letters');
    is_deeply(entries($main::MenuFile), ['Add File', 'Remove File', '-', 'Select All', 'Select None'], 'File menu');
    is_deeply(entries($main::MenuAction), ['Analyze Files'], 'Process menu');
    is_deeply(entries($main::MenuReport), ['Save', 'Save As', 'Print'], 'Report menu');
    is_deeply([map { $main::MenuReport->type($_) } 0 .. 2], [('cascade') x 3], 'of cascades');
    is_deeply(entries($main::MenuReportSave), ['Merged Report', '-', 'All Reports'], 'Save submenu');
    is_deeply(entries($main::MenuReportSaveAs), ['Merged Report', '-', 'All Reports'], 'Save As submenu');
    is_deeply(entries($main::MenuReportPrint), ['All Reports'], 'Print submenu');
    is_deeply(entries($main::MenuHelp),
              ['Contents and Index_0', '-', 'Contact Ostrelle', 'Ostrelle home page', '-', 'About QuarlCheck'],
              'Help menu with a web browser');
    is($main::MenuProject->cget(-tearoff), 0, 'no tear-off entries');
};

subtest 'controls follow the operations present' => sub {
    my $menu = $main::MenuHelp;
    my $about = $menu->index('end');
    is($menu->entrycget($about, -state), 'normal', 'an entry whose operation exists is usable');
    $menu->invoke($about);
    is_deeply(\@about, ['about'], 'and runs it');
    is($main::MenuProject->entrycget('New', -state), 'disabled', 'an entry without its operation is off')
        unless defined &main::AppProjectHighLevelNew;
    is($main::ImgButtonProjectNew->cget(-state), 'disabled', 'so is its button')
        unless defined &main::AppProjectHighLevelNew;
    is($main::TextButtonFileAdd->cget(-state), 'disabled', 'and its text button')
        unless defined &main::AppFileHighLevelAdd;
};

subtest 'keys' => sub {
    for my $key (qw(<Alt-w> <Alt-o> <Alt-s> <Alt-e> <Alt-t> <F1>)) {
        ok($mw->bind($key), "$key is bound on the main window");
    }
};

subtest 'shortcut bar' => sub {
    my @buttons = ($main::ImgButtonProjectNew, $main::ImgButtonProjectOpen, $main::ImgButtonProjectSave,
                   $main::ImgButtonAnalyze, $main::ImgButtonHelp);
    is_deeply([map { $_->cget(-image)->cget(-file) =~ s{.*/}{}r } @buttons],
              [qw(new.gif open.gif save.gif test.gif help.gif)], 'icons from the left');
    is_deeply([map { { $_->packInfo }->{-side} } @buttons], [('left') x 5], 'packed from the left');
    is_deeply([map { balloon_of($_) } @buttons],
              ['New Project', 'Open Project', 'Save Project', 'Analyze files', 'Help'], 'balloon help');
    is($main::ImgButtonAnim->cget(-image)->cget(-file) =~ s{.*/}{}r, 'vqlogo.gif', 'the logo at rest');
    is({ $main::ImgButtonAnim->packInfo }->{-side}, 'right', 'at the right end');
    ok(!defined balloon_of($main::ImgButtonAnim), 'with no balloon');
    is_deeply([map { $_->cget(-file) =~ s{.*/}{}r } @main::WaitFrames], [map { sprintf 'vqrock%02d.gif', $_ } 1 .. 10],
              'ten animation frames in order');
    is(${$main::ref_anim}, $main::ImgButtonAnim, 'registered for the busy animation');
};

subtest 'file list, buttons and status line' => sub {
    is($main::FrameTitle->cget(-text), 'Project', 'title above the file list');
    is($main::FrameTitle->cget(-width), 38, '38 characters wide');
    my $list = $main::FrameListbox->Subwidget('scrolled');
    is($list->cget(-selectmode), 'multiple', 'multiple selection');
    is($list->cget(-background), 'gray', 'grey while no project is open');
    is($list->cget(-exportselection), 0, 'not exporting its selection');
    is_deeply([map { $_->cget(-text) } $main::TextButtonFileAdd, $main::TextButtonFileRemove,
               $main::TextButtonSelectAll, $main::TextButtonSelectNone],
              ['Add File', 'Remove File', 'Select All', 'Select None'], 'text buttons in order');
    is($main::Status->cget(-text), 'No project open', 'status line before any project');
    local $main::ProjIsOpen = 1;
    AppStatusUpdate();
    is($main::StatusText, 'Ready', 'default text once a project is open');
    AppStatusUpdate('project1 - Analyzed', 'red');
    $mw->update;
    is($main::Status->cget(-text), 'project1 - Analyzed', 'a message shows');
    is($main::Status->cget(-foreground), 'red', 'in its colour');
    AppStatusUpdate();
    is($main::Status->cget(-text), 'project1 - Analyzed', 'and stays readable after calls without one');
};

subtest 'set up once' => sub {
    my @before = $mw->children;
    AnalyzerSetup();
    AnalyzerMain(0);
    my @after = $mw->children;
    is(scalar @after, scalar @before, 'a second call builds nothing');
};

subtest 'icon lookup' => sub {
    my $icons = tempdir(CLEANUP => 1);
    mkdir "$icons/$_" for qw(a b ...);
    spew("$icons/b/only.gif", 'x');
    spew("$icons/a/both.gif", 'x');
    spew("$icons/b/both.gif", 'x');
    local $main::SysIconDir = $icons;
    is(AppImageLocate('only.gif'), "$icons/b/only.gif", 'found in a subdirectory');
    opendir(my $dh, $icons) or die "opendir: $!";
    my ($first) = grep { $_ eq 'a' || $_ eq 'b' } readdir $dh;
    is(AppImageLocate('both.gif'), "$icons/$first/both.gif", 'the first subdirectory listed wins');
    spew("$icons/both.gif", 'x');
    is(AppImageLocate('both.gif'), "$icons/both.gif", 'the icon directory itself first');
};

done_testing();
