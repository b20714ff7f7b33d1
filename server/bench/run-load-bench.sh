#!/usr/bin/env bash
# run-load-bench.sh: the mixed load benchmark against orvane-server.
# Starts the server with the demo network on a free loopback port and runs
# orvserver_loadbench against it: 64 kept-alive connections that log in,
# read trees, change their lists and search paths, plus bursts of new
# connections. Not part of the tests.
# usage: server/bench/run-load-bench.sh [BUILD_DIR] [SERVER_BINARY]
# CONNECTIONS, RUN_SECONDS, BURST, BURST_EVERY_MS, THREADS override the defaults
# (64, 20, 256, 1000, 384).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/host}
server=${2:-$build/server/orvane-server}
threads=${THREADS:-384}

work=$(mktemp -d /tmp/orvloadbench.XXXXXX)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$server" --demo "$work/demo" --port "$port" --threads "$threads" >"$work/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 600); do
    curl -fs "http://127.0.0.1:$port/health" >/dev/null 2>&1 && break
    kill -0 "$server_pid" 2>/dev/null || { cat "$work/server.log" >&2; exit 1; }
    sleep 0.2
done
echo "server: $server, threads $threads, somaxconn $(cat /proc/sys/net/core/somaxconn)"
"$build/server/orvserver_loadbench" --port "$port" --connections "${CONNECTIONS:-64}" --seconds "${RUN_SECONDS:-20}" \
    --burst "${BURST:-256}" --burst-every-ms "${BURST_EVERY_MS:-1000}"
echo "server peak memory: $(grep VmHWM /proc/$server_pid/status | awk '{print $2, $3}')"
