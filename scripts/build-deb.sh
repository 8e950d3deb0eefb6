#!/bin/sh
# Builds the Debian package of MIRETO for DATAQUALIFY in build-deb/ and
# checks it: the desktop entry (desktop-file-validate), the AppStream metadata
# (appstreamcli validate --no-net) and the package (lintian). Ends with a
# non-zero status when a check finds an error; lintian's warnings are shown.
#   ./scripts/build-deb.sh            build and check
#   ./scripts/build-deb.sh --no-check build only
# Root is needed only to install missing packages (through sudo when it is
# there). Without root: have an administrator run
#   apt-get install cmake g++ make pkg-config qt6-base-dev qt6-svg-dev \
#       libjpeg62-turbo-dev fonts-ipafont-gothic dpkg-dev file desktop-file-utils appstream lintian
# once, then run this script as yourself: it installs nothing when all are there.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh --package

BUILD=build-deb
JOBS=$(nproc 2>/dev/null || echo 2)
[ "$JOBS" -gt 2 ] && JOBS=2
# Debian's hardening and optimisation flags, as a Debian build would use them
# (all hardening, immediate binding included).
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DMIRETO_BUILD_TESTS=OFF -DMIRETO_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$CXXFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS" >/dev/null
cmake --build "$BUILD" -j "$JOBS"
rm -f "$BUILD"/*.deb
(cd "$BUILD" && cpack -G DEB)
DEB=$(ls "$BUILD"/*.deb)
echo "Package: $DEB"
[ "${1:-}" = "--no-check" ] && exit 0

APP_ID=$(sed -n 's/^MIRETO_APP_ID:STRING=//p' "$BUILD/CMakeCache.txt")
echo "Checking the desktop entry, the metadata and the package"
# What the package holds is checked, unpacked into a scratch folder.
TREE="$BUILD/package-tree"
rm -rf "$TREE"
dpkg-deb -x "$DEB" "$TREE"
desktop-file-validate "$TREE/usr/share/applications/$APP_ID.desktop"
appstreamcli validate --no-net "$TREE/usr/share/metainfo/$APP_ID.metainfo.xml"
appstreamcli validate-tree --no-net "$TREE"
# lintian ends with status 1 on errors; its warnings are listed for the record.
lintian --fail-on error --display-level ">=warning" "$DEB"
echo "Package checked: $DEB"
