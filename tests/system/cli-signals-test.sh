#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The measurement signals played on a private sound server and checked from
# the recording of its monitor: a repeating sweep and pink noise.
#   tests/system/cli-signals-test.sh BUILD_DIR
set -euo pipefail
# The program's English notices are read below, whatever the caller's locale.
export LANGUAGE='' LC_ALL=C.UTF-8

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
orbel="$(cd "$1" && pwd)/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }

if [ -z "${CLI_SIGNALS_INNER:-}" ]; then
  CLI_SIGNALS_INNER=1 exec "$root/tests/system/sound-server.sh" run "$0" "$@"
fi

work=$(mktemp -d /tmp/orbel-signals.XXXXXX)
tools=()
stop_tools() {
  for pid in "${tools[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${tools[@]}"; do wait "$pid" 2>/dev/null || true; done
  tools=()
}
trap 'stop_tools; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
fail() { echo "FAIL  $*" >&2; exit 1; }

# The two signals play at the same time, each on a null sink of its own,
# each recorded from that sink's monitor.
pactl load-module module-null-sink sink_name=pinksink rate=96000 channels=2 >/dev/null
start_recording() { # sink file
  rm -f "$2"
  # A null sink with no input renders far ahead; a low-latency stream of
  # silence keeps it running like a real device.
  pacat -p -d "$1" --raw --format=s16le --rate=96000 --channels=2 --latency-msec=10 </dev/zero &
  tools+=($!)
  parecord -d "$1.monitor" --raw --format=s16le --rate=96000 --channels=2 \
    --latency-msec=100 "$2" &
  tools+=($!)
}
wait_recordings_begun() { # files...
  local file
  for file in "$@"; do
    for _ in $(seq 1 100); do
      [ -s "$file" ] && break
      sleep 0.1
    done
  done
  sleep 0.5
}
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

start_recording nullsink "$work/sweep.raw"
start_recording pinksink "$work/pink.raw"
wait_recordings_begun "$work/sweep.raw" "$work/pink.raw"
nodisplay "$orbel" play --sweep 50:20000 --duration 1000 --seconds 4.5 >"$work/said" &
sweep_player=$!
nodisplay "$orbel" play --device pinksink --waveform pink --seconds 4 &
pink_player=$!
tools+=("$sweep_player" "$pink_player")
sweep_status=0
wait "$sweep_player" || sweep_status=$?
pink_status=0
wait "$pink_player" || pink_status=$?
sleep 0.5
stop_tools

echo "-- a synchronized sweep, repeated"
[ "$sweep_status" -eq 0 ] || fail "play --sweep exits $sweep_status"
seconds=$(sed -n 's/^orbel: the sweep lasts \([0-9.]*\) s$/\1/p' "$work/said")
[ -n "$seconds" ] || fail "play --sweep does not print its duration: $(cat "$work/said")"
/usr/bin/python3 "$here/signals_analyse.py" "$work/sweep.raw" sweep "$seconds"

echo "-- pink noise"
[ "$pink_status" -eq 0 ] || fail "play --waveform pink exits $pink_status"
/usr/bin/python3 "$here/signals_analyse.py" "$work/pink.raw" pink
