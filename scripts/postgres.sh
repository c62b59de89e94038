# Sourced by the other scripts: a private PostgreSQL cluster for the repository's server tests, in
# a temporary folder, listening only on a Unix socket in that folder (no TCP port), with fsync off
# since nothing in it outlives the run. As root the cluster runs as the user "postgres".
#   vaq_start_postgres   initdb and start; exports VAQ_TEST_POSTGRES (the URI the tests connect to)
#   vaq_stop_postgres    stop it and remove the folder (safe to call twice, or when none was started)

vaq_postgres_run() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

vaq_start_postgres() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if [ ! -x "$bin/initdb" ]; then
    echo "PostgreSQL's initdb is missing (Debian package postgresql)" >&2
    return 1
  fi
  VAQ_PG_BIN=$bin
  VAQ_PG_DIR=$(mktemp -d /tmp/vaq-pg.XXXXXX)
  [ "$(id -u)" = 0 ] && chown postgres: "$VAQ_PG_DIR"
  if ! vaq_postgres_run "$bin/initdb" -D "$VAQ_PG_DIR/data" -U postgres --auth=trust --encoding=UTF8 \
    --locale=C.UTF-8 >"$VAQ_PG_DIR/initdb.log" 2>&1; then
    cat "$VAQ_PG_DIR/initdb.log" >&2
    return 1
  fi
  if ! vaq_postgres_run "$bin/pg_ctl" -D "$VAQ_PG_DIR/data" -l "$VAQ_PG_DIR/server.log" -w \
    -o "-c listen_addresses='' -c unix_socket_directories='$VAQ_PG_DIR' -c fsync=off -c max_connections=60" \
    start >/dev/null; then
    cat "$VAQ_PG_DIR/server.log" >&2
    return 1
  fi
  export VAQ_TEST_POSTGRES="postgresql:///postgres?host=$VAQ_PG_DIR&user=postgres"
  echo "== PostgreSQL cluster for the tests: $VAQ_TEST_POSTGRES"
}

vaq_stop_postgres() {
  [ -n "${VAQ_PG_DIR:-}" ] || return 0
  vaq_postgres_run "$VAQ_PG_BIN/pg_ctl" -D "$VAQ_PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$VAQ_PG_DIR"
  VAQ_PG_DIR=
  unset VAQ_TEST_POSTGRES
}
