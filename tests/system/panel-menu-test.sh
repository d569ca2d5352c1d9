#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The panel's menu on the real program, worked by the keyboard alone, on a
# private X display and a private sound server with two null sinks:
#   tests/system/panel-menu-test.sh BUILD_DIR
# The tone moves from the first sink to the second when the second output
# is chosen; "Розовый шум" is heard as pink noise; a sweep started from the
# sweep dialog rises as the log law says and ends by itself; a frequency
# typed in "Частота…", and Up on its units, are heard at once; "Сохранить в
# файл WAV…" writes, byte for byte, the file `orbel export` writes;
# "Калибровка уровня…" plays the left channel alone and stores the readings
# typed. Checked
# from recordings of the sinks' monitors. Exits non-zero with a FAIL line on
# the first check that fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
# shellcheck source=tests/system/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin panel-menu "$@"

second_keeper_pid=""
sink_recorders=()
stop_sink_recorders() {
  local pid
  for pid in "${sink_recorders[@]}"; do
    kill -INT "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  sink_recorders=()
}
trap 'stop_sink_recorders; stop_pid "$second_keeper_pid"; desktop_end' EXIT

# Records a sink's monitor (16-bit stereo) into a file until stopped.
record_sink() { # sink file
  rm -f "$2"
  parecord -d "$1.monitor" --raw --format=s16le --rate="$RATE" --channels=2 \
    --latency-msec=100 "$2" &
  sink_recorders+=($!)
}
# Waits until a recording holds `seconds` of sound (up to a minute).
wait_sink_recorded() { # file seconds
  local want
  want=$(awk -v s="$2" -v b=$BYTES_PER_SECOND 'BEGIN { printf "%d", s * b }')
  for _ in $(seq 1 600); do
    [ "$(file_bytes "$1")" -ge "$want" ] && return 0
    sleep 0.1
  done
  fail "the recording $1 did not reach $2 s within a minute"
}

# Opens the menu from the keyboard (its first entry selected) and walks it:
# Down to the entry at `position` (1 the first), Right into its submenu.
open_menu_at() { # way position
  # The pointer off the panel, so that no entry is selected under it.
  xdotool mousemove 0 0
  focus_panel
  keys "$1"
  wait_windows 2 "the menu does not open by $1"
  local i
  for ((i = 1; i < $2; i++)); do keys Down; done
}
choose_in_submenu() { # position-in-submenu
  keys Right
  wait_windows 3 "the submenu does not open by Right"
  local i
  for ((i = 1; i < $1; i++)); do keys Down; done
  keys Return
  wait_windows 1 "the menu does not close after a choice"
}

# The sink the program's stream plays on, by name.
stream_sink() {
  local index
  index=$(pactl list sink-inputs | awk '/^Sink Input #/ { sink = "" } /^\tSink: / { sink = $2 }
    /application.name = "orbel"/ { print sink; exit }')
  [ -n "$index" ] || return 0
  pactl list short sinks | awk -v i="$index" '$1 == i { print $2 }'
}

start_display
start_keeper
pactl load-module module-null-sink sink_name=nullsink2 rate="$RATE" channels=2 \
  sink_properties=device.description=Second_output >/dev/null
pacat -p -d nullsink2 --raw --format=s16le --rate="$RATE" --channels=2 --latency-msec=10 \
  </dev/zero &
second_keeper_pid=$!
# The menu lists the outputs as `orbel devices` does.
second=$("$program" devices | awk -F'\t' '$1 == "nullsink2" { print NR }')
[ -n "$second" ] || fail "orbel devices does not list the second sink"
echo "ok    the second sink is output $second of $("$program" devices | wc -l)"

# The choices the menu keeps go to this run's own folder.
export XDG_CONFIG_HOME="$work/config"
start_app "$program"
wait_painted
click_client "$START_X" "$START_Y"
record_until start 1.3 tone 1000 half half || fail "Start does not play 1000 Hz on the first sink"

echo "-- \"Частота…\": 997.123 Hz typed, then Up on the units, each heard at once"
open_menu_at Menu 4
keys Return
wait_windows 2 "the frequency dialog does not open"
keys ctrl+a
# A point is read in either language (the panel's own sign shows it).
xdotool type --delay 30 997.123
keys Return
record_until fine 1.3 tone 997.123 half half || fail "997.123 Hz typed is not heard"
keys Home Right Right Right Up
record_until fine-up 1.3 tone 998.123 half half || fail "Up on the units is not heard as 998.123 Hz"
# Back to the 1000 Hz the next steps listen for.
keys ctrl+a
xdotool type --delay 30 1000
keys Return Escape
wait_windows 1 "Escape does not close the frequency dialog"
echo "ok    the typed frequency and the step on its units are heard"

echo "-- \"Устройство вывода\": the second output, by Shift+F10 and the arrows"
open_menu_at shift+F10 1
choose_in_submenu "$second"
for _ in $(seq 1 100); do [ "$(stream_sink)" = nullsink2 ] && break; sleep 0.1; done
[ "$(stream_sink)" = nullsink2 ] || fail "the stream plays on \"$(stream_sink)\", not on the second sink"
# Both monitors over the same time, once the sound has moved.
record_sink nullsink "$work/first.raw"
record_sink nullsink2 "$work/second.raw"
wait_sink_recorded "$work/first.raw" 1.3
wait_sink_recorded "$work/second.raw" 1.3
stop_sink_recorders
analyse "$work/second.raw" tone 1000 half half || fail "the tone is not heard on the second sink"
analyse "$work/first.raw" silent || fail "the tone is still heard on the first sink"
grep -q "nullsink2" "$XDG_CONFIG_HOME/orbel/orbel.conf" || fail "the chosen output is not kept"
echo "ok    the tone moved to the second sink, and the choice is kept"

echo "-- \"Сигнал\" > \"Розовый шум\", by the Menu key"
open_menu_at Menu 3
choose_in_submenu 2
record_sink nullsink2 "$work/pink.raw"
wait_sink_recorded "$work/pink.raw" 4.5
stop_sink_recorders
/usr/bin/python3 "$here/signals_analyse.py" "$work/pink.raw" pink ||
  fail "\"Розовый шум\" is not heard as pink noise"

echo "-- \"Качание частоты…\": 100 to 10000 Hz in 2 s, once"
# The synchronized sweep lasts a little less than asked; the command line
# says how long.
said=$("$program" export "$work/sweep.wav" --sweep 100:10000 --duration 2000 2>&1)
seconds=$(echo "$said" | sed -n 's/^orbel: the sweep lasts \([0-9.]*\) s$/\1/p')
[ -n "$seconds" ] || fail "export --sweep does not say how long: $said"
# From a stopped panel: the dialog's Start starts it.
click_client "$STOP_X" "$STOP_Y"
open_menu_at Menu 6
keys Return
wait_windows 2 "the sweep dialog does not open"
# The "from" field has the focus; Tab selects the next field's text.
keys ctrl+a
xdotool type --delay 30 100
keys Tab
xdotool type --delay 30 10000
keys Tab
xdotool type --delay 30 2
record_sink nullsink2 "$work/sweep.raw"
wait_recording_begun "$work/sweep.raw"
keys Return # the dialog's default button: Start
# One sweep, then the panel stops by itself: Start is enabled again.
wait_sink_recorded "$work/sweep.raw" "$(awk -v s="$seconds" 'BEGIN { print s + 1.8 }')"
stop_sink_recorders
/usr/bin/python3 "$here/signals_analyse.py" "$work/sweep.raw" sweep-once 100 10000 "$seconds" ||
  fail "the sweep from the dialog does not rise as it should"
keys Escape
wait_windows 1 "Escape does not close the sweep dialog"

echo "-- \"Сохранить в файл WAV…\": a path typed in the file dialog"
open_menu_at Menu 8
keys Return
wait_windows 2 "the file dialog does not open"
xdotool type --delay 20 "$work/saved.wav"
keys Return
for _ in $(seq 1 100); do [ -s "$work/saved.wav" ] && [ "$(windows_shown)" -eq 1 ] && break; sleep 0.1; done
[ -s "$work/saved.wav" ] || fail "the file dialog wrote no file"
# What plays is the pink noise chosen above, at the format's defaults.
"$program" export "$work/exported.wav" --waveform pink || fail "orbel export --waveform pink exits $?"
cmp "$work/saved.wav" "$work/exported.wav" ||
  fail "the saved file differs from orbel export --waveform pink"
echo "ok    the saved file is orbel export's, byte for byte ($(file_bytes "$work/saved.wav") bytes)"

echo "-- \"Калибровка уровня…\": the left alone, then the readings typed"
open_menu_at Menu 9
keys Return
wait_windows 2 "the calibration dialog does not open"
keys Return # Start: what the panel plays stops, the left channel plays alone
sleep 0.5
record_sink nullsink2 "$work/calibration.raw"
wait_sink_recorded "$work/calibration.raw" 1
stop_sink_recorders
/usr/bin/python3 - "$work/calibration.raw" "$RATE" <<'PY' || fail "the calibration tone is not 1 kHz at -10 dBFS on the left alone"
import sys
import numpy as np
rate = int(sys.argv[2])
x = np.fromfile(sys.argv[1], dtype="<i2").astype(np.float64) / 32767
# The last half second: whole cycles of 1 kHz at any rate divisible by 2000.
left, right = x[0::2][-(rate // 2):], x[1::2][-(rate // 2):]
level = 10 * np.log10(2 * np.mean(left ** 2))
peak = np.argmax(np.abs(np.fft.rfft(left * np.hanning(len(left))))) * rate / len(left)
print(f"left {level:.3f} dBFS at {peak:.0f} Hz, right peak {np.max(np.abs(right)):.2g}")
sys.exit(0 if abs(level + 10) < 0.05 and abs(peak - 1000) < 2 and np.max(np.abs(right)) < 1e-3 else 1)
PY
xdotool type --delay 30 0.5
keys Return # the right channel now
xdotool type --delay 30 300mV
keys Return # stored
for _ in $(seq 1 100); do grep -q "output=nullsink2 channel=right" "$XDG_CONFIG_HOME/orbel/calibration.conf" 2>/dev/null && break; sleep 0.1; done
grep -q "output=nullsink2 channel=left volts=1.58113" "$XDG_CONFIG_HOME/orbel/calibration.conf" ||
  fail "no left calibration: $(cat "$XDG_CONFIG_HOME/orbel/calibration.conf" 2>&1)"
grep -q "output=nullsink2 channel=right volts=0.94868" "$XDG_CONFIG_HOME/orbel/calibration.conf" ||
  fail "no right calibration: $(cat "$XDG_CONFIG_HOME/orbel/calibration.conf")"
keys Return # Close
wait_windows 1 "the calibration dialog does not close"
echo "ok    the dialog played each channel alone and stored both readings"

"$here/x_close_window.py" "$WINDOW" || fail "cannot send the close message"
for _ in $(seq 1 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
echo "panel menu test passed"
