#!/bin/sh
# Installs what is missing, builds and starts MIRETO for DATAQUALIFY in the
# working folder run/ (kept out of git), seeded with the sample question bank.
# The learner's databases in run/ are never overwritten.
set -eu
cd "$(dirname "$0")"
DISPLAY_PACKAGES=""
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    DISPLAY_PACKAGES="--display"
fi
sh scripts/install-deps.sh $DISPLAY_PACKAGES

JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build >/dev/null
cmake --build build -j "$JOBS" --target mireto mireto_sample_bank

mkdir -p run
# The bank and its pictures are refreshed; the databases are the learner's.
cp build/sample/toi_dq_basic3.dat build/sample/mogi_haibun.dat run/
for f in build/sample/NONE*.jpg; do
    [ -e "$f" ] && cp "$f" run/
done
cd run

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop display found: starting a virtual one (Xvfb :77)."
    echo "Look at it with a VNC viewer or take a screenshot; set DISPLAY to use your own."
    Xvfb :77 -screen 0 1280x800x24 >/dev/null 2>&1 &
    XVFB=$!
    trap 'kill $XVFB 2>/dev/null' EXIT INT TERM
    export DISPLAY=:77
    sleep 1
    openbox >/dev/null 2>&1 &
fi
exec_status=0
../build/bin/mireto || exec_status=$?
if [ "$exec_status" -eq 1 ]; then
    echo "MIRETO ended with status 1: another copy is already running, or a progress file could not be written." >&2
fi
exit $exec_status
