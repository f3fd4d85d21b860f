# Sourced by the homework trials after tests/support/x_test.sh: the real program driven with
# xdotool on the trial's X display, its windows found by the start of their titles. The
# sourcing script starts the program and sets pid; SHOTS, when set, is where pictures go.

# An X server resets when its last client goes, refusing connections meanwhile; one client kept
# connected all along lets each program start find it there. stop_keeping goes in the trap.
keeper=""
keep_display() {
  xprop -root -spy >/dev/null 2>&1 &
  keeper=$!
}
stop_keeping() { [ -z "$keeper" ] || kill "$keeper" 2>/dev/null || true; }

visible() { xdotool search --onlyvisible --name "^$1" 2>/dev/null | tail -n 1; }
shown() { [ -n "$(visible "$1")" ]; }
hidden() { [ -z "$(visible "$1")" ]; }
ended() { ! kill -0 "$pid" 2>/dev/null; }
focused_on() {
  xdotool windowfocus "$1" 2>/dev/null || true
  [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$1" ]
}
# Waits for the window whose title begins so and gives it the keyboard.
focus() {
  local window
  until_true shown "$1" || fail "waited ${LIMIT}s for the window \"$1\""
  window=$(visible "$1")
  until_true focused_on "$window" || fail "waited ${LIMIT}s for \"$1\" to take the keyboard"
}
keys() {
  focus "$1"
  shift
  xdotool key --delay 60 "$@"
}
typed() {
  focus "$1"
  xdotool type --delay 40 "$2"
}
# A store away is told once per run; that box is answered when it comes.
told_away() {
  sleep 1.5
  if shown "Warning"; then keys "Warning" Return; fi
}
shot() { [ -z "${SHOTS:-}" ] || import -window root "$SHOTS/$1.png"; }
# For the trap: what the screen showed when a step failed, given the script's exit status.
shot_on_failure() { [ "$1" -eq 0 ] || [ -z "${DISPLAY:-}" ] || shot failed 2>/dev/null || true; }
check() { [ "$2" = "$3" ] || fail "$1: $2, not $3"; }

# Once the program is started: its main window up and the splash picture gone.
main_window() {
  until_true shown "Writing Tarvolin Equations" || fail "waited ${LIMIT}s for the main window"
  until_true hidden "Tarvolin\$" || fail "waited ${LIMIT}s for the splash picture to go"
}
quit_program() {
  keys "Writing Tarvolin Equations" alt+x
  until_true ended || fail "waited ${LIMIT}s for Alt+X to end the program"
  wait "$pid" || fail "the program ended with an error"
  pid=""
}

# The starter reactions 1 to 10 and their answers, as typing reads them.
answers=("Ag+ + Cl- -> AgCl" "Ba2+ + SO4^2- -> BaSO4" "Fe3+ + OH- -> Fe(OH)3"
  "Pb2+ + I- -> PbI2" "Ag+ + Br- -> AgBr" "Ca2+ + CO3^2- -> CaCO3" "Cu2+ + OH- -> Cu(OH)2"
  "Mg2+ + OH- -> Mg(OH)2" "Ca2+ + PO4^3- -> Ca3(PO4)2" "Ag+ + CrO4^2- -> Ag2CrO4")
answer_dialog="Click on the buttons below"
right() {
  typed "$answer_dialog" "${answers[$1]}"
  keys "$answer_dialog" alt+c
  keys "Congratulations" Return
}
stop_at_question() { keys "$answer_dialog" Escape; until_true hidden "$answer_dialog"; }
# Opens her list, leaves a picture of it, and starts the row given (from 0), or closes it.
assignments() {
  keys "Writing Tarvolin Equations" F7
  until_true shown "Assignments" || fail "waited ${LIMIT}s for the assignments list"
  sleep 0.5
  shot "$1"
  if [ "$2" = close ]; then keys "Assignments" Escape; return; fi
  for _ in $(seq 1 "$2"); do keys "Assignments" Down; done
  keys "Assignments" Return
}

# In the editor, from a teacher's account: reactions 1-5 as "Past five" due yesterday, 6-10 as
# "Tomorrow five" due tomorrow at 8:00. The editor is left open.
assign_past_and_next() {
  keys "Writing Tarvolin Equations" alt+e
  sleep 1
  for _ in 1 2 3 4 5; do keys "Writing Tarvolin Equations" space Down; done
  keys "Writing Tarvolin Equations" F6
  typed "Assign" "Past five"
  # The day of the week, two back from tomorrow.
  keys "Assign" Tab Down Down
  shot assign-past
  keys "Assign" Return
  keys "Assign" Return
  keys "Writing Tarvolin Equations" Up Up Up Up Up
  for _ in 1 2 3 4 5; do keys "Writing Tarvolin Equations" space Down; done
  for _ in 1 2 3 4 5; do keys "Writing Tarvolin Equations" space Down; done
  keys "Writing Tarvolin Equations" F6
  typed "Assign" "Tomorrow five"
  keys "Assign" Return
  keys "Assign" Return
}
# The teacher's own list of what she gave, left as a picture; then the editor saves.
teacher_list() {
  keys "Writing Tarvolin Equations" F7
  until_true shown "Your Assignments" || fail "waited ${LIMIT}s for the teacher's list"
  shot "$1"
  keys "Your Assignments" Escape
  keys "Writing Tarvolin Equations" alt+s
  keys "Information" Return
}
# The teacher's grid on the results window's Assignments page, left as a picture.
teacher_grid() {
  keys "Writing Tarvolin Equations" F5
  keys "Results" alt+a
  sleep 3
  shot "$1"
  keys "Results" Escape
}
