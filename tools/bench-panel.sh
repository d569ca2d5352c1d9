#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Timings of the real program on a private X display and null sink; prints,
# asserts nothing:
#  - start-up: from starting the program to its window being mapped and to
#    the first screenshot that shows the painted panel;
#  - change to sound: from a dial's key press to the new tone in the
#    recording (a few turns of the thousands dial while it plays).
#   tools/bench-panel.sh BUILD_DIR [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [RUNS]" >&2; exit 2; }
# shellcheck source=tests/system/desktop-lib.sh
source "$here/../tests/system/desktop-lib.sh"
desktop_begin bench "$@"
runs=${2:-3}

RECORDER_LATENCY_MS=10

start_display
start_keeper
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"

for run in $(seq 1 "$runs"); do
  t0=$(now)
  start_app "$program"
  mapped=$(elapsed "$t0")
  wait_painted
  painted=$(elapsed "$t0")
  echo "start-up $run: window mapped after $mapped s, panel painted after $painted s"
  if [ "$run" -lt "$runs" ]; then
    stop_pid "$app_pid"
    app_pid=""
  fi
done

click_client $START_X $START_Y
record_until start 1.0 tone 1000 half half >/dev/null || fail "Start does not play 1000 Hz"
focus_panel
click_client $THOUSANDS_X $THOUSANDS_Y
sleep 0.5

frequency=1000
for run in $(seq 1 "$runs"); do
  frequency=$((frequency + 1000))
  start_recording "$work/change.raw" $RECORDER_LATENCY_MS
  wait_recorded "$work/change.raw" 0.5
  mark=$(($(file_bytes "$work/change.raw") / 4))
  xdotool key --window "$WINDOW" Up 2>/dev/null || xdotool key Up
  wait_recorded "$work/change.raw" "$(awk -v m="$mark" -v r=$RATE 'BEGIN { print m / r + 1.5 }')"
  stop_recording
  seconds=$(analyse "$work/change.raw" onset "$frequency" "$mark" || true)
  echo "change to sound $run: ${frequency} Hz heard $seconds s after the key press" \
    "(recorder latency ${RECORDER_LATENCY_MS} ms included)"
done
