# The optional settings file: fonts and general settings, read once.
use strict;
use warnings;

our (%FontID_TagToVariable, %InitSettings, $FILE_TYPE_TEXT, $DEBUG, $RefDebug);

sub AppIniFileRead {
    my ($path) = @_;
    my $rtn = 'AppIniFileRead';
    $RefDebug->($rtn) if $DEBUG;
    UtilInternalError("$rtn-1") if !defined $path || $path eq '';
    UtilInternalError("$rtn-2: $path") unless UtilPathIsAbsolute($path);
    return 0 if UtilFileTypeGet($path, $FILE_TYPE_TEXT) ne '';
    open my $fh, '<:raw', $path or return 0;
    my $text = do { local $/; <$fh> };
    close $fh;
    return 0 unless defined $text;

    $text = "\n$text\n";
    $text =~ tr/\x01//d;
    $text =~ s/[\t ]+/ /g;
    $text =~ s/\f+/\n/g;
    $text =~ s/\r+\n/\n/g;
    my @lines = grep { $_ ne '' } map { s/\A +//; s/ +\z//; $_ } split /\n/, $text;

    my $type;
    for my $line (@lines) {
        if ($line =~ /\A\[([a-z0-9_\- ]+)\]\z/) {
            ($type = lc $1) =~ s/[^a-z0-9]//g;
            next;
        }
        next unless defined $type;
        $line =~ tr/\r//d;
        next if $line =~ /\A[;#]/;
        $line =~ s/\s+#.*\z//;
        $line =~ s/\A\s*"(.*)"\s*\z/$1/;
        $line =~ s/\s/ /g;
        $line =~ s/\A +//;
        $line =~ s/ +\z//;
        my ($key, $value) = $line =~ /\A([^=]*)=(.*)\z/ or next;
        next if $key eq '' || $value eq '';
        $key = lc $key;
        $key =~ s/[^a-z0-9_]//g;
        next if $key eq '';
        $value =~ s/\A[ "]+//;
        $value =~ s/[ "]+\z//;
        $value = '' if $value =~ /\A(?:default|none)\z/i;
        next if $value eq '';

        if ($type eq 'font' || $type eq 'fonts') {
            $key =~ s/configurationtabs/configtabs/;
            if (exists $FontID_TagToVariable{$key}) {
                no strict 'refs';
                ${"main::$FontID_TagToVariable{$key}"} = $value;
            }
        } elsif ($type =~ /\Ageneral/) {
            $InitSettings{$key} = $value;
        }
    }
    return 1;
}
