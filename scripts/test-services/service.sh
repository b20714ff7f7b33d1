#!/usr/bin/env bash
# service.sh: starts and stops the Linux services that Windows tests talk to
# (the network's server, the chat server), so that a test under Wine can use
# them by name. Every service gets a free loopback port and is stopped by its
# own process id.
#
#   service.sh start RUNDIR NAME COMMAND [ARGS...]   @PORT@ in the arguments becomes the port
#   service.sh stop RUNDIR NAME
#   service.sh stop-all RUNDIR
#
# start returns once the port accepts connections, then RUNDIR/NAME.port holds
# the port and RUNDIR/NAME.pid the process id; the output goes to RUNDIR/NAME.log.
# A service that does not come up (within ORV_SERVICE_START_SECONDS, default
# 20) leaves RUNDIR/NAME.failed instead.
set -euo pipefail
usage="usage: service.sh start RUNDIR NAME COMMAND... | stop RUNDIR NAME | stop-all RUNDIR"
action=${1:?$usage}
rundir=${2:?$usage}
mkdir -p "$rundir"

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

port_open() {
    python3 -c 'import socket,sys; s=socket.socket(); s.settimeout(0.2); sys.exit(s.connect_ex(("127.0.0.1", int(sys.argv[1]))))' "$1"
}

stop_one() {
    local pidfile=$rundir/$1.pid
    [ -f "$pidfile" ] || return 0
    local pid; pid=$(cat "$pidfile")
    # The service runs in its own process group; end the whole group.
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL -- "-$pid" 2>/dev/null || true
    rm -f "$pidfile" "$rundir/$1.port"
}

case $action in
start)
    name=${3:?$usage}
    shift 3
    [ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }
    stop_one "$name"
    rm -f "$rundir/$name.failed"
    port=$(free_port)
    args=()
    for arg in "$@"; do args+=("${arg//@PORT@/$port}"); done
    setsid "${args[@]}" </dev/null >"$rundir/$name.log" 2>&1 &
    pid=$!
    echo "$pid" > "$rundir/$name.pid"
    deadline=$((SECONDS + ${ORV_SERVICE_START_SECONDS:-20}))
    while [ $SECONDS -lt $deadline ]; do
        if port_open "$port"; then
            echo "$port" > "$rundir/$name.port.tmp"
            mv "$rundir/$name.port.tmp" "$rundir/$name.port"
            echo "$port"
            exit 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "service $name did not start; its log:" >&2
    cat "$rundir/$name.log" >&2 || true
    stop_one "$name"
    touch "$rundir/$name.failed"
    exit 1
    ;;
stop)
    stop_one "${3:?$usage}"
    ;;
stop-all)
    for pidfile in "$rundir"/*.pid; do
        [ -e "$pidfile" ] || continue
        stop_one "$(basename "$pidfile" .pid)"
    done
    ;;
*)
    echo "$usage" >&2; exit 2 ;;
esac
