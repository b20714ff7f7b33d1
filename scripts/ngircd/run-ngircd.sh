#!/usr/bin/env bash
# run-ngircd.sh PORT [DIR]: writes the chat server's configuration into DIR
# (default: a new temporary folder) and runs ngircd on 127.0.0.1:PORT in the
# foreground, in place of this script, so the caller's process id is the server's.
set -euo pipefail
usage="usage: run-ngircd.sh PORT [DIR]"
port=${1:?$usage}
dir=${2:-$(mktemp -d "${TMPDIR:-/tmp}/orv-ngircd.XXXXXX")}
here=$(cd "$(dirname "$0")" && pwd)
conf=$("$here/make-config.sh" "$port" "$dir")
ngircd=$(command -v ngircd || echo /usr/sbin/ngircd)
exec "$ngircd" -n -f "$conf"
