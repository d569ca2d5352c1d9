#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A multitone and a stepped sweep played on a private sound server and
# checked from the recording of its monitor, with the lines the stepped
# sweep prints and when it prints them.
#   tests/system/cli-tone-sets-test.sh BUILD_DIR
set -euo pipefail
# The program's English lines are read below, whatever the caller's locale.
export LANGUAGE='' LC_ALL=C.UTF-8

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
orbel="$(cd "$1" && pwd)/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }

if [ -z "${CLI_TONE_SETS_INNER:-}" ]; then
  CLI_TONE_SETS_INNER=1 exec "$root/tests/system/sound-server.sh" run "$0" "$@"
fi

work=$(mktemp -d /tmp/orbel-tone-sets.XXXXXX)
tools=()
stop_tools() {
  for pid in "${tools[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${tools[@]}"; do wait "$pid" 2>/dev/null || true; done
  tools=()
}
trap 'stop_tools; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
fail() { echo "FAIL  $*" >&2; exit 1; }
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

# Each signal plays on a null sink of its own, recorded from its monitor.
pactl load-module module-null-sink sink_name=multisink rate=96000 channels=2 >/dev/null
start_recording() { # sink file
  # A null sink with no input renders far ahead; a low-latency stream of
  # silence keeps it running like a real device.
  pacat -p -d "$1" --raw --format=s16le --rate=96000 --channels=2 --latency-msec=10 </dev/zero &
  tools+=($!)
  parecord -d "$1.monitor" --raw --format=s16le --rate=96000 --channels=2 \
    --latency-msec=100 "$2" &
  tools+=($!)
}
start_recording nullsink "$work/steps.raw"
start_recording multisink "$work/multi.raw"
for file in "$work/steps.raw" "$work/multi.raw"; do
  for _ in $(seq 1 100); do [ -s "$file" ] && break; sleep 0.1; done
done
sleep 0.5

# The stepped sweep's lines, each with the moment it was read.
nodisplay "$orbel" play --steps 4000:1000:5 --dwell 250 --up-down --level -6 |
  /usr/bin/python3 -c '
import sys, time
for line in sys.stdin:
    print(f"{time.monotonic():.6f} {line.rstrip()}", flush=True)
print(f"{time.monotonic():.6f} end", flush=True)' >"$work/said" &
steps_player=$!
nodisplay "$orbel" play --device multisink --waveform multitone --tones 100:10000:1 --fft 16384 \
  --level -12 --seconds 3 2>"$work/multi-said" &
multi_player=$!
tools+=("$steps_player" "$multi_player")
wait "$steps_player" || fail "play --steps failed: $(cat "$work/said")"
wait "$multi_player" || fail "play --waveform multitone failed: $(cat "$work/multi-said")"
sleep 0.5
stop_tools

echo "-- a stepped sweep down and up again"
/usr/bin/python3 "$here/tone_sets_analyse.py" steps "$work/steps.raw" "$work/said" 4000 1000 5 250 -6
echo "-- a multitone"
crest=$(sed -n 's/^orbel: crest factor \([0-9.]*\) dB, .*/\1/p' "$work/multi-said")
[ -n "$crest" ] || fail "play --waveform multitone does not print its crest factor: $(cat "$work/multi-said")"
/usr/bin/python3 "$here/tone_sets_analyse.py" multitone "$work/multi.raw" -12 "$crest" 16384
