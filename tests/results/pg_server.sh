#!/usr/bin/env bash
# A throwaway PostgreSQL server for the results tests: a cluster of its own in a temporary
# folder, listening on a Unix socket there.
#   pg_server.sh start ADDRESS_FILE [--tls]  writes the server's postgresql:// address into
#       ADDRESS_FILE. With --tls it also listens on 127.0.0.1 with a certificate for localhost
#       signed by a test CA (ADDRESS_FILE.ca; ADDRESS_FILE.wrong-ca is a CA that signed
#       nothing), writes the TCP port into ADDRESS_FILE.port, and asks the login "pwuser"
#       (password "right horse") for a password over TCP.
#   pg_server.sh restart ADDRESS_FILE        a fast restart, as an administrator's
#   pg_server.sh pause ADDRESS_FILE SECONDS  stopped for a while, then started again
#   pg_server.sh stop ADDRESS_FILE           stops it and removes the folder
# A start first stops what an earlier start with the same ADDRESS_FILE left (ctest --repeat
# runs a fixture's start again before its stop). A watcher stops the server once the process
# that started it (ctest, or a test program) has gone, so a run killed half-way leaves nothing
# running.
# Without the server's programs it writes no address, and the tests that need one skip.
# The server refuses to run as root, so under root it runs as the postgres account.
set -euo pipefail
self=$(readlink -f "$0")
# The server's account may not be able to enter the caller's folder.
cd /
action=$1
address_file=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1 || true)
as=()
if [ "$(id -u)" -eq 0 ]; then as=(runuser -u postgres --); fi
dir=""
[ -f "$address_file.dir" ] && dir=$(cat "$address_file.dir")

server_start() {
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >/dev/null
}

# Stops the server in folder $1, if any, and removes the folder.
stop_folder() {
  [ -n "$1" ] && [ -d "$1" ] || return 0
  if [ -f "$1/data/postmaster.pid" ]; then
    "${as[@]}" "$bin/pg_ctl" -D "$1/data" -m fast -w -t 60 stop >/dev/null 2>&1 ||
      "${as[@]}" "$bin/pg_ctl" -D "$1/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$1"
}

case $action in
start)
  stop_folder "$dir"
  rm -f "$address_file" "$address_file.dir"
  if [ -z "$bin" ] || [ ! -x "$bin/initdb" ]; then
    echo "No PostgreSQL server is installed; its cases will be skipped."
    exit 0
  fi
  dir=$(mktemp -d /tmp/tarvolin-pg.XXXXXX)
  # Recorded at once, so that a start killed before it finished is cleaned up too.
  echo "$dir" >"$address_file.dir"
  setsid "$self" watch "$dir" "$PPID" </dev/null >/dev/null 2>&1 &
  chmod 755 "$dir"
  if [ "$(id -u)" -eq 0 ]; then chown postgres: "$dir"; fi
  "${as[@]}" "$bin/initdb" -D "$dir/data" -U tarvolin -A trust -E UTF8 --no-sync >"$dir/initdb.log"
  port=$((20000 + RANDOM % 20000))
  conf="$dir/data/postgresql.conf"
  {
    echo "unix_socket_directories = '$dir'"
    echo "port = $port"
    echo "max_connections = 150"
    echo "fsync = off"
    echo "listen_addresses = ''"
  } >>"$conf"
  if [ "${3:-}" = "--tls" ]; then
    tls="$dir/tls"
    mkdir "$tls"
    ( cd "$tls"
      for ca in ca wrong-ca; do
        openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tarvolin test $ca" \
          -keyout "$ca.key" -out "$ca.crt" 2>/dev/null
      done
      openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout server.key \
        -out server.csr 2>/dev/null
      printf 'subjectAltName=DNS:localhost\n' >san.ext
      openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
        -extfile san.ext -out server.crt 2>/dev/null
      chmod 600 server.key )
    if [ "$(id -u)" -eq 0 ]; then chown -R postgres: "$tls"; fi
    cp "$tls/ca.crt" "$address_file.ca"
    cp "$tls/wrong-ca.crt" "$address_file.wrong-ca"
    {
      echo "listen_addresses = '127.0.0.1'"
      echo "ssl = on"
      echo "ssl_cert_file = '$tls/server.crt'"
      echo "ssl_key_file = '$tls/server.key'"
    } >>"$conf"
    # The socket and TCP share the one port.
    tcp=$port
    hba="$dir/data/pg_hba.conf"
    { echo "host all pwuser 127.0.0.1/32 scram-sha-256"; cat "$hba"; } >"$hba.new"
    mv "$hba.new" "$hba"
    if [ "$(id -u)" -eq 0 ]; then chown postgres: "$hba"; fi
    echo "$tcp" >"$address_file.port"
  fi
  server_start
  "${as[@]}" "$bin/psql" -q -h "$dir" -p "$port" -U tarvolin -d postgres \
    -c "CREATE ROLE pwuser LOGIN PASSWORD 'right horse'" >/dev/null
  echo "postgresql://tarvolin@/postgres?host=$dir&port=$port" >"$address_file"
  echo "PostgreSQL server started in $dir on port $port"
  ;;
restart)
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -m fast -w -t 60 restart >/dev/null
  ;;
pause)
  "${as[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 60 stop >/dev/null
  sleep "$3"
  server_start
  ;;
watch)
  # Here ADDRESS_FILE is the server's folder, and $3 the process that started it.
  while kill -0 "$3" 2>/dev/null && [ -d "$address_file" ]; do sleep 1; done
  stop_folder "$address_file"
  ;;
stop)
  stop_folder "$dir"
  rm -f "$address_file" "$address_file.dir" "$address_file.ca" "$address_file.wrong-ca" \
    "$address_file.port"
  ;;
esac
