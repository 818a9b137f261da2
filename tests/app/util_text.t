# Text and value helpers.
use strict;
use warnings;
use FindBin;
use lib "$FindBin::Bin/../lib";
use Test::More;
use QuarlTest;

app_load();

subtest 'UtilTextNormalize' => sub {
    my @cases = (
        ["  a \t \t b  ",            {},             'a b'],
        ["a\n\nb",                   {},             "a\n\nb"],
        ["a \n  b",                  {},             "a \n b"],
        ["a \n\n  b \t",             {-keepnl => 0}, 'a b'],
        ["\r\nline\r\n",             {},             'line'],
        ["a\x0Bb",                   {},             "a\x0Bb"],
        [undef,                      {},             ''],
    );
    for my $c (@cases) {
        is(UtilTextNormalize($c->[0], %{$c->[1]}), $c->[2], 'normalize ' . (defined $c->[0] ? "'$c->[0]'" : 'undef'));
    }
    is(UtilTextParagraphs("one\n two\t\tthree\n"), "one\n\n two three", 'paragraphs double the kept newlines');
};

subtest 'UtilBooleanParse' => sub {
    my @cases = (
        [' Yes ', undef, 1], ['ON', undef, 1], ['one', undef, 1], ['TRUE', undef, 1], ['1', undef, 1],
        ['no', undef, 0], ['Off', undef, 0], ['zero', undef, 0], ['false', undef, 0], ['0', 1, 0],
        ['', 1, 1], ['', '', 0], [undef, undef, 0], ['  ', 1, 1],
    );
    for my $c (@cases) {
        is(UtilBooleanParse($c->[0], $c->[1]), $c->[2],
           sprintf('%s with default %s', map { defined $_ ? "'$_'" : 'undef' } @$c[0, 1]));
    }
    my $r = run_child(sub { UtilBooleanParse('maybe') });
    is($r->{status}, 1, 'an unknown word ends the program');
    is($r->{err}, "Internal error: UtilBooleanParse\n", 'with the routine as its code');
};

subtest 'UtilQuotedCharsMap' => sub {
    my $map = {' ' => "\x01"};
    my @cases = (
        ['a "b c" d',             $map, "a \"b\x01c\" d",         'only the blank inside the phrase'],
        ['a "b \" c" d',          $map, "a \"b\x01\\\"\x01c\" d", 'an escaped quote does not end the phrase'],
        ['a "b c',                $map, 'a "b c',                 'a lone quote leaves the text'],
        ["x\x01y \"p q\"",        $map, "xy \"p\x01q\"",          'a byte 1 already present is deleted'],
        ['"a b" c "d e"',         $map, "\"a\x01b\" c \"d\x01e\"", 'every phrase'],
        ['a\\\\" b "c',           $map, 'a\\\\"' . "\x01b\x01" . '"c', 'an escaped backslash does not escape the quote'],
        ["k\x06\x07\x08 \"a b\"", {},   'k "a b"',                'empty table: markers dropped only'],
        ['"a b"',                 {' ' => '"', 'ab' => 'x'}, '"a b"', 'unusable entries are dropped'],
    );
    for my $c (@cases) {
        is(UtilQuotedCharsMap($c->[0], $c->[1]), $c->[2], $c->[3]);
    }
};

subtest 'UtilHashCopy and UtilHookCall' => sub {
    my %dst = (keep => 1, x => 'old');
    UtilHashCopy({x => 'new', y => 2}, \%dst);
    is_deeply(\%dst, {keep => 1, x => 'new', y => 2}, 'copy overwrites and keeps other keys');
    my @seen;
    UtilHookCall(sub { push @seen, [@_] }, 'a', 1);
    UtilHookCall(undef, 'ignored');
    is_deeply(\@seen, [['a', 1]], 'a set hook is called with its arguments, an empty one is not');
};

subtest 'argument checks' => sub {
    my @cases = (
        [sub { UtilArgsCheck('Caller', 'a', '', 'c') },   "Internal error: Caller: Index=1\n"],
        [sub { UtilArgsCheck("Two\nlines", undef) },      "Internal error: Two\nlines\nIndex=0\n"],
        [sub { UtilArgsCheck('', 'x') },                  "Internal error: UtilArgsCheck-1\n"],
        [sub { UtilArgsCheck('Caller') },                 "Internal error: UtilArgsCheck-2\n"],
        [sub { UtilArrayCheck('List', undef) },           "Internal error: List-1\n"],
        [sub { UtilArrayCheck('List', []) },              "Internal error: List-2\n"],
        [sub { UtilArrayCheck('List', ['a', '']) },       "Internal error: List-3: Item 1\n"],
        [sub { UtilVarCheck('VarMissing', \undef) },      "Internal error: VarMissing\n"],
        [sub { UtilVarCheck('', \1) },                    "Internal error: UtilVarCheck\n"],
    );
    for my $c (@cases) {
        my $r = run_child($c->[0]);
        is($r->{status}, 1, 'status 1');
        is($r->{err}, $c->[1], 'message ' . $c->[1] =~ s/\n/ /gr);
    }
    my $ok = eval { UtilArgsCheck('C', 'a', 0 + 1); UtilArrayCheck('L', ['x']); UtilVarCheck('V', \'v'); 1 };
    ok($ok, 'present values pass');
};

done_testing();
