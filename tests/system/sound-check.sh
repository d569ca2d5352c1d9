#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real-sound check: starts a private PulseAudio with a null sink,
# records the sink's monitor while the probe plays through the real output,
# stops everything by process id and analyses the recording.
#   tests/system/sound-check.sh PATH/TO/sound_probe
set -euo pipefail
probe=$1
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=tests/system/sound-lib.sh
source "$here/sound-lib.sh"
run_inside_sound_server "$0" "$@"

work=$(mktemp -d)
# shellcheck disable=SC2317 # run by the EXIT trap
cleanup() {
  stop_sound_tools
  [ -n "${SOUND_CHECK_KEEP:-}" ] && cp "$work/out.raw" "$SOUND_CHECK_KEEP"
  rm -rf "$work"
}
trap cleanup EXIT

# One recorded run of the probe; prints the probe's and the analysis's
# lines. Returns 0 when all checks pass, 3 when they failed after the stream
# ran dry (a machine too busy to keep a 15 ms buffer filled), else 1.
record_and_analyse() {
  rm -f "$work/probe.log"
  start_keeper
  start_recording "$work/out.raw"
  wait_recording_begun "$work/out.raw"
  local status=0
  "$probe" >"$work/probe.log" || status=$?
  cat "$work/probe.log"
  sleep 0.7
  stop_sound_tools
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

for _ in 1 2 3; do
  status=0
  record_and_analyse || status=$?
  if [ $status -ne 3 ]; then
    exit $status
  fi
  echo "-- the stream ran dry on a busy machine; recording again"
done
echo "the machine stayed too busy to play without drop-outs"
exit 1
