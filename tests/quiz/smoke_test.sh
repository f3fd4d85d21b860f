#!/usr/bin/env bash
# The real program in a fresh working folder on an X display of its own, driven with xdotool as
# a user would: splash, main window, menu, F3, and Alt+X ending it with code 0.
#   smoke_test.sh path/to/tarvolin path/to/tarvolin.rxn
# Nothing here waits for a fixed time or guesses a free display: the X server picks its own
# display number and says when it is ready; every step waits for what it needs to see (a window
# with a given title, the keyboard on the window meant to get the keys, a menu opening, the
# program ending), with generous time limits, so that a busy machine slows the test down but does
# not fail it; a failure names what did not come.
set -euo pipefail
program=$(realpath "$1")
reactions=$(realpath "$2")
# shellcheck source=../support/x_test.sh
source "$(dirname "$0")/../support/x_test.sh"
# The account's own settings, password file and class server are never touched.
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
unset TARVOLIN_RESULTS PGPASSFILE PGHOST PGPORT PGUSER PGDATABASE PGPASSWORD PGSERVICE
start_x_server
export DISPLAY="$display"

# The id of the visible window with exactly this title.
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(visible "$1")" ]; }
hidden() { [ -z "$(visible "$1")" ]; }
# How many windows of the program are on the screen (menus included).
windows_up() { xdotool search --onlyvisible --pid "$pid" "" 2>/dev/null | wc -l; }
more_windows_than() { [ "$(windows_up)" -gt "$1" ]; }
ended() { ! kill -0 "$pid" 2>/dev/null; }

# There is no window manager: give the window the keyboard, and see that it has it, before
# typing. The program may move the focus itself as a window appears, so ask until it holds.
focused_on() {
  xdotool windowfocus "$1" 2>/dev/null || true
  [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$1" ]
}
keys() {
  local window=$1
  shift
  until_true focused_on "$window" || fail "waited ${LIMIT}s for window $window to take the keyboard"
  xdotool key "$@"
}
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
# The "&Tarvolin" menu, then "&Start..." once the menu is open (an open menu takes every key).
from_menu() {
  local before
  before=$(windows_up)
  keys "$main" alt+t
  until_true more_windows_than "$before" || fail "waited ${LIMIT}s for Alt+T to open the menu"
  xdotool key s
}

cp "$reactions" "$work/"
cd "$work"
QT_QPA_PLATFORM=xcb "$program" &
pid=$!
# The splash stays up for a few seconds of its own; look for it often.
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
