#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Presets through the real program, without a display or a sound server:
#   tests/system/presets-check.sh BUILD_DIR
# each kind of signal saved with `presets save` and exported with --preset
# is the same file, byte for byte, as the export with the same options;
# further options replace the preset's; names that differ only in case or
# in characters a file name cannot hold stay apart; a missing or damaged
# preset is refused with exit 2 (the damaged one with its line), and a
# preset's file left as a link to a foreign file is never written through.
# Exits non-zero with a FAIL line on the first check that fails.
set -euo pipefail
export LANGUAGE='' LC_ALL=C.UTF-8
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
orbel="$build/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }
work=$(mktemp -d /tmp/orbel-presets.XXXXXX)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
presets="$XDG_CONFIG_HOME/orbel/presets"
fail() { echo "FAIL  $*" >&2; exit 1; }
ok() { echo "ok    $*"; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$orbel" "$@"; }

echo "-- a preset exports what its options export"
n=0
while IFS= read -r options; do
  n=$((n + 1))
  # shellcheck disable=SC2086 # the options are words
  run presets save "kind $n" $options || fail "presets save $options exits $?"
  # shellcheck disable=SC2086
  run export "$work/direct.wav" $options >/dev/null 2>&1 || fail "export $options exits $?"
  run export "$work/preset.wav" --preset "kind $n" >/dev/null 2>&1 || fail "export --preset for $options exits $?"
  cmp -s "$work/direct.wav" "$work/preset.wav" || fail "the preset of '$options' exports another file"
done <<'OPTIONS'
--frequency 997.123 --level -3 --bits 24 --stereo --duration 500
--frequency 1000 --waveform square --volume 80,40 --stereo --rate 44100
--frequency 1000 --rate 192000 --bits 24
--sweep 20:20000 --duration 2000 --fade 50 --bits float
--sweep 20000:100 --linear --duration 1000
--waveform pink --duration 1000
--waveform smpte --level -10
--frequency 1000 --burst 10:90 --bits 24
--frequency 1000 --stereo --phase 90.5
--frequency 1000 --stereo --level -3 --right-level -9 --bits 24
--frequency 1000 --stereo --right-frequency 1001.5 --bits float --duration 300
--waveform multitone --tones 20:20000:3 --fft 65536 --level -12 --bits float --duration 500
--steps 100:1000:5 --dwell 100 --up-down --linear
--frequency 440 --dither --bits 16 --level -20
OPTIONS
ok "$n kinds of signal, each the same file byte for byte"

run export "$work/direct.wav" --frequency 1000 --bits 24 --stereo --duration 500 2>/dev/null
run export "$work/preset.wav" --preset "kind 1" --frequency 1000 --level 0 2>/dev/null ||
  fail "options over a preset exit $?"
cmp -s "$work/direct.wav" "$work/preset.wav" || fail "options do not replace the preset's"
ok "options replace the preset's settings"

echo "-- names"
for name in a A %61 'a/b' '..' 'two  spaces ' "$(printf 'tab\there')" 'Набор'; do
  run presets save "$name" --frequency 500 || fail "presets save '$name' exits $?"
done
[ "$(run presets | grep -vc '^kind ')" -eq 8 ] || fail "8 odd names do not list as 8: $(run presets)"
run presets | grep -qxF 'tab\x09here' || fail "a tab in a name is not shown inert"
run presets delete A || fail "presets delete A exits $?"
run export "$work/a.wav" --preset a 2>/dev/null || fail "a is gone with A"
[ "$(find "$presets" -type f | wc -l)" -eq $((n + 7)) ] || fail "files outside the presets folder"
ok "names differing in case or in characters a file name cannot hold stay apart"

echo "-- refused"
status=0
run play --preset nosuch 2>"$work/err" || status=$?
{ [ "$status" -eq 2 ] && grep -qF "no preset named 'nosuch'" "$work/err"; } ||
  fail "a missing preset: exit $status, $(cat "$work/err")"
printf 'orbel preset 1\nname = b\n\nfrequency = 997,5\n' >"$presets/b.preset"
status=0
run export "$work/b.wav" --preset b 2>"$work/err" || status=$?
{ [ "$status" -eq 2 ] && grep -qF "preset 'b' is damaged: line 4: frequency" "$work/err"; } ||
  fail "a damaged preset: exit $status, $(cat "$work/err")"
[ ! -e "$work/b.wav" ] || fail "a damaged preset wrote a file"
run presets >"$work/list" 2>"$work/err" || fail "presets exits $? beside a damaged file"
grep -qF "'b.preset' is not a preset: line 4" "$work/err" || fail "the damaged file is not named"
ok "missing and damaged presets are refused, the damaged one with its line"

printf 'keep me\n' >"$work/foreign"
ln -s "$work/foreign" "$presets/c.preset"
status=0
run presets save c --frequency 1000 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "saving over a link to a foreign file exits $status"
[ "$(cat "$work/foreign")" = "keep me" ] || fail "the link's target was written"
run presets delete c || fail "deleting the link exits $?"
{ [ -e "$work/foreign" ] && [ ! -L "$presets/c.preset" ]; } || fail "delete took the target or kept the link"
ok "a link to a foreign file is left alone; delete removes the link only"
