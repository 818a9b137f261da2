#!/bin/sh
# Runs the sanitized analyzer over the fixtures, the example and truncated
# and garbled copies of them, with every report and many switches on.
# Any sanitizer report, crash or hang fails the test.
# Usage: run.sh QUARL FIXTURES EXAMPLES WORKDIR
set -u
QUARL=$1
FIX=$2
EX=$3
WORK=$4
rm -rf "$WORK"
mkdir -p "$WORK/in"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

n=0
for f in "$FIX"/*.f "$FIX"/*.f90 "$FIX"/*.F "$EX"/*.f "$EX"/*.f90; do
    base=$(basename "$f")
    n=$((n + 1))
    cp "$f" "$WORK/in/$n-$base"
    size=$(wc -c < "$f")
    # truncated copies: a third, two thirds, and all but the last byte
    head -c $((size / 3)) "$f" > "$WORK/in/$n-third-$base"
    head -c $((size * 2 / 3)) "$f" > "$WORK/in/$n-twothirds-$base"
    head -c $((size - 1)) "$f" > "$WORK/in/$n-cut-$base"
    # garbled copies: parentheses, quotes and continuation marks swapped,
    # lines shuffled by reversing, every 7th byte replaced
    tr "()'&" ")(&'" < "$f" > "$WORK/in/$n-swap-$base"
    tac "$f" > "$WORK/in/$n-rev-$base"
    sed 's/\(......\)./\1(/g' "$f" > "$WORK/in/$n-bytes-$base"
done
# generated extremes: parentheses nested 5000 deep, a call chain 3000 long
awk 'BEGIN { s = ""; for (i = 0; i < 5000; i++) s = s "("; t = ""; for (i = 0; i < 5000; i++) t = t ")";
             print "program deep"; print "x = " s "1" t; print "end" }' > "$WORK/in/deep.f90"
awk 'BEGIN { print "      PROGRAM CHAIN"; print "      CALL C1"; print "      END";
             for (i = 1; i <= 3000; i++) { printf "      SUBROUTINE C%d\n", i; if (i < 3000) printf "      CALL C%d\n", i + 1; print "      END" } }' \
    > "$WORK/in/chain.f"
cp "$FIX"/lib/*.lbt "$WORK/in/"
cp "$FIX"/inc/*.h "$FIX"/inc/sub/*.inc "$EX"/*.inc "$WORK/in/" 2>/dev/null

fail=0
run_one() {
    out="$WORK/out.txt"
    if ! timeout 60 "$QUARL" "$@" > "$out" 2>&1; then
        echo "FAILED: quarl $*" >&2
        cat "$out" >&2
        fail=1
    elif grep -q -E 'ERROR: AddressSanitizer|runtime error:|LeakSanitizer' "$out"; then
        echo "SANITIZER: quarl $*" >&2
        cat "$out" >&2
        fail=1
    fi
}
files=$(ls "$WORK"/in/*.f "$WORK"/in/*.f90 "$WORK"/in/*.F 2>/dev/null)
count=0
for f in $files; do
    count=$((count + 1))
    run_one -g -u -m -Fon -f -t -s -x -l -Mdepend -p -DUSE_DBL -S"$WORK/r" "-I$WORK/in" "$f"
    run_one -g -x -Xlinenumbers -Xlower -W50 -t -Tnotrim -Tnocondensed -Talphabetic -Tsquish -d -e -Mhpf \
        -Rfree -S"$WORK/r" "$f"
    run_one -g -x -Xtabular -Rfixed -PANSI77 -PSUN -O+all -S"$WORK/r" "$f"
done
# every file in one run, as a front-end run would give them
run_one -g -u -t -s -x -S"$WORK/r" "-I$WORK/in" $files
echo "sanitized runs over $count inputs: $([ $fail -eq 0 ] && echo clean || echo FAILURES)"
exit $fail
