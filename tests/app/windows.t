# The Windows variants, on the simulated Windows of tests/lib/win.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

app_load(windows => 1);

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

done_testing();
