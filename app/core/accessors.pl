# Read access to the configuration for the help browser, which lives in a
# package of its own.
use strict;
use warnings;

our ($DIRSEPNAME, $SysHelpDir, $SysHelpFile, $MW, $ManFile, $SysProgDir, $ProgName, $ProgRev);
our ($IsWindows);

sub GetDirSepName { return $DIRSEPNAME }
sub GetHelpDir    { return $SysHelpDir }
sub GetHelpFile   { return $SysHelpFile }
sub GetMainWindow { return $MW }
sub GetManFile    { return $ManFile }
sub GetProgDir    { return $SysProgDir }
sub GetProgName   { return $ProgName }
sub GetProgRev    { return $ProgRev }

# Defines a routine from its source text while warnings count as errors;
# true when the definition compiled.
sub UtilRoutineDefine {
    my ($source) = @_;
    local $SIG{__WARN__} = sub { die $_[0] };
    local $@;
    return eval "no warnings 'redefine'; $source; 1" ? 1 : 0;
}

# Binds NAME to NAMEWindows or NAMEUNIX, whichever platform we run on.
sub UtilVariantBind {
    my ($name) = @_;
    my $variant = $name . ($IsWindows ? 'Windows' : 'UNIX');
    no strict 'refs';
    no warnings 'redefine';
    UtilInternalError("UtilVariantBind: $variant") unless defined &{"main::$variant"};
    *{"main::$name"} = \&{"main::$variant"};
    return;
}
