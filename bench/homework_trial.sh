#!/usr/bin/env bash
# Homework tried as a class would, with the real program on an X display of its own and a class
# server this script starts (pg_server.sh): the teacher assigns five reactions due yesterday and
# five due tomorrow from the editor; s1 finishes the first (late); s2 answers two of the second,
# stops, and after a restart is asked the third; s3 does nothing but try to assign, which her login may not; s4 reads her list, then starts
# the second while the server is stopped and her answer arrives once it is back. What the server
# then holds is checked, and a screenshot of each list is left in SHOTS when it is set.
#   bench/homework_trial.sh BUILD_DIR
# Not run by CTest: it takes a minute or two of typing.
set -euo pipefail
build=$(readlink -f "${1:-build}")
here=$(dirname "$(readlink -f "$0")")
program=$build/tarvolin
# shellcheck source=../tests/support/x_test.sh
source "$here/../tests/support/x_test.sh"
chmod 755 "$work"
pg() { "$here/../tests/results/pg_server.sh" "$@" >/dev/null; }
keeper=""
trap '[ -z "$keeper" ] || kill "$keeper"; pg stop "$work/address" || true; cleanup' EXIT
pg start "$work/address"
address=$(cat "$work/address")
host=$(sed 's/.*host=\([^&]*\).*/\1/' <<<"$address")
port=$(sed 's/.*port=\([0-9]*\).*/\1/' <<<"$address")
sql() { psql -X -q -At -h "$host" -p "$port" -U tarvolin -d chem -c "$1"; }
psql -X -q -h "$host" -p "$port" -U tarvolin -d postgres -c "CREATE DATABASE chem"
"$build/tools/tarvolin-class" setup "postgresql://tarvolin@/chem?host=$host&port=$port" >/dev/null
"$build/tools/tarvolin-class" add-teacher "postgresql://tarvolin@/chem?host=$host&port=$port" teach >/dev/null
for s in s1 s2 s3 s4; do
  "$build/tools/tarvolin-class" add-student "postgresql://tarvolin@/chem?host=$host&port=$port" $s >/dev/null
done
start_x_server
export DISPLAY="$display"
# An X server resets when its last client goes, refusing connections meanwhile; one client kept
# connected all along lets each program start find it there.
xprop -root -spy >/dev/null 2>&1 &
keeper=$!

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

# One account: its own home, settings and outbox, signed in to the class as login.
start_as() {
  local login=$1
  mkdir -p "$work/$login/config/Tarvolin"
  printf '[results]\nstudentName=%s\n' "$login" >"$work/$login/config/Tarvolin/Tarvolin.conf"
  cp "$build/data/tarvolin.rxn" "$work/$login/"
  cd "$work/$login"
  HOME="$work/$login" XDG_CONFIG_HOME="$work/$login/config" XDG_DATA_HOME="$work/$login/data" \
    TARVOLIN_RESULTS="postgresql://$login@/chem?host=$host&port=$port" QT_QPA_PLATFORM=xcb \
    "$program" &
  pid=$!
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

# The teacher: reactions 1-5 due yesterday, 6-10 due tomorrow at 8:00.
start_as teach
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
keys "Writing Tarvolin Equations" F7
until_true shown "Your Assignments" || fail "waited ${LIMIT}s for the teacher's list"
shot teacher-list
keys "Your Assignments" Escape
keys "Writing Tarvolin Equations" alt+s
keys "Information" Return
quit_program

# s1 finishes the one due yesterday.
start_as s1
assignments s1-before 0
for q in 0 1 2 3 4; do right $q; done
keys "Information" Return
assignments s1-after close
quit_program

# s2 answers two of the second, stops, and is asked the third after a restart.
start_as s2
assignments s2-before 1
right 5
right 6
stop_at_question
quit_program
start_as s2
assignments s2-restart 1
stop_at_question
quit_program

# s3 does nothing but try to assign from the editor, which her login may not.
start_as s3
keys "Writing Tarvolin Equations" alt+e
sleep 1
keys "Writing Tarvolin Equations" space F6
until_true shown "Assign" || fail "waited ${LIMIT}s for Assign to say what is needed"
shot s3-assign
keys "Assign" Return
keys "Writing Tarvolin Equations" alt+s
keys "Information" Return
quit_program

# s4 reads her list once, then starts the second while the server is stopped.
start_as s4
assignments s4-online close
quit_program
pg pause "$work/address" 25 &
pauser=$!
until ! sql "SELECT 1" >/dev/null 2>&1; do sleep 0.2; done
start_as s4
assignments s4-offline 1
right 5
told_away
stop_at_question
told_away
quit_program
wait "$pauser"
# Her answers are sent when the program starts again.
start_as s4
sleep 8
quit_program

# The teacher's grid, left as a picture to look at.
start_as teach
keys "Writing Tarvolin Equations" F5
keys "Results" alt+a
sleep 3
shot teacher-grid
keys "Results" Escape
quit_program

# What the class's server holds.
due_past=$(sql "SELECT due FROM tarvolin.assignments WHERE title = 'Past five'")
past=$(sql "SELECT id FROM tarvolin.assignments WHERE title = 'Past five'")
next=$(sql "SELECT id FROM tarvolin.assignments WHERE title = 'Tomorrow five'")
answered() {  # login, assignment: the distinct questions answered, in order
  sql "SELECT string_agg(DISTINCT question_number::text, ',' ORDER BY question_number::text)
       FROM tarvolin.answers WHERE login = '$1' AND assignment_id = '$2' AND ending <> 'quit'"
}
check() { [ "$2" = "$3" ] || fail "$1: $2, not $3"; }
check "s1's answers to the past five" "$(answered s1 "$past")" "1,2,3,4,5"
late=$(sql "SELECT MAX(answered_at) > '$due_past' FROM tarvolin.answers WHERE login = 's1' AND assignment_id = '$past'")
check "s1 finished after the due date" "$late" "t"
check "s2's answers to the next five" "$(answered s2 "$next")" "1,2"
check "where s2 stopped after her restart" \
  "$(sql "SELECT string_agg(question_number::text, ',') FROM tarvolin.answers WHERE login = 's2' AND ending = 'quit'")" "3,3"
check "the assignments after s3 tried" "$(sql "SELECT COUNT(*) FROM tarvolin.assignments")" "2"
check "s3's answers" "$(sql "SELECT COUNT(*) FROM tarvolin.answers WHERE login = 's3'")" "0"
check "s4's answer given while the server was stopped, arrived once" \
  "$(sql "SELECT COUNT(*) FROM tarvolin.answers WHERE login = 's4' AND assignment_id = '$next' AND ending <> 'quit'")" "1"
echo "assigned from the editor; s1 late with 5 of 5, s2 2 of 5 and asked the third again, s3 nothing, s4 answered while the server was stopped and it arrived once"
