# The five top-level menus by name: switching a whole menu, and the routines
# that add command entries to them.
use strict;
use warnings;

our ($AnalyzerActionLabel, $DEBUG, $RefDebug);
our ($MenuAction, $MenuFile, $MenuHelp, $MenuProject, $MenuReport);

our @AnalyzerTopLevelMenus = qw(Action File Help Project Report);
our @MenuItemsAction  = ($AnalyzerActionLabel);
our @MenuItemsFile    = ('Select All', 'Select None', 'Add File', 'Remove File');
our @MenuItemsHelp    = ();
our @MenuItemsProject = ('New', 'Open', 'Close', 'Save', 'Save As...', 'Exit');
our @MenuItemsReport  = ('Save', 'Save As', 'Print');

sub AnalyzerMenuControl {
    my ($enable, @names) = @_;
    my $rtn = 'AnalyzerMenuControl';
    $RefDebug->($rtn) if $DEBUG;
    for my $name (@names) {
        UtilInternalError("$rtn-1: $name") unless grep { $_ eq $name } @AnalyzerTopLevelMenus;
        no strict 'refs';
        my $menu  = ${"main::Menu$name"};
        my @items = @{"main::MenuItems$name"};
        my $ok = eval { GuiMenuItemsEnable($enable, $menu, \@items); 1 };
        UtilInternalError("$rtn-2: $name") unless $ok;
    }
    return;
}

for my $name (sort @AnalyzerTopLevelMenus) {
    my $routine = "Analyzer${name}CommandAdd";
    UtilRoutineDefine("sub $routine { return GuiMenuCommandAdd(\$main::Menu$name, \@_); }")
        or UtilInternalError("$routine: compilation error");
}
