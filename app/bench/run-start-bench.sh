#!/usr/bin/env bash
# run-start-bench.sh [ROUNDS]: the start benchmark against the demo network.
# Starts orvane-server with the demo network and the chat server, signs the
# program in as demo1 in the project's prefix, measures the servers' own
# times for a start (log-in and the member's tree with curl, the chat log-in
# with chat-login-time.py), then runs OrvStartBench.exe, which prints the
# program's own start marks (include/OrvStartTrace.h) as well. Uses build/ of this checkout (BUILD_DIR overrides)
# and the Windows build the tests run (build/win, or build/win64 where the
# machine runs no 32-bit code).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-5}
if /usr/lib/wine/wine --version >/dev/null 2>&1; then win=$build/win arch=i686; else win=$build/win64 arch=x86_64; fi
demo_dir=$build/bench-demo
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

# The servers' part of a start, as the program asks for it: the log-in and
# the member's tree (curl), and the chat log-in with the same session (a raw
# IRC client against the same ngircd, keeper and password check).
B=http://127.0.0.1:$port/api/v1
server_ms=() login_ms=() chat_ms=()
for _ in $(seq 1 "$rounds"); do
    t1=$(curl -s -o /tmp/orv-bench-login.$$ -w '%{time_total}' "$B/check-user" \
        -d '{"email":"demo1@example.com","password":"orvane-demo-1","clientKind":"1","version":"1.0"}')
    session=$(sed -n 's/.*"sessionId":"\([^"]*\)".*/\1/p' /tmp/orv-bench-login.$$)
    member=$(sed -n 's/.*"memberId":"\([^"]*\)".*/\1/p' /tmp/orv-bench-login.$$)
    chat_ms+=("$(python3 "$root/app/bench/chat-login-time.py" 127.0.0.1 "$irc_port" "$session" "$member")")
    t2=$(curl -s -o /dev/null -w '%{time_total}' "$B/get-tree" -d "{\"id\":\"$member\",\"session\":\"$session\"}")
    curl -s -o /dev/null "$B/kill-session" -d "{\"session\":\"$session\"}"
    server_ms+=("$(awk -v a="$t1" -v b="$t2" 'BEGIN { printf "%.1f", (a + b) * 1000 }')")
    login_ms+=("$(awk -v a="$t1" 'BEGIN { printf "%.1f", a * 1000 }')")
done
rm -f /tmp/orv-bench-login.$$
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
printf 'server answers (log-in + tree) per start, ms:'
printf ' %.1f' "${server_ms[@]}"
printf '; median %s\n' "$(median "${server_ms[@]}")"
printf 'of which the log-in, ms:'
printf ' %.1f' "${login_ms[@]}"
printf '; median %s\n' "$(median "${login_ms[@]}")"
printf 'chat log-in (connect to identity) per start, ms:'
printf ' %.1f' "${chat_ms[@]}"
printf '; median %s\n' "$(median "${chat_ms[@]}")"
"$WINELOADER" "$win/bin/OrvStartBench.exe" "$rounds"
