#!/usr/bin/env bash
# make-waves.sh RECIPES OUTDIR WAVE...
# Synthesises the named waves of one sound theme with sox, from the theme's
# recipe file (assets/Sounds/<theme>/Waves.txt), into OUTDIR.
#
# A recipe line is "<file>.wav <voices> <sox effects...>": sox starts from
# <voices> channels of silence, runs the effects (a synth effect makes the
# voices), mixes the voices to one, smooths both ends against clicks and
# normalises the peak to the level of the "level <dB>" line. Blank lines and
# lines starting with '#' are comments. Output: 44 100 Hz, mono, 16-bit PCM,
# without dither, so the same recipe always gives the same bytes. SOX names
# the sox program when it is not the one on the PATH.
set -euo pipefail

if [ $# -lt 3 ]; then
    sed -n '2,4p' "$0" >&2
    exit 2
fi
recipes=$1
outdir=$2
shift 2

sox=${SOX:-sox}
level=
declare -A recipe_voices recipe_effects
while IFS= read -r line || [ -n "$line" ]; do
    line=${line%$'\r'}
    case $line in '' | '#'*) continue ;; esac
    read -r name voices rest <<<"$line"
    if [ "$name" = level ]; then
        level=$voices
        continue
    fi
    if ! [[ $name =~ ^[A-Za-z0-9_]+\.wav$ && $voices =~ ^[1-8]$ && -n $rest ]]; then
        echo "make-waves: $recipes: bad line: $line" >&2
        exit 1
    fi
    recipe_voices[$name]=$voices
    recipe_effects[$name]=$rest
done <"$recipes"

if ! [[ $level =~ ^-[0-9]+(\.[0-9]+)?$ ]]; then
    echo "make-waves: $recipes: needs a line \"level <negative dB>\"" >&2
    exit 1
fi

mkdir -p "$outdir"
for wave in "$@"; do
    if [ -z "${recipe_effects[$wave]+set}" ]; then
        echo "make-waves: $recipes: no recipe for $wave" >&2
        exit 1
    fi
    # Split into words without any other shell expansion.
    read -r -a effects <<<"${recipe_effects[$wave]}"
    partial="$outdir/.$wave.partial.wav"
    warnings=$("$sox" -R -D -r 44100 -c "${recipe_voices[$wave]}" -n \
        -r 44100 -c 1 -b 16 -e signed-integer "$partial" \
        "${effects[@]}" remix - fade t 0.002 -0 0.008 norm "$level" 2>&1) || {
        echo "make-waves: $wave: $warnings" >&2
        rm -f "$partial"
        exit 1
    }
    # A clipped step inside the chain would survive the final normalising
    # as distortion: give the recipe more headroom ("gain -10" after synth).
    if grep -qi clip <<<"$warnings"; then
        echo "make-waves: $wave: $warnings" >&2
        rm -f "$partial"
        exit 1
    fi
    mv -f "$partial" "$outdir/$wave"
done
