#!/usr/bin/env bash
# Restarts the throwaway server described in DIR/server.env on the same port, so that
# open client sessions lose their connections: scripts/pg_restart.sh DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/pg_common.sh"
dir=${1:?usage: pg_restart.sh DIR}
pg_load_env "$dir"
pg_as_server_user "$DBGAUGE_PG_OS_USER" "$DBGAUGE_PG_BIN/pg_ctl" -D "$DBGAUGE_PG_DATA" \
  -l "$DBGAUGE_PG_ROOT/server.log" -o "-p $DBGAUGE_PG_PORT" -m fast -w -t 30 restart >/dev/null
