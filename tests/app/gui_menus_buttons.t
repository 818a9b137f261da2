# Menu entries and push buttons: how they look, how they are switched,
# the shortcut bar's image buttons and their keyboard focus.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use File::Copy qw(copy);
use Time::HiRes qw(time);
use POSIX ();
use QuarlTest;

app_load();
my $mw = gui_window();
no warnings 'once';



my $icons = repo_root() . '/share/icons';
my $tmp = tempdir(CLEANUP => 1);
copy("$icons/new.gif", "$tmp/NEW.GIF") or die "copy: $!";
copy("$icons/open.gif", "$tmp/open.img") or die "copy: $!";


sub menu_labels {
    my ($menu) = @_;
    return [map { $menu->entrycget($_, '-label') } 0 .. $menu->index('last')];
}

subtest 'command entries: label, command, font, underline' => sub {
    my $menu = $mw->Menu(-tearoff => 0);
    my @cases = (
        # label        underline  shown underline
        ['Save',       5,         -1],
        ['Save',       4,         -1],
        ['Save',       3,         3],
        ['Open',       0,         0],
        ['Close',      'x',       -1],
        ['Close',      '1a',      -1],
        ['Close',      '-1',      -1],
        ['Close',      ' 1',      -1],
        ['Exit',       '01',      1],
        ['Exit',       undef,     -1],
    );
    my @ran;
    for my $i (0 .. $#cases) {
        GuiMenuCommandAdd($menu, sub { push @ran, $i }, $cases[$i][0], $cases[$i][1]);
    }
    is_deeply(menu_labels($menu), [map { $_->[0] } @cases], 'entries appended in order');
    for my $i (0 .. $#cases) {
        is($menu->entrycget($i, '-underline'), $cases[$i][2],
            "underline '" . ($cases[$i][1] // 'none') . "' for $cases[$i][0]");
    }
    is($menu->type(0), 'command', 'a command entry');
    is($menu->entrycget(0, '-font'), $main::FontID_MenuItems, 'menu font');
    $menu->invoke(3);
    is_deeply(\@ran, [3], 'the entry runs its command');

    local $main::FontID_MenuItems = '';
    GuiMenuCommandAdd($menu, sub { }, 'Plain');
    ok(!$menu->entrycget('last', '-font'), 'no font when the font setting is empty');
};

subtest 'cascade entries' => sub {
    my $menu = $mw->Menu(-tearoff => 0);
    my ($save, $print, $again) = map { $menu->Menu(-tearoff => 0) } 1 .. 3;
    GuiMenuCascadeAdd($menu, $save, 'Save');
    GuiMenuCascadeAdd($menu, $print, 'Print');
    is_deeply(menu_labels($menu), ['Save', 'Print'], 'labels');
    is($menu->type(1), 'cascade', 'a cascade entry');
    is($menu->entrycget('Save', '-menu'), $save, 'Save opens its submenu');
    is($menu->entrycget('Print', '-menu'), $print, 'Print opens its submenu');
    is($menu->entrycget(0, '-font'), $main::FontID_MenuItems, 'menu font');
    GuiMenuCascadeAdd($menu, $again, 'Save');
    is($menu->entrycget(0, '-menu'), $save, 'a second Save leaves the first one its submenu');
    is($menu->entrycget(2, '-menu'), $again, 'and gets the new one');
};

subtest 'switching entries by label' => sub {
    my $menu = $mw->Menu(-tearoff => 0);
    GuiMenuCommandAdd($menu, sub { }, $_) for 'New', 'Open', 'Save', 'Save As...', 'Exit';
    my $look = sub { [map { $menu->entrycget($_, '-state') . '/' . ($menu->entrycget($_, '-foreground') // '') } 0 .. 4] };
    my $before = $look->();

    GuiMenuItemsEnable(0, $menu, []);
    is_deeply($look->(), $before, 'an empty list changes nothing');

    GuiMenuItemsEnable(0, $menu, ['Save', 'Save As...', 'Exit']);
    is_deeply($look->(), [$before->[0], $before->[1], 'disabled/grey', 'disabled/grey', 'disabled/grey'],
        'listed entries disabled and grey, the others untouched');

    GuiMenuItemsEnable('yes', $menu, ['Save', 'Exit']);
    is_deeply([@{$look->()}[2, 3, 4]], ['normal/black', 'disabled/grey', 'normal/black'], 'enabled entries black');
    is($menu->index('active'), 'none', 'enabling leaves no entry highlighted');

    GuiMenuDisable($menu, 'New', 'Open');
    is_deeply([@{$look->()}[0, 1]], ['disabled/grey', 'disabled/grey'], 'GuiMenuDisable with a list of labels');
    GuiMenuEnable($menu, ['New', 'Open', 'Save As...']);
    is_deeply($look->(), [('normal/black') x 5], 'GuiMenuEnable with an array of labels');
    GuiMenuEnable($menu);
    is_deeply($look->(), [('normal/black') x 5], 'no labels: nothing to do');
};

subtest 'menu misuse is an internal error' => sub {
    my $m = $mw->Menu(-tearoff => 0);
    GuiMenuCommandAdd($m, sub { }, 'Open');
    my @cases = (
        [sub { GuiMenuItemsEnable(1, undef, ['Open']) },         'GuiMenuItemsEnable-1'],
        [sub { GuiMenuItemsEnable(1, $m) },                      'GuiMenuItemsEnable-2'],
        [sub { GuiMenuItemsEnable(1, $m, undef) },               'GuiMenuItemsEnable-2'],
        [sub { GuiMenuItemsEnable(1, $m, ['Open', '']) },        'GuiMenuItemsEnable-3'],
        [sub { GuiMenuDisable($m, 'Open', undef) },              'GuiMenuItemsEnable-3'],
        [sub { GuiMenuCommandAdd(undef, sub { }, 'Open') },      'GuiMenuCommandAdd-1'],
        [sub { GuiMenuCommandAdd($m, sub { }, '') },             'GuiMenuCommandAdd-2'],
        [sub { GuiMenuCascadeAdd($m, undef, 'Save') },           'GuiMenuCascadeAdd-2'],
    );
    internal_error_is($_->[0], "Internal error: $_->[1]", $_->[1]) for @cases;
};

subtest 'text buttons' => sub {
    my $frame = $mw->Frame(-width => 300)->pack(-fill => 'x');
    my $ran = 0;
    my @buttons = map { GuiTextButtonCreate($frame, -text => $_, -command => sub { $ran++ }) } 'Add File', 'Remove File';
    $mw->update;
    my $b = $buttons[0];
    is($b->cget('-text'), 'Add File', 'caller text');
    is($b->cget('-borderwidth'), 3, 'border width 3');
    is($b->cget('-activeforeground'), 'red', 'red text under the pointer');
    is($b->cget('-activebackground'), 'yellow', 'on yellow');
    is_deeply(font_of($b), font_of($main::FontID_TextButtons), 'button font');
    my %pack = $b->packInfo;
    is_deeply([@pack{qw(-side -expand -fill)}], ['left', 1, 'x'], 'packed left, sharing the width');
    $b->invoke;
    is($ran, 1, 'runs its command');

    local $main::FontID_TextButtons = '';
    my $plain = GuiTextButtonCreate($frame, -text => 'Select All');
    is_deeply(font_of($plain), font_of($mw->Button), 'toolkit font when the setting is empty');
    push @buttons, $plain;

    GuiTextButtonsDisable(@buttons);
    is_deeply([map { $_->cget('-state') . '/' . $_->cget('-foreground') } @buttons],
        [('disabled/grey') x 3], 'disabled: state and grey text');
    $b->invoke;
    is($ran, 1, 'a disabled button does not run');
    GuiTextButtonsEnable([@buttons[0, 1]]);
    is_deeply([map { $_->cget('-state') . '/' . $_->cget('-foreground') } @buttons],
        ['normal/black', 'normal/black', 'disabled/grey'], 'enabled: state and black text, as an array too');
};

subtest 'image buttons' => sub {
    my $bar = $mw->Frame->pack(-fill => 'x');
    my @before = @main::GuiButtonImageList;
    my $ran = 0;
    my @cases = (
        # options                                                          side     anchor
        [[-file => "$tmp/NEW.GIF", -command => sub { $ran++ }, -balloon => 'New project'], 'left', 'w'],
        [[-file => "$tmp/open.img", -format => 'gif', -side => 'right'],                   'right', 'e'],
        [[-file => "$icons/save.gif", -side => 'Right'],                                    'left', 'w'],
        [[-file => "$icons/help.gif", -side => 'top', -balloon => ''],                      'left', 'w'],
    );
    my @made;
    for my $c (@cases) {
        my $b = GuiImageButtonCreate($bar, @{$c->[0]});
        push @made, $b;
        my %pack = $b->packInfo;
        my %opt = @{$c->[0]};
        is("$pack{-side}/$pack{-anchor}", "$c->[1]/$c->[2]", "side " . ($opt{-side} // 'none'));
        my $image = $b->cget('-image');
        ok($image, "button shows an image") or next;
        is($image->width . 'x' . $image->height, '24x24', "image of $opt{-file} loaded");
    }
    is(balloon_of($made[0]), 'New project', 'balloon text attached');
    ok(!defined balloon_of($_), 'no balloon without text') for @made[1 .. 3];
    $made[0]->invoke;
    is($ran, 1, 'runs its command');
    $made[1]->invoke;
    is_deeply([@main::GuiButtonImageList], [@before, @made], 'recorded in the order made');

    {
        local $main::HelpBalloon = undef;
        my $b = GuiImageButtonCreate($bar, -file => "$icons/test.gif", -balloon => 'Analyze files');
        ok($b, 'no balloon object: the button is still made');
        push @made, $b;
    }

    my $fg = $made[0]->cget('-foreground');
    GuiImageButtonsDisable(@made);
    is_deeply([map { $_->cget('-state') } @made], [('disabled') x 5], 'disabled');
    is($made[0]->cget('-foreground'), $fg, 'the look is left to the toolkit');
    $made[0]->invoke;
    is($ran, 1, 'a disabled image button does not run');
    GuiImageButtonsEnable(@made[0, 1]);
    is_deeply([map { $_->cget('-state') } @made], ['normal', 'normal', ('disabled') x 3], 'enabled again');
};

subtest 'image button misuse is an internal error' => sub {
    my $button = $mw->Button(-text => 'x');
    my @cases = (
        [sub { GuiImageButtonCreate($mw, -file => 'icons/new.gif') },     'Internal error: GuiImageButtonCreate-1'],
        [sub { GuiImageButtonCreate($mw, -file => "$tmp/open.img") },     'Internal error: GuiImageButtonCreate-2'],
        [sub { GuiImageButtonCreate($mw, -file => "$tmp/open.img", -format => '') },
                                                                           'Internal error: GuiImageButtonCreate-2'],
        [sub { GuiImageButtonCreate($mw, -file => '') },                  'Internal error: UtilPathIsAbsolute'],
        [sub { GuiImageButtonCreate($mw) },                               'Internal error: UtilPathIsAbsolute'],
        [sub { GuiButtonsEnable(1, 1, $button, undef) },                  'Internal error: GuiButtonsEnable'],
    );
    internal_error_is($_->[0], $_->[1], $_->[1]) for @cases;
};

subtest 'image buttons leave and rejoin the focus order' => sub {
    my $bar = $mw->Frame->pack(-fill => 'x');
    GuiImageButtonCreate($bar, -file => "$icons/new.gif") for 1 .. 2;
    my @buttons = @main::GuiButtonImageList;
    my $focus = sub { join ',', map { $_->cget('-takefocus') } @buttons };

    my $t0 = time;
    GuiImageButtonsFocusSet(0);
    my $off = time - $t0;
    is($focus->(), join(',', (0) x @buttons), 'false: no button takes the focus');
    cmp_ok($off, '<', 0.2, 'false returns at once');

    my $ticks = 0;
    $mw->after(100, sub { $ticks++ });
    $t0 = time;
    GuiImageButtonsFocusSet(1);
    my $on = time - $t0;
    is($focus->(), join(',', (1) x @buttons), 'true: every button takes the focus');
    cmp_ok($on, '>=', 0.32, 'true waits at least 0.32 s first');
    is($ticks, 1, 'pending events were processed meanwhile');

    $buttons[-1]->destroy;
    GuiImageButtonsFocusSet(0);
    is($buttons[0]->cget('-takefocus'), 0, 'a destroyed button does not stop the others');
};

done_testing();
