# Sourced by the tests that start the real program on an X server of their own: a work folder
# removed at the end with the program and the server, failing with a message, waiting for a
# condition, and the server itself. The sourcing script sets pid once it starts the program.
work=$(mktemp -d)
pid="" xserver=""
cleanup() {
  set +e
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$xserver" ] && kill "$xserver" 2>/dev/null && wait "$xserver" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
LIMIT=${SMOKE_LIMIT:-120} # seconds to wait for any one thing

# Waits until the command succeeds, up to LIMIT seconds: a busy machine slows a test down but
# does not fail it.
until_true() {
  local deadline=$((SECONDS + LIMIT))
  until "$@"; do
    [ $SECONDS -le "$deadline" ] || return 1
    sleep 0.02
  done
}

# Starts an X server of our own and sets display to it. With -displayfd it takes the first free
# display number itself (no race with tests running beside this one) and writes it once it
# accepts connections; -noreset keeps it so between one client and the next.
start_x_server() {
  : >"$work/display"
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
  xserver=$!
  display_ready() {
    kill -0 "$xserver" 2>/dev/null || fail "the X server did not start: $(tail -n 3 "$work/xvfb.log")"
    # The number is whole once its newline is written.
    [ "$(tail -c 1 "$work/display" | wc -l)" -eq 1 ]
  }
  until_true display_ready || fail "waited ${LIMIT}s for the X server"
  display=":$(tr -d '\n' <"$work/display")"
}
