#!/usr/bin/env bash
# A private, headless PulseAudio server with one null sink ("nullsink", 96000
# samples per second, stereo) for the tests that check real sound.
#
#   tools/sound-server.sh run CMD ARGS...  start a server, run CMD with
#                                          XDG_RUNTIME_DIR and PULSE_SERVER
#                                          pointing at it, stop the server
#                                          again (by its process id) and
#                                          exit with CMD's status
#   eval "$(tools/sound-server.sh start)"  start one and export its settings
#                                          (SOUND_SERVER_PID among them)
#   tools/sound-server.sh stop PID DIR     stop that server, remove its folder
set -euo pipefail

start_server() {
  local dir
  dir=$(mktemp -d /tmp/orbel-sound.XXXXXX)
  chmod 700 "$dir"
  # No D-Bus and no autospawn; the server must not outlive its user.
  XDG_RUNTIME_DIR=$dir HOME=$dir pulseaudio --daemonize=no --exit-idle-time=-1 --system=false -n \
    --load="module-null-sink sink_name=nullsink rate=96000 channels=2" \
    --load=module-native-protocol-unix --log-level=error --disallow-exit=yes \
    >"$dir/server.log" 2>&1 &
  local pid=$!
  local i
  for i in $(seq 1 100); do
    if XDG_RUNTIME_DIR=$dir PULSE_SERVER=unix:$dir/pulse/native pactl info >/dev/null 2>&1; then
      echo "export XDG_RUNTIME_DIR=$dir PULSE_SERVER=unix:$dir/pulse/native SOUND_SERVER_PID=$pid"
      return 0
    fi
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "sound server did not start:" >&2
  cat "$dir/server.log" >&2 || true
  kill "$pid" 2>/dev/null || true
  rm -rf "$dir"
  return 1
}

stop_server() { # pid dir
  kill "$1" 2>/dev/null || true
  local i
  for i in $(seq 1 50); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null || true
  [ -n "${2:-}" ] && [[ "$2" == /tmp/orbel-sound.* ]] && rm -rf "$2"
  return 0
}

case "${1:-}" in
  start)
    start_server
    ;;
  stop)
    stop_server "$2" "${3:-}"
    ;;
  run)
    shift
    settings=$(start_server)
    eval "$settings"
    trap 'stop_server "$SOUND_SERVER_PID" "$XDG_RUNTIME_DIR"' EXIT
    status=0
    "$@" || status=$?
    exit $status
    ;;
  *)
    echo "usage: $0 run CMD... | start | stop PID DIR" >&2
    exit 2
    ;;
esac
