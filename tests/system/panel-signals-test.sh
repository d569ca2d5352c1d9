#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SIGTERM and SIGHUP to the playing panel end it with the output's fade-out:
#   tests/system/panel-signals-test.sh BUILD_DIR
# A private X display and sound server; the sink's monitor is recorded
# across the signal and must end in a fade, not a step.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
# shellcheck source=tests/system/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin panel-signals "$@"

start_display
start_keeper
for sig in TERM HUP; do
  start_app "$program"
  wait_painted
  click_client "$START_X" "$START_Y"
  sleep 0.5
  start_recording "$work/$sig.raw"
  wait_recorded "$work/$sig.raw" 1.0
  kill -"$sig" "$app_pid"
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "SIG$sig: the panel exits $status, expected 0"
  sleep 0.5
  stop_recording
  /usr/bin/python3 "$here/cli_sound_analyse.py" "$work/$sig.raw" 1000 50 50 - ||
    fail "SIG$sig: the sound does not end in a fade"
  echo "ok    SIG$sig ends the panel with a fade, exit 0"
done
