# The report notebook: pages, viewports, report colours, switching and
# raising pages.
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




my @reports = ([REPORT_ANALYSIS => 'Analysis'], [REPORT_STATISTICS => 'Statistics'],
               [REPORT_CALLTREE => 'Call Tree'], [REPORT_XREF => 'Cross Reference']);

subtest 'nothing works before the notebook exists' => sub {
    internal_errors_are(
        [sub { GuiNotebookPageAdd(-name => 'REPORT_ANALYSIS') }, 'Internal error: GuiNotebookPageAdd'],
        [sub { GuiNotebookShow() },                              'Internal error: GuiNotebookShow'],
        [sub { GuiNotebookPageRaise('REPORT_ANALYSIS') },        'Internal error: GuiNotebookPageRaise-1'],
        [sub { GuiNotebookPagesEnable(1, ['REPORT_ANALYSIS']) }, 'Internal error: GuiNotebookPagesEnable-4'],
        [sub { GuiNotebookCreate() },                            'Internal error: GuiNotebookCreate'],
    );
};

my $holder = $mw->Frame->pack(-expand => 1, -fill => 'both');
my (%frame, @viewports);

subtest 'notebook, pages and viewports' => sub {
    GuiNotebookCreate($holder);
    my $nb = $main::viewopt;
    isa_ok($nb, 'Tk::NoteBook', 'the report notebook');
    is($nb->parent, $holder, 'in the given frame');
    is($nb->manager, undef, 'not laid out yet');
    is_deeply(font_of($nb), font_of($main::FontID_TabDataLabels), 'tab font');

    for my $r (@reports) {
        $frame{$r->[0]} = GuiNotebookPageAdd(-name => $r->[0], -label => $r->[1]);
        push @viewports, GuiViewportCreate($frame{$r->[0]});
    }
    is_deeply([$nb->pages], [map { $_->[0] } @reports], 'one page per report, in order');
    is_deeply([map { $nb->pagecget($_->[0], '-label') } @reports], [map { $_->[1] } @reports], 'tab labels');
    my %pack = $frame{REPORT_XREF}->packInfo;
    is_deeply([@pack{qw(-expand -fill)}], [1, 'both'], 'page frame fills its page');
    is($frame{REPORT_XREF}->parent, $nb->page_widget('REPORT_XREF'), 'inside the page');

    my $vp = $viewports[0];
    isa_ok($vp->Subwidget('scrolled'), 'Tk::ROText', 'a read-only text');
    my $text = $vp->Subwidget('scrolled');
    is($vp->cget('-scrollbars'), 'seo', 'scroll bars south and east, when needed');
    is(join('/', map { $text->cget($_) } qw(-relief -background -width -height -insertbackground -wrap)),
        'sunken/gray/100/10/#FFFFFF/none', 'viewport look');
    is_deeply(font_of($vp), font_of('Courier 10 normal'), 'report text font on UNIX');
    %pack = $vp->packInfo;
    is_deeply([@pack{qw(-side -expand -fill)}], ['right', 1, 'both'], 'packed right, filling the page');
    is_deeply([@main::GuiTabDataViewportList], \@viewports, 'every viewport recorded in order');

    local $main::FontID_TabDataText = '';
    my $extra = $mw->Frame;
    my $plain = GuiViewportCreate($extra);
    is_deeply(font_of($plain), font_of($extra->ROText), 'empty font setting: the toolkit default');
    pop @main::GuiTabDataViewportList;

    internal_errors_are(
        [sub { GuiNotebookPageAdd(-label => 'No name') }, 'Internal error: GuiNotebookPageAdd-1'],
        [sub { GuiViewportCreate() },                     'Internal error: GuiViewportCreate'],
    );
};

subtest 'show, raise and long lines' => sub {
    my $nb = $main::viewopt;
    GuiNotebookShow();
    my %pack = $nb->packInfo;
    is_deeply([@pack{qw(-side -expand -fill)}], ['top', 1, 'both'], 'packed at the top, filling its frame');
    $mw->update;

    GuiNotebookPageRaise('REPORT_CALLTREE');
    $mw->update;
    is($nb->raised, 'REPORT_CALLTREE', 'the named page is in front');
    ok($viewports[2]->ismapped && !$viewports[0]->ismapped, 'its report shows, the others do not');

    $viewports[2]->insert('end', ('x' x 300) . "\n");
    $mw->update;
    is($viewports[2]->index('end - 1 chars'), '2.0', 'a long line stays one line');
    ok($viewports[2]->Subwidget('xscrollbar')->ismapped, 'it scrolls sideways');

    internal_errors_are([sub { GuiNotebookPageRaise('') }, 'Internal error: GuiNotebookPageRaise']);
};

subtest 'report colour' => sub {
    my $colours = sub { join ' ', map { $_->Subwidget('scrolled')->cget('-foreground') } @viewports };
    my @cases = (
        ['Red',   '#880000'],
        ['Green', '#880000'],
        ['',      '#880000'],
        [undef,   '#880000'],
        ['blue',  '#880000'],
        ['Blue',  '#000088'],
        ['Black', 'Black'],
    );
    for my $c (@cases) {
        GuiViewportColorSet($c->[0]);
        is($colours->(), join(' ', ($c->[1]) x @viewports), 'colour ' . ($c->[0] // 'missing'));
    }
};

subtest 'switching pages' => sub {
    my $nb = $main::viewopt;
    my $states = sub { join ' ', map { $nb->pagecget($_->[0], '-state') } @reports };

    GuiNotebookPagesEnable(0, ['REPORT_XREF']);
    is($states->(), 'normal normal normal disabled', 'one name switches only that page');
    GuiNotebookPagesEnable('no', 'REPORT_ANALYSIS', 'REPORT_STATISTICS');
    is($states->(), 'disabled disabled normal disabled', 'names as a list');

    GuiNotebookPageRaise('REPORT_ANALYSIS');
    is($nb->raised, 'REPORT_CALLTREE', 'a disabled page cannot be brought to the front');

    GuiNotebookPagesEnable(1, [map { $_->[0] } @reports]);
    is($states->(), 'normal normal normal normal', 'all enabled again');
    GuiNotebookPageRaise('REPORT_ANALYSIS');
    is($nb->raised, 'REPORT_ANALYSIS', 'and can be raised');

    internal_errors_are(
        [sub { GuiNotebookPagesEnable(1) },                          'Internal error: GuiNotebookPagesEnable-1'],
        [sub { GuiNotebookPagesEnable(1, undef) },                   'Internal error: GuiNotebookPagesEnable-1'],
        [sub { GuiNotebookPagesEnable(1, []) },                      'Internal error: GuiNotebookPagesEnable-2'],
        [sub { GuiNotebookPagesEnable(1, ['REPORT_XREF', '']) },     "Internal error:\nGuiNotebookPagesEnable-3: Item 1"],
    );
};

done_testing();
