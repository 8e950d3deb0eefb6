#!/bin/sh
# Installs what is missing, builds and runs every test.
#   ./test.sh              the normal build, in build/
#   ./test.sh --sanitize   the same suite built with ASan and UBSan, in build-asan/
set -eu
cd "$(dirname "$0")"
sh scripts/install-deps.sh

BUILD=build
FLAGS=""
if [ "${1:-}" = "--sanitize" ]; then
    BUILD=build-asan
    FLAGS="-DMIRETO_SANITIZE=ON -DMIRETO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug"
fi
JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$BUILD" $FLAGS >/dev/null
cmake --build "$BUILD" -j "$JOBS"
ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS"
