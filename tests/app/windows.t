# The Windows variants, on the simulated Windows of tests/lib/win.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

app_load(windows => 1);
no warnings 'once';

subtest 'configuration' => sub {
    no warnings 'once';
    is($main::IsWindows, 1, 'IsWindows');
    is($main::IsUNIX, 0, 'IsUNIX');
    is($main::DIRSEPNAME, '\\', 'path separator');
    is($main::DIRSEPENV, ';', 'search path separator');
    is($main::SysBaseDir, 'C:\\progra~1\\ostrelle\\quarl\\main', 'base directory');
    is($main::SysProgDir, $main::SysBaseDir, 'program directory is the base');
    is($main::SysHelpDir, 'C:\\progra~1\\ostrelle\\quarl\\main/help', 'help joined with a slash');
    is($main::SysIniFile, 'C:\\progra~1\\ostrelle\\quarl\\main/quarl.ini', 'settings file');
    is($main::LogFile, 'c:/quarl.log', 'log file');
    is($main::ReportTmpDel, 0, 'reports are kept');
    is($main::WaitInterval, 50, 'wait interval');
    is($main::FontID_MenuBar, 'Arial 8 normal', 'default font');
    is($main::FontID_TabDataText, '', 'report text font is the toolkit default');
};

subtest 'paths' => sub {
    ok(UtilPathIsAbsolute($_), "$_ is absolute") for 'C:\\x', 'd:/x';
    ok(!UtilPathIsAbsolute($_), "$_ is relative") for '\\x', 'C:x', '/x';
    is(UtilPathBaseGet('C:\\dir\\prog.tar.gz'), 'prog', 'base without extension');
    is(UtilPathBaseGet('C:\\dir\\prog.tar.gz', -extension => 1), 'prog.tar.gz', 'base with extension');
    is(UtilPathBaseGet('C:prog.f'), 'prog', 'drive without separator');
    is(UtilPathDirGet('relative\\x.f', -mustexist => 0), '', 'relative path has no directory');
};

subtest 'UtilProgramFind skips drives A and B and relative entries' => sub {
    # Drive paths are relative names on this machine: lay them out below a
    # scratch directory, so every entry would match if it were searched.
    my $cwd = Cwd::getcwd();
    my $scratch = tempdir(CLEANUP => 1);
    chdir $scratch or die;
    for my $d ('A:', 'b:', 'relative', 'C:', 'z:') {
        mkdir $d;
        spew("$d/tool.exe", 'MZ');
        chmod 0755, "$d/tool.exe";
    }
    local $ENV{PATH} = 'A:\\;b:/;relative;;z:\\\\;C:\\';
    is(UtilProgramFind('tool.exe'), 'z:/tool.exe', 'A, B and relative skipped; separators folded to one slash');
    local $ENV{PATH} = 'A:\\;b:/;relative';
    is(UtilProgramFind('tool.exe'), '', 'nothing outside A, B and relative entries');
    chdir $cwd or die;
};

subtest 'UtilBrowserFind reads the registry' => sub {
    my $dir = tempdir(CLEANUP => 1);
    my $exe = "$dir/Browser App/browser.EXE";
    mkdir "$dir/Browser App";
    spew($exe, 'MZ');
    no warnings 'once';
    local %Win32::TieRegistry::Values = (
        'HKEY_CLASSES_ROOT/HTTP/shell/open/command//' => "\"$exe\" -nohome \"%1\"");
    is(UtilBrowserFind(), $exe, 'path cut after .exe, leading quote removed');
    local %Win32::TieRegistry::Values = (
        'hkey_classes_root/http/shell/open/command//' => "$exe");
    is(UtilBrowserFind(), $exe, 'nothing after .exe; keys ignore case');
    local %Win32::TieRegistry::Values = (
        'HKEY_CLASSES_ROOT/HTTP/shell/open/command//' => '"C:\\nowhere\\b.exe" %1');
    is(UtilBrowserFind(), '', 'a browser that is no file');
    local %Win32::TieRegistry::Values = ();
    is(UtilBrowserFind(), '', 'missing key');
};

subtest 'project argument' => sub {
    no warnings 'once';
    local $main::ORIGDIR = 'C:\\work';
    is(AnalyzerProjectArgGet('./sub/x.vqx'), 'C:\\work\\sub/x.vqx', 'relative: DIRSEPNAME then the argument');
    is(AnalyzerProjectArgGet('.\\.\\x.vqx'), 'C:\\work\\x.vqx', 'every leading dot-separator removed');
    local $main::ORIGDIR = 'D:\\dir\\';
    is(AnalyzerProjectArgGet('\\proj\\x.vqx'), 'D:\\proj\\x.vqx', 'rooted: the drive of ORIGDIR');
    is(AnalyzerProjectArgGet('E:\\p\\x.vqx'), 'E:\\p\\x.vqx', 'a full path is taken as it is');
};

subtest 'UtilPlatformInit on Windows' => sub {
    no warnings 'once';
    local $main::ORIGDIR = 'C:/work/dir';
    UtilPlatformInit();
    is($main::ORIGDIR, 'C:\\work\\dir', 'ORIGDIR turned to backslashes');
    is($main::PROG_PS, '', 'no process lister on Windows');
};


subtest 'GuiIsLargeFonts reads the display DPI once' => sub {
    my @cases = (['96', 0], ['120', 1], ['101', 1], ['100', 0], ['0x00000078', 0], [undef, 0]);
    for my $c (@cases) {
        local $main::IsLargeFonts;
        local %Win32::TieRegistry::Values = defined $c->[0]
            ? ('HKEY_CURRENT_CONFIG/Display/Settings//DPILogicalX' => $c->[0]) : ();
        is(GuiIsLargeFonts(), $c->[1], 'DPILogicalX ' . ($c->[0] // 'missing'));
        local %Win32::TieRegistry::Values = ('HKEY_CURRENT_CONFIG/Display/Settings//DPILogicalX' => '144');
        is(GuiIsLargeFonts(), $c->[1], 'the answer is kept for the run');
    }
};

subtest 'child processes on Windows' => sub {
    plan(skip_all => 'no display') unless $ENV{DISPLAY};
    my $dir = tempdir(CLEANUP => 1);
    my $mw = gui_window();
    my $prog = spew("$dir/quarl.exe", "#!/bin/sh\nsleep 0.3; echo \"\$@\" > $dir/args\n");
    chmod 0755, $prog;
    my @frames = map { $mw->Photo(-width => 2, -height => 2) } 1 .. 10;
    my $rest = $mw->Photo(-width => 2, -height => 2);
    my $anim = $mw->Button(-image => $rest)->pack;
    local $main::ref_anim = \$anim;
    local $main::ref_frames = \@frames;
    local @Win32::Process::Created;
    my %seen;
    my $timer = $mw->repeat(5, sub { $seen{$anim->cget(-image)}++ });
    UtilProcessWait("$prog -o x.out -Ecmd", -animate => 1);
    $timer->cancel;
    is(slurp("$dir/args"), "-o x.out -Ecmd\n", 'the program ran to its end with its arguments');
    is_deeply($Win32::Process::Created[0], [$prog, "$prog -o x.out -Ecmd", 8],
              'created detached, with the program up to the first blank');
    cmp_ok(scalar(grep { $_ ne "$rest" } keys %seen), '>=', 3, 'the animation played');
    is($anim->cget(-image), $rest, 'and stopped at rest');

    @Win32::Process::Created = ();
    spew("$dir/with blank.exe", "#!/bin/sh\n");
    chmod 0755, "$dir/with blank.exe";
    UtilProcessWait("$dir/with blank.exe -x", -animate => 1);
    is($Win32::Process::Created[0][0], "$dir/with", 'a program path with a blank ends at the blank');
    is($anim->cget(-image), $rest, 'and the wait returned at once');

    @Win32::Process::Created = ();
    UtilProcessSpawn("$prog http://www.ostrelle.example/ -new");
    UtilProcessSpawn("C:/Browser/b.EXE --url http://x");
    UtilProcessSpawn("C:/b/browser http://www.ostrelle.example/");
    is_deeply([map { $_->[0] } @Win32::Process::Created], [$prog, 'C:/Browser/b.EXE', 'C:/b/browser'],
              'spawn: program cut after .exe, else before the address');
    is_deeply([map { $_->[2] } @Win32::Process::Created], [8, 8, 8], 'all detached');
    select undef, undef, undef, 0.5;
};

done_testing();
