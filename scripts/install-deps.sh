#!/bin/sh
# Installs the Debian packages the project needs, skipping those present.
# Run as root (or with sudo available) on Debian 12.
set -eu

PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev \
libgtest-dev libbenchmark-dev fonts-ipafont-gothic"
if [ "${1:-}" = "--display" ]; then
    # What it takes to show the window on a machine without a desktop.
    PACKAGES="$PACKAGES xvfb xauth openbox"
fi
if [ "${1:-}" = "--fuzz" ]; then
    # clang and its libFuzzer runtime, for scripts/fuzz.sh.
    PACKAGES="$PACKAGES clang libclang-rt-14-dev"
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
