package QuarlTest;
# Test support: loads the bundled application script into the test process,
# stages throw-away installation trees, runs routines that end the process
# in a child, and presents the platform as Windows on request.
use strict;
use warnings;
use Exporter 'import';
use File::Temp qw(tempdir);
use File::Spec;
use File::Basename qw(dirname);
use Cwd qw(abs_path);
use POSIX ();

our @EXPORT = qw(app_load stage_base stage_install run_child script_path slurp spew repo_root gui_window with_xvfb
                 internal_error_is internal_errors_are font_of balloon_of);

my $Root = abs_path(dirname(__FILE__) . '/../..');

# A forked child shares the parent's display connection: global destruction
# in the child would tear down the parent's windows. Children leave without
# it once their END blocks begin.
my $Parent = $$;
END { POSIX::_exit($?) if $$ != $Parent }

sub repo_root { return $Root }

sub script_path {
    return $ENV{QUARL_SCRIPT} if $ENV{QUARL_SCRIPT};
    my $build = $ENV{QUARL_BUILD} || "$Root/build";
    return File::Spec->rel2abs("$build/app/quarlgui.pl");
}

sub slurp {
    my ($path) = @_;
    open my $fh, '<:raw', $path or die "can't read $path: $!";
    local $/;
    my $data = <$fh>;
    return defined $data ? $data : '';
}

sub spew {
    my ($path, $data) = @_;
    open my $fh, '>:raw', $path or die "can't write $path: $!";
    print {$fh} $data;
    close $fh or die "can't write $path: $!";
    return $path;
}

# A fresh installation tree: main/, help/, icons/, with the files given as
# relative path => contents.
sub stage_base {
    my (%files) = @_;
    my $base = tempdir('quarlbase-XXXXXX', TMPDIR => 1, CLEANUP => 1);
    mkdir "$base/$_" for qw(main help icons);
    for my $rel (keys %files) {
        spew("$base/$rel", $files{$rel});
    }
    return $base;
}

# A staged installation as the program expects it: the real icons, the
# settings file given (if any) and an analyzer. Until the real analyzer is
# part of every build, a small program of our own stands in for it when
# none is given.
sub stage_install {
    my (%opt) = @_;
    my $base = stage_base(%{$opt{files} || {}});
    my $icons = "$Root/share/icons";
    opendir my $dh, $icons or die "no icons at $icons: $!";
    for my $f (grep { /\.gif\z/ } readdir $dh) {
        spew("$base/icons/$f", slurp("$icons/$f"));
    }
    closedir $dh;
    unless ($opt{no_analyzer}) {
        my $analyzer = "$base/main/quarl";
        spew($analyzer, $opt{analyzer} || "#!/bin/sh\nexit 0\n");
        chmod 0755, $analyzer;
    }
    return $base;
}

# Evaluates the application script as the host would, without running the
# entry operations. Options: windows => 1 presents the platform as Windows
# with the simulated Windows modules; base => DIR sets VQXAPPBASE.
sub app_load {
    my (%opt) = @_;
    $ENV{VQXAPPBASE} = $opt{base} if exists $opt{base};
    if ($opt{windows}) {
        unshift @INC, "$Root/tests/lib/win";
        $^O = 'MSWin32';
    }
    my $script = script_path();
    die "no application script at $script; build first\n" unless -f $script;
    package main;
    my $ok = do $script;
    die "loading $script failed: $@\n" if !$ok && $@;
    return 1;
}

# Runs CODE in a child process with standard output and error captured.
# Returns a hash: status (exit status, or -signal), out, err.
sub run_child {
    my ($code) = @_;
    my $dir = tempdir('quarlchild-XXXXXX', TMPDIR => 1, CLEANUP => 1);
    my ($out, $err) = ("$dir/out", "$dir/err");
    my $pid = fork;
    die "fork: $!" unless defined $pid;
    if ($pid == 0) {
        open STDOUT, '>', $out or POSIX::_exit(120);
        open STDERR, '>', $err or POSIX::_exit(121);
        STDOUT->autoflush(1);
        STDERR->autoflush(1);
        my $ok = eval { $code->(); 1 };
        print STDERR "child died: $@" unless $ok;
        STDOUT->flush;
        STDERR->flush;
        POSIX::_exit($ok ? 0 : 122);
    }
    waitpid $pid, 0;
    my $status = $? & 127 ? -($? & 127) : $? >> 8;
    return { status => $status, out => slurp($out), err => slurp($err) };
}

# Runs CODE in a child that must end with the internal error TEXT. The
# child forgets the main window and draws nothing: widgets are made in the
# parent before it forks.
sub internal_error_is {
    my ($code, $text, $name) = @_;
    my $r = run_child(sub { $main::MW = undef; $code->() });
    Test::More::is($r->{err}, "$text\n", $name);
    Test::More::is($r->{status}, 1, "$name: status 1");
    return;
}

# The same for a table of [code, text] cases, each named by its text.
sub internal_errors_are {
    my (@cases) = @_;
    internal_error_is($_->[0], $_->[1], $_->[1] =~ s/\n/ /gr) for @cases;
    return;
}

# What the toolkit makes of a widget's font, or of a font description.
sub font_of {
    my ($what) = @_;
    my %actual = $main::MW->fontActual(ref $what ? $what->cget('-font') : $what);
    return {map { $_ => $actual{$_} } qw(-family -size -weight -slant)};
}

# The balloon help attached to a widget, or undef.
sub balloon_of {
    my ($widget) = @_;
    my $client = $main::HelpBalloon->{clients}{$widget};
    return $client ? $client->{-balloonmsg} : undef;
}

# A real main window for widget tests, registered where the application
# keeps its own (MW, HelpBalloon). Skips the whole test file when there is
# no display. The application script must be loaded first.
sub gui_window {
    require Test::More;
    Test::More::plan(skip_all => 'no display') unless $ENV{DISPLAY};
    no warnings 'once';
    my $mw = MainWindow->new;
    $mw->geometry('400x300+0+0');
    $main::MW = $mw;
    $main::HelpBalloon = $mw->Balloon;
    $mw->update;
    return $mw;
}

# Runs CODE with DISPLAY set to a virtual X server of its own, of the given
# screen size ("1024x768"); the server is stopped afterwards.
sub with_xvfb {
    my ($size, $code) = @_;
    my $dir = tempdir('quarlx-XXXXXX', TMPDIR => 1, CLEANUP => 1);
    my $pid = fork;
    die "fork: $!" unless defined $pid;
    if ($pid == 0) {
        open STDOUT, '>', '/dev/null';
        open STDERR, '>', '/dev/null';
        open my $fd, '>', "$dir/display" or POSIX::_exit(1);
        require Fcntl;
        fcntl($fd, Fcntl::F_SETFD(), 0);    # Xvfb writes its display number here
        my $no = fileno $fd;
        { exec 'Xvfb', '-displayfd', $no, '-screen', '0', "${size}x24", '-nolisten', 'tcp'; }
        POSIX::_exit(1);
    }
    my $waited = 0;
    until (-s "$dir/display" || $waited > 100) {
        select undef, undef, undef, 0.1;
        $waited++;
    }
    chomp(my $n = -s "$dir/display" ? slurp("$dir/display") : '');
    local $ENV{DISPLAY} = ":$n";
    my @result = eval { $n ne '' ? $code->() : die "Xvfb $size did not start\n" };
    my $err = $@;
    kill 'TERM', $pid;
    waitpid $pid, 0;
    die $err if $err;
    return wantarray ? @result : $result[0];
}

1;
