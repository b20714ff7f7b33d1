#!/usr/bin/env bash
# run-demo.sh BUILD WIN_BUILD
# Starts the demo network (the network's server with its demo data, and the
# chat server with its room keeper) on loopback and keeps it running until
# Ctrl-C. The main program does not exist yet; once it does, this starts it too.
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
cleanup() { "$root/scripts/test-services/service.sh" stop-all "$services"; }
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

cat <<TXT
The demo network is running:
  network server  http://127.0.0.1:$port/   (data in $demo_dir/network)
  chat server     127.0.0.1:$irc_port   (ngircd with the room keeper; rooms kept in $demo_dir/ngircd/rooms.state)
The demo accounts and how to sign in with curl are in server/README.md; a chat
client logs in with "PASS <sessionId>", any nick and "USER O<memberId> 0 * :x"
(server/keeper/README.md).
The Windows program itself is not written yet; press Ctrl-C to stop.
TXT
while sleep 3600; do :; done
