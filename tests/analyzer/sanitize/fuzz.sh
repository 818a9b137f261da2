#!/bin/sh
# Runs the libFuzzer target for a bounded time from a seed corpus made of
# the fixtures and the example (each seed: some switches, NUL, a source).
# Usage: fuzz.sh FUZZER FIXTURES EXAMPLES WORKDIR SECONDS
set -u
FUZZER=$1
FIX=$2
EX=$3
WORK=$4
SECS=${5:-60}
rm -rf "$WORK"
mkdir -p "$WORK/corpus" "$WORK/artifacts" "$WORK/tmp"
# the target's scratch files go below the work directory
export TMPDIR="$WORK/tmp"
i=0
for f in "$FIX"/*.f "$FIX"/*.f90 "$FIX"/*.F "$EX"/*.f "$EX"/*.f90; do
    i=$((i + 1))
    # the byte after the NUL selects the file name: 0 .f, 1 .f90, 2 .F
    case $f in *.f90) sel=1 ;; *.F) sel=2 ;; *) sel=0 ;; esac
    { printf -- '-g\n-u\n-t\n-s\n-x\n-p\n-DUSE_DBL\n-Xlinenumbers\n'; printf '\000'; printf "\\00$sel"; cat "$f"; } \
        > "$WORK/corpus/seed$i"
done
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$WORK" || exit 1
"$FUZZER" -max_total_time="$SECS" -max_len=8192 -timeout=10 -rss_limit_mb=1024 \
    -artifact_prefix="$WORK/artifacts/" "$WORK/corpus" > "$WORK/fuzz.log" 2>&1
status=$?
tail -n 5 "$WORK/fuzz.log"
if [ $status -ne 0 ]; then
    grep -A 30 -E 'ERROR|runtime error|timeout|out-of-memory' "$WORK/fuzz.log" | head -n 60
    ls "$WORK/artifacts"
fi
exit $status
