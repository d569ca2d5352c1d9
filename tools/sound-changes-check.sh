#!/usr/bin/env bash
# Changes, fades and reconnection of the real sound output, recorded from a
# private server's null sink and analysed (tools/sound-changes-analyse.py).
#   tools/sound-changes-check.sh pulseaudio|pipewire PATH/TO/engine_sound_changes_probe
# SOUND_CHECK_KEEP=DIR keeps the recording and the probe's notes there.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 2 ] || { echo "usage: $0 pulseaudio|pipewire PROBE" >&2; exit 2; }
if [ -z "${SOUND_CHECK_INNER:-}" ]; then
  ORBEL_SOUND_SERVER=$1 SOUND_CHECK_INNER=1 exec "$here/sound-server.sh" run "$0" "$@"
fi
work=$(mktemp -d)
cleanup() {
  if [ -n "${SOUND_CHECK_KEEP:-}" ]; then
    mkdir -p "$SOUND_CHECK_KEEP" && cp "$work"/* "$SOUND_CHECK_KEEP"/
  fi
  rm -rf "$work"
}
trap cleanup EXIT
# A machine too busy to keep the buffer filled lets the stream run
# dry (PipeWire does not always tell the client), and a busy server can
# take seconds to start again; a failed run is recorded again, up to three
# times in all. A fault of the output fails every run.
for attempt in 1 2 3; do
  echo "-- $1, run $attempt"
  rm -f "$work"/*
  ORBEL_TOOLS=$here timeout 120 "$2" "$work" | tee "$work/probe.log"
  if /usr/bin/python3 "$here/sound-changes-analyse.py" "$work"; then
    exit 0
  fi
done
echo "failed three times"
exit 1
