# Child processes: waiting with the window drawn and the busy animation,
# and programs started and forgotten.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use Time::HiRes qw(time);
use QuarlTest;

app_load();
my $mw = gui_window();
no warnings 'once';
my $dir = tempdir(CLEANUP => 1);

# An animation button with ten distinguishable frames, as the main window has.
my @frames = map { $mw->Photo("frame$_", -width => 4, -height => 4) } 0 .. 9;
my $rest = $mw->Photo('rest', -width => 4, -height => 4);
my $anim = $mw->Button(-image => $rest)->pack;
$mw->update;

# Samples what the user sees while the application waits: the button's image
# and the cursor, from a timer the event loop runs during the wait.
sub watch_wait {
    my ($command, %opt) = @_;
    my (@images, @cursors);
    my $timer = $mw->repeat(1, sub {
        push @images, $anim->cget(-image);
        push @cursors, $mw->cget(-cursor);
    });
    my $t0 = time;
    UtilProcessWait($command, %opt);
    my $elapsed = time - $t0;
    $timer->cancel;
    return (\@images, \@cursors, $elapsed);
}

subtest 'wait with animation' => sub {
    local $main::ref_anim = \$anim;
    local $main::ref_frames = \@frames;
    my ($images, $cursors, $elapsed) = watch_wait("sleep 0.6; echo done > $dir/out", -animate => 1);
    is(slurp("$dir/out"), "done\n", 'the command ran to its end before the wait returned');
    cmp_ok($elapsed, '>=', 0.55, 'the wait lasted as long as the program');
    my %index = map { ("$frames[$_]" => $_) } 0 .. 9;
    my @seen = grep { defined } map { $index{"$_"} } @$images;
    cmp_ok(scalar @seen, '>', 15, 'the window kept processing events: frames were seen');
    my @steps = map { ($seen[$_] - $seen[$_ - 1]) % 10 } 1 .. $#seen;
    ok(!grep({ $_ > 1 } @steps), 'frames advance one at a time and wrap from 9 to 0');
    ok((grep { $_ == 9 } @seen) && (grep { $_ == 0 } @seen[1 .. $#seen]), 'all ten frames play and start again');
    ok((grep { $_ eq 'watch' } @$cursors), 'the busy cursor shows meanwhile');
    is($anim->cget(-image), $rest, 'the image at rest is back afterwards');
    isnt($mw->cget(-cursor), 'watch', 'and the busy cursor is gone');
};

subtest 'wait without animation' => sub {
    local $main::ref_anim = \$anim;
    local $main::ref_frames = \@frames;
    my ($images) = watch_wait('sleep 0.2');
    ok(!grep({ "$_" ne "$rest" } @$images), '-animate off leaves the button alone');
    local $main::ref_anim;
    local $main::ref_frames;
    my ($images2, $cursors2) = watch_wait('sleep 0.2', -animate => 1);
    ok(!grep({ "$_" ne "$rest" } @$images2), 'no animation button registered: no animation');
    ok((grep { $_ eq 'watch' } @$cursors2), 'but the window is busy');
};

subtest 'a command that cannot run' => sub {
    my $t0 = time;
    UtilProcessWait("$dir/no-such-program");
    cmp_ok(time - $t0, '<', 2, 'the wait ends at its next poll');
};

subtest 'spawn' => sub {
    my $script = spew("$dir/bg.sh", "#!/bin/sh\necho \$\$ > $dir/pid; sleep 1\n");
    chmod 0755, $script;
    my $t0 = time;
    UtilProcessSpawn($script);
    cmp_ok(time - $t0, '<', 0.5, 'returns without waiting');
    select undef, undef, undef, 0.3;
    ok(-s "$dir/pid", 'the program runs');
    chomp(my $pid = slurp("$dir/pid"));
    my $ppid = (split ' ', slurp("/proc/$pid/stat") =~ s/.*\)\s//r)[1];
    isnt($ppid, $$, 'it is not our child');
    is(waitpid(-1, POSIX::WNOHANG()), -1, 'and no finished child is left behind');
    UtilProcessSpawn("$dir/no-such-program --flag");
    is(waitpid(-1, POSIX::WNOHANG()), -1, 'a command that cannot run leaves nothing either');
};

done_testing();
