#!/bin/sh
# Builds the libFuzzer targets with clang (ASan + UBSan) in build-fuzz/ and
# runs each one for the given number of seconds (default 60) on its seed
# corpus in fuzz/corpus/<target>/. Fails on the first finding: a crash, a
# sanitizer report, a broken property, a leak, a timeout or running out of
# memory. The input that caused it is left in build-fuzz/findings/.
#   scripts/fuzz.sh            every target, 60 s each
#   scripts/fuzz.sh 600        every target, 10 minutes each
#   scripts/fuzz.sh 60 fuzz_table fuzz_jpeg   only these
set -eu
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-60}
[ $# -gt 0 ] && shift
TARGETS=${*:-"fuzz_table fuzz_startup fuzz_jpeg fuzz_bank"}

sh scripts/install-deps.sh --fuzz
BUILD=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DMIRETO_FUZZ=ON -DMIRETO_BUILD_TESTS=OFF \
    -DMIRETO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# shellcheck disable=SC2086
cmake --build "$BUILD" -j 2 --target $TARGETS

mkdir -p "$BUILD/findings"
status=0
for target in $TARGETS; do
    # The runs add what they learn to a work corpus beside the build, so
    # the seeds in the repository stay small.
    work="$BUILD/corpus/$target"
    mkdir -p "$work"
    # Bounds per input: a picture must decode (or be refused) within a few
    # seconds however its scans are arranged, so the JPEG target gets inputs
    # large enough to hold thousands of repeated scans (a seed does) and a
    # timeout that such a file would break without the decoder's own bounds.
    limits="-max_len=65536 -timeout=30"
    # The bank tool keeps a bounded list of problems, so its memory grows with
    # the input's size, not with its number of faults: half a megabyte of bad
    # bytes (a seed) must stay far below what a list of every fault would take.
    case "$target" in
        fuzz_jpeg) limits="-max_len=262144 -timeout=10" ;;
        fuzz_bank) limits="-max_len=1048576 -timeout=30 -malloc_limit_mb=256" ;;
    esac
    echo "== $target: $SECONDS_EACH s"
    # shellcheck disable=SC2086
    if ! "$BUILD/bin/$target" "$work" "fuzz/corpus/$target" \
        -max_total_time="$SECONDS_EACH" $limits -rss_limit_mb=3072 \
        -print_final_stats=1 -artifact_prefix="$(pwd)/$BUILD/findings/$target-" \
        >"$BUILD/$target.log" 2>&1; then
        status=1
        echo "== $target: FINDING (see $BUILD/$target.log and $BUILD/findings/)"
        tail -n 40 "$BUILD/$target.log"
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$BUILD/$target.log" || true
done
exit $status
