# Fatal errors, warnings, internal errors, the log and the clean-up on exit.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

app_load();
no warnings 'once';

subtest 'console reports' => sub {
    my @cases = (
        [sub { UtilInternalError('x' x 24) },   1, 'Internal error: ' . ('x' x 24) . "\n"],
        [sub { UtilInternalError('x' x 25) },   1, "Internal error:\n" . ('x' x 25) . "\n"],
        [sub { UtilInternalError() },           1, "Error: Internal error\n"],
        [sub { UtilInternalError("  a\t b ") }, 1, "Internal error: a b\n"],
        [sub { UtilFatalError('disk full') },   1, "Error: disk full\n"],
        [sub { UtilFatalError('Read ERROR: no') }, 1, "Read ERROR: no\n"],
        [sub { UtilFatalError('') },            1, "Error: ???\n"],
        [sub { UtilFatalError('Background Error: Tk::Error: bad window') }, 1, "Error: bad window\n"],
        [sub { UtilFatalError('Undefined subroutine &main::X called at f line 3') }, 1,
             "Error: Undefined subroutine &main::X \ncalled at f line 3\n"],
        [sub { UtilWarning('careful') },        0, "Warning: careful\n"],
        [sub { UtilWarning('warning: said') },  0, "warning: said\n"],
        [sub { UtilWarning(undef) },            0, "Warning: ???\n"],
        [sub { UtilPrintError('StartDoc') },    1, "Error: System problem\nInternal code: StartDoc\n"],
        [sub { UtilPrintError('EndDoc', 0) },   0, "Warning: Printing failed\nInternal code: EndDoc\n"],
        [sub { UtilExit() },                    1, ''],
        [sub { UtilExit(0) },                   0, ''],
    );
    for my $c (@cases) {
        my $r = run_child($c->[0]);
        is($r->{status}, $c->[1], 'status ' . $c->[1]);
        is($r->{err}, $c->[2], 'stderr ' . ($c->[2] =~ s/\n/\\n/gr));
    }
};

subtest 'log' => sub {
    my $dir = tempdir(CLEANUP => 1);
    my $log = "$dir/quarl.log";
    spew($log, "old run\n");
    my $r = run_child(sub {
        local $main::LogFlag = 1;
        local $main::LogFile = $log;
        UtilLogWrite("first  \n\n  ");
        UtilLogWrite('second');
        UtilWarning('to the log too');
        UtilLogClose();
        UtilLogWrite('after close');
    });
    is($r->{status}, 0, 'logging run');
    is(slurp($log), "first\nsecond\nto the log too\n", 'fresh log, one newline per message, nothing after close');
    is((stat $log)[2] & 0777, 0600, 'log readable by its owner only');

    my $r2 = run_child(sub {
        local $main::LogFlag = 1;
        local $main::LogFlagSTDOUT = 1;
        UtilLogWrite("to stdout\t\n");
    });
    is($r2->{out}, "to stdout\n", 'LogFlagSTDOUT writes to standard output');

    my $r3 = run_child(sub { local $main::LogFile = $log; UtilLogWrite('off') });
    is(slurp($log), "first\nsecond\nto the log too\n", 'LogFlag off writes nothing');

    my $r4 = run_child(sub {
        local $main::LogFlag = 1;
        local $main::LogFile = "$dir/no/such/dir/log";
        UtilLogWrite('x');
        UtilLogWrite('y');
        print STDOUT "flag=$main::LogFlag\n";
    });
    like($r4->{err}, qr/\AWarning: Can't create "log" file "\Q$dir\E\/no\/such\/dir\/log":\n.+\n\z/,
         'a log that cannot be created: one warning');
    is($r4->{out}, "flag=0\n", 'and logging stops');
};

subtest 'a link planted at the log name is not followed' => sub {
    my $dir = tempdir(CLEANUP => 1);
    my $victim = spew("$dir/victim", "precious\n");
    my $log = "$dir/quarllog";
    # Planted between the removal of a stale log and the creation.
    symlink $victim, $log or die "symlink: $!";
    ok(!defined UtilLogStreamOpen($log), 'opening over a link fails');
    is(slurp($victim), "precious\n", 'the link target is untouched');
    unlink $log;
    spew($log, "planted\n");
    ok(!defined UtilLogStreamOpen($log), 'so does opening over a file that appeared');
    my $r = run_child(sub {
        local $main::LogFlag = 1;
        local $main::LogFile = $log;
        symlink $victim, "$log.2";
        rename "$log.2", $log;
        UtilLogWrite('run');
        UtilLogClose();
    });
    is(slurp($victim), "precious\n", 'a stale link is removed, not written through');
    is(slurp($log), "run\n", 'and the log is a file of its own');
};

subtest 'clean-up removes our report files only' => sub {
    my $dir = tempdir(CLEANUP => 1);
    my $rdir = "$dir/quarltmp";
    mkdir $rdir;
    spew("$rdir/quarl.lnt", 'a');
    spew("$rdir/QUARL.xrf", 'b');
    my $outside = spew("$dir/outside", 'keep');
    symlink $outside, "$rdir/quarl.link";
    my $r = run_child(sub {
        local $main::ReportTmpDel = 1;
        local $main::ReportTmpDir = $rdir;
        local $main::ReportTmpBase = "$rdir/quarl";
        UtilExit(0);
    });
    is($r->{status}, 0, 'exit status');
    ok(!-e "$rdir/quarl.lnt" && !-e "$rdir/QUARL.xrf", 'report files removed, name compared ignoring case');
    ok(-l "$rdir/quarl.link" && -f $outside, 'a link is neither followed nor removed');
    ok(-d $rdir, 'the directory stays while something is left in it');
    unlink "$rdir/quarl.link";
    spew("$rdir/other.txt", 'x');
    run_child(sub {
        local $main::ReportTmpDel = 1;
        local $main::ReportTmpDir = $rdir;
        local $main::ReportTmpBase = "$rdir/quarl";
        UtilQuit();
    });
    ok(-f "$rdir/other.txt", 'a file not named after the product stays');
    unlink "$rdir/other.txt";
    run_child(sub {
        local $main::ReportTmpDel = 1;
        local $main::ReportTmpDir = $rdir;
        local $main::ReportTmpBase = "$rdir/quarl";
        UtilQuit();
    });
    ok(!-e $rdir, 'an emptied directory is removed');
};

done_testing();
