#!/bin/bash
# The Windows installer under Wine on a virtual display, as a learner uses it:
#   1. a silent install (/S) into a fresh Wine prefix, per user;
#   2. the program started from its Start-menu shortcut: the start screen
#      appears (a 993 x 650 client window with the program's title);
#   3. a confirmed close (the window's close button, then Enter on はい)
#      writes the three databases into %APPDATA%\<app id>;
#   4. a second start keeps them, and the end of the Windows session
#      (WM_QUERYENDSESSION) writes them as a confirmed close does;
#   5. a silent uninstall removes the program and leaves the databases.
#
#   tests/windows/installer-test.sh BUILD_DIR [SCREENSHOT.png]
# BUILD_DIR is a configured and packaged cross build (scripts/build-windows.sh).
set -euo pipefail

BUILD=$(cd "$1" && pwd)
SHOT=${2:-}
APP_ID=io.github.mireto.dataqualify
TITLE="MIRETO for DATAQUALIFY - 資格向け学習ソフト"
WINE=${WINE:-/usr/lib/wine/wine64}
SETUP=$(ls "$BUILD"/mireto-*-win64-setup.exe | head -n1)
END_SESSION="$BUILD/bin/mireto_end_session.exe"

WORK=$(mktemp -d /tmp/mireto-installer-test.XXXXXX)
export WINEPREFIX=$WORK/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset QT_QPA_PLATFORM
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
  WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { printf '== %s: %s\n' "$(date +%H:%M:%S)" "$*"; }
# Waits up to $1 seconds for a command to succeed.
wait_for() {
  local seconds=$1; shift
  for _ in $(seq $((seconds * 4))); do "$@" && return 0; sleep 0.25; done
  return 1
}

# A virtual display with a window manager, as a desktop has.
for n in $(seq 90 120); do [ -e /tmp/.X11-unix/X$n ] || { DISPLAY_NUMBER=$n; break; }; done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
export DISPLAY=":$DISPLAY_NUMBER"
wait_for 20 xdpyinfo >/dev/null 2>&1 || wait_for 20 test -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" || fail "no virtual display"
openbox >/dev/null 2>&1 &
PIDS+=($!)

step "fresh Wine prefix"
"$WINE" wineboot -i >/dev/null 2>&1
# Wine names the user folder after the Unix account.
USER_DIR="$WINEPREFIX/drive_c/users/$(id -un)"
LEARNER="$USER_DIR/AppData/Roaming/$APP_ID"
MENU="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/MIRETO for DATAQUALIFY"
INSTDIR="$USER_DIR/AppData/Local/Programs/MIRETO for DATAQUALIFY"

step "silent install of $(basename "$SETUP")"
"$WINE" "$SETUP" /S
[ -f "$INSTDIR/bin/mireto.exe" ] || fail "the program is not in $INSTDIR"
[ -f "$INSTDIR/share/$APP_ID/toi_dq_basic3.dat" ] || fail "the bank was not installed"
[ -f "$INSTDIR/Uninstall.exe" ] || fail "no uninstaller"
SHORTCUT="$MENU/MIRETO for DATAQUALIFY.lnk"
[ -f "$SHORTCUT" ] || fail "no Start-menu entry"
# The shortcut points at the installed program (its path is in the link).
iconv -f UTF-16LE -t UTF-8 "$SHORTCUT" 2>/dev/null | tr -d '\0' | grep -aq 'bin\\mireto.exe' ||
  strings "$SHORTCUT" | grep -q 'mireto.exe' || fail "the Start-menu entry does not start bin\\mireto.exe"
[ ! -e "$LEARNER" ] || fail "the install made the learner's folder"

window_id() { xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null | head -n1; }
window_shown() { [ -n "$(window_id)" ]; }

start_from_menu() {
  # As a click on the entry does: the shell opens the shortcut.
  "$WINE" start /unix "$SHORTCUT" >/dev/null 2>&1 &
  wait_for 180 window_shown || fail "the start screen did not appear"
  WINDOW=$(window_id)
  local geometry
  geometry=$(xdotool getwindowgeometry "$WINDOW" | awk '/Geometry/{print $2}')
  [ "$geometry" = "993x650" ] || fail "the window's client area is $geometry, not 993x650"
  echo "start screen: \"$(xdotool getwindowname "$WINDOW")\", client $geometry"
}

program_running() { pgrep -f 'bin\\mireto.exe|bin/mireto.exe' >/dev/null; }
# A function, not a `sh -c`: pgrep would find the pattern in that shell's
# own command line.
program_ended() { ! program_running; }

close_confirmed() {
  # Keys go through the X server's test extension to the focused window, as
  # typed ones do (Wine ignores keys sent to a window directly): Alt+F4
  # asks the window manager to close it.
  xdotool windowactivate --sync "$WINDOW" 2>/dev/null || true
  xdotool key alt+F4
  # The box "終了しますか？" has the program's title too; Enter presses はい.
  wait_for 60 sh -c "[ \$(xdotool search --onlyvisible --name '^${TITLE}\$' | wc -l) -ge 2 ]" ||
    fail "the close question did not appear"
  local box
  box=$(xdotool search --onlyvisible --name "^${TITLE}\$" | grep -v "^$WINDOW\$" | head -n1)
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return
  wait_for 60 program_ended || fail "the program did not end after はい"
}

DATABASES=(db_1toi_pr.dat db_save_load.dat db_nanwido.dat)
databases_present() { for f in "${DATABASES[@]}"; do [ -s "$LEARNER/$f" ] || return 1; done; }

step "first start from the Start menu"
start_from_menu
[ -f "$LEARNER/toi_dq_basic3.dat" ] || fail "the learner's folder was not seeded with the bank"
if [ -n "$SHOT" ]; then import -window root "$SHOT"; fi
step "confirmed close"
close_confirmed
databases_present || fail "the confirmed close did not write the three databases into %APPDATA%\\$APP_ID"
FIRST=$(cd "$LEARNER" && sha256sum "${DATABASES[@]}")

step "second start keeps them; the session's end writes them again"
start_from_menu
rm -f "$LEARNER/db_nanwido.dat"
"$WINE" "$END_SESSION" "$TITLE" || fail "the window did not answer WM_QUERYENDSESSION"
wait_for 60 program_ended || fail "the program did not end with the session"
databases_present || fail "the end of the session did not write the databases"
SECOND=$(cd "$LEARNER" && sha256sum "${DATABASES[@]}")
[ "$FIRST" = "$SECOND" ] || fail "the second start did not keep the databases: $FIRST / $SECOND"

step "silent uninstall"
"$WINE" "$INSTDIR/Uninstall.exe" /S
# The uninstaller runs from a copy of itself and returns at once.
wait_for 120 test ! -e "$INSTDIR/bin/mireto.exe" || fail "the uninstall left the program"
wait_for 30 test ! -e "$INSTDIR/Uninstall.exe" || fail "the uninstall left itself"
[ ! -e "$SHORTCUT" ] || fail "the uninstall left the Start-menu entry"
databases_present || fail "the uninstall touched the learner's folder"
THIRD=$(cd "$LEARNER" && sha256sum "${DATABASES[@]}")
[ "$FIRST" = "$THIRD" ] || fail "the uninstall changed the databases"
step "installer test passed"
