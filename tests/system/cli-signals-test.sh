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
keeper=""
recorder=""
stop_tools() {
  for pid in $recorder $keeper; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  recorder=""
  keeper=""
}
trap 'stop_tools; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
fail() { echo "FAIL  $*" >&2; exit 1; }

start_recording() {
  rm -f "$work/out.raw"
  # A null sink with no input renders far ahead; a low-latency stream of
  # silence keeps it running like a real device.
  pacat -p -d nullsink --raw --format=s16le --rate=96000 --channels=2 --latency-msec=10 </dev/zero &
  keeper=$!
  parecord -d nullsink.monitor --raw --format=s16le --rate=96000 --channels=2 \
    --latency-msec=100 "$work/out.raw" &
  recorder=$!
  for _ in $(seq 1 100); do
    [ -s "$work/out.raw" ] && break
    sleep 0.1
  done
  sleep 0.5
}
stop_recording() {
  sleep 0.5
  stop_tools
}
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

echo "-- a synchronized sweep, repeated"
start_recording
nodisplay "$orbel" play --sweep 50:20000 --duration 1000 --seconds 4.5 >"$work/said" ||
  fail "play --sweep exits $?"
stop_recording
seconds=$(sed -n 's/^orbel: the sweep lasts \([0-9.]*\) s$/\1/p' "$work/said")
[ -n "$seconds" ] || fail "play --sweep does not print its duration: $(cat "$work/said")"
/usr/bin/python3 "$here/signals_analyse.py" "$work/out.raw" sweep "$seconds"

echo "-- pink noise"
start_recording
nodisplay "$orbel" play --waveform pink --seconds 4 || fail "play --waveform pink exits $?"
stop_recording
/usr/bin/python3 "$here/signals_analyse.py" "$work/out.raw" pink
