#!/usr/bin/env bash
# Under a real pgbench load, the "user commits" rate that dbgauge reports agrees with the
# transactions per second that pgbench reports, within 10%.
#   pgbench_load_test.sh STAGED_DBGAUGE      (DBGAUGE_TEST_PG names the server's env file)
set -euo pipefail
dbgauge=${1:?usage: pgbench_load_test.sh PATH/bin/dbgauge}
. "${DBGAUGE_TEST_PG:?DBGAUGE_TEST_PG is not set}"
command -v pgbench >/dev/null || { echo "pgbench is not installed" >&2; exit 1; }

watcher=
work=$(mktemp -d "${TMPDIR:-/tmp}/dbgauge-load.XXXXXX")
trap 'if [ -n "$watcher" ]; then kill "$watcher" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
# A private copy of the installation that samples every second.
prefix=$work/prefix
cp -a "$(dirname "$dbgauge")/.." "$prefix"
printf '[V$ Monitor]\nSamplingRate=1\n' > "$prefix/dat/monitors/dbgauge.cfg"

export PGPASSWORD=$DBGAUGE_PG_ADMIN_PASSWORD
admin=(-h "$DBGAUGE_PG_HOST" -p "$DBGAUGE_PG_PORT" -U "$DBGAUGE_PG_ADMIN_USER")
commits=$(psql -X -At "${admin[@]}" -d "$DBGAUGE_PG_DATABASE" \
  -c "SELECT statistic_no FROM dbgauge.\"v\$statname\" WHERE name = 'user commits'")
pgbench "${admin[@]}" -i -q "$DBGAUGE_PG_DATABASE" >"$work/init.log" 2>&1

DBGAUGE_PASSWORD=$DBGAUGE_PG_MONITOR_PASSWORD "$prefix/bin/dbgauge" watch --plain \
  --server "$DBGAUGE_PG_CONNECT" --user "$DBGAUGE_PG_MONITOR_USER" \
  --measure "commits=2SELECT VALUE FROM V\$SYSSTAT WHERE STATISTIC# = $commits" \
  --duration 24 --csv "$work/samples.csv" >"$work/watch.log" 2>&1 &
watcher=$!
sleep 2
start=$(date +%s.%N)
pgbench "${admin[@]}" -T 18 -c 4 -j 2 -n "$DBGAUGE_PG_DATABASE" >"$work/pgbench.log" 2>&1
end=$(date +%s.%N)
wait "$watcher"; watcher=

tps=$(sed -n 's/^tps = \([0-9.]*\).*/\1/p' "$work/pgbench.log" | head -n 1)
# Rates whose whole interval lies inside the run (each row's time ends its interval).
read -r count mean < <(awk -F, -v s="$start" -v e="$end" \
  'NR > 1 && $3 == "rate" && $5 == "" && $1 > s + 2 && $1 < e - 0.5 { n++; sum += $4 }
   END { printf "%d %.3f\n", n, n ? sum / n : 0 }' "$work/samples.csv")
echo "pgbench tps=$tps; dbgauge user commits: $count rates, mean $mean per second"
[ -n "$tps" ] && [ "$count" -ge 5 ] || { cat "$work/pgbench.log" "$work/watch.log"; exit 1; }
awk -v a="$mean" -v b="$tps" 'BEGIN { d = (a - b) / b; if (d < 0) d = -d; exit !(d <= 0.10) }' ||
  { echo "the rates differ by more than 10%"; exit 1; }
