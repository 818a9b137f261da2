# Classifying and reading files; random codes.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use File::Temp qw(tempdir);
use QuarlTest;

app_load();
no warnings 'once';
my ($ANY, $BIN, $TEXT) = ($main::FILE_TYPE_ANY, $main::FILE_TYPE_BINARY, $main::FILE_TYPE_TEXT);
my $dir = tempdir(CLEANUP => 1);
my %f = (
    text   => spew("$dir/a.f", "      PROGRAM A\n      END\n"),
    utf8   => spew("$dir/u.f", "C     r\xc3\xa9sum\xc3\xa9 \xe2\x80\x94 \xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\n"),
    nul    => spew("$dir/n.o", "text\0more"),
    noisy  => spew("$dir/b.o", "\x01\x02\x03\x90ab"),
    empty  => spew("$dir/e.f", ''),
);

subtest 'UtilFileTypeGet' => sub {
    my @cases = (
        [$f{text},  $TEXT, ''],
        [$f{utf8},  $TEXT, ''],
        [$f{text},  $BIN,  qq("$f{text}" is a text file)],
        [$f{text},  $ANY,  ''],
        [$f{nul},   $TEXT, qq("$f{nul}" is a binary file)],
        [$f{noisy}, $TEXT, qq("$f{noisy}" is a binary file)],
        [$f{nul},   $BIN,  ''],
        [$f{empty}, $TEXT, qq("$f{empty}" is an empty file)],
        [$f{empty}, $BIN,  qq("$f{empty}" is an empty file)],
        [$dir,      $TEXT, qq("$dir" is a directory)],
        ["$dir/no", $ANY,  qq("$dir/no" doesn't exist)],
        ["$dir/no", $TEXT, qq("$dir/no" doesn't exist)],
    );
    for my $c (@cases) {
        is(UtilFileTypeGet($c->[0], $c->[1]), $c->[2], "mode $c->[1] on " . ($c->[0] =~ s/.*\///r));
    }
    is(UtilFileTypeGet($f{text}), '', 'mode defaults to any');
};

subtest 'UtilFileRead' => sub {
    my $max = $main::MAX_FILE_READ_SIZE;
    my $exact = spew("$dir/exact.txt", ('x' x ($max - 1)) . "\n");
    my $over  = spew("$dir/over.txt",  ('x' x $max) . "\n");
    my $crlf  = spew("$dir/crlf.txt",  "a\r\nb\r\n");
    is(length UtilFileRead($exact), $max, 'a file of exactly the limit is read');
    is(UtilFileRead($over), '', 'one byte more gives nothing');
    is(UtilFileRead($over, -verbose => 1), "\nError: File is too large\n", 'or the error line with -verbose');
    is(UtilFileRead($crlf), "a\r\nb\r\n", 'bytes as they are, no line-end translation');
    is(UtilFileRead($f{nul}), '', 'binary');
    is(UtilFileRead($f{empty}), '', 'empty');
    is(UtilFileRead('a.f'), '', 'relative');
    is(UtilFileRead($dir), '', 'directory');
    my $r = run_child(sub { UtilFileRead('') });
    is($r->{err}, "Internal error: UtilFileRead: Index=0\n", 'missing path');
};

subtest 'UtilRandomCodeCreate' => sub {
    like(UtilRandomCodeCreate(6, 5), qr/\A[0-9A-Z]{5}( [0-9A-Z]{5}){5}\z/, 'six groups of five');
    is(length UtilRandomCodeCreate(6, 5), 35, '35 characters');
    is(UtilRandomCodeCreate(0, 5), '', 'no groups');
    like(UtilRandomCodeCreate(101, 2), qr/\A\w\w \w\w \w\w \w\w\z/, 'too many groups become four');
    like(UtilRandomCodeCreate(2, -1), qr/\A\w{4} \w{4}\z/, 'a negative size becomes four');
    my %seen = map { UtilRandomNumberGet(3) => 1 } 1 .. 200;
    is_deeply([sort keys %seen], [0, 1, 2], 'numbers cover 0 to n-1 only');
    is(UtilProcessIdGet(), $$, 'process id');
    is(UtilUserIdGet(), $>, 'effective user id');
};

done_testing();
