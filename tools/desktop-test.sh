#!/usr/bin/env bash
# The desktop test of the real program: a private X display (Xvfb) and a
# private PulseAudio null sink; clicks and keys through the X server at the
# panel's positions, recordings of what the program plays.
#   tools/desktop-test.sh BUILD_DIR
# Leaves BUILD_DIR/desktop-panel.png (the panel while it plays). Exits
# non-zero with a FAIL line on the first check that fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
# shellcheck source=tools/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin desktop "$@"

start_display
start_keeper
start_app "$program"
echo "ok    panel window $WINDOW at $WIN_X,$WIN_Y, $PANEL_WIDTH x $PANEL_HEIGHT"
if [ "$PANEL_WIDTH" -ne 633 ] || [ "$PANEL_HEIGHT" -ne 403 ]; then
  fail "client area $PANEL_WIDTH x $PANEL_HEIGHT, expected 633 x 403"
fi
wait_painted

echo "-- Start"
click_client $START_X $START_Y
record_until start 1.3 tone 1000 half half || fail "Start does not play 1000 Hz at half level on both channels"

echo "-- left channel only"
click_client $LEFT_ONLY_X $LEFT_ONLY_Y
record_until left 1.3 tone 1000 half silent || fail "\"Левый канал\" does not silence the right channel"

echo "-- thousands dial one step up with the keyboard"
focus_panel
click_client $THOUSANDS_X $THOUSANDS_Y
xdotool key --window "$WINDOW" Up 2>/dev/null || xdotool key Up
record_until dial 1.3 tone 2000 half silent || fail "the dial's Up key does not give 2000 Hz"

screenshot "$build/desktop-panel.png"
echo "ok    screenshot $build/desktop-panel.png"

echo "-- closing the window"
start_recording "$work/end.raw"
"$here/x-close-window.py" "$WINDOW" || fail "cannot send the close message"
status=""
for _ in $(seq 1 300); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    status=0
    wait "$app_pid" || status=$?
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "the program did not end within 30 s of closing its window"
app_pid=""
[ "$status" -eq 0 ] || { cat "$work/app.log" >&2; fail "the program ended with status $status"; }
echo "ok    the program ended with status 0"
mark=$(file_bytes "$work/end.raw")
wait_recorded "$work/end.raw" "$(awk -v m="$mark" -v b=$BYTES_PER_SECOND 'BEGIN { print m / b + 1 }')"
stop_recording
# Only what was recorded after the program had gone counts.
tail -c +"$((mark / 4 * 4 + 1))" "$work/end.raw" >"$work/after.raw"
analyse "$work/after.raw" silent || fail "sound goes on after the program ended"
echo "desktop test passed"
