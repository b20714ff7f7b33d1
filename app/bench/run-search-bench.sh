#!/usr/bin/env bash
# run-search-bench.sh [ROUNDS]: the search benchmark against the demo network.
# Starts orvane-server with the demo network and the chat server, signs the
# program in as demo1 in the project's prefix, measures the server's own
# answer times for the benchmark's search and search-path (curl, same
# requests, same member), then runs OrvSearchBench.exe. Uses build/ of this
# checkout (BUILD_DIR overrides) and the Windows build the tests run
# (ORV_TEST_ARCH=i686 or x86_64 chooses, as for build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-10}
query=${ORV_BENCH_QUERY:-maya pilot}
words=${query// /;}
case ${ORV_TEST_ARCH:-auto} in
i686) win=$build/win arch=i686 ;;
x86_64) win=$build/win64 arch=x86_64 ;;
*) if /usr/lib/wine/wine --version >/dev/null 2>&1; then win=$build/win arch=i686; else win=$build/win64 arch=x86_64; fi ;;
esac
demo_dir=$build/bench-search-demo
services=$demo_dir/services
mkdir -p "$demo_dir"
cleanup() {
    "$root/scripts/test-services/service.sh" stop-all "$services"
    "$root/scripts/wine/wine-session.sh" stop "$win/wine" "$arch" >/dev/null 2>&1 || true
}
trap cleanup EXIT INT TERM
irc_port=$("$root/scripts/test-services/service.sh" start "$services" ircd \
    /bin/bash "$root/scripts/ngircd/run-ngircd.sh" @PORT@ "$demo_dir/ngircd" "$build/host/server/keeper")
port=$(ORV_SERVICE_START_SECONDS=600 "$root/scripts/test-services/service.sh" start "$services" server \
    "$build/host/server/orvane-server" --demo "$demo_dir/network" --port @PORT@ --chat-port "$irc_port")
echo "127.0.0.1:$port" > "$demo_dir/ngircd/auth-server"
chmod 644 "$demo_dir/ngircd/auth-server"

"$root/scripts/wine/wine-session.sh" start "$win/wine" "$arch" >/dev/null
# shellcheck source=/dev/null
. "$win/wine/session.env"
"$WINELOADER" "$win/bin/OrvDemoSetup.exe" account "http://127.0.0.1:$port" demo1@example.com orvane-demo-1

# The server's part: the same search and search-path with a session of demo1.
B=http://127.0.0.1:$port/api/v1
answer=$(curl -s "$B/check-user" \
    -d '{"email":"demo1@example.com","password":"orvane-demo-1","clientKind":"1","version":"1.0"}')
session=$(sed -n 's/.*"sessionId":"\([^"]*\)".*/\1/p' <<<"$answer")
# The destination: the last found member whose address is shown, a few steps away.
found=$(curl -s "$B/search" -d "{\"query\":\"$words\",\"kind\":\"\",\"session\":\"$session\"}")
destination=$(grep -o '"email":"[^"]*@[^"]*"' <<<"$found" | tail -1 | sed 's/"email":"\(.*\)"/\1/')
search_ms=() path_ms=()
for _ in $(seq 1 "$rounds"); do
    search_ms+=("$(curl -s -o /dev/null -w '%{time_total}' "$B/search" \
        -d "{\"query\":\"$words\",\"kind\":\"\",\"session\":\"$session\"}" | awk '{ printf "%.1f", $1 * 1000 }')")
    path_ms+=("$(curl -s -o /dev/null -w '%{time_total}' "$B/search-path" \
        -d "{\"source\":\"demo1@example.com\",\"destination\":\"$destination\",\"session\":\"$session\"}" |
        awk '{ printf "%.1f", $1 * 1000 }')")
done
curl -s -o /dev/null "$B/kill-session" -d "{\"session\":\"$session\"}"
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }'; }
echo "query \"$query\", destination $destination"
printf 'server answers, search, ms:'; printf ' %s' "${search_ms[@]}"; echo " (median $(median "${search_ms[@]}"))"
printf 'server answers, path, ms:'; printf ' %s' "${path_ms[@]}"; echo " (median $(median "${path_ms[@]}"))"
"$WINELOADER" "$win/bin/OrvSearchBench.exe" "$rounds" "$query" "$destination"
