#!/usr/bin/env bash
# The real program in a fresh working folder on an X display (run under xvfb-run), driven with
# xdotool as a user would: splash, main window, menu, F3, and Alt+X ending it with code 0.
#   smoke_test.sh path/to/tarvolin path/to/tarvolin.rxn
set -euo pipefail
program=$(realpath "$1")
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Prints the id of the visible window with exactly this title, waiting up to $2 seconds.
window() {
  local deadline=$((SECONDS + $2)) id
  while [ $SECONDS -le "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.1
  done
  return 1
}
gone() {
  local deadline=$((SECONDS + $2))
  while [ $SECONDS -le "$deadline" ]; do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# There is no window manager: give the window the keyboard before typing.
keys() { xdotool windowfocus --sync "$1" && shift && xdotool key --delay 100 "$@"; }
# Opens the type choice with the keys given and closes it again with Escape.
type_choice() {
  keys "$main" "$@"
  local dialog
  dialog=$(window "Select Reaction Types" 5) || fail "$* does not open the type choice"
  keys "$dialog" Escape
  gone "Select Reaction Types" 5 || fail "Escape does not close the type choice"
}

cp "$2" "$work/"
cd "$work"
QT_QPA_PLATFORM=xcb "$program" &
pid=$!
window "Tarvolin" 3 >/dev/null || fail "no splash picture"
main=$(window "Writing Tarvolin Equations" 10) || fail "no main window"
gone "Tarvolin" 1 || fail "the splash picture stays up beside the main window"
type_choice alt+t s  # the "&Tarvolin" menu, "&Start..."
type_choice F3
keys "$main" alt+x
status=0
timeout 5 tail --pid="$pid" -f /dev/null || fail "Alt+X does not end the program"
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit code $status after Alt+X"
echo "splash, main window, menu, F3 and Alt+X all work"
