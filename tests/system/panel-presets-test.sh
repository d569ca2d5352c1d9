#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Presets on a real desktop: the program on a private X display with a
# window manager and a private sound server, worked by the keyboard alone.
#   tests/system/panel-presets-test.sh BUILD_DIR [RECALLS]
# Sets 1000 Hz at the dial's half level and saves it ("Наборы" >
# "Сохранить как…"), then 997.123 Hz at -12 and at -20 dBFS, saving each;
# closes the program, starts it again and plays the dial's 1000 Hz, then
# recalls the presets while it plays (panel_presets_drive.py): each is
# heard at its frequency and level, a recall that keeps the frequency is
# phase-continuous (no 2 ms window outside 0.9..1.1 of the levels either
# side, no silent run over 1 ms), and the time from the menu choice to the
# first changed sample on the monitor is printed (RECALLS per pair of
# presets, 3 by default). ORBEL_SOUND_SERVER picks the server. Exits
# non-zero with a FAIL line on the first check that fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [RECALLS]" >&2; exit 2; }
# shellcheck source=tests/system/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin panel-presets "$@"
recalls=${2:-3}

# The window manager gives the focus; the panel asks for it as a user's
# click would.
activate_panel() {
  xdotool mousemove 0 0
  xdotool windowactivate --sync "$WINDOW" 2>/dev/null || focus_panel
}
# The menu's entry at `position` (1 the first) chosen by Return.
open_entry() { # position
  activate_panel
  keys Menu
  wait_windows 2 "the menu does not open by the Menu key"
  local i
  for ((i = 1; i < $1; i++)); do keys Down; done
}
type_in_dialog() { # entry-position text
  open_entry "$1"
  keys Return
  wait_windows 2 "the dialog of entry $1 does not open"
  keys ctrl+a
  xdotool type --delay 30 -- "$2"
  keys Return Escape
  wait_windows 1 "Escape does not close the dialog of entry $1"
}
save_preset() { # name
  open_entry 7
  keys Right
  wait_windows 3 "\"Наборы\" does not open by Right"
  keys Return
  wait_windows 2 "\"Сохранить как…\" does not ask for a name"
  xdotool type --delay 30 -- "$1"
  keys Return
  wait_windows 1 "the name dialog does not close"
}
close_program() {
  "$here/x_close_window.py" "$WINDOW" || fail "cannot send the close message"
  for _ in $(seq 1 300); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end within 30 s of closing its window"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

start_display
start_window_manager
start_keeper
export XDG_CONFIG_HOME="$work/config"
presets="$XDG_CONFIG_HOME/orbel/presets"

echo "-- three presets saved from the menu"
start_app "$program"
wait_painted
save_preset "Ref C" # 1000 Hz at the dial's half, as the panel starts
type_in_dialog 4 997.123
type_in_dialog 5 -12
save_preset "Ref A"
type_in_dialog 5 -20
save_preset "Ref B"
[ "$(find "$presets" -name '*.preset' | wc -l)" -eq 3 ] ||
  fail "not three preset files: $(ls -A "$presets" 2>&1)"
saved_a=$(grep -l '^name = Ref A$' "$presets"/*.preset) || fail "no preset named Ref A"
grep -q '^frequency = 997.123$' "$saved_a" || fail "Ref A does not hold 997.123 Hz: $(cat "$saved_a")"
grep -q '^level = -12dBFS$' "$saved_a" || fail "Ref A does not hold -12 dBFS: $(cat "$saved_a")"
echo "ok    three presets saved"
close_program

echo "-- the program again: 1000 Hz plays, the presets recalled while it plays"
start_app "$program"
wait_painted
activate_panel
click_client "$START_X" "$START_Y"
record_until start 1.3 tone 1000 half half || fail "Start does not play 1000 Hz after the restart"
/usr/bin/python3 "$here/panel_presets_drive.py" "$app_pid" "$recalls" ||
  fail "the recalled presets are not heard as saved"
close_program
echo "panel presets test passed"
