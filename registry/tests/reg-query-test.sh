#!/usr/bin/env bash
# Runs a program that writes through registry.dll, then checks with Wine's own
# "reg query" that every value is there with its registry type.
set -euo pipefail
wine_dir=$1 arch=$2 writer=$3
runner=$(dirname "$0")/../../scripts/wine/wine-run.sh
"$runner" "$wine_dir" "$arch" "$writer"
out=$("$runner" "$wine_dir" "$arch" reg query 'HKLM\SOFTWARE\Orvane' 2>/dev/null | tr -d '\r')
status=0
expect() {
    if ! grep -qE "^ +$1 +$2( |$)" <<<"$out"; then
        echo "missing: $1 as $2" >&2; status=1
    fi
}
for name in version url skinbase skindir soundbase sounddir; do expect "$name" REG_SZ; done
expect "Last Status" REG_DWORD
expect "User Color" REG_DWORD
expect "Enable Statistic" REG_DWORD
expect "Disable Notification" REG_DWORD
expect params REG_BINARY
expect favors REG_BINARY
grep -qE '^ +User Color +REG_DWORD +0x410000$' <<<"$out" || { echo "User Color not 0x410000" >&2; status=1; }
[ $status -eq 0 ] || echo "$out" | cut -c1-120
exit $status
