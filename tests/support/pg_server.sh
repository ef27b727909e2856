#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests that run on the server engine.
#
#   pg_server.sh start STATE_DIR   initdb in a new temporary directory, start the server
#                                  on its own socket directory and a free port (no TCP at
#                                  all), create the test database; its URL goes to
#                                  STATE_DIR/url
#   pg_server.sh stop STATE_DIR    stop that server and remove its directory
#   pg_server.sh run STATE_DIR CMD...
#                                  run CMD with GRADES_TEST_SERVER_URL set to that URL
#
# Debian keeps initdb and pg_ctl outside the PATH; the server refuses to run as
# root, so as root it runs as the postgres user on a directory that user owns.
set -euo pipefail

action="${1:?usage: pg_server.sh start|stop|run STATE_DIR [CMD...]}"
state="${2:?usage: pg_server.sh start|stop|run STATE_DIR [CMD...]}"
shift 2

find_bin() {
  local dir
  if command -v pg_ctl >/dev/null 2>&1 && command -v initdb >/dev/null 2>&1; then
    dirname "$(readlink -f "$(command -v pg_ctl)")"
    return
  fi
  for dir in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    if [ -x "$dir/pg_ctl" ] && [ -x "$dir/initdb" ]; then
      echo "$dir"
      return
    fi
  done
  echo "pg_server.sh: no initdb/pg_ctl found (install postgresql)" >&2
  exit 1
}

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop_server() {
  [ -f "$state/dir" ] || return 0
  local base bin
  base="$(cat "$state/dir")"
  bin="$(find_bin)"
  if [ -d "$base/data" ]; then
    as_owner "$bin/pg_ctl" -D "$base/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$base"
  rm -f "$state/dir" "$state/url"
}

case "$action" in
start)
  mkdir -p "$state"
  stop_server # a server left by an interrupted run
  bin="$(find_bin)"
  base="$(mktemp -d /tmp/grades-pg.XXXXXX)"
  echo "$base" >"$state/dir"
  mkdir -p "$base/socket"
  if [ "$(id -u)" -eq 0 ]; then
    chown -R postgres: "$base"
  fi
  # The cluster's own locale is deliberately not C where one is to be had:
  # lists must come out in code-point order all the same.
  as_owner "$bin/initdb" -D "$base/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 \
    --locale-provider=icu --icu-locale=en-US >"$base/initdb.log" 2>&1 ||
    as_owner "$bin/initdb" -D "$base/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 \
      >"$base/initdb.log" 2>&1
  # One role logs in with a password only, for the start-up's password prompt.
  printf 'local all grades_pw scram-sha-256\nlocal all all trust\n' >"$base/data/pg_hba.conf"
  started=""
  for _ in 1 2 3 4 5 6 7 8; do
    port=$((20000 + RANDOM % 40000))
    [ -e "$base/socket/.s.PGSQL.$port" ] && continue
    if as_owner "$bin/pg_ctl" -D "$base/data" -l "$base/server.log" -w -t 60 \
      -o "-c listen_addresses='' -c unix_socket_directories='$base/socket' -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=100" \
      start >/dev/null 2>&1; then
      started=yes
      break
    fi
  done
  if [ -z "$started" ]; then
    echo "pg_server.sh: the server did not start:" >&2
    cat "$base/server.log" >&2 || true
    exit 1
  fi
  "$bin/psql" -X -q -h "$base/socket" -p "$port" -U postgres -d postgres \
    -c "create database grades_test template template0" >/dev/null
  echo "postgresql:///grades_test?host=$base/socket&port=$port&user=postgres" >"$state/url"
  echo "PostgreSQL $("$bin/postgres" --version | awk "{print \$3}") on $base/socket, port $port"
  ;;
stop)
  stop_server
  ;;
run)
  if [ ! -f "$state/url" ]; then
    echo "pg_server.sh: no test server is running for $state" >&2
    exit 1
  fi
  GRADES_TEST_SERVER_URL="$(cat "$state/url")"
  export GRADES_TEST_SERVER_URL
  exec "$@"
  ;;
*)
  echo "pg_server.sh: unknown action $action" >&2
  exit 2
  ;;
esac
