#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# An experiment, not one of the test command's checks: commands 0-10 ms
# apart through orbel serve on a private sound server, the monitor searched
# for silences and low windows (close_changes_experiment.py), with the
# program's writes and underflows logged by a preloaded shim
# (pulse_write_log.c), and a steady sine played by pacat into a second null
# sink recorded beside it, under the same load, as the reference.
#   tests/system/close-changes-experiment.sh pulseaudio|pipewire BUILD_DIR [ROUNDS] [BURNERS]
# BURNERS processor-burning loops run beside it (default 1).
set -euo pipefail
export LANGUAGE='' LC_ALL=C.UTF-8
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -ge 2 ] || { echo "usage: $0 pulseaudio|pipewire BUILD_DIR [ROUNDS] [BURNERS]" >&2; exit 2; }
orbel="$(cd "$2" && pwd)/app/orbel"
rounds=${3:-5}
burners=${4:-1}
# shellcheck source=tests/system/sound-lib.sh
source "$here/sound-lib.sh"
export ORBEL_SOUND_SERVER=$1
run_inside_sound_server "$0" "$@"

work=$(mktemp -d /tmp/orbel-close.XXXXXX)
server_pid=""
ref_keeper_pid=""
burner_pids=()
# shellcheck disable=SC2317 # run by the EXIT trap
cleanup() {
  stop_pid "$server_pid"
  stop_pid "$ref_keeper_pid"
  for pid in "${burner_pids[@]}"; do stop_pid "$pid"; done
  stop_sound_tools
  [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

cc -shared -fPIC -O1 -o "$work/pulse_write_log.so" "$here/pulse_write_log.c" -ldl
start_keeper
pactl load-module module-null-sink sink_name=refsink rate=$SOUND_RATE channels=2 >/dev/null
# The reference's sink held to real time as the keeper holds nullsink.
pacat -p -d refsink --raw --format=s16le --rate=$SOUND_RATE --channels=2 --latency-msec=10 \
  </dev/zero &
ref_keeper_pid=$!
for _ in $(seq 1 "$burners"); do
  bash -c 'while :; do :; done' &
  burner_pids+=("$!")
done

: >"$work/serve.err"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ORBEL_WRITE_LOG="$work/writes.log" \
  LD_PRELOAD="$work/pulse_write_log.so" "$orbel" serve --listen 127.0.0.1:0 2>"$work/serve.err" &
server_pid=$!
port=""
for _ in $(seq 1 100); do
  port=$(sed -n 's/^orbel: listening on .*:\([0-9]*\)$/\1/p' "$work/serve.err")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "orbel serve does not say where it listens" >&2; exit 1; }
echo "-- $1, $burners burning loops: orbel serve"
status=0
/usr/bin/python3 "$here/close_changes_experiment.py" "$port" "$work" "$rounds" || status=1
for _ in $(seq 1 50); do kill -0 "$server_pid" 2>/dev/null || break; sleep 0.1; done
exit $status
