#!/usr/bin/env bash
# check-waves.sh ASSETS BIN_SOUNDS MAKE_WAVES SCRATCH
# Checks the sound themes a build installed (BIN_SOUNDS/<theme>) against
# their sources (ASSETS/<theme>): the description is the shipped one; every
# event it names, and at least those of the contact-tree, has a wave that sox
# reads as short, mono, 44 100 Hz, 16-bit signed PCM, normalised with
# headroom and not clipped; and making the waves again from the same recipes
# (MAKE_WAVES into SCRATCH) gives the same bytes.
set -euo pipefail
assets=$1
installed=$2
make_waves=$3
scratch=$4
sox=${SOX:-sox}
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Prints "event file" for every event line of a description.
events_of() {
    tr -d '\r' <"$1" | awk '
        /^[ \t]*\[/ { section = $0; gsub(/[][ \t]/, "", section); next }
        section == "Events" && /=/ {
            split($0, part, "=")
            gsub(/[ \t]/, "", part[1]); gsub(/^[ \t]+|[ \t]+$/, "", part[2])
            print part[1], part[2]
        }'
}

check_wave() {  # theme event file
    local path=$installed/$1/$3
    if [ ! -f "$path" ]; then
        fail "$1: $2: $3 is missing"
        return
    fi
    local encoding bits channels rate seconds
    encoding=$("$sox" --i -e "$path")
    bits=$("$sox" --i -b "$path")
    channels=$("$sox" --i -c "$path")
    rate=$("$sox" --i -r "$path")
    seconds=$("$sox" --i -D "$path")
    [ "$encoding" = "Signed Integer PCM" ] || fail "$1/$3: encoding $encoding"
    [ "$bits" = 16 ] || fail "$1/$3: $bits bits"
    [ "$channels" = 1 ] || fail "$1/$3: $channels channels"
    [ "$rate" = 44100 ] || fail "$1/$3: $rate Hz"
    awk -v s="$seconds" 'BEGIN { exit !(s > 0.03 && s < 0.6) }' || fail "$1/$3: lasts $seconds s"
    # Peak as a fraction of full scale: loud enough, never at full scale.
    local peak
    peak=$("$sox" "$path" -n stat 2>&1 | awk '
        /^Maximum amplitude/ { max = $3 } /^Minimum amplitude/ { min = -$3 }
        END { print (max > min ? max : min) }')
    awk -v p="$peak" 'BEGIN { exit !(p >= 0.5 && p <= 0.95) }' || fail "$1/$3: peak $peak of full scale"
    echo "$1 $2: $3, $seconds s, peak $peak"
}

themes=0
for description in "$assets"/*/Theme.txt; do
    theme=$(basename "$(dirname "$description")")
    themes=$((themes + 1))
    cmp -s "$description" "$installed/$theme/Theme.txt" || fail "$theme: installed Theme.txt differs from its source"
    mapfile -t lines < <(events_of "$description")
    [ ${#lines[@]} -gt 0 ] || fail "$theme: no events"
    files=()
    for line in "${lines[@]}"; do
        read -r event file <<<"$line"
        check_wave "$theme" "$event" "$file"
        files+=("$file")
    done
    for event in PageSelect ActionSqueeze ActionSelect; do
        printf '%s\n' "${lines[@]}" | grep -q "^$event " || fail "$theme: no $event"
    done
    rm -rf "${scratch:?}/$theme"
    mapfile -t unique < <(printf '%s\n' "${files[@]}" | sort -u)
    SOX=$sox "$make_waves" "$assets/$theme/Waves.txt" "$scratch/$theme" "${unique[@]}"
    for file in "${unique[@]}"; do
        cmp -s "$installed/$theme/$file" "$scratch/$theme/$file" || fail "$theme/$file: not the same bytes when made again"
    done
done
[ $themes -ge 2 ] || fail "only $themes themes"
if [ $failures -gt 0 ]; then
    echo "$failures failures" >&2
    exit 1
fi
echo "$themes themes checked"
