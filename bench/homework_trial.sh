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
# shellcheck source=trial_support.sh
source "$here/trial_support.sh"
chmod 755 "$work"
pg() { "$here/../tests/results/pg_server.sh" "$@" >/dev/null; }
trap 'stop_keeping; pg stop "$work/address" || true; cleanup' EXIT
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
keep_display

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
  main_window
}
# The teacher gives two sets of five from the editor.
start_as teach
assign_past_and_next
teacher_list teacher-list
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
teacher_grid teacher-grid
quit_program

# What the class's server holds.
due_past=$(sql "SELECT due FROM tarvolin.assignments WHERE title = 'Past five'")
past=$(sql "SELECT id FROM tarvolin.assignments WHERE title = 'Past five'")
next=$(sql "SELECT id FROM tarvolin.assignments WHERE title = 'Tomorrow five'")
answered() {  # login, assignment: the distinct questions answered, in order
  sql "SELECT string_agg(DISTINCT question_number::text, ',' ORDER BY question_number::text)
       FROM tarvolin.answers WHERE login = '$1' AND assignment_id = '$2' AND ending <> 'quit'"
}
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
