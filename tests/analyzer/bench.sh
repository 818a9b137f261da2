#!/bin/sh
# Benchmark: quarl and ftnchek on the same generated Fortran 77 program of
# about 200,000 lines, quarl writing all four reports. Prints both times
# and their ratio. Not run by ctest.
# Usage: tests/analyzer/bench.sh [QUARL] [LINES]
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
QUARL=${1:-$ROOT/build/stage/main/quarl}
LINES=${2:-200000}
[ -x "$QUARL" ] || { echo "bench: no quarl at $QUARL (build first, or name it)" >&2; exit 1; }
command -v ftnchek >/dev/null || { echo "bench: ftnchek is not installed" >&2; exit 1; }
WORK=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$WORK"' EXIT

# Each generated subroutine is 40 lines: declarations, a COMMON block,
# loops, conditions, calls to two later routines and a function.
UNITS=$((LINES / 40))
generate() {
awk -v units="$1" 'BEGIN {
    print "      PROGRAM BENCH"
    print "      INTEGER N"
    print "      REAL X(100)"
    print "      COMMON /SHARED/ X, N"
    print "      N = 100"
    print "      CALL S1(N, X)"
    print "      END"
    for (u = 1; u <= units; u++) {
        a = u * 2; b = u * 2 + 1
        printf "C     routine %d\n", u
        printf "      SUBROUTINE S%d(M, Y)\n", u
        print  "      INTEGER M, I, J, K"
        print  "      REAL Y(M), T, ACC, SCALE"
        print  "      REAL X(100)"
        print  "      INTEGER N"
        print  "      COMMON /SHARED/ X, N"
        printf "      REAL F%d\n", u
        print  "      ACC = 0.0"
        print  "      SCALE = 1.5"
        print  "      DO 10 I = 1, M"
        print  "         T = Y(I) * SCALE"
        print  "         IF (T .GT. 10.0) THEN"
        print  "            ACC = ACC + T"
        print  "         ELSE IF (T .LT. -10.0) THEN"
        print  "            ACC = ACC - T"
        print  "         ELSE"
        print  "            ACC = ACC + 0.5 * T"
        print  "         END IF"
        print  "   10 CONTINUE"
        print  "      DO 30 J = 1, M"
        print  "         DO 20 K = 1, 3"
        print  "            Y(J) = Y(J) + REAL(K) * ACC / REAL(M)"
        print  "   20    CONTINUE"
        print  "   30 CONTINUE"
        printf "      ACC = ACC + F%d(ACC)\n", u
        if (a <= units) printf "      CALL S%d(M, Y)\n", a; else print "      CONTINUE"
        if (b <= units) printf "      CALL S%d(M, Y)\n", b; else print "      CONTINUE"
        print  "      X(1) = ACC"
        print  "      N = M"
        print  "      RETURN"
        print  "      END"
        printf "      REAL FUNCTION F%d(V)\n", u
        print  "      REAL V"
        print  "      IF (V .LT. 0.0) THEN"
        printf "         F%d = -V\n", u
        print  "      ELSE"
        printf "         F%d = SQRT(V)\n", u
        print  "      END IF"
        print  "      END"
    }
}'
}
generate "$UNITS" > "$WORK/bench.f"
generate $((UNITS / 2)) > "$WORK/half.f"
NLINES=$(wc -l < "$WORK/bench.f")

now() { date +%s.%N; }
# best of three runs of a command, in seconds
best() {
    b=""
    for i in 1 2 3; do
        s=$(now)
        "$@" > /dev/null 2>&1 || true
        e=$(now)
        b=$(awk -v s="$s" -v e="$e" -v b="$b" 'BEGIN { t = e - s; if (b == "" || t < b) print t; else print b }')
    done
    echo "$b"
}
q=$(best "$QUARL" -g -u -t -s -x -Mdepend -S"$WORK/q" "$WORK/bench.f")
f=$(best sh -c "cd '$WORK' && ftnchek -calltree=tree -crossref -usage=all -quiet bench.f")
h=$(best "$QUARL" -g -u -t -s -x -Mdepend -S"$WORK/h" "$WORK/half.f")
awk -v n="$NLINES" -v q="$q" -v f="$f" -v h="$h" 'BEGIN {
    printf "program:  %d lines of Fortran 77 (times: best of three runs)\n", n
    printf "quarl:    %.2f s (analysis, statistics, call tree and cross-reference reports)\n", q
    printf "ftnchek:  %.2f s (-calltree=tree -crossref -usage=all)\n", f
    printf "ratio:    quarl / ftnchek = %.2f\n", q / f
    printf "growth:   quarl on half the program %.2f s; full / half = %.2f (2 is linear)\n", h, q / h
}'
ls -l "$WORK"/q.lnt "$WORK"/q.stt "$WORK"/q.tre "$WORK"/q.xrf | awk '{ print "          " $5 " bytes  " $9 }'
