#!/usr/bin/env bash
# The answer dialog as a screen reader meets it: the real program on an X display of its own,
# on an accessibility bus of its own, read and driven through AT-SPI by accessibility_test.py.
#   accessibility_test.sh path/to/tarvolin path/to/tarvolin.rxn
# Skipped (exit code 77) where no session bus, accessibility bus or pyatspi is to be had.
set -euo pipefail
skip() {
  echo "SKIP: $*"
  exit 77
}
here=$(dirname "$(realpath "$0")")
if [ -z "${TARVOLIN_A11Y_SESSION:-}" ]; then
  command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed"
  dbus-run-session -- true >/dev/null 2>&1 || skip "no session bus can start here"
  TARVOLIN_A11Y_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi
program=$(realpath "$1")
reactions=$(realpath "$2")
# Debian's own Python, where python3-pyatspi is installed, before any other on the path.
python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3) || skip "python3 is not installed"
"$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$candidate" ] && launcher=$candidate && break
done
[ -n "$launcher" ] || skip "at-spi-bus-launcher (at-spi2-core) is not installed"

# shellcheck source=../support/x_test.sh
source "$here/../support/x_test.sh"
bus=""
stop_bus() {
  if [ -n "$bus" ]; then kill "$bus" 2>/dev/null || true; fi
  cleanup
}
trap stop_bus EXIT
mkdir -p "$work/home"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data"
unset TARVOLIN_RESULTS PGPASSFILE PGHOST PGPORT PGUSER PGDATABASE PGPASSWORD PGSERVICE
start_x_server
export DISPLAY="$display"
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
bus=$!
# Asked whether the launcher holds its name yet, which does not start another one.
bus_up() {
  kill -0 "$bus" 2>/dev/null || return 2
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q "boolean true"
}
status=0
until_true bus_up || status=$?
[ "$status" -eq 0 ] || skip "no accessibility bus started: $(tail -n 3 "$work/bus.log")"

cp "$reactions" "$work/"
cd "$work"
"$python" "$here/accessibility_test.py" "$work/listening" &
reader=$!
listening() {
  kill -0 "$reader" 2>/dev/null || return 2
  [ -e "$work/listening" ]
}
until_true listening || fail "the screen reader's side did not start"
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
pid=$!
wait "$reader"
