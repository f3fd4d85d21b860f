#!/usr/bin/env bash
# A school's students on one class server: STUDENTS simulated students (300), each a lab
# machine with its own outbox and sender (the results_writer program), in CLASSES classes
# (20, one database each, set up by tarvolin-class), each giving ANSWERS answers (20) one every
# PACE milliseconds (3000), against a server that takes CONNECTIONS logins at once (20).
# Prints whether every answer arrived exactly once, the median and 95th percentile from an
# answer being given to the server taking it, and the most connections the server held.
#   bench/class_server_load.sh BUILD_DIR
set -euo pipefail
build=$(readlink -f "${1:-build}")
here=$(dirname "$(readlink -f "$0")")
students=${STUDENTS:-300} classes=${CLASSES:-20} answers=${ANSWERS:-20}
pace=${PACE:-3000} connections=${CONNECTIONS:-20}
work=$(mktemp -d /tmp/tarvolin-load.XXXXXX)
chmod 755 "$work"
trap '"$here/../tests/results/pg_server.sh" stop "$work/address" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
"$here/../tests/results/pg_server.sh" start "$work/address" >/dev/null
address=$(cat "$work/address")
host=$(sed 's/.*host=\([^&]*\).*/\1/' <<<"$address")
port=$(sed 's/.*port=\([0-9]*\).*/\1/' <<<"$address")
sql() { psql -X -q -At -h "$host" -p "$port" -U tarvolin -d "${2:-postgres}" -c "$1"; }
# Logins get CONNECTIONS; the administrator keeps the server's reserved three.
sql "ALTER SYSTEM SET max_connections = $((connections + 3))"
"$here/../tests/results/pg_server.sh" restart "$work/address" >/dev/null
per_class=$(( (students + classes - 1) / classes ))
for c in $(seq -f "%02g" 1 "$classes"); do
  sql "CREATE DATABASE class$c"
  "$build/tools/tarvolin-class" setup "postgresql://tarvolin@/class$c?host=$host&port=$port" >/dev/null
done
for s in $(seq 0 $((students - 1))); do
  c=$(printf '%02d' $((s / per_class + 1)))
  "$build/tools/tarvolin-class" add-student "postgresql://tarvolin@/class$c?host=$host&port=$port" "s$s" >/dev/null
done
peak=0
( while :; do sql "SELECT COUNT(*) FROM pg_stat_activity WHERE backend_type = 'client backend'" \
    >>"$work/connections" 2>/dev/null || true; sleep 0.2; done ) &
sampler=$!
start=$(date +%s)
pids=()
for s in $(seq 0 $((students - 1))); do
  c=$(printf '%02d' $((s / per_class + 1)))
  # Each starts at its own moment, as a class does.
  ( sleep "$(awk -v r=$RANDOM -v p="$pace" 'BEGIN { print r % p / 1000 }')"
    exec "$build/tests/results_writer" "postgresql://s$s@/class$c?host=$host&port=$port" "$answers" \
      "s$s" --outbox "$work/outbox-$s.db" --pace "$pace" --now ) >"$work/writer-$s.log" 2>&1 &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done
kill "$sampler" 2>/dev/null || true
elapsed=$(( $(date +%s) - start ))
peak=$(sort -n "$work/connections" | tail -1)
total=0 once=1
for c in $(seq -f "%02g" 1 "$classes"); do
  n=$(sql "SELECT COUNT(*) FROM tarvolin.answers" "class$c")
  d=$(sql "SELECT COUNT(*) FROM (SELECT login FROM tarvolin.answers GROUP BY login HAVING COUNT(*) <> $answers) x" "class$c")
  total=$((total + n)); [ "$d" = 0 ] || once=0
  sql "SELECT EXTRACT(EPOCH FROM received_at - answered_at::timestamptz) FROM tarvolin.answers" "class$c" >>"$work/latency"
done
read -r median p95 worst < <(sort -g "$work/latency" | awk '{ v[NR] = $1 } END {
  printf "%.3f %.3f %.3f\n", v[int((NR + 1) / 2)], v[int(NR * 0.95 + 0.5)], v[NR] }')
echo "students $students in $classes classes, $answers answers each every $pace ms, $connections connections"
echo "answers arrived: $total of $((students * answers)); each student's exactly once: $([ $once = 1 ] && echo yes || echo no); writers that failed: $failed"
echo "from answer to arrival: median ${median} s, 95th percentile ${p95} s, longest ${worst} s"
echo "most connections the server held: $peak; run took $elapsed s"
