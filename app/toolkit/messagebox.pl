# Message boxes: one modal box at a time, and the label that carries the
# message.
use strict;
use warnings;

our ($MW, $OK, $CANCEL, $GuiStarted, $DEBUG, $RefDebug);

our $InDialogBox                = 0;
our $MAX_DIALOG_BOX_LINE_COUNT  = 25;
our $MAX_DIALOG_BOX_LINE_LENGTH = 75;
our $DialogMinWidth             = 150;
our $DialogMinHeight            = 75;

sub GuiMessageBox {
    my ($title, $message, $label1, $label2, $label3) = @_;
    my $rtn = 'GuiMessageBox';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn-1") if $InDialogBox;
    $InDialogBox = 1;
    ($title, $message, $label1, $label2, $label3) =
        map { defined $_ ? $_ : '' } ($title, $message, $label1, $label2, $label3);

    my @lines = split /\n/, $message;
    splice @lines, $MAX_DIALOG_BOX_LINE_COUNT if @lines > $MAX_DIALOG_BOX_LINE_COUNT;
    $_ = substr($_, 0, $MAX_DIALOG_BOX_LINE_LENGTH) for @lines;
    $message = join "\n", @lines;

    ($label2, $label3) = ($label3, '') if $label3 ne '' && $label2 eq '';
    UtilInternalError("$rtn-2") if $title eq '' || $message eq '' || $label1 eq '';

    my @buttons = grep { $_ ne '' } ($label1, $label2, $label3);
    my $box = $MW->DialogBox(-title => $title, -buttons => \@buttons, -default_button => $label1);
    $box->minsize($DialogMinWidth, $DialogMinHeight);
    my $frame = $box->add('Frame')->pack(-side => 'left');
    GuiLabelCreate($frame, -text => $message, -anchor => 'w');

    my $answer = GuiDialogWait($box);
    $box->destroy if Tk::Exists($box);
    $answer = UtilTextNormalize($answer);
    $InDialogBox = 0;
    return $answer;
}

# The one place where a message box waits for the user; it returns the label
# of the button pressed, or the empty string when the box went away without one.
sub GuiDialogWait {
    my ($box) = @_;
    my $answer = $box->Show;
    return defined $answer ? $answer : '';
}

sub GuiMessageShow {
    my ($title, $message) = @_;
    $title   = '???' if !defined $title   || $title eq '';
    $message = '???' if !defined $message || $message eq '';
    return GuiMessageBox($title, $message, $OK);
}

sub GuiWarningShow {
    my ($message) = @_;
    return GuiMessageShow('Warning', $message);
}

sub GuiErrorShow {
    my ($message) = @_;
    my $rtn = 'GuiErrorShow';
    UtilInternalError($rtn) unless $GuiStarted;
    $message = '???' if !defined $message || $message eq '';
    return GuiMessageShow('Error', $message);
}

sub GuiFatalErrorShow {
    my ($message) = @_;
    GuiMessageShow('Fatal Error', $message);
    UtilExit(1);
}

# Questions take a title and a message, or the message alone.
sub GuiQuestionArgs {
    my @args = @_;
    my ($title, $message) = @args == 1 ? ('Question', $args[0]) : @args[0, 1];
    $title   = '???' if !defined $title   || $title eq '';
    $message = '???' if !defined $message || $message eq '';
    return ($title, $message);
}

sub GuiQuestionAsk    { return GuiMessageBox(GuiQuestionArgs(@_), $OK, $CANCEL) }
sub GuiYesNoAsk       { return GuiMessageBox(GuiQuestionArgs(@_), 'Yes', 'No') }
sub GuiYesNoCancelAsk { return GuiMessageBox(GuiQuestionArgs(@_), 'Yes', 'No', $CANCEL) }

sub GuiInDialogBoxGet { return $InDialogBox }

sub GuiLabelCreate {
    my ($frame, %opt) = @_;
    my $rtn = 'GuiLabelCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless defined $opt{-text};
    my %label = (-text => delete $opt{-text}, -justify => delete $opt{-justify} || 'left');
    my $fg = delete $opt{-foreground};
    $label{-foreground} = $fg if defined $fg;
    $frame->Label(%label)->pack(%opt, -side => 'top', -ipadx => 15, -ipady => 2);
    return;
}
