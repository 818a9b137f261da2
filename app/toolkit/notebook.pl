# The report notebook: one page per report, each holding a viewport (a
# scrolled read-only text); colouring the reports, switching and raising
# the pages.
use strict;
use warnings;

our ($DEBUG, $RefDebug, $FontID_TabDataLabels, $FontID_TabDataText, %GuiToTkColorMap);

# The report notebook, and every viewport in the order made.
our $viewopt;
our @GuiTabDataViewportList;

sub GuiNotebookCreate {
    my ($frame) = @_;
    my $rtn = 'GuiNotebookCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $frame;
    my @font = (defined $FontID_TabDataLabels && $FontID_TabDataLabels ne '') ? (-font => $FontID_TabDataLabels) : ();
    $viewopt = $frame->NoteBook(@font);
    return;
}

sub GuiNotebookPageAdd {
    my (%options) = @_;
    my $rtn = 'GuiNotebookPageAdd';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $viewopt;
    my $name = delete $options{-name};
    UtilInternalError("$rtn-1") if !defined $name || $name eq '';
    my $page = $viewopt->add($name, %options);
    my $frame = $page->Frame;
    $frame->pack(-expand => 1, -fill => 'both');
    return $frame;
}

sub GuiViewportCreate {
    my ($frame) = @_;
    my $rtn = 'GuiViewportCreate';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $frame;
    my @font = (defined $FontID_TabDataText && $FontID_TabDataText ne '') ? (-font => $FontID_TabDataText) : ();
    # No wrapping: report lines are laid out in columns and scroll sideways.
    my $viewport = $frame->Scrolled('ROText',
        -relief           => 'sunken',
        -scrollbars       => 'seo',
        -background       => 'gray',
        -width            => 100,
        -height           => 10,
        -insertbackground => '#FFFFFF',
        -wrap             => 'none',
        @font);
    $viewport->pack(-side => 'right', -expand => 1, -fill => 'both');
    push @GuiTabDataViewportList, $viewport;
    return $viewport;
}

# A name outside the colour table leaves the text colour as it is.
sub GuiViewportColorSet {
    my ($name) = @_;
    my $rtn = 'GuiViewportColorSet';
    $RefDebug->($rtn) if $DEBUG;
    return if !defined $name || $name eq '' || !exists $GuiToTkColorMap{$name};
    $_->configure(-foreground => $GuiToTkColorMap{$name}) for @GuiTabDataViewportList;
    return;
}

# The page names come as one array reference, or as a list.
sub GuiNotebookPagesEnable {
    my ($enable, @rest) = @_;
    my $rtn = 'GuiNotebookPagesEnable';
    $RefDebug->($rtn) if $DEBUG;
    my $names = (@rest == 1 && (ref $rest[0] eq 'ARRAY' || !defined $rest[0])) ? $rest[0]
              : @rest ? \@rest : undef;
    UtilArrayCheck($rtn, $names);
    UtilInternalError("$rtn-4") unless $viewopt;
    my $state = UtilBooleanParse($enable) ? 'normal' : 'disabled';
    $viewopt->pageconfigure($_, -state => $state) for @$names;
    return;
}

sub GuiNotebookPageRaise {
    my ($name) = @_;
    my $rtn = 'GuiNotebookPageRaise';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) if !defined $name || $name eq '';
    UtilInternalError("$rtn-1") unless $viewopt;
    $viewopt->raise($name);
    return;
}

sub GuiNotebookShow {
    my $rtn = 'GuiNotebookShow';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) unless $viewopt;
    $viewopt->pack(-side => 'top', -expand => 1, -fill => 'both');
    return;
}
