#!/usr/bin/env bash
# Stops the throwaway server described in DIR/server.env and removes its cluster:
# scripts/pg_stop.sh DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/pg_common.sh"
dir=${1:?usage: pg_stop.sh DIR}
pg_load_env "$dir"
if [ -d "$DBGAUGE_PG_DATA" ]; then
  pg_as_server_user "$DBGAUGE_PG_OS_USER" "$DBGAUGE_PG_BIN/pg_ctl" -D "$DBGAUGE_PG_DATA" \
    -m fast -w -t 30 stop >/dev/null 2>&1 || true
fi
case "$DBGAUGE_PG_ROOT" in
  */dbgauge-pg.*) rm -rf "$DBGAUGE_PG_ROOT" ;;
esac
rm -f "$dir/server.env"
echo "pg_stop: stopped"
