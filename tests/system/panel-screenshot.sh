#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The front panel on a private X display and sound server, photographed in
# the language a locale gives it, for the README:
#   tests/system/panel-screenshot.sh BUILD_DIR LOCALE OUTPUT.png
# e.g. tests/system/panel-screenshot.sh build en_US.UTF-8 docs/panel-en.png
# (the desktop test makes the Russian one while it plays 2000 Hz on the left
# channel; this one shows the same state).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 3 ] || { echo "usage: $0 BUILD_DIR LOCALE OUTPUT.png" >&2; exit 2; }
output="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
locale=$2
# shellcheck source=tests/system/desktop-lib.sh
source "$here/desktop-lib.sh"
desktop_begin panel-screenshot "$@"

start_display
start_keeper
export LANGUAGE='' LC_ALL='' LC_MESSAGES='' LANG="$locale"
start_app "$program"
wait_painted
click_client $START_X $START_Y
click_client $LEFT_ONLY_X $LEFT_ONLY_Y
focus_panel
click_client $THOUSANDS_X $THOUSANDS_Y
xdotool key --window "$WINDOW" Up 2>/dev/null || xdotool key Up
# The hint the pointer leaves in the status line, then the picture.
sleep 1
screenshot "$output"
echo "ok    screenshot $output"
