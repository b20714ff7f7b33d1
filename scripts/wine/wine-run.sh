#!/usr/bin/env bash
# wine-run.sh DIR ARCH PROGRAM [ARGS...]
# Runs a Windows program in the project's Wine session under DIR, starting the
# session first if no test run did. Exits with the program's exit code.
set -euo pipefail
dir=${1:?usage: wine-run.sh DIR ARCH PROGRAM [ARGS...]}
arch=${2:?usage: wine-run.sh DIR ARCH PROGRAM [ARGS...]}
shift 2
if [ ! -f "$dir/session.env" ]; then
    "$(dirname "$0")/wine-session.sh" start "$dir" "$arch" >/dev/null
fi
# shellcheck source=/dev/null
. "$dir/session.env"
exec "$WINELOADER" "$@"
