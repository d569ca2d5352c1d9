#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Choosing the output, on a private sound server with two more null sinks:
#   tests/system/output-device-check.sh BUILD_DIR
# `orbel devices` lists them with the default marked; an unknown --device
# is refused with status 2 and the list; a 24-bit tone played on one sink
# (a float32 sink) is on its monitor, with THD+N at most -130 dB, and not on
# the other's; the stream tells mixers who plays what; when the chosen sink
# is unloaded while playing the program says so, and when it is loaded
# again the tone goes back to it; a preset's output that is gone gives
# the default with one line. Exits non-zero with a FAIL line on the
# first check that fails.
set -euo pipefail
# The program's English notices are read below, whatever the caller's locale.
export LANGUAGE='' LC_ALL=C.UTF-8
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
orbel="$build/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }

# shellcheck source=tests/system/sound-lib.sh
source "$here/sound-lib.sh"
run_inside_sound_server "$0" "$@"

work=$(mktemp -d /tmp/orbel-devices.XXXXXX)
trap 'stop_background; rm -rf "$work"' EXIT
fail() { echo "FAIL  $*" >&2; exit 1; }
ok() { echo "ok    $*"; }

load_float_sink bench_a Bench_A >"$work/module_a"
load_float_sink bench_b Bench_B >/dev/null

echo "-- devices"
"$orbel" devices >"$work/devices" || fail "devices exits $?"
grep -q "^nullsink	.*	(default)$" "$work/devices" || fail "the default is not marked: $(cat "$work/devices")"
grep -q "^bench_a	Bench_A$" "$work/devices" || fail "bench_a is not listed"
grep -q "^bench_b	Bench_B$" "$work/devices" || fail "bench_b is not listed"
ok "three outputs, the default marked"

status=0
"$orbel" play --device nosuch --seconds 1 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "an unknown output exits $status, expected 2"
if ! grep -q "no output named 'nosuch'" "$work/err" || ! grep -q "^bench_b" "$work/err"; then
  fail "an unknown output is refused without the list: $(cat "$work/err")"
fi
ok "an unknown output is refused with the list"

# A preset's output that is gone gives the default output, said in one line.
export XDG_CONFIG_HOME="$work/config"
"$orbel" presets save unplugged --frequency 1000 --device bench_gone || fail "presets save exits $?"
status=0
"$orbel" play --preset unplugged --seconds 0.5 2>"$work/err" || status=$?
[ "$status" -eq 0 ] || fail "a preset whose output is gone exits $status: $(cat "$work/err")"
{ [ "$(wc -l <"$work/err")" -eq 1 ] &&
  grep -qF "preset 'unplugged': the output 'bench_gone' is gone; the default output is used" "$work/err"; } ||
  fail "a preset's lost output is not said in one line: $(cat "$work/err")"
ok "a preset's lost output gives the default, in one line"

# A description holding an escape and a tab, and a name typed with one: each
# is shown as \xNN, one output a line, nothing acting on the terminal.
pactl load-module module-null-sink sink_name=bench_e \
  "sink_properties=\"device.description='$(printf 'Esc\033[2J\tTab')'\"" >"$work/module_e"
"$orbel" devices >"$work/devices" || fail "devices exits $?"
grep -qF 'bench_e	Esc\x1B[2J\x09Tab' "$work/devices" || fail "the description is not shown escaped: $(cat -A "$work/devices")"
status=0
"$orbel" play --device "$(printf 'x\033[2Jy')" --seconds 1 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "an unknown escaped output exits $status, expected 2"
grep -qF "no output named 'x\x1B[2Jy'" "$work/err" || fail "the name is not echoed escaped: $(cat -A "$work/err")"
grep -qF 'Esc\x1B[2J\x09Tab' "$work/err" || fail "the list is not escaped: $(cat -A "$work/err")"
! grep -q "$(printf '\033')" "$work/devices" "$work/err" || fail "an escape reaches the terminal"
pactl unload-module "$(cat "$work/module_e")"
ok "names and descriptions shown as one inert line each"

# The output that goes away and comes back is a sink of its own (bench_c),
# loaded after the list was checked: its play runs beside the checks on
# bench_a and bench_b, and is judged after them.
load_float_sink bench_c Bench_C >"$work/module_c"
"$orbel" play --device bench_c --frequency 500 --seconds 5 2>"$work/move.err" &
mover=$!
(
  sleep 1.5
  pactl unload-module "$(cat "$work/module_c")"
  sleep 1
  pactl list sink-inputs >"$work/away"
  load_float_sink bench_c Bench_C >/dev/null
  sleep 1
  pactl list sinks short >"$work/sinks"
  pactl list sink-inputs short >"$work/back"
) &
background_pids+=("$mover" $!)
mover_steps=$!

echo "-- playing on the chosen output"
recorders=()
record() { # sink file
  record_float_sink "$1" "$2"
  recorders+=($!)
}
record bench_a "$work/a.raw"
record bench_b "$work/b.raw"
sleep 0.5
"$orbel" play --device Bench_A --frequency 997 --bits 24 --level -1 --seconds 3 \
  2>"$work/play.err" &
player=$!
sleep 1.5
pactl list sink-inputs >"$work/inputs"
wait "$player" || fail "play exits $?: $(cat "$work/play.err")"
for pid in "${recorders[@]}"; do kill "$pid" 2>/dev/null || true; done
for pid in "${recorders[@]}"; do wait "$pid" 2>/dev/null || true; done
# The 997 Hz stream's own entry (the 500 Hz one plays too).
awk 'BEGIN { RS = "" } /media.name = "Синусоида 997 Гц"/' "$work/inputs" >"$work/input"
for property in 'application.name = "orbel"' 'application.id = "org.orbel.orbel"' \
  'application.icon_name = "orbel"' 'media.role = "test"' 'media.name = "Синусоида 997 Гц"'; do
  grep -qF "$property" "$work/input" || fail "the stream lacks $property"
done
ok "the stream carries its name, icon, role and what plays"
/usr/bin/python3 - "$work/a.raw" "$work/b.raw" <<'PY' || fail "the tone is not where it was sent"
import sys
import numpy as np
a = np.fromfile(sys.argv[1], dtype="<f4")[0::2]
b = np.fromfile(sys.argv[2], dtype="<f4")[0::2]
rate = 96000
# The loudest whole second: 997 whole cycles, one bin per hertz.
best = max(range(0, len(a) - rate, rate // 4), key=lambda s: float(np.sum(a[s:s + rate] ** 2)))
x = a[best:best + rate].astype(np.float64)
e = np.abs(np.fft.rfft(x)) ** 2
inside = e[987:1008].sum()
thdn = 10 * np.log10((e.sum() - e[0] - inside) / inside)
rms = 10 * np.log10(2 * np.mean(x ** 2))
peak_b = float(np.max(np.abs(b))) if len(b) else 0.0
print(f"chosen output: {rms:.3f} dBFS, THD+N {thdn:.1f} dB; other output peak {peak_b:.2e}")
sys.exit(0 if thdn <= -130 and abs(rms + 1) < 0.05 and peak_b < 1e-6 else 1)
PY
ok "a 24-bit tone on the chosen float32 output and silence on the other"

echo "-- the chosen output goes away and comes back"
wait "$mover_steps" || fail "bench_c could not be unloaded and loaded again"
player=$mover
wait "$player" || fail "play exits $? after the output went away: $(cat "$work/move.err")"
grep -q "the output bench_c went away" "$work/move.err" \
  || fail "no notice when the output went away: $(cat "$work/move.err")"
grep -qF 'media.name = "Синусоида 500 Гц"' "$work/away" || fail "the sound stopped when its output went away"
grep -q "playing on bench_c again" "$work/move.err" \
  || fail "no notice when the output came back: $(cat "$work/move.err")"
sink_c=$(awk '$2 == "bench_c" {print $1}' "$work/sinks")
awk -v s="$sink_c" '$2 == s' "$work/back" | grep -q . || fail "the sound did not go back to bench_c"
ok "one line each way, and the sound back on its output"

echo "-- a server without an output"
pactl list modules short | awk '/module-null-sink/ {print $1}' | while read -r module; do
  pactl unload-module "$module"
done
if [ -n "$(pactl list sinks short)" ]; then
  ok "the server puts an output of its own in their place: nothing to check"
  exit 0
fi
status=0
"$orbel" play --seconds 1 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "play without an output exits $status, expected 1"
grep -q "has no output" "$work/err" || fail "play without an output says: $(cat "$work/err")"
ok "no output: one line, exit 1"
