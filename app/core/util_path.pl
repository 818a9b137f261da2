# Paths: absolute or not, directory and base name, programs on the search
# path, the web browser.
use strict;
use warnings;

our ($IsWindows, $DIRSEPENV, $DEBUG, $RefDebug, $Registry);

sub UtilPathIsAbsoluteWindows {
    my ($path) = @_;
    my $rtn = 'UtilPathIsAbsolute';
    UtilInternalError($rtn) if !defined $path || $path eq '';
    return $path =~ m{\A[A-Za-z]:[/\\]} ? 1 : 0;
}

sub UtilPathIsAbsoluteUNIX {
    my ($path) = @_;
    my $rtn = 'UtilPathIsAbsolute';
    UtilInternalError($rtn) if !defined $path || $path eq '';
    return $path =~ m{\A/} ? 1 : 0;
}

sub UtilPathDirGet {
    my ($path, %opt) = @_;
    my $rtn = 'UtilPathDirGet';
    $RefDebug->($rtn) if $DEBUG;
    my $mustexist = UtilBooleanParse($opt{-mustexist}, 1);
    return '' if !defined $path || $path eq '';
    return '' unless UtilPathIsAbsolute($path);
    return '' if $path =~ m{[/\\]\z};
    return '' if $mustexist && !-f $path;
    (my $dir = $path) =~ s{[^/\\]*\z}{};
    return -d $dir ? $dir : '';
}

sub UtilPathBaseGet {
    my ($path, %opt) = @_;
    my $rtn = 'UtilPathBaseGet';
    $RefDebug->($rtn) if $DEBUG;
    my $extension = UtilBooleanParse($opt{-extension}, 0);
    $path = '' unless defined $path;
    my $base;
    if ($IsWindows) {
        $path =~ s/\A[A-Za-z]://;
        ($base) = $path =~ m{([^/\\]*)\z};
    } else {
        ($base) = $path =~ m{([^/]*)\z};
    }
    UtilInternalError("$rtn-1") if $base eq '';
    UtilInternalError("$rtn-2") if $base =~ m{[/\\]};
    $base =~ s/\A(.[^.]*)\..*\z/$1/s unless $extension;
    return UtilTextNormalize($base);
}

sub UtilProgramFind {
    my ($name) = @_;
    my $rtn = 'UtilProgramFind';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError($rtn) if !defined $name || $name eq '';
    my $path = defined $ENV{PATH} ? $ENV{PATH} : '';
    for my $dir (split /\Q$DIRSEPENV\E+/, $path) {
        if ($IsWindows) {
            next unless $dir =~ m{\A[C-Zc-z]:[/\\]};
        } else {
            next unless $dir =~ m{\A/};
        }
        (my $candidate = "$dir/$name") =~ tr{\\}{/};
        $candidate =~ s{/+}{/}g;
        return $candidate if -f $candidate && -x _;
    }
    return '';
}

sub UtilBrowserFindUNIX {
    my $rtn = 'UtilBrowserFind';
    $RefDebug->($rtn) if $DEBUG;
    for my $browser (qw(netscape mozilla opera)) {
        my $path = UtilProgramFind($browser);
        return $path if $path ne '';
    }
    return '';
}

sub UtilBrowserFindWindows {
    my $rtn = 'UtilBrowserFind';
    $RefDebug->($rtn) if $DEBUG;
    my $command = eval { $Registry->{'HKEY_CLASSES_ROOT/HTTP/shell/open/command//'} };
    return '' if !defined $command || $command eq '';
    $command =~ s/(\.exe).+\z/$1/is;
    $command =~ s/\A"//;
    return -f $command ? $command : '';
}

UtilVariantBind($_) for qw(UtilPathIsAbsolute UtilBrowserFind);
