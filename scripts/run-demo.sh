#!/usr/bin/env bash
# run-demo.sh BUILD WIN_BUILD
# Starts the demo network (the network's server with its demo data, and the
# chat server with its room keeper) on loopback, signs the program in as the
# demo member demo1 (the settings store's "url" and account, in the project's
# Wine prefix) and starts Orvane.exe under Wine: on the current display, or
# on a virtual one when there is none, with a screenshot of the main window
# written to ORV_DEMO_SCREENSHOT (default BUILD/demo/orvane-demo.png).
# Everything runs until Ctrl-C (or until the program is closed with File, Exit).
set -euo pipefail
build=${1:?usage: run-demo.sh BUILD WIN_BUILD}
root=$(cd "$(dirname "$0")/.." && pwd)
server=$build/host/server/orvane-server
keeper_bin=$build/host/server/keeper
demo_dir=${ORV_DEMO_DIR:-$build/demo}

for program in "$server" "$keeper_bin/orvane-keeper" "$keeper_bin/orvane-chat-auth"; do
    if [ ! -x "$program" ]; then
        echo "$program is not built yet." >&2
        exit 1
    fi
done
mkdir -p "$demo_dir"
services=$demo_dir/services
win_dir=${2:?usage: run-demo.sh BUILD WIN_BUILD}
case $(basename "$win_dir") in
win64) arch=x86_64 ;;
*)     arch=i686 ;;
esac
wine_dir=$win_dir/wine
screenshot=${ORV_DEMO_SCREENSHOT:-$demo_dir/orvane-demo.png}
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    "$root/scripts/test-services/service.sh" stop-all "$services"
    [ -f "$wine_dir/session.env" ] && "$root/scripts/wine/wine-session.sh" stop "$wine_dir" "$arch" >/dev/null 2>&1 || true
}
trap cleanup EXIT INT TERM

# The chat server (ngircd and the room keeper); its logins need the
# network's server, which is told the chat server's port in turn: the
# address file closes the circle.
irc_port=$("$root/scripts/test-services/service.sh" start "$services" ircd \
    /bin/bash "$root/scripts/ngircd/run-ngircd.sh" @PORT@ "$demo_dir/ngircd" "$keeper_bin")
# The first start creates the demo network, which takes a while.
port=$(ORV_SERVICE_START_SECONDS=600 "$root/scripts/test-services/service.sh" start "$services" server \
    "$server" --demo "$demo_dir/network" --port @PORT@ --chat-server 127.0.0.1 --chat-port "$irc_port")
echo "127.0.0.1:$port" > "$demo_dir/ngircd/auth-server"
chmod 644 "$demo_dir/ngircd/auth-server"

# The program: its folder is WIN_BUILD/bin; the account goes into the
# settings store of the project's prefix.
bin=$win_dir/bin
for program in "$bin/Orvane.exe" "$bin/OrvDemoSetup.exe"; do
    if [ ! -f "$program" ]; then
        echo "$program is not built yet." >&2
        exit 1
    fi
done
had_display=${DISPLAY:-}
"$root/scripts/wine/wine-session.sh" start "$wine_dir" "$arch" >/dev/null
# shellcheck source=/dev/null
. "$wine_dir/session.env"
"$WINELOADER" "$bin/OrvDemoSetup.exe" account "http://127.0.0.1:$port" demo1@example.com orvane-demo-1

cat <<TXT
The demo network is running:
  network server  http://127.0.0.1:$port/   (data in $demo_dir/network)
  chat server     127.0.0.1:$irc_port   (ngircd with the room keeper; rooms kept in $demo_dir/ngircd/rooms.state)
Orvane is signed in as the demo member:
  e-mail    demo1@example.com
  password  orvane-demo-1
(demo2@example.com to demo5@example.com with orvane-demo-2 to orvane-demo-5
work too; server/README.md tells how to sign in with curl.)
TXT

"$WINELOADER" "$bin/Orvane.exe" &
program_pid=$!
if "$WINELOADER" "$bin/OrvDemoSetup.exe" wait 180; then
    if [ -z "$had_display" ]; then
        # No display of the member's own: show what the program shows.
        sleep 3
        import -display "$DISPLAY" -window root "$screenshot"
        echo "No display: Orvane runs on the virtual display $DISPLAY; its screenshot is $screenshot"
    else
        echo "Orvane runs on $DISPLAY; close it with File, Exit (or press Ctrl-C here)."
    fi
else
    echo "Orvane's main window did not show within 180 s." >&2
fi
wait "$program_pid" || true
program_pid=
