#!/usr/bin/env bash
# Starts a throwaway PostgreSQL server for tests and the demo: scripts/pg_start.sh DIR
#
# The cluster lives in a fresh temporary directory, listens on a free loopback port with
# password (scram) authentication only, and has an admin role, a monitoring role
# "dbgauge_monitor" (member of pg_monitor, no superuser), a database "dbgauge" and the V$
# views. DIR/server.env describes it in shell syntax for the tests and the demo.
# A server still described in DIR is stopped first. Stop it with scripts/pg_stop.sh DIR.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/pg_common.sh"

dir=${1:?usage: pg_start.sh DIR}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
[ -f "$dir/server.env" ] && "$here/pg_stop.sh" "$dir" >/dev/null 2>&1 || true

bindir=$(pg_bindir)
user=$(pg_server_user)
views=${DBGAUGE_VIEWS_SQL:-$here/../pgoci/sql/dbgauge_views.sql}
[ -f "$views" ] || { echo "pg_start: views script $views not found" >&2; exit 1; }

data_root=$(mktemp -d "${TMPDIR:-/tmp}/dbgauge-pg.XXXXXX")
chmod 700 "$data_root"
[ "$(id -un)" = "$user" ] || chown "$user" "$data_root"
data=$data_root/data
secret() { od -An -N12 -tx1 /dev/urandom | tr -d ' \n'; }
admin_user=dbgauge_admin
admin_password=$(secret)
monitor_user=dbgauge_monitor
monitor_password=$(secret)
database=dbgauge

pwfile=$data_root/pwfile
printf '%s\n' "$admin_password" > "$pwfile"
[ "$(id -un)" = "$user" ] || chown "$user" "$pwfile"
pg_as_server_user "$user" "$bindir/initdb" -D "$data" -U "$admin_user" --pwfile="$pwfile" \
  --auth-host=scram-sha-256 --auth-local=scram-sha-256 -E UTF8 --locale=C.UTF-8 \
  >"$data_root/initdb.log" 2>&1 || { cat "$data_root/initdb.log" >&2; exit 1; }
rm -f "$pwfile"

cat >> "$data/postgresql.conf" <<CONF
# dbgauge throwaway server
listen_addresses = '127.0.0.1'
unix_socket_directories = ''
max_connections = 60
shared_buffers = 32MB
fsync = off
synchronous_commit = off
full_page_writes = off
track_activities = on
track_counts = on
track_io_timing = on
track_wal_io_timing = on
track_functions = all
log_min_messages = warning
CONF

# A port that looks free may be taken by a concurrent start: retry with another one.
started=
for attempt in $(seq 1 20); do
  port=$(( 20000 + (RANDOM * 32768 + RANDOM) % 30000 ))
  if (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null; then continue; fi
  if pg_as_server_user "$user" "$bindir/pg_ctl" -D "$data" -l "$data_root/server.log" \
       -o "-p $port" -w -t 30 start >/dev/null 2>&1; then
    started=1; break
  fi
done
if [ -z "$started" ]; then
  echo "pg_start: the server did not start" >&2
  cat "$data_root/server.log" >&2 || true
  rm -rf "$data_root"
  exit 1
fi

cat > "$dir/server.env" <<ENV
DBGAUGE_PG_HOST=127.0.0.1
DBGAUGE_PG_PORT=$port
DBGAUGE_PG_DATABASE=$database
DBGAUGE_PG_CONNECT=127.0.0.1:$port/$database
DBGAUGE_PG_ADMIN_USER=$admin_user
DBGAUGE_PG_ADMIN_PASSWORD=$admin_password
DBGAUGE_PG_MONITOR_USER=$monitor_user
DBGAUGE_PG_MONITOR_PASSWORD=$monitor_password
DBGAUGE_PG_DATA=$data
DBGAUGE_PG_ROOT=$data_root
DBGAUGE_PG_BIN=$bindir
DBGAUGE_PG_OS_USER=$user
ENV

export PGPASSWORD=$admin_password PGCONNECT_TIMEOUT=10
psql_admin() { psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U "$admin_user" "$@"; }
psql_admin -d postgres -c "CREATE DATABASE $database" \
  -c "CREATE ROLE $monitor_user LOGIN PASSWORD '$monitor_password' IN ROLE pg_monitor"
psql_admin -d "$database" -f "$views" >/dev/null
echo "pg_start: server on 127.0.0.1:$port, described in $dir/server.env"
