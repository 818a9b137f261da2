# The real program, started as a user starts it: its window appears on the
# display, it closes cleanly, and it refuses to start without what it needs.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use File::Spec;
use Time::HiRes qw(time sleep);
use POSIX ();
use QuarlTest;

my $build = File::Spec->rel2abs($ENV{QUARL_BUILD} || repo_root() . '/build');
my $program = "$build/stage/main/quarlgui";
plan(skip_all => "no program at $program") unless -x $program;
plan(skip_all => 'no display') unless $ENV{DISPLAY};
my $shots = tempdir(CLEANUP => 1);

# The screen as it was, kept in the build tree when a test failed.
END {
    my $kept = "$build/e2e-screenshots";
    if (!Test::More->builder->is_passing && -d $shots && opendir my $dh, $shots) {
        mkdir $kept;
        for my $f (grep { /\.png\z/ } readdir $dh) {
            system('cp', "$shots/$f", "$kept/$f");
            Test::More::diag("screenshot kept at $kept/$f");
        }
    }
}

# The staged tree of the build when it has the analyzer; otherwise a tree
# of our own with a stand-in analyzer.
my $base = -x "$build/stage/main/quarl" ? "$build/stage" : stage_install();

sub start {
    my (%env) = @_;
    my $dir = tempdir(CLEANUP => 1);
    my $pid = fork;
    die "fork: $!" unless defined $pid;
    if ($pid == 0) {
        $ENV{$_} = $env{$_} for keys %env;
        delete $ENV{$_} for grep { !defined $env{$_} } keys %env;
        open STDIN, '<', '/dev/null';
        open STDOUT, '>', "$dir/out";
        open STDERR, '>', "$dir/err";
        { exec $program; }
        POSIX::_exit(127);
    }
    return {pid => $pid, dir => $dir};
}

sub finish {
    my ($run, $timeout) = @_;
    my $deadline = time + ($timeout || 20);
    while (time < $deadline) {
        my $r = waitpid $run->{pid}, POSIX::WNOHANG();
        if ($r == $run->{pid}) {
            return {status => $? >> 8, err => slurp("$run->{dir}/err"), out => slurp("$run->{dir}/out")};
        }
        sleep 0.05;
    }
    kill 'KILL', $run->{pid};
    waitpid $run->{pid}, 0;
    return {status => 'timeout', err => slurp("$run->{dir}/err"), out => ''};
}

sub window_of {
    my ($timeout) = @_;
    my $deadline = time + $timeout;
    while (time < $deadline) {
        my ($id) = grep { /^\d+$/ } split /\n/, qx(xdotool search --name '^QuarlCheck\$' 2>/dev/null);
        return $id if $id;
        sleep 0.05;
    }
    return;
}

subtest 'the main window appears and closes' => sub {
    my $run = start(VQXAPPBASE => $base);
    my $id = window_of(20);
    ok($id, 'a window titled QuarlCheck is on the display');
    my $shot = "$shots/main.png";
    system('import', '-window', 'root', $shot);
    ok(-s $shot, 'the screen can be captured');
    my ($w, $h) = qx(xdotool getwindowgeometry $id) =~ /Geometry: (\d+)x(\d+)/;
    is("$w x $h", '980 x 710', 'at its size');
    system('xdotool', 'windowclose', $id) if $id;
    my $r = finish($run);
    is($r->{status}, 0, 'the program ends with status 0 when its window goes');
    is($r->{err}, '', 'and says nothing on the console');
};

subtest 'refusals' => sub {
    my $noanalyzer = stage_install(no_analyzer => 1);
    my @cases = (
        [{VQXAPPBASE => $base, DISPLAY => ':65530'},
         "Can't connect to X server; please start X.\n\n"
         . "If X is  already running,  you may have used  \"su\" to  become somebody\n"
         . "other than the user who started X. If so, shut down X, log out, log in\n"
         . "again, and restart X.\n", 'no X server'],
        [{VQXAPPBASE => $noanalyzer}, "Error: Missing file: $noanalyzer/main/quarl\n", 'no analyzer'],
    );
    for my $c (@cases) {
        my $r = finish(start(%{$c->[0]}));
        is($r->{err}, $c->[1], "$c->[2]: message");
        is($r->{status}, 1, "$c->[2]: status 1");
    }
};

done_testing();
