#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop test of the real program: a private X display (Xvfb) and a
# private PulseAudio null sink; clicks and keys through the X server at the
# panel's positions, recordings of what the program plays.
#   tests/system/desktop-test.sh BUILD_DIR
# Leaves BUILD_DIR/desktop-panel.png (the panel while it plays). Exits
# non-zero with a FAIL line on the first check that fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
# shellcheck source=tests/system/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin desktop "$@"

# The whole text first: grep -q leaves at its first match, and a help still
# being written would meet a closed pipe (and say so by its status).
help_text=$(QT_QPA_PLATFORM=offscreen "$program" --help) ||
  fail "\"orbel --help\" failed"
grep -q -- --classic <<<"$help_text" ||
  fail "\"orbel --help\" does not list --classic"
echo "ok    orbel --help lists --classic"

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

# 1001 Hz: the frequency is set in 1 Hz steps and loops over one second.
turn_to_1001() { # from 1000 or 2000 Hz in 10 Hz steps
  click_client $STEP_1HZ_X $STEP_1HZ_Y
  focus_panel
  click_client $UNITS_X $UNITS_Y
  xdotool key --window "$WINDOW" Up 2>/dev/null || xdotool key Up
}
echo "-- 1001 Hz, precise synthesis"
click_client $THOUSANDS_X $THOUSANDS_Y
xdotool key --window "$WINDOW" Down 2>/dev/null || xdotool key Down
turn_to_1001
record_until precise 2.4 thdn 1001 1 -200 -80 || fail "the precise 1001 Hz sine is not clean"
analyse "$work/precise.raw" tone 1001 half silent || fail "the 1 Hz step does not give 1001 Hz"

echo "-- white noise: no repetition within a second"
click_client $NOISE_X $NOISE_Y
record_until noise 1.8 noise || fail "\"Белый шум\" repeats itself"

echo "-- closing the window"
start_recording "$work/end.raw"
"$here/x_close_window.py" "$WINDOW" || fail "cannot send the close message"
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

echo "-- orbel --classic: 1001 Hz as the classic synthesis makes it"
start_app "$program" --classic
wait_painted
click_client $START_X $START_Y
turn_to_1001
# The classic image of 1001 Hz measures -31.6 dB (tools/measure-thdn.sh).
record_until classic 2.4 thdn 1001 1 -33.6 -29.6 || fail "--classic does not play the classic synthesis"
"$here/x_close_window.py" "$WINDOW" || fail "cannot send the close message"
for _ in $(seq 1 300); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done

echo "-- under a window manager"
start_window_manager
start_app "$program"
frame=$(frame_centred) || fail "the frame ($frame: left top width height) is not centred on the screen"
echo "ok    frame $frame centred on the screen"
xdotool windowsize "$WINDOW" 800 600 2>/dev/null || true
sleep 1
size=$(client_size)
[ "$size" = "633 x 403" ] || fail "a resize request gave a client area of $size"
echo "ok    a resize request leaves $size"
stop_pid "$app_pid"
app_pid=""
stop_window_manager

echo "-- no sound server: Start, then a server"
stop_keeper
"$here/sound-server.sh" down "$SOUND_SERVER_DIR"
start_app "$program"
wait_painted
status_line() { # file: the strip of the status line
  import -display "$DISPLAY" -window root -crop "$((PANEL_WIDTH - 112))x16+$((WIN_X + 112))+$((WIN_Y + 372))" \
    +repage "$1"
}
click_client $START_X $START_Y
lost_line="orbel: нет вывода звука: звуковой сервер не отвечает"
back_line="orbel: вывод звука восстановлен"
for _ in $(seq 1 100); do grep -q "$lost_line" "$work/app.log" && break; sleep 0.1; done
grep -q "$lost_line" "$work/app.log" || fail "no line on standard error when no server answers"
echo "ok    standard error: $lost_line"
sleep 0.3
status_line "$work/notice.png"
screenshot "$build/desktop-no-server.png"
echo "ok    screenshot $build/desktop-no-server.png (the notice in the status line)"
"$here/sound-server.sh" up "$SOUND_SERVER_DIR"
start_keeper
up_at=$(now)
for _ in $(seq 1 100); do grep -q "$back_line" "$work/app.log" && break; sleep 0.1; done
grep -q "$back_line" "$work/app.log" || fail "no sound 10 s after the server started"
echo "ok    standard error: $back_line ($(elapsed "$up_at") s after the server answered)"
record_until late 1.3 tone 1000 half half || fail "no 1000 Hz tone once the server is there"
status_line "$work/hint.png"
[ "$(compare -metric AE "$work/notice.png" "$work/hint.png" null: 2>&1 || true)" != "0" ] ||
  fail "the status line looks the same with and without the notice"
echo "ok    the status line changed back once sound flowed"
[ "$(grep -c "orbel: " "$work/app.log")" -eq 2 ] || fail "not one line per loss and recovery"
"$here/x_close_window.py" "$WINDOW" || fail "cannot send the close message"
for _ in $(seq 1 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
echo "desktop test passed"
