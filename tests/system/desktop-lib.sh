# shellcheck shell=bash disable=SC2034 # the positions are read by the scripts that source this file
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by tests/system/desktop-test.sh and tools/bench-panel.sh (sourced, not run):
# a private X display, the real program on it, clicks at panel positions and
# recordings of the private sound server's null sink. Everything started
# here is remembered by process id and stopped by desktop_cleanup only.
#
# A script starts with `desktop_begin NAME "$@"` (after its usage check).

desktop_here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tests/system/sound-lib.sh
source "$desktop_here/sound-lib.sh"

RATE=$SOUND_RATE

# Client-area positions of the panel's controls that the scripts click.
START_X=$((327 + 140 / 2)) # Start button
START_Y=$((140 + 47 / 2))
STOP_X=$((475 + 140 / 2)) # Stop button
STOP_Y=$((140 + 47 / 2))
LEFT_ONLY_X=$((16 + 2 + 121 / 2)) # "Левый канал" in the channel switch
LEFT_ONLY_Y=$((82 + 34 + 17 / 2))
THOUSANDS_X=$((37 + 84 / 2)) # centre of the thousands dial
THOUSANDS_Y=$((233 + 84 / 2))
UNITS_X=$((340 + 84 / 2)) # centre of the tens-and-units dial
UNITS_Y=$((233 + 84 / 2))
STEP_1HZ_X=$((320 + 8 + 57 / 2)) # "1 Гц" in the step switch
STEP_1HZ_Y=$((80 + 0 + 17 / 2))
NOISE_X=$((168 + 4 + 117 / 2)) # "Белый шум" in the waveform switch
NOISE_Y=$((82 + 72 + 17 / 2))
BYTES_PER_SECOND=$((RATE * 4)) # 16-bit stereo

xvfb_pid=""
app_pid=""
wm_pid=""
DISPLAY_NUMBER=""
WINDOW=""
WIN_X=0
WIN_Y=0

fail() {
  echo "FAIL  $*" >&2
  exit 1
}

now() { date +%s.%N; }
elapsed() { # since start
  awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'
}

# Stops what this script started, newest first, each by its process id.
desktop_cleanup() {
  stop_pid "$recorder_pid"
  recorder_pid=""
  stop_pid "$app_pid"
  app_pid=""
  stop_pid "$wm_pid"
  wm_pid=""
  stop_keeper
  stop_pid "$xvfb_pid"
  xvfb_pid=""
}

# An X server on a display number it picks itself (-displayfd), so that
# parallel runs never collide.
start_display() {
  : "${work:?the calling script sets work}"
  : >"$work/display"
  Xvfb -displayfd 9 -nolisten tcp -screen 0 1024x768x24 9>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 300); do
    DISPLAY_NUMBER=$(tr -dc 0-9 <"$work/display")
    if [ -n "$DISPLAY_NUMBER" ] && xdpyinfo -display ":$DISPLAY_NUMBER" >/dev/null 2>&1; then
      export DISPLAY=":$DISPLAY_NUMBER"
      return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  cat "$work/xvfb.log" >&2
  fail "the X server did not start"
}

# Starts the program and waits (up to a minute) until its window is mapped.
# Once in a CI run the window system refused the program's connection right
# after the program's own check had reached it, and on a busy machine the
# program's own check found a fresh display not answering yet; such a start
# is tried once more, with its log shown, so that the check is about the
# panel.
start_app() { # program [arguments]
  local attempt
  for attempt in 1 2; do
    QT_QPA_PLATFORM=xcb "$@" >"$work/app.log" 2>&1 &
    app_pid=$!
    WINDOW=""
    for _ in $(seq 1 600); do
      WINDOW=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n 1 || true)
      [ -n "$WINDOW" ] && break
      kill -0 "$app_pid" 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$WINDOW" ] && break
    if ! kill -0 "$app_pid" 2>/dev/null; then
      cat "$work/app.log" >&2
      if [ "$attempt" -eq 1 ] && grep -qE "could not connect to display|no display for the front panel" "$work/app.log"; then
        echo "note  the display refused the program's connection; starting it again" >&2
        sleep 1
        continue
      fi
      fail "the program ended before showing its window"
    fi
  done
  [ -n "$WINDOW" ] || fail "the panel window did not appear within a minute"
  # shellcheck disable=SC2034 # SCREEN is set by the eval, kept local
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
  WIN_X=$X
  WIN_Y=$Y
  PANEL_WIDTH=$WIDTH
  PANEL_HEIGHT=$HEIGHT
}

# A window manager on the display (openbox, with its stock settings); waits
# until it has taken charge of the screen. Once in a CI run, with another
# desktop check starting beside it, the window manager could not open a
# display that had just answered: such a start is tried once more.
start_window_manager() {
  local attempt
  for attempt in 1 2; do
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 1 300); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
      kill -0 "$wm_pid" 2>/dev/null || break
      sleep 0.1
    done
    cat "$work/wm.log" >&2
    [ "$attempt" -eq 1 ] && echo "the window manager did not start; once more" >&2 && sleep 0.5
  done
  fail "the window manager did not start"
}
stop_window_manager() {
  stop_pid "$wm_pid"
  wm_pid=""
}

# The window's frame as the window manager drew it: "left top width height"
# of the client area grown by the frame extents; empty until the window
# manager has published them.
frame_geometry() {
  local extents x y w h
  extents=$(xprop -id "$WINDOW" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
  [ -n "$extents" ] || return 0
  eval "$(xwininfo -id "$WINDOW" | awk -F: '
    /Absolute upper-left X/ { print "x=" $2 } /Absolute upper-left Y/ { print "y=" $2 }
    /Width/ { print "w=" $2 } /Height/ { print "h=" $2 }' | tr -d ' ')"
  echo "$extents" | awk -F, -v x="$x" -v y="$y" -v w="$w" -v h="$h" \
    '{ print x - $1, y - $3, w + $1 + $2, h + $3 + $4 }'
}

# Polls (up to ten seconds) until the frame's centre lies within 2 pixels of
# the screen's centre; prints the last frame seen and fails otherwise.
frame_centred() {
  local screen frame=""
  screen=$(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1] / 2, d[2] / 2 }')
  for _ in $(seq 1 100); do
    frame=$(frame_geometry)
    if [ -n "$frame" ] && echo "$frame $screen" | awk '{ dx = $1 + $3 / 2 - $5; dy = $2 + $4 / 2 - $6;
        exit !(dx * dx <= 4 && dy * dy <= 4) }'; then
      echo "$frame"
      return 0
    fi
    sleep 0.1
  done
  echo "${frame:-no frame}"
  return 1
}

# The client area's size now, "width x height".
client_size() {
  xwininfo -id "$WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w " x " h }'
}

# The window's pixels (no window manager: the window is the client area).
screenshot() { # file
  import -display "$DISPLAY" -window root -crop "${PANEL_WIDTH}x${PANEL_HEIGHT}+${WIN_X}+${WIN_Y}" \
    +repage "$1"
}

# How many distinct colours a screenshot holds: a painted panel has many,
# an unpainted window one or two.
colour_count() { # file
  identify -format '%k' "$1" 2>/dev/null || echo 0
}

# Polls until the panel is painted (up to a minute).
wait_painted() {
  for _ in $(seq 1 300); do
    screenshot "$work/paint.png" 2>/dev/null || true
    if [ "$(colour_count "$work/paint.png")" -gt 16 ]; then
      return 0
    fi
    sleep 0.2
  done
  fail "the panel was not painted within a minute"
}

click_client() { # x y (client coordinates)
  xdotool mousemove --sync $((WIN_X + $1)) $((WIN_Y + $2)) click 1
}

# Keys to the focused window (the panel, its menu or its dialog).
keys() { xdotool key --delay 50 "$@"; }
# How many windows of the program are shown (the panel, open menus, dialogs).
windows_shown() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | wc -l; }
wait_windows() { # count what
  for _ in $(seq 1 100); do
    [ "$(windows_shown)" -eq "$1" ] && return 0
    sleep 0.1
  done
  fail "$2: $(windows_shown) windows shown, expected $1"
}

# Keyboard input goes to the focused window; with no window manager the
# script gives the panel the input focus itself.
focus_panel() {
  xdotool windowfocus --sync "$WINDOW" 2>/dev/null || xdotool windowfocus "$WINDOW"
}

file_bytes() { stat -c %s "$1" 2>/dev/null || echo 0; }
# Waits until the recording holds `seconds` of sound (up to a minute on a
# busy machine), counted in recorded samples rather than wall-clock time.
wait_recorded() { # file seconds
  local want
  want=$(awk -v s="$2" -v b=$BYTES_PER_SECOND 'BEGIN { printf "%d", s * b }')
  for _ in $(seq 1 600); do
    [ "$(file_bytes "$1")" -ge "$want" ] && return 0
    kill -0 "$recorder_pid" 2>/dev/null || fail "the recorder ended early"
    sleep 0.1
  done
  fail "the recording did not reach $2 s within a minute"
}
# Records `seconds` of the sink into a file.
record() { # file seconds
  start_recording "$1"
  wait_recorded "$1" "$2"
  stop_recording
}

analyse() { # analyser arguments
  /usr/bin/python3 "$desktop_here/panel_sound_analyse.py" "$@"
}

# Records and analyses until the analysis passes, up to three times: the
# sound may still be settling, or a busy machine may have let the stream
# run dry.
record_until() { # name seconds analyser-arguments...
  local name=$1 seconds=$2 attempt
  shift 2
  for attempt in 1 2 3; do
    record "$work/$name.raw" "$seconds"
    if analyse "$work/$name.raw" "$@"; then
      return 0
    fi
    echo "-- $name: recording again (attempt $attempt failed)"
  done
  return 1
}

# The common start of a desktop script: the program in BUILD_DIR (the first
# argument), the whole script run again inside a private sound server, and a
# private work folder removed at exit. Sets build, program and work.
#   desktop_begin NAME BUILD_DIR [ARGS...]
desktop_begin() {
  local name=$1
  shift
  build="$(cd "$1" && pwd)"
  program="$build/app/orbel"
  [ -x "$program" ] || fail "no program at $program"
  run_inside_sound_server "$0" "$@"
  work=$(mktemp -d "/tmp/orbel-$name.XXXXXX")
  trap desktop_end EXIT
  trap 'exit 130' INT TERM
}

desktop_end() {
  desktop_cleanup
  rm -rf "$work"
}
