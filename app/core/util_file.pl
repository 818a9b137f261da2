# Files: classifying a file as text or binary, reading a text file whole.
use strict;
use warnings;

our ($FILE_TYPE_ANY, $FILE_TYPE_BINARY, $FILE_TYPE_TEXT, $MAX_FILE_READ_SIZE, $DEBUG, $RefDebug);

# True when the first block of the file looks like text: no NUL byte and
# no more than a third of odd bytes. Well-formed UTF-8 sequences count as
# text, so sources with accented comments are not taken for binaries.
sub UtilFileIsText {
    my ($path) = @_;
    open my $fh, '<:raw', $path or return 0;
    my $n = read $fh, my $block, 512;
    close $fh;
    return 0 unless defined $n;
    return 1 if $n == 0;
    return 0 if $block =~ /\0/;
    (my $plain = $block) =~ s/[\xC2-\xDF][\x80-\xBF]|[\xE0-\xEF][\x80-\xBF]{2}|[\xF0-\xF4][\x80-\xBF]{3}//g;
    my $odd = () = $plain =~ /[\x00-\x07\x0B\x0E-\x1A\x1C-\x1F\x7F-\xFF]/g;
    return $odd * 3 > $n ? 0 : 1;
}

sub UtilFileTypeGet {
    my ($file, $mode) = @_;
    my $rtn = 'UtilFileTypeGet';
    $RefDebug->($rtn) if $DEBUG;
    $mode = $FILE_TYPE_ANY unless defined $mode;
    $file = '' unless defined $file;
    my $msg = '';
    my $exists  = -e $file;
    my $regular = -f _;
    my $dir     = -d _;
    my $empty   = $exists && -z _;
    if ($regular && !$empty) {
        my $text = UtilFileIsText($file);
        $msg = 'is a binary file' if $mode == $FILE_TYPE_TEXT && !$text;
        $msg = 'is a text file'   if $mode == $FILE_TYPE_BINARY && $text;
    }
    $msg = 'is an empty file'   if $empty;
    $msg = "isn't a valid file" if !$regular;
    $msg = 'is a directory'     if $dir;
    $msg = "doesn't exist"      if !$exists;
    return $msg eq '' ? '' : "\"$file\" $msg";
}

sub UtilFileRead {
    my ($path, %opt) = @_;
    my $rtn = 'UtilFileRead';
    $RefDebug->($rtn) if $DEBUG;
    UtilArgsCheck($rtn, $path);
    my $verbose = UtilBooleanParse($opt{-verbose}, 0);
    return '' unless UtilPathIsAbsolute($path);
    return '' unless -f $path;
    my $size = -s _;
    return '' unless $size;
    return '' unless UtilFileIsText($path);
    return $verbose ? "\nError: File is too large\n" : '' if $size > $MAX_FILE_READ_SIZE;
    open my $fh, '<:raw', $path or return '';
    local $/;
    my $data = <$fh>;
    close $fh;
    return defined $data ? $data : '';
}
