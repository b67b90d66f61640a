#!/usr/bin/env bash
# The demo: builds dbgauge, starts a throwaway PostgreSQL server, puts a pgbench load on
# it and watches the load live through the monitor with a handful of measurements. At the
# end it prints a summary and where the samples (CSV) and the chart (SVG) are, and stops
# the server.
#
#   scripts/demo.sh [--duration SECONDS]
#   scripts/demo.sh --server HOST[:PORT][/DB] --user USER [--duration SECONDS]
#       watches an existing server instead (no load is put on it); the password comes
#       from DBGAUGE_PASSWORD. DBGAUGE_SERVER and DBGAUGE_USER may stand for the options.
# Needs no terminal input; works as root (the server then runs as "postgres").
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

server=${DBGAUGE_SERVER:-}
user=${DBGAUGE_USER:-}
duration=30
while [ $# -gt 0 ]; do
  case "$1" in
    --server) server=${2:?--server needs a value}; shift 2 ;;
    --user) user=${2:?--user needs a value}; shift 2 ;;
    --duration) duration=${2:?--duration needs a value}; shift 2 ;;
    -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
    *) echo "demo: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done
case "$duration" in ''|*[!0-9]*|0) echo "demo: --duration must be a whole number of seconds" >&2; exit 2 ;; esac

scripts/setup.sh
scripts/build.sh build

demo=$top/build/demo
rm -rf "$demo"
mkdir -p "$demo"
# A private copy of the installation that samples every second, with the rate flags and
# the custom counter the demo picks.
cp -a build/stage "$demo/prefix"
cat > "$demo/prefix/dat/monitors/dbgauge.cfg" <<'CFG'
[V$ Monitor]
SamplingRate=1
Counters=2
CustomCounters=1
[0]
Name=user commits
IsRate=1
[1]
Name=physical reads
IsRate=1
[Custom0]
Name=active sessions
Query=SELECT COUNT(*) FROM pg_stat_activity WHERE state = 'active'
CFG

load_pid=
cleanup() {
  if [ -n "$load_pid" ]; then kill "$load_pid" 2>/dev/null || true; fi
  if [ -f "$demo/pg/server.env" ]; then scripts/pg_stop.sh "$demo/pg" >/dev/null || true; fi
}
trap cleanup EXIT

if [ -z "$server" ]; then
  echo "== starting a throwaway PostgreSQL server"
  scripts/pg_start.sh "$demo/pg"
  . "$demo/pg/server.env"
  server=$DBGAUGE_PG_CONNECT
  user=$DBGAUGE_PG_MONITOR_USER
  export DBGAUGE_PASSWORD=$DBGAUGE_PG_MONITOR_PASSWORD
  admin=(-h "$DBGAUGE_PG_HOST" -p "$DBGAUGE_PG_PORT" -U "$DBGAUGE_PG_ADMIN_USER")
  echo "== pgbench: creating its tables, then $duration seconds of load with 4 clients"
  PGPASSWORD=$DBGAUGE_PG_ADMIN_PASSWORD pgbench "${admin[@]}" -i -q "$DBGAUGE_PG_DATABASE" \
    >"$demo/pgbench-init.log" 2>&1
  PGPASSWORD=$DBGAUGE_PG_ADMIN_PASSWORD pgbench "${admin[@]}" -T "$duration" -c 4 -j 2 -n \
    -P 5 "$DBGAUGE_PG_DATABASE" >"$demo/pgbench.log" 2>&1 &
  load_pid=$!
else
  [ -n "$user" ] || { echo "demo: --user is needed with --server" >&2; exit 2; }
  echo "== watching $server as $user"
fi

# Measurements are picked by name through the monitor's browse interface, as a
# controller's dialog picks them; the database instance is the first that browse lists.
instance=$("$demo/prefix/bin/dbgauge" browse --server "$server" --user "$user" </dev/null |
  awk '/^V\$SYSSTAT$/ { object = 1 } object && /^    / { sub(/^ +/, ""); print; exit }')
[ -n "$instance" ] || { echo "demo: the database lists no instance" >&2; exit 1; }
echo "== watching for $duration seconds"
"$demo/prefix/bin/dbgauge" watch --server "$server" --user "$user" \
  --pick "V\$SYSSTAT/user commits/$instance" \
  --pick "V\$SYSSTAT/logons current/$instance" \
  --pick "V\$SYSSTAT/physical reads/$instance" \
  --pick "CUSTOM/active sessions/Custom query" \
  --duration "$duration" --csv "$demo/samples.csv" --chart "$demo/chart.svg" </dev/null

if [ -n "$load_pid" ]; then
  wait "$load_pid" || true
  load_pid=
  echo
  echo "pgbench reported: $(grep -m1 '^tps' "$demo/pgbench.log" || echo 'no figure (see build/demo/pgbench.log)')"
fi
echo "Samples: $demo/samples.csv"
echo "Chart:   $demo/chart.svg"
