#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The panel's level entries and its remote control on the real program, on
# a private X display and a private sound server:
#   tests/system/panel-dialogs-test.sh BUILD_DIR
# "Калибровка уровня…" stores two readings typed in its dialog; "Уровень…"
# then sets a level in volts, and the monitor's RMS on each channel is what
# the calibration's arithmetic gives, within 0.01 dB. The output's volume
# changed with pactl changes the status line (the volts no longer valid),
# and changed back changes it again. "Удалённое управление" switched on from
# the menu takes a FREQ command: the frequency display moves and the new
# frequency is heard. Exits non-zero with a FAIL line on the first check
# that fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
# shellcheck source=tests/system/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin panel-dialogs "$@"

check() { /usr/bin/python3 "$here/panel_dialogs_analyse.py" "$@"; }
# The pointer stays off the panel (which is at the screen's top left), so
# that no control's hint takes the status line.
OFF_PANEL="1000 740"
# Opens the menu from the keyboard and chooses the entry at `position` (1
# the first); waits for the dialog it opens (`windows`: the program's
# windows then).
choose_entry() { # position windows what
  # shellcheck disable=SC2086 # two coordinates
  xdotool mousemove $OFF_PANEL
  focus_panel
  keys Menu
  wait_windows 2 "the menu does not open by the Menu key"
  local i
  for ((i = 1; i < $1; i++)); do keys Down; done
  keys Return
  wait_windows "$2" "$3 does not open"
}
# A part of the panel's pixels now: the status line or a frequency display.
pixels() { # x y width height
  import -display "$DISPLAY" -window root -crop "$3x$4+$((WIN_X + $1))+$((WIN_Y + $2))" +repage \
    rgb:- | md5sum | cut -d' ' -f1
}
status_line() { pixels 112 370 521 20; }
left_display() { pixels 30 33 111 32; }
# Polls (up to five seconds) until `what` differs from `before`; prints the
# seconds it took.
wait_change() { # what before
  local began
  began=$(now)
  for _ in $(seq 1 100); do
    if [ "$($1)" != "$2" ]; then
      elapsed "$began"
      return 0
    fi
    sleep 0.05
  done
  return 1
}

start_display
start_keeper
export XDG_CONFIG_HOME="$work/config"
# shellcheck disable=SC2086
xdotool mousemove $OFF_PANEL
start_app "$program"
wait_painted

echo "-- \"Калибровка уровня…\": 0.5 V on the left and 0.3 V on the right at -10 dBFS"
choose_entry 9 2 "the calibration dialog"
keys Return # Start
sleep 0.5
xdotool type --delay 30 0.5
keys Return
xdotool type --delay 30 0.3
keys Return
calibrations="$XDG_CONFIG_HOME/orbel/calibration.conf"
for _ in $(seq 1 100); do grep -q "channel=right" "$calibrations" 2>/dev/null && break; sleep 0.1; done
grep -q "channel=right" "$calibrations" || fail "no calibration stored: $(cat "$calibrations" 2>&1)"
keys Return # Close
wait_windows 1 "the calibration dialog does not close"
echo "ok    both readings stored"

echo "-- \"Уровень…\": 0.5V on both channels"
choose_entry 5 2 "the level dialog"
xdotool type --delay 30 0.5V
keys Return Escape
wait_windows 1 "Escape does not close the level dialog"
click_client "$START_X" "$START_Y"
# A full-scale sine gives 0.5 / 10^(-10/20) V on the left and 0.3 / 10^(-10/20)
# V on the right: 0.5 V is 20 log10(0.5 / that) dBFS on each.
left_db=$(awk 'BEGIN { print 20 * log(0.5 / (0.5 / 10 ^ (-0.5))) / log(10) }')
right_db=$(awk 'BEGIN { print 20 * log(0.5 / (0.3 / 10 ^ (-0.5))) / log(10) }')
record_until_ok=""
for attempt in 1 2 3; do
  record "$work/volts.raw" 1.5
  if check "$work/volts.raw" level 1000 "$left_db" "$right_db"; then
    record_until_ok=1
    break
  fi
  echo "-- recording again (attempt $attempt failed)"
done
[ -n "$record_until_ok" ] || fail "0.5V is not played at the calibration's levels"

echo "-- the output's volume changed and changed back: the status line follows"
before=$(status_line)
pactl set-sink-volume nullsink 50%
took=$(wait_change status_line "$before") || fail "the status line does not change when the volume does"
echo "ok    the status line changed ${took} s after the volume did"
changed=$(status_line)
pactl set-sink-volume nullsink 100%
took=$(wait_change status_line "$changed") ||
  fail "the status line does not change when the volume is back"
echo "ok    and again ${took} s after it was back"

echo "-- \"Удалённое управление\": FREQ 1234.5 from a client"
# The panel listens on the remote control's own port, which another
# program may hold on this machine.
if check - ask 5025 "*IDN?" >/dev/null 2>&1; then
  echo "skip  the remote control: port 5025 is taken by another program"
  "$here/x_close_window.py" "$WINDOW" || fail "cannot send the close message"
  exit 0
fi
display_before=$(left_display)
# shellcheck disable=SC2086
xdotool mousemove $OFF_PANEL
focus_panel
keys Menu
wait_windows 2 "the menu does not open by the Menu key"
for ((i = 1; i < 10; i++)); do keys Down; done
keys Return
wait_windows 1 "the menu does not close after the remote control's entry"
answer=""
for _ in $(seq 1 50); do
  answer=$(check - ask 5025 "FREQ 1234.5;FREQ?" 2>/dev/null) && break
  sleep 0.1
done
echo "      FREQ? answers $answer"
awk -v a="$answer" 'BEGIN { exit !(a + 0 == 1234.5) }' ||
  fail "the remote control does not answer FREQ? with 1234.5: \"$answer\""
took=$(wait_change left_display "$display_before") ||
  fail "the frequency display does not follow the remote command"
echo "ok    the display moved ${took} s after the command"
ok=""
for attempt in 1 2 3; do
  record "$work/remote.raw" 1.5
  if check "$work/remote.raw" tone 1234.5; then ok=1; break; fi
  echo "-- recording again (attempt $attempt failed)"
done
[ -n "$ok" ] || fail "1234.5 Hz set remotely is not heard"

"$here/x_close_window.py" "$WINDOW" || fail "cannot send the close message"
for _ in $(seq 1 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
echo "panel dialogs test passed"
