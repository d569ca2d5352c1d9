#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# THD+N of the generator's images, classic and precise, beside SoX's sine:
#   tools/measure-thdn.sh BUILD_DIR
# Each image is one loop as the panel plays it (16-bit mono, 96000 samples
# per second; 100 ms at a 10 Hz step, else 1 s); SoX makes one second.
set -euo pipefail
thdn="$(cd "$(dirname "$0")/../tests/system" && pwd)/thdn.py"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
image="$1/tests/engine/engine_tone_image"
[ -x "$image" ] || { echo "no $image" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '| f (Hz) | loop | classic | precise | SoX |\n|---|---|---|---|---|\n'
for f in 440 997 5000 10000 19999; do
  ms=1000
  [ $((f % 10)) -eq 0 ] && ms=100
  "$image" sine "$f" "$ms" classic "$work/classic.wav"
  "$image" sine "$f" "$ms" precise "$work/precise.wav"
  sox -n -r 96000 -b 16 -c 1 "$work/sox.wav" synth 1 sine "$f" 2>/dev/null
  printf '| %s | %s ms | %s dB | %s dB | %s dB |\n' "$f" "$ms" \
    "$("$thdn" "$work/classic.wav" "$f")" \
    "$("$thdn" "$work/precise.wav" "$f")" \
    "$("$thdn" "$work/sox.wav" "$f")"
done
