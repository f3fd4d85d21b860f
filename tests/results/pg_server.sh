#!/usr/bin/env bash
# A throwaway PostgreSQL server for the results tests: a cluster of its own in a temporary
# folder, listening only on a Unix socket there.
#   pg_server.sh start ADDRESS_FILE   writes the server's postgresql:// address into ADDRESS_FILE
#   pg_server.sh stop ADDRESS_FILE    stops it and removes the folder
# Without the server's programs it writes no address, and the tests that need one skip.
# The server refuses to run as root, so under root it runs as the postgres account.
set -euo pipefail
action=$1
address_file=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
as=()
if [ "$(id -u)" -eq 0 ]; then as=(runuser -u postgres --); fi

case $action in
start)
  rm -f "$address_file"
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "No PostgreSQL server is installed; its cases will be skipped."
    exit 0
  fi
  dir=$(mktemp -d /tmp/tarvolin-pg.XXXXXX)
  chmod 755 "$dir"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
  "${as[@]}" "$bin/initdb" -D "$dir/data" -U tarvolin -A trust -E UTF8 --no-sync >"$dir/initdb.log"
  port=$((20000 + RANDOM % 20000))
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-k $dir -c listen_addresses= -p $port -c max_connections=120" start >/dev/null
  echo "$dir" >"$address_file.dir"
  echo "postgresql://tarvolin@/postgres?host=$dir&port=$port" >"$address_file"
  echo "PostgreSQL server started in $dir on port $port"
  ;;
stop)
  if [ -f "$address_file.dir" ]; then
    dir=$(cat "$address_file.dir")
    "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    rm -rf "$dir"
  fi
  rm -f "$address_file" "$address_file.dir"
  ;;
esac
