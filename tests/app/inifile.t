# The settings file.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

app_load();
no warnings 'once';
my $dir = tempdir(CLEANUP => 1);
my $default = $main::FontID_MenuBar;

# Each case: file contents, then the expected menu-bar font and general settings.
my @cases = (
    ["[fonts]\nMenu Bar = Courier 12 bold\n",                 'Courier 12 bold', {}, 'a font'],
    ["[fonts]\nmenu bar = default\n",                          $default, {}, 'default keeps the built-in font'],
    ["[fonts]\nmenu bar = NONE\n",                             $default, {}, 'none in any case too'],
    ["[general]\nx=1\n[Fonts]\nmenu bar = Courier 12 bold\n",  $default, {x => 1, menubar => 'Courier 12 bold'},
        'a capitalised header is no header: its lines belong to the section before'],
    ["[fonts]\nmenu bar = \"Courier 12 bold\"\n",              'Courier 12 bold', {}, 'quoted value'],
    ["[fonts]\n\"menu bar = Courier 12 bold\"\n",              'Courier 12 bold', {}, 'quoted line'],
    ["[fonts]\nmenu bar = Courier 12 bold # larger\n",         'Courier 12 bold', {}, 'trailing comment'],
    ["[fonts]\n; menu bar = Courier 12\n# menu bar = X 1\n",   $default, {}, 'comment lines'],
    ["[font]\r\n\tmenu\t  bar=Times 9\r\n",                    'Times 9', {}, 'section font, tabs and CR LF'],
    ["menu bar = Courier 12\n[other]\nmenu bar = Courier 14\n", $default, {}, 'text before any section and other sections'],
    ["[general]\nDefault VQX-file directory = /home/p\nopenMP = yes\nopenmp = no\n", $default,
        {defaultvqxfiledirectory => '/home/p', openmp => 'no'}, 'general settings, later lines win'],
    ["[general settings]\nkey =\n= value\nnoequals\n",          $default, {}, 'lines without key or value'],
    ["[fonts]\nconfiguration tabs = Times 8\n",                $default, {}, 'configuration tabs is config tabs'],
);

for my $c (@cases) {
    my $path = spew("$dir/quarl.ini", $c->[0]);
    local $main::FontID_MenuBar = $default;
    local $main::FontID_ConfigTabs = $default;
    local %main::InitSettings;
    is(AppIniFileRead($path), 1, "$c->[3]: read");
    is($main::FontID_MenuBar, $c->[1], "$c->[3]: font");
    is_deeply(\%main::InitSettings, $c->[2], "$c->[3]: general settings");
    is($main::FontID_ConfigTabs, 'Times 8', 'configuration tabs sets the tab font')
        if $c->[0] =~ /configuration tabs/;
}

subtest 'files that are not read' => sub {
    is(AppIniFileRead("$dir/missing.ini"), 0, 'missing');
    is(AppIniFileRead(spew("$dir/empty.ini", '')), 0, 'empty');
    is(AppIniFileRead(spew("$dir/bin.ini", "[fonts]\nmenu bar = X\0")), 0, 'binary');
    is(AppIniFileRead($dir), 0, 'a directory');
    is($main::FontID_MenuBar, $default, 'nothing changed');
    my $r = run_child(sub { AppIniFileRead('quarl.ini') });
    like($r->{err}, qr/\AInternal error:\nAppIniFileRead-2: quarl.ini\n\z/, 'a relative path is an internal error');
};

subtest 'the shipped settings file changes nothing' => sub {
    local %main::InitSettings;
    is(AppIniFileRead(repo_root() . '/share/quarl.ini'), 1, 'read');
    is($main::FontID_MenuBar, $default, 'fonts stay');
    is_deeply(\%main::InitSettings, {}, 'no general setting');
};

done_testing();
