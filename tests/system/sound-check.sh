#!/usr/bin/env bash
# The real-sound check: starts a private PulseAudio with a null sink,
# records the sink's monitor while the probe plays through the real output,
# stops everything by process id and analyses the recording.
#   tests/system/sound-check.sh PATH/TO/sound_probe
set -euo pipefail
probe=$1
here="$(cd "$(dirname "$0")" && pwd)"

if [ -z "${SOUND_CHECK_INNER:-}" ]; then
  SOUND_CHECK_INNER=1 exec "$here/sound-server.sh" run "$0" "$@"
fi

work=$(mktemp -d)
keeper=""
recorder=""
stop_tools() {
  for pid in $recorder $keeper; do kill "$pid" 2>/dev/null || true; done
  for pid in $recorder $keeper; do wait "$pid" 2>/dev/null || true; done
  recorder=""
  keeper=""
}
cleanup() {
  stop_tools
  [ -n "${SOUND_CHECK_KEEP:-}" ] && cp "$work/out.raw" "$SOUND_CHECK_KEEP"
  rm -rf "$work"
}
trap cleanup EXIT

# One recorded run of the probe; prints the probe's and the analysis's
# lines. Returns 0 when all checks pass, 3 when they failed after the stream
# ran dry (a machine too busy to keep a 15 ms buffer filled), else 1.
record_and_analyse() {
  rm -f "$work/out.raw" "$work/probe.log"
  # A null sink with no input idles with its largest latency and renders far
  # ahead of the clock, which would delay the first sound by up to seconds.
  # A stream of silence at low latency keeps it running like a real device.
  pacat -p -d nullsink --raw --format=s16le --rate=96000 --channels=2 --latency-msec=10 \
    </dev/zero &
  keeper=$!
  parecord -d nullsink.monitor --raw --format=s16le --rate=96000 --channels=2 \
    --latency-msec=100 "$work/out.raw" &
  recorder=$!
  # The monitor's first data arrives late: wait until the recording has
  # begun, then give it a little more.
  for i in $(seq 1 100); do
    [ -s "$work/out.raw" ] && break
    sleep 0.1
  done
  sleep 0.5
  local status=0
  "$probe" >"$work/probe.log" || status=$?
  cat "$work/probe.log"
  sleep 0.7
  kill -INT "$recorder" 2>/dev/null || true
  wait "$recorder" 2>/dev/null || true
  recorder=""
  stop_tools
  if [ $status -ne 0 ]; then
    echo "probe failed with status $status"
    return 1
  fi
  if /usr/bin/python3 "$here/sound_analyse.py" "$work/out.raw"; then
    return 0
  fi
  if grep -q "stream underflows: [1-9]" "$work/probe.log"; then
    return 3
  fi
  return 1
}

for attempt in 1 2 3; do
  status=0
  record_and_analyse || status=$?
  if [ $status -ne 3 ]; then
    exit $status
  fi
  echo "-- the stream ran dry on a busy machine; recording again"
done
echo "the machine stayed too busy to play without drop-outs"
exit 1
