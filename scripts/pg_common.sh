# Shared helpers of the throwaway PostgreSQL server scripts (sourced, not run).
# The server runs as an unprivileged user: the calling user, or, when that is root,
# the system user "postgres" (created as a system user if it does not exist).

pg_bindir() {
  local dir
  dir=$(pg_config --bindir 2>/dev/null || true)
  if [ -z "$dir" ] || [ ! -x "$dir/initdb" ]; then
    dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  fi
  if [ -z "$dir" ] || [ ! -x "$dir/initdb" ]; then
    echo "pg: no PostgreSQL server binaries found (install postgresql)" >&2
    return 1
  fi
  echo "$dir"
}

pg_server_user() {
  if [ "$(id -u)" -ne 0 ]; then
    id -un
    return
  fi
  if ! getent passwd postgres >/dev/null; then
    useradd --system --no-create-home --shell /usr/sbin/nologin postgres
  fi
  echo postgres
}

# Runs a command as the server user.
pg_as_server_user() {
  local user=$1; shift
  if [ "$(id -un)" = "$user" ]; then
    "$@"
  else
    runuser -u "$user" -- "$@"
  fi
}

# Reads DIR/server.env into the current shell; fails when there is none.
pg_load_env() {
  local env=$1/server.env
  if [ ! -f "$env" ]; then
    echo "pg: no server described in $env" >&2
    return 1
  fi
  # shellcheck disable=SC1090
  . "$env"
}
