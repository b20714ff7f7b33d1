#!/usr/bin/env bash
# run-ngircd.sh PORT [DIR [BIN_DIR [--no-keeper]]]: runs one chat server
# instance on 127.0.0.1:PORT until it is stopped (TERM or INT): ngircd with
# the configuration of make-config.sh (written into DIR, default a new
# temporary folder) and the room keeper (orvane-keeper of BIN_DIR, default
# the host build of this checkout; --no-keeper leaves it out, for tests that
# run it themselves). The PAM service of the instance is installed in
# /etc/pam.d while it runs, which needs root or sudo without a password.
#
# Logins only succeed once DIR/auth-server names orvane-server ("host:port");
# run-demo.sh and the tests write it after starting the server, which in turn
# needs this port.
set -euo pipefail
usage="usage: run-ngircd.sh PORT [DIR [BIN_DIR [--no-keeper]]]"
here=$(cd "$(dirname "$0")" && pwd)
port=${1:?$usage}
dir=${2:-$(mktemp -d "${TMPDIR:-/tmp}/orv-ngircd.XXXXXX")}
bin_dir=${3:-$here/../../build/host/server/keeper}
with_keeper=yes
[ "${4:-}" = --no-keeper ] && with_keeper=no

conf=$("$here/make-config.sh" "$port" "$dir" "$bin_dir")
dir=$(dirname "$conf")
ngircd=$(command -v ngircd || echo /usr/sbin/ngircd)
pam_file=/etc/pam.d/orvane-chat-$port

if [ "$(id -u)" -eq 0 ]; then
    as_root() { "$@"; }
elif sudo -n true 2>/dev/null; then
    as_root() { sudo -n "$@"; }
else
    echo "run-ngircd.sh: installing $pam_file needs root or sudo without a password" >&2
    exit 1
fi

pids=()
cleanup() {
    trap - EXIT INT TERM
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    as_root rm -f "$pam_file"
}
trap cleanup EXIT
trap 'exit 0' INT TERM

as_root install -m 644 "$dir/pam.service" "$pam_file"
"$ngircd" -n -f "$conf" &
pids+=($!)
ngircd_pid=$!
# The keeper is started again should it ever end by itself (not for a
# command-line error, exit code 2).
keep_keeper() {
    local child=
    trap '[ -n "$child" ] && kill -TERM "$child" 2>/dev/null; [ -n "$child" ] && wait "$child"; exit 0' TERM
    while :; do
        "$bin_dir/orvane-keeper" --chat-port "$port" --link-file "$dir/keeper.link" --state "$dir/rooms.state" &
        child=$!
        status=0
        wait "$child" || status=$?
        child=
        [ $status -eq 2 ] && exit 2
        echo "run-ngircd.sh: the keeper ended (status $status); starting it again" >&2
        sleep 1
    done
}
if [ $with_keeper = yes ]; then
    keep_keeper &
    pids+=($!)
fi
# Ends with the chat server; the keeper re-links by itself while it runs.
wait "$ngircd_pid"
