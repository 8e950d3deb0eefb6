#!/bin/sh
# Installs the Debian packages the project needs, skipping those present.
# Run as root (or with sudo available) on Debian 12.
#   --display   also what it takes to show the window without a desktop
#   --package   also what building and checking the Debian package takes
set -eu

# What building the program, its tools and the sample bank takes (the bank's
# pictures are drawn with the Japanese font).
BUILD_PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libjpeg62-turbo-dev fonts-ipafont-gothic"
PACKAGES="$BUILD_PACKAGES qt6-translations-l10n libgtest-dev libbenchmark-dev"
for option in "$@"; do
    case "$option" in
        --display) PACKAGES="$PACKAGES xvfb xauth openbox" ;;
        # Only what building and checking the Debian package takes: no test
        # or benchmark libraries.
        --package) PACKAGES="$BUILD_PACKAGES dpkg-dev file desktop-file-utils appstream lintian" ;;
        # clang and its libFuzzer runtime, for scripts/fuzz.sh.
        --fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;
        *) echo "install-deps.sh: unknown option $option" >&2; exit 2 ;;
    esac
done

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Missing packages:$missing" >&2
        echo "Install them as root (apt-get install$missing), then run this again as yourself:" >&2
        echo "nothing else needs root." >&2
        exit 1
    fi
    SUDO="sudo"
fi
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
