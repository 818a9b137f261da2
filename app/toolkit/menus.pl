# Menu entries: appending commands and cascades in the application's look,
# and switching entries on and off by their labels.
use strict;
use warnings;

our ($DEBUG, $RefDebug, $FontID_MenuItems);

sub GuiMenuEntryFontOptions {
    my $rtn = 'GuiMenuEntryFontOptions';
    $RefDebug->($rtn) if $DEBUG;
    return (defined $FontID_MenuItems && $FontID_MenuItems ne '') ? (-font => $FontID_MenuItems) : ();
}

sub GuiMenuCommandAdd {
    my ($menu, $command, $label, $underline) = @_;
    my $rtn = 'GuiMenuCommandAdd';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn-1") unless $menu;
    UtilInternalError("$rtn-2") if !defined $label || $label eq '';
    my @options = (-label => $label, GuiMenuEntryFontOptions());
    push @options, -command => $command if defined $command;
    # Only a position of plain digits inside the label marks a letter: Tk
    # dies on text, and a position past the end would mark nothing.
    push @options, -underline => $underline + 0
        if defined $underline && $underline =~ /\A[0-9]+\z/ && $underline < length $label;
    $menu->add('command', @options);
    return;
}

sub GuiMenuCascadeAdd {
    my ($menu, $submenu, $label) = @_;
    my $rtn = 'GuiMenuCascadeAdd';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn-1") unless $menu;
    UtilInternalError("$rtn-2") unless $submenu;
    UtilInternalError("$rtn-3") if !defined $label || $label eq '';
    $menu->add('cascade', -label => $label, GuiMenuEntryFontOptions());
    # The entry just appended, not the first one carrying the label.
    $menu->entryconfigure('last', -menu => $submenu);
    return;
}

# The labels come as one array reference; a flat list of labels is taken
# as well, since it cannot be mistaken for a missing list.
sub GuiMenuItemsEnable {
    my ($enable, $menu, @rest) = @_;
    my $rtn = 'GuiMenuItemsEnable';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn-1") unless $menu;
    my $labels = (@rest == 1 && (ref $rest[0] eq 'ARRAY' || !defined $rest[0])) ? $rest[0] : \@rest;
    UtilInternalError("$rtn-2") if !@rest || !defined $labels;
    for my $label (@$labels) {
        UtilInternalError("$rtn-3") if !defined $label || $label eq '';
    }
    # Enabled means "normal". "active" would draw the entry as if the pointer
    # were on it; Tk allows one active entry, so the last one enabled would
    # stay highlighted and keyboard traversal would start there.
    my @look = UtilBooleanParse($enable)
        ? (-state => 'normal',   -foreground => 'black')
        : (-state => 'disabled', -foreground => 'grey');
    $menu->entryconfigure($_, @look) for @$labels;
    return;
}

sub GuiMenuEnable {
    my ($menu, @labels) = @_;
    my $rtn = 'GuiMenuEnable';
    $RefDebug->($rtn) if $DEBUG;
    GuiMenuItemsEnable(1, $menu, (@labels == 1 && ref $labels[0] eq 'ARRAY') ? $labels[0] : \@labels);
    return;
}

sub GuiMenuDisable {
    my ($menu, @labels) = @_;
    my $rtn = 'GuiMenuDisable';
    $RefDebug->($rtn) if $DEBUG;
    GuiMenuItemsEnable(0, $menu, (@labels == 1 && ref $labels[0] eq 'ARRAY') ? $labels[0] : \@labels);
    return;
}
