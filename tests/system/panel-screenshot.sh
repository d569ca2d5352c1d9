#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The front panel on a private X display and sound server, photographed in
# the language a locale gives it, for the README:
#   tests/system/panel-screenshot.sh BUILD_DIR LOCALE OUTPUT.png [menu]
# e.g. tests/system/panel-screenshot.sh build en_US.UTF-8 docs/panel-en.png
# (the desktop test makes the Russian one while it plays 2000 Hz on the left
# channel; this one shows the same state). With "menu" the panel's menu is
# open over it, opened by the right button on the background, with its
# "Сигнал" submenu shown:
#   tests/system/panel-screenshot.sh build ru_RU.UTF-8 docs/panel-menu.png menu
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
if [ $# -ne 3 ] && { [ $# -ne 4 ] || [ "$4" != menu ]; }; then
  echo "usage: $0 BUILD_DIR LOCALE OUTPUT.png [menu]" >&2
  exit 2
fi
output="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
locale=$2
with_menu=${4:-}
# shellcheck source=tests/system/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin panel-screenshot "$@"

start_display
start_keeper
export LANGUAGE='' LC_ALL='' LC_MESSAGES='' LANG="$locale"
# The menu's kept choices (none) come from this run's own folder.
export XDG_CONFIG_HOME="$work/config"
start_app "$program"
wait_painted
click_client $START_X $START_Y
click_client $LEFT_ONLY_X $LEFT_ONLY_Y
focus_panel
click_client $THOUSANDS_X $THOUSANDS_Y
xdotool key --window "$WINDOW" Up 2>/dev/null || xdotool key Up
if [ "$with_menu" = menu ]; then
  # The right button on the background by the waveform switch; the menu
  # and the submenu fit on the panel from there. The first Down selects
  # the first entry, two more the third, "Сигнал", and Right opens it.
  xdotool mousemove --sync $((WIN_X + 12)) $((WIN_Y + 60)) click 3
  for _ in $(seq 1 100); do
    [ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" -ge 2 ] && break
    sleep 0.1
  done
  xdotool key --delay 100 Down Down Down Right
  for _ in $(seq 1 100); do
    [ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" -ge 3 ] && break
    sleep 0.1
  done
fi
# The hint the pointer leaves in the status line, then the picture.
sleep 1
screenshot "$output"
echo "ok    screenshot $output"
