#!/usr/bin/env bash
# Homework tried as a lab would, with the real program on an X display of its own and one
# results file in a lab folder (owned by a lab group, setgid, 2775) that every account's
# TARVOLIN_RESULTS names. Three throwaway Unix accounts of the lab group, each running with
# umask 077: the teacher assigns five reactions due yesterday, five due tomorrow and practice
# from the editor; Ann finishes the first (late); Bea, on an account of her own, answers two of
# the second, stops, and after a restart is asked the third; Cy, on Ann's account under his own
# name, answers one question of a free quiz and nothing given. What the file then holds is
# checked, and a screenshot of each list and of the teacher's grid is left in SHOTS when set.
#   bench/homework_lab_trial.sh BUILD_DIR      (as root: it adds and removes the accounts)
# Without useradd it borrows nobody, daemon and bin, and gives them the lab group for the run.
# Not run by CTest: it takes a minute or two of typing.
set -euo pipefail
build=$(readlink -f "${1:-build}")
here=$(dirname "$(readlink -f "$0")")
program=$build/tarvolin
# shellcheck source=../tests/support/x_test.sh
source "$here/../tests/support/x_test.sh"
# shellcheck source=trial_support.sh
source "$here/trial_support.sh"
[ "$(id -u)" -eq 0 ] || fail "run it as root: it adds three accounts and removes them at the end"
chmod 755 "$work"
unset PGPASSFILE PGHOST PGPORT PGUSER PGDATABASE PGPASSWORD PGSERVICE

made_group="" made_accounts=()
forget_accounts() {
  set +e
  for account in "${made_accounts[@]}"; do userdel "$account" 2>/dev/null; done
  [ -z "$made_group" ] || groupdel "$made_group" 2>/dev/null
}
trap 'shot_on_failure $?; stop_keeping; cleanup; forget_accounts' EXIT
if command -v useradd >/dev/null && command -v groupadd >/dev/null; then
  lab_group=tvlab$$ teach=tvteach$$ ann=tvann$$ bea=tvbea$$
  groupadd "$lab_group"
  made_group=$lab_group
  for account in "$teach" "$ann" "$bea"; do
    useradd -M -N -g "$lab_group" -d "$work/home-$account" -s /usr/sbin/nologin "$account"
    made_accounts+=("$account")
  done
else
  lab_group=nogroup teach=nobody ann=daemon bea=bin
fi
lab_gid=$(getent group "$lab_group" | cut -d: -f3)
lab=$work/lab
results=$lab/tarvolin-results.db
mkdir "$lab"
chgrp "$lab_group" "$lab"
chmod 2775 "$lab"

# The students' own reaction list holds reaction 1 alone, so that a free quiz asks it; an
# assignment brings its reactions with it.
"$build/tools/tarvolin-rxn" export "$build/data/tarvolin.rxn" "$work/all.txt" >/dev/null
grep -m 1 '^Precipitation' "$work/all.txt" >"$work/one.txt"
"$build/tools/tarvolin-rxn" import "$work/one.txt" "$work/one.rxn" >/dev/null
for account in "$teach" "$ann" "$bea"; do
  home=$work/home-$account
  mkdir -p "$home/config/Tarvolin" "$home/data"
  list=$work/one.rxn
  [ "$account" != "$teach" ] || list=$build/data/tarvolin.rxn
  cp "$list" "$home/tarvolin.rxn"
  chown -R "$account:$(id -g "$account")" "$home"
  chmod 700 "$home"
done
start_x_server
export DISPLAY="$display"
keep_display

# The account's program in its home, under the student name given, with only the lab group
# beside its own and a umask that would keep the file from the others.
start_as() {
  local account=$1 home=$work/home-$1
  printf '[results]\nstudentName=%s\n' "$2" >"$home/config/Tarvolin/Tarvolin.conf"
  chown "$account" "$home/config/Tarvolin/Tarvolin.conf"
  cd "$home"
  # shellcheck disable=SC2016 # the inner shell's own $0
  HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home" \
    TARVOLIN_RESULTS="$results" QT_QPA_PLATFORM=xcb \
    setpriv --reuid="$(id -u "$account")" --regid="$(id -g "$account")" --groups="$lab_gid" \
    sh -c 'umask 077; exec "$0"' "$program" &
  pid=$!
  main_window
}

# The teacher gives two sets of five, then practice of each student's own mistakes.
start_as "$teach" "Tess Teacher"
assign_past_and_next
keys "Writing Tarvolin Equations" F8
until_true shown "Assign Practice" || fail "waited ${LIMIT}s for Assign Practice"
# Due the day after tomorrow, so that it comes last in a student's list, which is by due date.
keys "Assign Practice" Tab Up
shot assign-practice
keys "Assign Practice" Return
keys "Assign Practice" Return
teacher_list teacher-list
quit_program

# Ann finishes the one due yesterday.
start_as "$ann" "Ann Archer"
assignments ann-before 0
for q in 0 1 2 3 4; do right $q; done
keys "Information" Return
assignments ann-after close
quit_program

# Bea answers two of the second, stops, and is asked the third after a restart.
start_as "$bea" "Bea Brown"
assignments bea-before 1
right 5
right 6
stop_at_question
quit_program
start_as "$bea" "Bea Brown"
assignments bea-restart 1
stop_at_question
quit_program

# Cy, at Ann's account under his own name: one answer in a free quiz of Precipitation, then a
# look at his list, where Ann's answers are not his.
start_as "$ann" "Cy Carter"
keys "Writing Tarvolin Equations" F3
keys "Select Reaction Types" space Return
right 0
# His list held one reaction, so the run ends there.
keys "Information" Return
assignments cy-list close
quit_program

start_as "$teach" "Tess Teacher"
teacher_grid teacher-grid
quit_program

# What the lab's file holds.
sql() { sqlite3 -readonly "$results" "$1"; }
id_of() { sql "SELECT id FROM assignments WHERE title = '$1'"; }
past=$(id_of "Past five") next=$(id_of "Tomorrow five")
practice=$(id_of "Practice of your own mistakes")
# Each made with umask 077 by whichever account came first, and still the whole group's.
for file in "$results" "$results-wal" "$results-shm"; do
  [ ! -e "$file" ] || check "$(basename "$file")'s group rights" \
    "$(stat -c %G "$file") $(stat -c %A "$file" | cut -c 5-6)" "$lab_group rw"
done
check "the assignments given" \
  "$(sql "SELECT COUNT(*), SUM(practice_count) FROM assignments")" "3|10"
check "the class list" "$(sql "SELECT group_concat(student, ',')
  FROM (SELECT DISTINCT student FROM run_summary ORDER BY student)")" \
  "Ann Archer,Bea Brown,Cy Carter"
check "whose account each student's answers came from" "$(sql "SELECT
  group_concat(student || '=' || login, ',')
  FROM (SELECT DISTINCT student, login FROM answers ORDER BY student)")" \
  "Ann Archer=$ann,Bea Brown=$bea,Cy Carter=$ann"
answered() { # student, assignment: the distinct questions answered, in order
  sql "SELECT group_concat(question_number, ',') FROM (SELECT DISTINCT question_number
       FROM answers WHERE student = '$1' AND assignment_id = '$2' AND ending <> 'quit'
       ORDER BY question_number)"
}
check "Ann's answers to the past five" "$(answered "Ann Archer" "$past")" "1,2,3,4,5"
check "Bea's answers to the next five" "$(answered "Bea Brown" "$next")" "1,2"
check "where Bea stopped after her restart" "$(sql "SELECT group_concat(question_number, ',')
  FROM answers WHERE student = 'Bea Brown' AND ending = 'quit'")" "3,3"
check "Cy's free quiz" "$(sql "SELECT COUNT(*), group_concat(DISTINCT assignment_id)
  FROM answers WHERE student = 'Cy Carter' AND ending <> 'quit'")" "1|"
# The grid's cells as the file keeps them: answered, first points out of 3 each, and whether
# the last came after the due date.
cell() {
  sql "SELECT s.answered || ' of ' || COUNT(r.place) || ', '
       || (100 * s.first_points / (3 * COUNT(r.place))) || '%'
       || CASE WHEN s.last_answered_at > a.due THEN ', late' ELSE '' END
       FROM assignment_summary s JOIN assignments a ON a.id = s.assignment_id
       JOIN assignment_reactions r ON r.assignment_id = a.id
       WHERE s.student = '$1' AND a.id = '$2' GROUP BY s.student, a.id"
}
check "Ann's cell of the past five" "$(cell "Ann Archer" "$past")" "5 of 5, 100%, late"
check "Bea's cell of the next five" "$(cell "Bea Brown" "$next")" "2 of 5, 40%"
check "Cy's cells" \
  "$(sql "SELECT COUNT(*) FROM assignment_summary WHERE student = 'Cy Carter'")" "0"
check "the practice's cells" \
  "$(sql "SELECT COUNT(*) FROM assignment_summary WHERE assignment_id = '$practice'")" "0"
echo "lab file $(stat -c '%a %G' "$results"): Ann late with 5 of 5, Bea 2 of 5 and asked" \
  "the third again, Cy one free answer and nothing given"
