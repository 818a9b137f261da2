# Paths, programs on the search path and the web browser (UNIX).
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

app_load();
my $dir = tempdir(CLEANUP => 1);
spew("$dir/prog.tar.gz", "x\n");

subtest 'UtilPathIsAbsolute' => sub {
    ok(UtilPathIsAbsolute('/a/b'), '/a/b');
    ok(!UtilPathIsAbsolute('a/b'), 'a/b');
    ok(!UtilPathIsAbsolute('C:\\x'), 'a drive is not absolute on UNIX');
    my $r = run_child(sub { UtilPathIsAbsolute('') });
    is($r->{err}, "Internal error: UtilPathIsAbsolute\n", 'empty path is an internal error');
};

subtest 'UtilPathDirGet' => sub {
    my @cases = (
        ["$dir/prog.tar.gz", {},                 "$dir/", 'existing file gives its directory'],
        ["$dir/missing.f",   {},                 '',      'missing file with -mustexist'],
        ["$dir/missing.f",   {-mustexist => 'no'}, "$dir/", 'missing file in an existing directory'],
        ["$dir/",            {-mustexist => 0},  '',      'path ending in a separator'],
        ["$dir/nodir/x.f",   {-mustexist => 0},  '',      'directory that does not exist'],
        ['rel/x.f',          {-mustexist => 0},  '',      'relative path'],
        ['',                 {},                 '',      'empty path'],
    );
    is(UtilPathDirGet($_->[0], %{$_->[1]}), $_->[2], $_->[3]) for @cases;
};

subtest 'UtilPathBaseGet' => sub {
    my @cases = (
        ['/dir/prog.tar.gz', {},                  'prog'],
        ['/dir/prog.tar.gz', {-extension => 1},   'prog.tar.gz'],
        ['/dir/.profile',    {},                  '.profile'],
        ['plain',            {},                  'plain'],
        ['/dir/C:x.f',       {},                  'C:x'],
    );
    is(UtilPathBaseGet($_->[0], %{$_->[1]}), $_->[2], "$_->[0]") for @cases;
    my $r = run_child(sub { UtilPathBaseGet('/dir/') });
    is($r->{err}, "Internal error: UtilPathBaseGet-1\n", 'a path ending in a separator');
};

subtest 'UtilProgramFind and UtilBrowserFind' => sub {
    my $bin1 = tempdir(CLEANUP => 1);
    my $bin2 = tempdir(CLEANUP => 1);
    spew("$bin1/tool", "#!/bin/sh\n");            # not executable
    spew("$bin2/tool", "#!/bin/sh\n");
    chmod 0755, "$bin2/tool";
    mkdir "$bin1/mozilla";                        # a directory is no program
    spew("$bin2/mozilla", "#!/bin/sh\n");
    chmod 0755, "$bin2/mozilla";
    spew("$bin2/opera", "#!/bin/sh\n");
    chmod 0755, "$bin2/opera";
    local $ENV{PATH} = "relative/bin::${bin1}:://$bin2/";
    is(UtilProgramFind('tool'), "$bin2/tool", 'first executable regular file, slashes folded');
    is(UtilProgramFind('nothing-here'), '', 'missing program');
    is(UtilBrowserFind(), "$bin2/mozilla", 'mozilla before opera when netscape is missing');
    local $ENV{PATH} = 'relative';
    is(UtilBrowserFind(), '', 'no browser');
    my $r = run_child(sub { UtilProgramFind('') });
    is($r->{err}, "Internal error: UtilProgramFind\n", 'empty name');
};

done_testing();
