# Start-up: configuration, arguments, the project argument, module loading,
# the platform check and the entry operations.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

my $base = stage_base();
app_load(base => $base);
no warnings 'once';

subtest 'configuration on UNIX' => sub {
    is($main::SysProgDir, "$base/main", 'program directory below VQXAPPBASE');
    is($main::SysHelpDir, "$base/help", 'help beside it');
    is($main::SysIconDir, "$base/icons", 'icons beside it');
    is($main::SysIniFile, "$base/main/quarl.ini", 'settings file');
    is($main::LogFile, "/tmp/quarllog.$>-$$", 'log file');
    is($main::ReportTmpDir, "/tmp/quarltmp$>-$$", 'report directory');
    is($main::ReportTmpBase, "/tmp/quarltmp$>-$$/quarl", 'report base');
    is($main::FMTCODE, 'QUARL_020301', 'format code');
    is("$main::LCPRODTAG $main::UCPRODTAG", 'quarl QUARL', 'product tags');
    is($main::AboutTitle, 'QuarlCheck Static Source Code Analyzer', 'about title');
    is($main::CompanyInfo, "For assistance, contact Ostrelle Software:\nPhone: $main::CompanyPhone\n"
       . "Email: $main::SupportMail\n", 'company info');
    is($main::WaitInterval, 15, 'wait interval');
    is($main::FontID_TabDataText, 'Courier 10 normal', 'report font');
    is("$main::MainWidth x $main::MainHeight", '980 x 710', 'main window size');
};

subtest 'VQXAPPBASE' => sub {
    my @cases = (['/opt/q', '/opt/q/main'], ['', '/main'], [undef, '/usr/local/quarlgui/main']);
    for my $c (@cases) {
        my $r = run_child(sub {
            if (defined $c->[0]) { $ENV{VQXAPPBASE} = $c->[0] } else { delete $ENV{VQXAPPBASE} }
            app_load();
            print "$main::SysProgDir|$main::SysHelpDir|$main::SysIniFile|$main::SysIconDir";
        });
        my $b = defined $c->[0] ? $c->[0] : '/usr/local/quarlgui';
        is($r->{out}, "$c->[1]|$b/help|$c->[1]/quarl.ini|$b/icons", 'VQXAPPBASE ' . ($c->[0] // 'unset'));
    }
};

subtest 'SetARGV' => sub {
    my @cases = (
        [[],                                  []],
        [['"my', 'file.vqx"'],                ['my file.vqx']],
        [['"a', 'b', 'c"'],                   ['"a', 'b', 'c"']],
        [['"quoted"', 'x'],                   ['quoted', 'x']],
        [["a\x01b", "\"c\x01d\""],            ['a b', 'c d']],
        [['"x"y"'],                           ['x"y']],
        [['"p', 'q"', '"r', 's"'],            ['p q', 'r s']],
        [['"', '"'],                          ['"', '"']],
        [['-o', '"my', 'dir', 'x.vqx"'],      ['-o', '"my', 'dir', 'x.vqx"']],
    );
    for my $c (@cases) {
        my @r = SetARGV(@{$c->[0]});
        is(scalar @r, 1, 'one value returned');
        is_deeply([@ARGV], $c->[1], 'SetARGV(' . join('|', @{$c->[0]}) . ')');
    }
};

subtest 'project argument on UNIX' => sub {
    local $main::ORIGDIR = '/home/u/work/';
    my @cases = (
        [[],                       ''],
        [['a.txt', 'B.VQX'],       '/home/u/work/B.VQX'],
        [['one.vqx', 'two.vqx'],   '/home/u/work/one.vqx'],
        [['.vqx'],                 ''],
        [['./././sub/x.vqx'],      '/home/u/work/sub/x.vqx'],
        [['./.vqx'],               ''],
        [['/abs/p.vqx'],           '/abs/p.vqx'],
        [['x.vqx.bak'],            ''],
    );
    is(AnalyzerProjectArgGet(@{$_->[0]}), $_->[1], join(' ', @{$_->[0]}) || '(none)') for @cases;
};

subtest 'modules' => sub {
    is(UseModule('Tk::NoSuchModuleHere', 0), 0, 'an optional module that is missing');
    is(UseModule('File::Spec'), 1, 'a module that loads');
    my $r = run_child(sub { UseModule('Tk::NoSuchModuleHere') });
    like($r->{err}, qr/Error: Please install the module "Tk::NoSuchModuleHere"\n\z/, 'a required one stops the program');
    ok(defined &Tk::MainLoop && defined &main::MainLoop, 'the toolkit and its event loop are in place');
    ok(defined &Tk::DirSelect::Populate, 'the directory chooser');
};

subtest 'platform' => sub {
    my @cases = (
        ['Linux',                      '/bin/ps ax'],
        ['linux',                      '/bin/ps ax'],
        ['SunOS',                      '-ea'],
        ['HP-UX',                      '/bin/ps -ea'],
        ['hpux',                       '/bin/ps -ea'],
        ['Darwin',                     ''],
    );
    for my $c (@cases) {
        local $main::PROG_PS = '/bin/ps';
        my $cmd = UtilPlatformPsCommand($c->[0], '/bin/ps');
        if ($c->[1] eq '-ea') { like($cmd, qr/ps -ea\z/, $c->[0]) } else { is($cmd, $c->[1], $c->[0]) }
    }
    my $r = run_child(sub { UtilPlatformInit(); print "$main::ALLPSCMD\n"; UtilPlatformInit() });
    like($r->{out}, qr{\A/\S*ps ax\n\z}, 'this machine is Linux');
    is($r->{err}, "Internal error: UtilPlatformInit\n", 'a second call is an internal error');
    is($r->{status}, 1, 'status 1');

    my $bin = tempdir(CLEANUP => 1);
    spew("$bin/ps", "#!/bin/sh\n");
    spew("$bin/uname", "#!/bin/sh\necho Plan9 >&2\n");
    chmod 0755, "$bin/ps", "$bin/uname";
    my @fatal = (
        ['/nonexistent',      "Error: Can't find \"ps\" in PATH\n"],
        ["/nonexistent:$bin", "Error: This version of UNIX is not yet supported\n"],
    );
    for my $c (@fatal) {
        my $r2 = run_child(sub { local $ENV{PATH} = $c->[0]; UtilPlatformInit() });
        is($r2->{err}, $c->[1], $c->[1] =~ s/\n//r);
        is($r2->{status}, 1, 'status 1');
    }
    unlink "$bin/uname";
    my $r3 = run_child(sub { local $ENV{PATH} = $bin; UtilPlatformInit() });
    is($r3->{err}, "Error: Can't find \"uname\" in PATH\n", 'uname missing');
};

subtest 'entry operations' => sub {
    no warnings 'redefine';
    my $r = run_child(sub { *main::AnalyzerMain = sub { die "exploded\n" }; Main(0) });
    is($r->{err}, "Internal error: Main:\nexploded\n", 'an error inside AnalyzerMain');
    is($r->{status}, 1, 'status 1');
    # A display where no X server runs (unset, the toolkit would try :0).
    my $r2 = run_child(sub { $ENV{DISPLAY} = ':65530'; SetARGV('x.vqx'); Main(0); print "returned\n" });
    is($r2->{err}, "Can't connect to X server; please start X.\n\n"
        . "If X is  already running,  you may have used  \"su\" to  become somebody\n"
        . "other than the user who started X. If so, shut down X, log out, log in\n"
        . "again, and restart X.\n", 'without a display: the X message');
    is($r2->{status}, 1, 'and status 1');
    ok(defined &main::AppSetupScreenAdd && defined &main::AppRuntimeEnvSet
       && defined &main::AppRuntimeSwitchesSet && defined &main::AppDefaultLoadMisc, 'dispatchers defined');
    my $r3 = run_child(sub {
        *main::QUARL_RuntimeEnvSet = sub { return "env(@_)" };
        print AppRuntimeEnvSet('a', 'b');
    });
    is($r3->{out}, 'env(a b)', 'a dispatcher passes its arguments and result through');
};

subtest 'warnings are errors once loaded' => sub {
    my $r = run_child(sub { my $x; my $y = "a" . $x; print "survived\n" });
    is($r->{out}, '', 'a warning does not pass silently');
    like($r->{err}, qr/uninitialized/, 'it is raised as an error');
};

done_testing();
