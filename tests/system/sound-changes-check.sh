#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Changes, fades and reconnection of the real sound output, recorded from a
# private server's null sink and analysed (sound_changes_analyse.py).
#   tests/system/sound-changes-check.sh pulseaudio|pipewire PATH/TO/engine_sound_changes_probe [--fine|--fine-low]
# With --fine: a streamed fine-grid tone retuned while it plays
# (fine_changes_analyse.py); with --fine-low: a 1.001 Hz sawtooth retuned by
# a millihertz (fine_low_changes_analyse.py).
# SOUND_CHECK_KEEP=DIR keeps the recording and the probe's notes there.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 2 ] || [ $# -eq 3 ] || { echo "usage: $0 pulseaudio|pipewire PROBE [--fine|--fine-low]" >&2; exit 2; }
# shellcheck source=tests/system/sound-lib.sh
source "$here/sound-lib.sh"
export ORBEL_SOUND_SERVER=$1
run_inside_sound_server "$0" "$@"
work=$(mktemp -d)
# shellcheck disable=SC2317 # run by the EXIT trap
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
  if [ "${3:-}" = --fine ]; then
    ORBEL_SYSTEM_TESTS=$here timeout 120 "$2" --fine "$work" | tee "$work/probe.log"
    analyse=fine_changes_analyse.py
  elif [ "${3:-}" = --fine-low ]; then
    ORBEL_SYSTEM_TESTS=$here timeout 120 "$2" --fine-low "$work" | tee "$work/probe.log"
    analyse=fine_low_changes_analyse.py
  else
    ORBEL_SYSTEM_TESTS=$here timeout 120 "$2" "$work" | tee "$work/probe.log"
    analyse=sound_changes_analyse.py
  fi
  if /usr/bin/python3 "$here/$analyse" "$work" "$1"; then
    exit 0
  fi
done
echo "failed three times"
exit 1
