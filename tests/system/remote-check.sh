#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# orbel serve on a private sound server, driven by a plain-socket client
# (remote_client.py): settings, queries, errors and limits, what is heard
# on the server's monitor, and the time from a command to its sound.
#   tests/system/remote-check.sh pulseaudio|pipewire BUILD_DIR
set -euo pipefail
export LANGUAGE='' LC_ALL=C.UTF-8
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 2 ] || { echo "usage: $0 pulseaudio|pipewire BUILD_DIR" >&2; exit 2; }
orbel="$(cd "$2" && pwd)/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }
# shellcheck source=tests/system/sound-lib.sh
source "$here/sound-lib.sh"
export ORBEL_SOUND_SERVER=$1
run_inside_sound_server "$0" "$@"

work=$(mktemp -d /tmp/orbel-remote.XXXXXX)
server_pid=""
# shellcheck disable=SC2317 # run by the EXIT trap
cleanup() {
  stop_pid "$server_pid"
  stop_sound_tools
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL  $*" >&2; [ -f "$work/serve.err" ] && cat "$work/serve.err" >&2; exit 1; }
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

# Starts the server on a free port (of the loopback address, unless other
# options are given); sets server_pid and port.
start_server() {
  : >"$work/serve.err"
  [ $# -gt 0 ] || set -- --listen 127.0.0.1:0
  # env execs the program: $! is its process id (a function would fork a
  # shell in between, which a signal would end in its place).
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$orbel" serve "$@" 2>"$work/serve.err" &
  server_pid=$!
  port=""
  for _ in $(seq 1 100); do
    port=$(sed -n 's/^orbel: listening on .*:\([0-9]*\)$/\1/p' "$work/serve.err")
    [ -n "$port" ] && return 0
    kill -0 "$server_pid" 2>/dev/null || fail "orbel serve ended at its start"
    sleep 0.1
  done
  fail "orbel serve does not say where it listens"
}

echo "-- refusals of the command line"
if nodisplay "$orbel" serve --listen 0.0.0.0:5025 2>"$work/refused"; then
  fail "serve listened beyond the loopback address without --allow"
fi
grep -q -- "--allow" "$work/refused" || fail "the refusal does not name --allow: $(cat "$work/refused")"

start_keeper
# Levels in volts through the output's stored calibration: 0.5 V measured
# at the calibration tone's -10 dBFS is 1.5811 V at full scale.
export XDG_CONFIG_HOME="$work/config"
nodisplay "$orbel" calibrate --device nullsink --measured 0.5 >"$work/calibrate.out" 2>&1 ||
  fail "calibrate: $(cat "$work/calibrate.out")"
start_server
echo "-- $1: the client on port $port"
/usr/bin/python3 "$here/remote_client.py" "$port" "$work" || fail "the client's checks"

# Waits up to 10 s for the server to end by `what`, and checks it ended well.
server_ended() { # what
  for _ in $(seq 1 100); do
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$server_pid" 2>/dev/null && fail "$1 did not end the server"
  status=0
  wait "$server_pid" || status=$?
  server_pid=""
  [ "$status" -eq 0 ] || fail "orbel serve ended with status $status after $1"
}
# The client's last command, SYSTem:SHUTdown, ends the server.
server_ended SYSTem:SHUTdown

end_server() {
  kill -TERM "$server_pid"
  server_ended SIGTERM
}

echo "-- SIGTERM ends it too"
start_server
end_server

echo "-- the allow list on a real socket: 0.0.0.0 with --allow 127.0.0.2"
# The output's volume no longer the calibration's: said as play says it.
pactl set-sink-volume nullsink 50%
start_server --listen 0.0.0.0:0 --allow 127.0.0.2
pactl set-sink-volume nullsink 100%
grep -q "differs from its calibration" "$work/serve.err" ||
  fail "a changed volume is not said: $(cat "$work/serve.err")"
/usr/bin/python3 "$here/remote_client.py" allow "$port" || fail "the allow list's checks"
end_server
grep -q "^orbel: refused 1 client not on the allow list (the last from 127\.0\.0\.3)$" \
  "$work/serve.err" || fail "the refused client is not counted: $(cat "$work/serve.err")"
echo "PASS"
