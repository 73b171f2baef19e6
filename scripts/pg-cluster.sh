#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL 15 cluster for the test suite.
#   source scripts/pg-cluster.sh start   -> exports PGHOST (socket directory), PGPORT, BRAMBLECOT_PG_TCP
#   scripts/pg-cluster.sh stop DIR
# The cluster listens on 127.0.0.1 on a free port and on a socket directory; the operating-system
# user that runs the tests gets a superuser role of its own name, so peer (trusted) log-on works.
set -euo pipefail
PGBIN=/usr/lib/postgresql/15/bin

# Runs a command as the cluster's server account from "/": the caller's working folder may be one
# only its owner may enter (a checkout under /root, a mktemp -d folder), and the server programs
# refuse to start where they cannot change back to it.
as_postgres() {
    (cd / && runuser -u postgres -- "$@")
}

pg_cluster_start() {
    local base owner me
    me=$(id -un)
    base=$(mktemp -d /tmp/bramblecot-pg.XXXXXX)
    chmod 755 "$base"
    mkdir -p "$base/data" "$base/socket" "$base/log"
    chmod 777 "$base/socket"
    if [ "$(id -u)" -eq 0 ]; then
        owner=postgres
        chown -R postgres:postgres "$base/data" "$base/log"
        as_postgres "$PGBIN/initdb" -D "$base/data" -U postgres --auth-local=peer --auth-host=scram-sha-256 >"$base/initdb.log" 2>&1
    else
        owner=$me
        "$PGBIN/initdb" -D "$base/data" -U "$me" --auth-local=peer --auth-host=scram-sha-256 >"$base/initdb.log" 2>&1
    fi
    # The test databases live for one test: autovacuum has nothing to gain there, and its ANALYZE of
    # a table the schema upgrade is altering can deadlock with that upgrade.
    local port started=0
    for _ in $(seq 1 20); do
        port=$(( 20000 + RANDOM % 30000 ))
        if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then continue; fi
        if [ "$owner" = postgres ]; then
            as_postgres "$PGBIN/pg_ctl" -D "$base/data" -l "$base/log/server.log" -w -t 60 \
                -o "-c listen_addresses=127.0.0.1 -p $port -k $base/socket -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c autovacuum=off" start >/dev/null && started=1
        else
            "$PGBIN/pg_ctl" -D "$base/data" -l "$base/log/server.log" -w -t 60 \
                -o "-c listen_addresses=127.0.0.1 -p $port -k $base/socket -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c autovacuum=off" start >/dev/null && started=1
        fi
        [ "$started" = 1 ] && break
    done
    if [ "$started" != 1 ]; then
        echo "PostgreSQL did not start:" >&2; cat "$base/log/server.log" >&2 || true; return 1
    fi
    if [ "$owner" = postgres ] && [ "$me" != postgres ]; then
        as_postgres psql -h "$base/socket" -p "$port" -U postgres -d postgres -q \
            -c "CREATE ROLE \"$me\" LOGIN SUPERUSER" >/dev/null
    fi
    export PGHOST="$base/socket" PGPORT="$port" BRAMBLECOT_PG_BASE="$base" BRAMBLECOT_PG_OWNER="$owner"
    export BRAMBLECOT_PG_TCP="127.0.0.1:$port"
}

pg_cluster_stop() {
    local base=$1 owner=${2:-postgres}
    [ -d "$base/data" ] || return 0
    if [ "$owner" = postgres ] && [ "$(id -u)" -eq 0 ]; then
        as_postgres "$PGBIN/pg_ctl" -D "$base/data" -m immediate stop >/dev/null 2>&1 || true
    else
        "$PGBIN/pg_ctl" -D "$base/data" -m immediate stop >/dev/null 2>&1 || true
    fi
    rm -rf "$base"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    case "${1:-}" in
        stop) pg_cluster_stop "$2" "${3:-postgres}" ;;
        *) echo "usage: source $0 start | $0 stop DIR [OWNER]" >&2; exit 2 ;;
    esac
elif [ "${1:-}" = start ]; then
    pg_cluster_start
fi
