#!/usr/bin/env bash
# The real-sound check: starts a private PulseAudio with a null sink,
# records the sink's monitor while the probe plays through the real output,
# stops everything by process id and analyses the recording.
#   tools/sound-check.sh PATH/TO/engine_sound_probe
set -euo pipefail
probe=$1
here="$(cd "$(dirname "$0")" && pwd)"

if [ -z "${SOUND_CHECK_INNER:-}" ]; then
  SOUND_CHECK_INNER=1 exec "$here/sound-server.sh" run "$0" "$@"
fi

work=$(mktemp -d)
keeper=""
recorder=""
cleanup() {
  for pid in $recorder $keeper; do kill "$pid" 2>/dev/null || true; done
  [ -n "${SOUND_CHECK_KEEP:-}" ] && cp "$work/out.raw" "$SOUND_CHECK_KEEP"
  rm -rf "$work"
}
trap cleanup EXIT
# A null sink with no input idles with its largest latency and renders far
# ahead of the clock, which would delay the first sound by up to seconds. A
# stream of silence at low latency keeps it running like a real device.
pacat -p -d nullsink --raw --format=s16le --rate=96000 --channels=2 --latency-msec=10 \
  </dev/zero &
keeper=$!
parecord -d nullsink.monitor --raw --format=s16le --rate=96000 --channels=2 --latency-msec=100 \
  "$work/out.raw" &
recorder=$!
# The monitor's first data arrives late: wait until the recording has begun,
# then give it a little more.
for i in $(seq 1 100); do
  [ -s "$work/out.raw" ] && break
  sleep 0.1
done
sleep 0.5
status=0
"$probe" || status=$?
sleep 0.7
kill -INT "$recorder" 2>/dev/null || true
wait "$recorder" 2>/dev/null || true
recorder=""
if [ $status -ne 0 ]; then
  echo "probe failed with status $status"
  exit $status
fi
/usr/bin/python3 "$here/sound-analyse.py" "$work/out.raw"
