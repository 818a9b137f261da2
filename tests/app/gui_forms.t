# Form widgets: lists, checkbuttons, labels, labelled entries and drop-down
# lists, as the setup screen lays them out and switches them.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use POSIX ();
use QuarlTest;

app_load();
my $mw = gui_window();
no warnings 'once';



sub grid_of {
    my ($w) = @_;
    my %g = $w->gridInfo;
    return join ' ', map { substr($_, 1) . '=' . ($g{$_} // '') } qw(-row -column -columnspan -sticky);
}


subtest 'scrolled list' => sub {
    my $f = $mw->Frame->pack;
    my $plain = GuiListboxCreate($f);
    is($plain->Subwidget('scrolled')->cget('-width') . 'x' . $plain->Subwidget('scrolled')->cget('-height'), '16x11', 'default: 16 characters by 11 lines');
    is($plain->size, 0, 'no entries');
    is(grid_of($plain), 'row=0 column=0 columnspan=1 sticky=w', 'left-aligned in the next row');

    my @targets = map { "target$_" } 1 .. 14;
    my $list = GuiListboxCreate($f, -width => 20, -height => 12, -entries => \@targets,
        -grid => [-row => 0, -column => 1, -sticky => 'ne']);
    is($list->cget('-width') . 'x' . $list->cget('-height'), '20x12', 'given size');
    is_deeply([$list->get(0, 'end')], \@targets, 'entries in order');
    is($list->cget('-relief'), 'sunken', 'sunken');
    is($list->cget('-scrollbars'), 'eo', 'vertical scroll bar on the east, when needed');
    is(grid_of($list), 'row=0 column=1 columnspan=1 sticky=ne', 'laid out with the -grid options');
    $mw->update;
    ok($list->Subwidget('yscrollbar')->ismapped, '14 entries in 12 lines: the scroll bar shows');

    internal_errors_are([sub { GuiListboxCreate($f, -entries => 'a b') }, 'Internal error: GuiListboxCreate-1']);
};

subtest 'switching a list' => sub {
    my $list = GuiListboxCreate($mw->Frame->pack, -entries => [qw(a b c d)]);
    my $state = $list->cget('-state');

    GuiListboxEnable($list, 1, 2);
    is_deeply([$list->curselection], [2], 'the given item is selected');
    my $shown = $list->Subwidget('scrolled');
    is(join('/', map { $shown->cget($_) } qw(-background -selectmode -highlightcolor -exportselection)),
        'white/multiple/blue/0', 'enabled look');
    $list->selectionSet(0);
    is_deeply([$list->curselection], [0, 2], 'several items at once');

    GuiListboxEnable($list, 0);
    is_deeply([$list->curselection], [], 'disabling clears every selected item');
    is(join('/', map { $shown->cget($_) } qw(-background -selectmode -highlightcolor)),
        'gray/browse/gray', 'disabled look');
    is($list->cget('-state'), $state, 'the list still takes clicks');

    GuiListboxEnable($list, 'on', '');
    is_deeply([$list->curselection], [], 'an empty item index selects nothing');
    GuiListboxEnable($list, 1, 0);
    is_deeply([$list->curselection], [0], 'item 0 is an index like any other');

    internal_errors_are(
        [sub { GuiListboxEnable(undef, 1) }, 'Internal error: GuiListboxEnable'],
        [sub { GuiListboxEnable($list) },    'Internal error: GuiListboxEnable'],
    );
};

subtest 'checkbuttons' => sub {
    my $f = $mw->Frame->pack;
    my ($on, $off) = (1, 0);
    my $cb = GuiCheckbuttonCreate($f, -variable => \$off, -text => 'Portability', -balloon => 'Check portability');
    is($cb->cget('-text'), 'Portability', 'caller options');
    is(join('/', map { $cb->cget($_) } qw(-onvalue -offvalue -highlightthickness)), '1/0/0', 'values 1 and 0, no highlight');
    is(balloon_of($cb), 'Check portability', 'balloon text');
    is($cb->manager, undef, 'not laid out yet');
    $cb->invoke;
    is($off, 1, 'a variable holding 0 is accepted and set to 1 when checked');
    $cb->invoke;
    is($off, 0, 'and back to 0');

    my $plain = GuiCheckbuttonCreate($f, -variable => \$on);
    is(balloon_of($plain), undef, 'no balloon without text');

    my $unset;
    internal_errors_are(
        [sub { GuiCheckbuttonCreate($f) },                                     'Internal error: GuiCheckbuttonCreate'],
        [sub { GuiCheckbuttonCreate($f, -variable => \$unset) },               'Internal error: GuiCheckbuttonCreate'],
        [sub { GuiCheckbuttonCreate($f, -variable => \$on, -projkey => 'K') }, 'Internal error: GuiCheckbuttonCreate'],
    );
};

subtest 'checkbuttons switched by name' => sub {
    my $f = $mw->Frame->pack;
    my %table = map { my $v = 0; ($_ => $f->Checkbutton(-variable => \$v)) } qw(A B C);
    my $states = sub { join ' ', map { $table{$_}->cget('-state') } qw(A B C) };

    GuiCheckbuttonsEnableByName(0, \%table);
    is($states->(), 'normal normal normal', 'no names: nothing changes');
    GuiCheckbuttonsEnableByName(0, \%table, 'A', 'C');
    is($states->(), 'disabled normal disabled', 'named ones disabled');
    GuiCheckbuttonsEnableByName(1, \%table, ['C']);
    is($states->(), 'disabled normal normal', 'and enabled again');

    internal_errors_are(
        [sub { GuiCheckbuttonsEnableByName(1, undef, 'A') },     "Internal error:\nGuiCheckbuttonsEnableByName-1"],
        [sub { GuiCheckbuttonsEnableByName(1, \%table, 'A', 'Z') },
                                                                 "Internal error:\nGuiCheckbuttonsEnableByName-2: Z"],
    );
};

subtest 'widgets one per row' => sub {
    my $f = $mw->Frame->pack;
    $f->Label(-text => 'head')->grid(-row => 0, -column => 1);
    my @w = map { $f->Checkbutton(-text => $_) } qw(one two);
    GuiWidgetsGrid(@w);
    my $third = $f->Radiobutton(-text => 'three');
    GuiWidgetsGrid($third);
    is_deeply([map { grid_of($_) } @w, $third],
        [map { "row=$_ column=0 columnspan=1 sticky=w" } 1 .. 3], 'each in the next free row, left-aligned');

    internal_errors_are(
        [sub { GuiWidgetsGrid() },             'Internal error: GuiWidgetsGrid-1'],
        [sub { GuiWidgetsGrid($w[0], undef) }, 'Internal error: GuiWidgetsGrid-2'],
    );
};

subtest 'labels' => sub {
    my $f = $mw->Frame->pack;
    my $l1 = GuiLabelGridCreate($f, -text => 'Options', -balloon => 'Some help');
    my $l2 = GuiLabelGridCreate($f, -text => 'Right', -grid => {-row => 0, -column => 2, -sticky => 'e'});
    my $l3 = GuiLabelGridCreate($f, -text => '', -width => 26);
    is($l1->cget('-text'), 'Options', 'text');
    is(balloon_of($l1), 'Some help', 'balloon on the label');
    is(balloon_of($l2), undef, 'none without text');
    is(grid_of($l1), 'row=0 column=0 columnspan=1 sticky=w', 'left-aligned');
    is(grid_of($l2), 'row=0 column=2 columnspan=1 sticky=e', 'the -grid options');
    is($l3->cget('-width'), 26, 'other label options passed on');
};

subtest 'labelled entries' => sub {
    my $f = $mw->Frame->pack;
    $f->Label(-text => 'above')->grid;
    my $text = 'first';
    my $entry = GuiEntryCreate($f, -text => 'Include path', -textvariable => \$text, -balloon => 'Where to look');
    my ($label) = grep { $_->isa('Tk::Label') && $_->cget('-text') eq 'Include path' } $f->children;
    is(grid_of($label), 'row=1 column=0 columnspan=1 sticky=w', 'label in the next row');
    is(grid_of($entry), 'row=2 column=0 columnspan=1 sticky=w', 'entry below it');
    is($entry->cget('-width'), 45, 'default width 45');
    is($entry->get, 'first', 'shows the variable');
    $entry->insert('end', '/x');
    is($text, 'first/x', 'edits the variable directly');
    is(balloon_of($label), 'Where to look', 'balloon on the label');
    is(balloon_of($entry), undef, 'not on the entry');

    my $button;
    my $dir = '';
    my $e2 = GuiEntryCreate($f, -text => 'Directory', -textvariable => \$dir, -width => 30, -button => \$button);
    my $box = $e2->parent;
    isnt($box, $f, 'with a button: a frame of its own');
    is(grid_of($box), 'row=3 column=0 columnspan=1 sticky=w', 'left-aligned in the next row');
    my ($l2) = grep { $_->isa('Tk::Label') } $box->children;
    is($l2->cget('-text'), 'Directory', 'label text');
    is(grid_of($l2), 'row=0 column=0 columnspan=1 sticky=nw', 'label top left');
    isa_ok($button, 'Tk::Button', 'the button handed back');
    is($button->parent, $box, 'in the frame');
    is(grid_of($button), 'row=0 column=1 columnspan=1 sticky=ne', 'button top right');
    is($button->cget('-text'), '', 'without text');
    ok(!$button->cget('-command'), 'without command');
    is(grid_of($e2), 'row=1 column=0 columnspan=2 sticky=w', 'entry below, across both');
    is($e2->cget('-width'), 30, 'given width');

    my $unset;
    internal_errors_are(
        [sub { GuiEntryCreate($f, -text => 'x') },                        'Internal error: GuiEntryCreate'],
        [sub { GuiEntryCreate($f, -text => 'x', -textvariable => \$unset) }, 'Internal error: GuiEntryCreate'],
    );
};

subtest 'frame colour' => sub {
    my $f = $mw->Frame(-background => 'white');
    my @cases = (['white', 'white'], [undef, 'gray'], ['', 'gray'], ['#000088', '#000088']);
    for my $c (@cases) {
        GuiFrameColorSet($f, $c->[0]);
        is($f->cget('-background'), $c->[1], 'colour ' . ($c->[0] // 'missing'));
    }
};

subtest 'drop-down list' => sub {
    my $f = $mw->Frame->pack;
    my $colour = 'Blue';
    my @picked;
    my $dd = GuiDropdownCreate($f, -variable => \$colour, -entries => [qw(Black Blue Red)], -width => 10,
        -command => sub { push @picked, $colour });
    is($dd->cget('-state'), 'readonly', 'read-only');
    is($dd->Subwidget('entry')->cget('-state'), 'disabled', 'nothing can be typed');
    is($dd->Subwidget('entry')->get, 'Blue', 'shows the variable');
    is_deeply([$dd->Subwidget('slistbox')->get(0, 'end')], [qw(Black Blue Red)], 'entries in order');
    is($dd->Subwidget('entry')->cget('-width'), 10, 'width');
    is(grid_of($dd), 'row=0 column=0 columnspan=1 sticky=w', 'left-aligned');
    my $labelled = GuiDropdownCreate($f, -variable => \$colour, -entries => ['Red'], -label => 'Colour');
    is_deeply([grep { $_->isa('Tk::Label') && $_->manager } $dd->Descendants, $labelled->Descendants], [],
        'its own label takes no space');

    # What the user's pick does: the list's selection is copied and the command runs.
    $dd->Subwidget('slistbox')->selectionSet(2);
    $dd->LbChoose(0, 0);
    is($colour, 'Red', 'picking an entry sets the variable');
    is_deeply(\@picked, ['Red'], 'and runs the command after');

    my $g = GuiDropdownCreate($f, -variable => \$colour, -entries => ['Red'], -grid => [-row => 5, -column => 1]);
    is(grid_of($g), 'row=5 column=1 columnspan=1 sticky=', 'the -grid options');

    my $unset;
    internal_errors_are(
        [sub { GuiDropdownCreate($f, -entries => ['a']) },                          'Internal error: GuiDropdownCreate-1'],
        [sub { GuiDropdownCreate($f, -variable => \$unset, -entries => ['a']) },    'Internal error: GuiDropdownCreate-1'],
        [sub { GuiDropdownCreate($f, -variable => \$colour) },                      'Internal error: GuiDropdownCreate-2-1'],
        [sub { GuiDropdownCreate($f, -variable => \$colour, -entries => []) },      'Internal error: GuiDropdownCreate-2-2'],
        [sub { GuiDropdownCreate($f, -variable => \$colour, -entries => ['a', '']) },
                                                                       "Internal error:\nGuiDropdownCreate-2-3: Item 1"],
        [sub { GuiDropdownCreate($f, -variable => \$colour, -entries => 'a') },     'Internal error: GuiDropdownCreate-2'],
    );
};

subtest 'labelled drop-down row' => sub {
    my $f = $mw->Frame->pack;
    my $lang = 'Fortran 90';
    my $dd = GuiDropdownRowCreate($f, -row => 2, -text => 'Language', -width => 12,
        -entries => ['Fortran 77', 'Fortran 90'], -variable => \$lang, -balloon => 'Source language');
    my $right = $dd->parent;
    my ($left) = grep { $_ ne $right && $_->isa('Tk::Frame') } $f->children;
    is(grid_of($left), 'row=2 column=0 columnspan=1 sticky=nw', 'left frame');
    is(grid_of($right), 'row=2 column=1 columnspan=1 sticky=ne', 'right frame');
    my ($label) = $left->children;
    is($label->cget('-text') . '/' . $label->cget('-width'), 'Language/12', 'label with the other options');
    is($label->manager, 'pack', 'packed in the left frame');
    is($dd->manager, 'pack', 'drop-down packed in the right frame');
    is($dd->cget('-state'), 'readonly', 'read-only');
    is($dd->Subwidget('entry')->get, 'Fortran 90', 'bound to the variable');
    is_deeply([$dd->Subwidget('slistbox')->get(0, 'end')], ['Fortran 77', 'Fortran 90'], 'entries');
    is(balloon_of($label), 'Source language', 'balloon on the label');

    my $free = GuiDropdownRowCreate($f, -text => 'Dialect');
    is(grid_of($free->parent), 'row=3 column=1 columnspan=1 sticky=ne', 'no -row: the next free row');
    is($free->Subwidget('slistbox')->size, 0, 'no entries: an empty list');
};

done_testing();
