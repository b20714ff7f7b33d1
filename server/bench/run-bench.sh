#!/usr/bin/env bash
# run-bench.sh: the server benchmarks in one run.
#   1. orvserver_bench: the graph (1 000 000 members by default) and its 1 000 pairs,
#      one shortest path and search-paths with JSON;
#   2. python3-networkx's bidirectional_shortest_path on the same graph and pairs;
#   3. wrk against orvane-server's tree answers (demo network) and against nginx
#      serving the same JSON bytes as a static file, with the same connections.
# usage: server/bench/run-bench.sh [BUILD_DIR]   (default build/host)
# MEMBERS, CONNECTIONS, DURATION override the defaults (1000000, 32, 15s).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build/host}
members=${MEMBERS:-1000000}
connections=${CONNECTIONS:-32}
duration=${DURATION:-15s}
python=/usr/bin/python3   # Debian's python3 with python3-networkx

work=$(mktemp -d /tmp/orvbench.XXXXXX)
chmod 755 "$work"
server_pid=
nginx_pid=
cleanup() {
    [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null || true
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

free_port() {
    "$python" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
wait_http() {
    for _ in $(seq 1 600); do
        curl -fs "$1" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    echo "no answer from $1" >&2
    return 1
}

echo "== machine"
echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
echo "memory: $(free -g | awk '/Mem:/ {print $2}') GiB; kernel $(uname -r)"
echo "compiler: $(g++ --version | head -1)"
echo "versions: cpp-httplib $(dpkg-query -W -f='${Version}' libcpp-httplib-dev), sqlite $(dpkg-query -W -f='${Version}' libsqlite3-dev)," \
     "networkx $(dpkg-query -W -f='${Version}' python3-networkx), wrk $(dpkg-query -W -f='${Version}' wrk), nginx $(dpkg-query -W -f='${Version}' nginx)"

echo "== graph: orvane"
"$build/server/orvserver_bench" --members "$members" --out "$work" | tee "$work/orvane.json"
echo "== graph: networkx"
"$python" "$here/networkx_bench.py" "$work" | tee "$work/networkx.json"
"$python" - "$work" <<'PY'
import json, sys
w = sys.argv[1]
o = json.load(open(w + "/orvane.json")); n = json.load(open(w + "/networkx.json"))
a = open(w + "/orvane-hops.txt").read().split(); b = open(w + "/networkx-hops.txt").read().split()
print("== graph: comparison")
print("pairs where the two disagree on the distance: %d of %d" % (sum(x != y for x, y in zip(a, b)), len(a)))
print("one path p50: %.4f ms vs %.4f ms (%.1fx faster)" % (o["onePath"]["p50ms"], n["onePath"]["p50ms"], n["onePath"]["p50ms"] / o["onePath"]["p50ms"]))
print("one path p99: %.4f ms vs %.4f ms (%.1fx faster)" % (o["onePath"]["p99ms"], n["onePath"]["p99ms"], n["onePath"]["p99ms"] / o["onePath"]["p99ms"]))
print("search-paths with JSON: p50 %.4f ms, p99 %.4f ms" % (o["searchPaths"]["p50ms"], o["searchPaths"]["p99ms"]))
print("graph memory: %.1f MiB vs %.1f MiB (%.1f%%)" % (o["graphBytes"] / 2**20, n["graphRssDeltaBytes"] / 2**20, 100.0 * o["graphBytes"] / n["graphRssDeltaBytes"]))
PY
rm -f "$work/edges.bin"

echo "== HTTP: tree answers with wrk, $connections connections, $duration"
port=$(free_port)
"$build/server/orvane-server" --demo "$work/demo" --port "$port" --threads $((connections * 2)) >"$work/server.log" 2>&1 &
server_pid=$!
wait_http "http://127.0.0.1:$port/health"
login=$(curl -fs "http://127.0.0.1:$port/api/v1/check-user" \
    -d '{"email":"demo1@example.com","password":"orvane-demo-1","clientKind":"1","version":"1.0"}')
session=$(echo "$login" | "$python" -c 'import json,sys; print(json.load(sys.stdin)["sessionId"])')
member=$(echo "$login" | "$python" -c 'import json,sys; print(json.load(sys.stdin)["memberId"])')
body="{\"id\":\"$member\",\"session\":\"$session\"}"
mkdir -p "$work/www" "$work/nginx-tmp"
chmod 755 "$work/www"
curl -fs "http://127.0.0.1:$port/api/v1/get-tree" -d "$body" >"$work/www/tree.json"
chmod 644 "$work/www/tree.json"
echo "tree answer: $(wc -c <"$work/www/tree.json") bytes, $("$python" -c 'import json,sys; print(json.load(open(sys.argv[1]))["count"])' "$work/www/tree.json") records"
cat >"$work/post.lua" <<LUA
wrk.method = "POST"
wrk.body = '$body'
wrk.headers["Content-Type"] = "application/json"
LUA
nport=$(free_port)
cat >"$work/nginx.conf" <<NGINX
worker_processes auto;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
    access_log off;
    types { application/json json; }
    client_body_temp_path $work/nginx-tmp/body;
    proxy_temp_path $work/nginx-tmp/proxy;
    fastcgi_temp_path $work/nginx-tmp/fastcgi;
    uwsgi_temp_path $work/nginx-tmp/uwsgi;
    scgi_temp_path $work/nginx-tmp/scgi;
    server {
        listen 127.0.0.1:$nport;
        root $work/www;
        location / { }
    }
}
NGINX
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
wait_http "http://127.0.0.1:$nport/tree.json"
cmp -s <(curl -fs "http://127.0.0.1:$nport/tree.json") "$work/www/tree.json" && echo "nginx serves the same bytes"
echo "-- orvane-server (POST /api/v1/get-tree)"
wrk -t2 -c"$connections" -d"$duration" --latency -s "$work/post.lua" "http://127.0.0.1:$port/api/v1/get-tree" | tee "$work/wrk-orvane.txt"
echo "-- nginx (GET /tree.json, static file)"
wrk -t2 -c"$connections" -d"$duration" --latency "http://127.0.0.1:$nport/tree.json" | tee "$work/wrk-nginx.txt"
o=$(awk '/Requests\/sec/ {print $2}' "$work/wrk-orvane.txt")
n=$(awk '/Requests\/sec/ {print $2}' "$work/wrk-nginx.txt")
"$python" -c "import sys; o, n = float(sys.argv[1]), float(sys.argv[2]); print('tree answers: %.0f req/s vs nginx %.0f req/s (%.0f%%)' % (o, n, 100 * o / n))" "$o" "$n"
