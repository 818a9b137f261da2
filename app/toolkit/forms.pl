# Form widgets of the setup screen and the settings registry: scrolled
# lists, checkbuttons, labels, labelled entries and read-only drop-down
# lists, laid out on the grid in one fixed look.
use strict;
use warnings;

our ($DEBUG, $RefDebug, $HelpBalloon);

our $ListboxDefaultWidth          = 16;
our $ListboxDefaultHeight         = 11;
our $DEFAULT_GUI_TEXT_ENTRY_WIDTH = 45;
our $CHECKBOX_INDENT_VALUE        = 12;
our $WIDTH_PAD_LABEL              = 26;

sub GuiFormBalloonAttach {
    my ($widget, $text) = @_;
    my $rtn = 'GuiFormBalloonAttach';
    $RefDebug->($rtn) if $DEBUG;
    $HelpBalloon->attach($widget, -balloonmsg => $text)
        if $HelpBalloon && defined $text && $text ne '';
    return;
}

# Grid options come as an array or a hash reference; none means the next
# free row, aligned to the west.
sub GuiFormGridOptions {
    my ($grid) = @_;
    my $rtn = 'GuiFormGridOptions';
    $RefDebug->($rtn) if $DEBUG;
    return (-sticky => 'w') unless $grid;
    return %$grid if ref $grid eq 'HASH';
    UtilInternalError($rtn) unless ref $grid eq 'ARRAY';
    return @$grid;
}

sub GuiListboxCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiListboxCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $frame;
    my $width   = delete $options{-width};
    my $height  = delete $options{-height};
    my $entries = delete $options{-entries};
    my $grid    = delete $options{-grid};
    UtilInternalError("$rtn-1") if defined $entries && ref $entries ne 'ARRAY';
    my $list = $frame->Scrolled('Listbox', %options,
        -scrollbars => 'eo',
        -relief     => 'sunken',
        -width      => defined $width  ? $width  : $ListboxDefaultWidth,
        -height     => defined $height ? $height : $ListboxDefaultHeight);
    $list->insert('end', @$entries) if $entries;
    $list->grid(GuiFormGridOptions($grid));
    return $list;
}

sub GuiListboxEnable {
    my ($list, $enable, $index) = @_;
    my $rtn = 'GuiListboxEnable';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) if !$list || !defined $enable;
    if (UtilBooleanParse($enable)) {
        $list->configure(-background => 'white', -selectmode => 'multiple',
            -highlightcolor => 'blue', -exportselection => 0);
        $list->selectionSet($index) if defined $index && $index ne '';
    } else {
        $list->configure(-background => 'gray', -selectmode => 'browse', -highlightcolor => 'gray');
        $list->selectionClear(0, 'end');
    }
    return;
}

sub GuiCheckbuttonCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiCheckbuttonCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilVarCheck($rtn, $options{-variable});
    # Project keys are turned into variables by the settings registry.
    UtilInternalError($rtn) if exists $options{-projkey};
    UtilInternalError("$rtn-1") unless $frame;
    my $balloon = delete $options{-balloon};
    my $button = $frame->Checkbutton(%options, -onvalue => 1, -offvalue => 0, -highlightthickness => 0);
    GuiFormBalloonAttach($button, $balloon);
    return $button;
}

sub GuiCheckbuttonsEnableByName {
    my ($enable, $table, @names) = @_;
    my $rtn = 'GuiCheckbuttonsEnableByName';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn-1") unless ref $table eq 'HASH';
    @names = @{$names[0]} if @names == 1 && ref $names[0] eq 'ARRAY';
    my $state = UtilBooleanParse($enable) ? 'normal' : 'disabled';
    for my $name (@names) {
        UtilInternalError("$rtn-2: " . (defined $name ? $name : ''))
            if !defined $name || !$table->{$name};
    }
    $table->{$_}->configure(-state => $state) for @names;
    return;
}

sub GuiWidgetsGrid {
    my (@widgets) = @_;
    my $rtn = 'GuiWidgetsGrid';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn-1") unless @widgets;
    UtilInternalError("$rtn-2") if grep { !$_ } @widgets;
    for my $widget (@widgets) {
        my (undef, $rows) = $widget->parent->gridSize;
        $widget->grid(-row => $rows, -column => 0, -sticky => 'w');
    }
    return;
}

sub GuiLabelGridCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiLabelGridCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $frame;
    my $balloon = delete $options{-balloon};
    my $grid    = delete $options{-grid};
    my $label = $frame->Label(%options);
    $label->grid(GuiFormGridOptions($grid));
    GuiFormBalloonAttach($label, $balloon);
    return $label;
}

# The label and its entry; with -button, a frame that also holds an empty
# button beside the label, handed back for the caller to fill in.
sub GuiEntryCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiEntryCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilVarCheck($rtn, $options{-textvariable});
    UtilInternalError("$rtn-1") unless $frame;
    my $text     = delete $options{-text};
    my $width    = delete $options{-width};
    my $balloon  = delete $options{-balloon};
    my $buttonto = delete $options{-button};
    UtilInternalError("$rtn-2") if defined $buttonto && ref $buttonto ne 'SCALAR' && ref $buttonto ne 'REF';
    $width = $DEFAULT_GUI_TEXT_ENTRY_WIDTH if !defined $width || $width eq '';
    my @label = defined $text ? (-text => $text) : ();
    my ($label, $entry);
    if ($buttonto) {
        my $box = $frame->Frame;
        $box->grid(-sticky => 'w');
        $label = $box->Label(@label);
        $label->grid(-row => 0, -column => 0, -sticky => 'nw');
        my $button = $box->Button;
        $button->grid(-row => 0, -column => 1, -sticky => 'ne');
        $entry = $box->Entry(%options, -width => $width);
        $entry->grid(-row => 1, -column => 0, -columnspan => 2, -sticky => 'w');
        $$buttonto = $button;
    } else {
        $label = $frame->Label(@label);
        $label->grid(-sticky => 'w');
        $entry = $frame->Entry(%options, -width => $width);
        $entry->grid(-sticky => 'w');
    }
    GuiFormBalloonAttach($label, $balloon);
    return $entry;
}

sub GuiFrameColorSet {
    my ($widget, $color) = @_;
    my $rtn = 'GuiFrameColorSet';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $widget;
    $color = 'gray' if !defined $color || $color eq '';
    $widget->configure(-background => $color);
    return;
}

sub GuiDropdownCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiDropdownCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilVarCheck("$rtn-1", $options{-variable});
    my $entries = delete $options{-entries};
    UtilInternalError("$rtn-2") if defined $entries && ref $entries ne 'ARRAY';
    UtilArrayCheck("$rtn-2", $entries);
    UtilInternalError("$rtn-3") unless $frame;
    my $command = delete $options{-command};
    my $width   = delete $options{-width};
    my $grid    = delete $options{-grid};
    my $dropdown = $frame->BrowseEntry(%options, -state => 'readonly',
        (defined $command ? (-browsecmd => $command) : ()),
        (defined $width && $width ne '' ? (-width => $width) : ()));
    $dropdown->insert('end', @$entries);
    $dropdown->grid(GuiFormGridOptions($grid));
    GuiDropdownLabelForget($dropdown);
    return $dropdown;
}

# The browse entry's built-in label would take room beside the list; the
# forms lay out labels of their own.
sub GuiDropdownLabelForget {
    my ($dropdown) = @_;
    my $rtn = 'GuiDropdownLabelForget';
    $RefDebug->($rtn) if $DEBUG;
    my $entry = $dropdown->Subwidget('entry');
    for my $label ($dropdown->Subwidget('label'), ($entry ? $entry->Subwidget('label') : ())) {
        $label->packForget if $label && $label->manager;
    }
    return;
}

sub GuiDropdownRowCreate {
    my ($frame, %options) = @_;
    my $rtn = 'GuiDropdownRowCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $frame;
    my $row      = delete $options{-row};
    my $entries  = delete $options{-entries};
    my $variable = delete $options{-variable};
    my $balloon  = delete $options{-balloon};
    (undef, $row) = $frame->gridSize unless defined $row && $row ne '';
    my $left  = $frame->Frame;
    my $right = $frame->Frame;
    $left->grid(-row => $row, -column => 0, -sticky => 'nw');
    $right->grid(-row => $row, -column => 1, -sticky => 'ne');
    my $label = $left->Label(%options);
    $label->pack;
    my $dropdown = $right->BrowseEntry(-state => 'readonly', (defined $variable ? (-variable => $variable) : ()));
    $dropdown->pack;
    $dropdown->insert('end', @$entries) if ref $entries eq 'ARRAY';
    GuiFormBalloonAttach($label, $balloon);
    return $dropdown;
}
