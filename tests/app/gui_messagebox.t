# Message boxes: what the user is shown and what the callers get back.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use QuarlTest;

app_load();
plan(skip_all => 'no display') unless $ENV{DISPLAY};
no warnings qw(once redefine);

# Script the user's answer at the one place where a box waits, and record
# what the box showed.
my @shown;
my $answer_with = sub { 'OK' };
*main::GuiDialogWait = sub {
    my ($box) = @_;
    my @buttons = map { $_->cget(-text) } grep { $_->isa('Tk::Button') } $box->Subwidget('bottom')->children;
    my ($label) = grep { $_->isa('Tk::Label') } map { $_->children } grep { $_->isa('Tk::Frame') }
                  $box->Subwidget('top')->children;
    push @shown, {title => $box->title, buttons => \@buttons, text => $label ? $label->cget(-text) : undef,
                  justify => $label ? $label->cget(-justify) : undef, in_box => main::GuiInDialogBoxGet()};
    return $answer_with->(\@buttons);
};

subtest 'misuse' => sub {
    # Children that end the process use a window of their own: the parent's
    # connection to the display must not be shared.
    my @cases = (
        [sub { GuiMessageBox('t', "\n\n\n", 'OK') }, "Internal error: GuiMessageBox-2\n", 'only newlines'],
        [sub { GuiMessageBox('', 'm', 'OK') },       "Internal error: GuiMessageBox-2\n", 'no title'],
        [sub { GuiMessageBox('t', 'm') },            "Internal error: GuiMessageBox-2\n", 'no first label'],
        [sub { GuiLabelCreate($main::MW) },                "Internal error: GuiLabelCreate\n",  'label without text'],
        [sub { $main::GuiStarted = 0; GuiErrorShow('x') }, "Internal error: GuiErrorShow\n", 'error box before start'],
        [sub { *main::GuiDialogWait = sub { GuiMessageShow('inner', 'second box') }; GuiMessageShow('o', 'm') },
             "Internal error: GuiMessageBox-1\n", 'a second box while one is open'],
    );
    for my $c (@cases) {
        my $r = run_child(sub { gui_window(); $c->[0]->() });
        is($r->{err}, $c->[1], $c->[2]);
        is($r->{status}, 1, "$c->[2]: status 1");
    }
};

subtest 'reports go to a box once the window is started' => sub {
    local $main::GuiStarted = 1;
    $answer_with = sub { 'OK' };
    my $r = run_child(sub { gui_window(); UtilWarning('disk almost full'); print "went on\n" });
    is($r->{err}, '', 'nothing on the console');
    is($r->{out}, "went on\n", 'a warning returns');
    my $r2 = run_child(sub { gui_window(); UtilFatalError('cannot go on'); print "went on\n" });
    is($r2->{status}, 1, 'a fatal error ends with status 1 after its box');
    is($r2->{out} . $r2->{err}, '', 'and says nothing on the console');
    my $r3 = run_child(sub {
        gui_window();
        *main::GuiDialogWait = sub { UtilInternalError('inside a box'); };
        GuiErrorShow('first');
    });
    is($r3->{err}, "Internal error: inside a box\n", 'an error while a box is open goes to the console');
    my $r4 = run_child(sub {
        gui_window();
        GuiErrorShow('');
        UtilWarning('');
        print join('|', map { "$_->{title}:$_->{text}" } @shown);
    });
    is($r4->{out}, 'Error:???|Warning:???', 'empty messages are shown as ???');
};

my $mw = gui_window();

subtest 'titles, buttons and answers' => sub {
    my @cases = (
        [sub { GuiMessageShow('Printer status', 'Print job cancelled') }, 'Printer status', ['OK']],
        [sub { GuiWarningShow('careful') },                  'Warning',  ['OK']],
        [sub { GuiQuestionAsk('Proceed?') },                 'Question', ['OK', 'Cancel']],
        [sub { GuiQuestionAsk('Remove', 'Remove files?') },  'Remove',   ['OK', 'Cancel']],
        [sub { GuiYesNoAsk('Save?') },                       'Question', ['Yes', 'No']],
        [sub { GuiYesNoCancelAsk('T', 'Save changes?') },    'T',        ['Yes', 'No', 'Cancel']],
        [sub { GuiMessageBox('Three', 'm', 'A', undef, 'C') }, 'Three',  ['A', 'C']],
        [sub { GuiMessageShow('', '') },                     '???',      ['OK']],
    );
    for my $c (@cases) {
        @shown = ();
        $answer_with = sub { $_[0][-1] };
        my $answer = $c->[0]->();
        is($shown[0]{title}, $c->[1], "title $c->[1]");
        is_deeply($shown[0]{buttons}, $c->[2], 'buttons ' . join(',', @{$c->[2]}));
        is($answer, $c->[2][-1], 'the pressed label is returned');
        ok($shown[0]{in_box}, 'a box is open while it waits');
        is(GuiInDialogBoxGet(), 0, 'and closed afterwards');
    }
    $answer_with = sub { "  Yes \n" };
    is(GuiYesNoAsk('q'), 'Yes', 'the answer is normalised');
    $answer_with = sub { '' };
    is(GuiYesNoCancelAsk('q'), '', 'a box closed without a button answers empty');
};

subtest 'message limits' => sub {
    @shown = ();
    $answer_with = sub { 'OK' };
    my $long = join "\n", map { "line $_" } 1 .. 30;
    GuiMessageShow('t', $long);
    is($shown[0]{text}, join("\n", map { "line $_" } 1 .. 25), '30 lines show the first 25');
    GuiMessageShow('t', ('x' x 80) . "\n" . ('y' x 75) . "\n\n\n");
    is($shown[1]{text}, ('x' x 75) . "\n" . ('y' x 75), '80 characters cut to 75, 75 kept, trailing empty lines gone');
    is($shown[1]{justify}, 'left', 'lines line up on the left');
};

subtest 'a real button press' => sub {
    # The genuine wait, with the press coming from the event loop.
    local *main::GuiDialogWait = sub {
        my ($box) = @_;
        $box->after(200, sub { $box->Subwidget('B_No')->invoke });
        my $a = $box->Show;
        return defined $a ? $a : '';
    };
    is(GuiYesNoCancelAsk('Really?'), 'No', 'pressing No returns No');
};

done_testing();
