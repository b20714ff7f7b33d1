#!/usr/bin/env bash
# run-demo.sh BUILD WIN_BUILD
# Starts the demo network (the network's server with its demo data and the
# chat server) on loopback and keeps it running until Ctrl-C.
# The main program does not exist yet; once it does, this starts it too.
set -euo pipefail
build=${1:?usage: run-demo.sh BUILD WIN_BUILD}
root=$(cd "$(dirname "$0")/.." && pwd)
server=$build/host/server/orvane-server
demo_dir=${ORV_DEMO_DIR:-$build/demo}

if [ ! -x "$server" ]; then
    echo "The network's server is not built yet ($server)." >&2
    exit 1
fi
mkdir -p "$demo_dir"
services=$demo_dir/services
cleanup() { "$root/scripts/test-services/service.sh" stop-all "$services"; }
trap cleanup EXIT INT TERM

irc_port=$("$root/scripts/test-services/service.sh" start "$services" ircd \
    /bin/bash "$root/scripts/ngircd/run-ngircd.sh" @PORT@ "$demo_dir/ngircd")
# The first start creates the demo network, which takes a while.
port=$(ORV_SERVICE_START_SECONDS=600 "$root/scripts/test-services/service.sh" start "$services" server \
    "$server" --demo "$demo_dir/network" --port @PORT@ --chat-server 127.0.0.1 --chat-port "$irc_port")

cat <<TXT
The demo network is running:
  network server  http://127.0.0.1:$port/   (data in $demo_dir/network)
  chat server     127.0.0.1:$irc_port
The demo accounts and how to sign in with curl are in server/README.md.
The Windows program itself is not written yet; press Ctrl-C to stop.
TXT
while sleep 3600; do :; done
