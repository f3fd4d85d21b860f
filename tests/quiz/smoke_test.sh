#!/usr/bin/env bash
# The real program in a fresh working folder on an X display (run under xvfb-run), driven with
# xdotool as a user would: splash, main window, menu, F3, and Alt+X ending it with code 0.
#   smoke_test.sh path/to/tarvolin path/to/tarvolin.rxn
# Every step waits for what it needs to see (a window with a given title, a menu opening, the
# program ending), with generous time limits, so that a busy machine slows it down but does
# not fail it; a failure names what did not come.
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
LIMIT=${SMOKE_LIMIT:-30}  # seconds to wait for any one thing

# Waits until the command succeeds, up to LIMIT seconds.
until_true() {
  local deadline=$((SECONDS + LIMIT))
  until "$@"; do
    [ $SECONDS -le "$deadline" ] || return 1
    sleep 0.05
  done
}
# The id of the visible window with exactly this title.
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(visible "$1")" ]; }
hidden() { [ -z "$(visible "$1")" ]; }
# How many windows of the program are on the screen (menus included).
windows_up() { xdotool search --onlyvisible --pid "$pid" "" 2>/dev/null | wc -l; }
more_windows_than() { [ "$(windows_up)" -gt "$1" ]; }
ended() { ! kill -0 "$pid" 2>/dev/null; }

# There is no window manager: give the window the keyboard before typing.
keys() { xdotool windowfocus --sync "$1" && shift && xdotool key "$@"; }
# Opens the type choice with the keys given and closes it again with Escape.
type_choice() {
  local how=$1 dialog
  shift
  "$@"
  until_true shown "Select Reaction Types" || fail "waited ${LIMIT}s for the type choice after $how"
  dialog=$(visible "Select Reaction Types")
  keys "$dialog" Escape
  until_true hidden "Select Reaction Types" || fail "waited ${LIMIT}s for Escape to close the type choice"
}
# The "&Tarvolin" menu, then "&Start..." once the menu is open.
from_menu() {
  local before
  before=$(windows_up)
  keys "$main" alt+t
  until_true more_windows_than "$before" || fail "waited ${LIMIT}s for Alt+T to open the menu"
  xdotool key s
}

cp "$2" "$work/"
cd "$work"
QT_QPA_PLATFORM=xcb "$program" &
pid=$!
until_true shown "Tarvolin" || fail "waited ${LIMIT}s for the splash picture"
until_true shown "Writing Tarvolin Equations" || fail "waited ${LIMIT}s for the main window"
main=$(visible "Writing Tarvolin Equations")
until_true hidden "Tarvolin" || fail "waited ${LIMIT}s for the splash picture to go"
type_choice "the Start menu item" from_menu
type_choice "F3" keys "$main" F3
keys "$main" alt+x
until_true ended || fail "waited ${LIMIT}s for Alt+X to end the program"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit code $status after Alt+X"
echo "splash, main window, menu, F3 and Alt+X all work"
