#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A private, headless sound server with one null sink ("nullsink", 96000
# samples per second, stereo, the default sink) for the tests that check
# real sound. ORBEL_SOUND_SERVER picks the server: "pulseaudio" (default) or
# "pipewire" (PipeWire with WirePlumber and its PulseAudio server, on a
# private D-Bus session, without systemd). Clients reach either through
# PULSE_SERVER.
#
#   tests/system/sound-server.sh run CMD ARGS...  start a server, run CMD with
#                                          XDG_RUNTIME_DIR, PULSE_SERVER, PULSE_COOKIE and
#                                          SOUND_SERVER_DIR pointing at it,
#                                          stop the server again (by process
#                                          id) and exit with CMD's status
#   eval "$(tests/system/sound-server.sh start)"  start one and export its settings
#   tests/system/sound-server.sh stop DIR         stop that server, remove its folder
#   tests/system/sound-server.sh down DIR         stop the server but keep its folder
#   tests/system/sound-server.sh up DIR           start it again in the same folder,
#                                          at the same address
# The process ids of a running server are kept in DIR/pids.
set -euo pipefail

kind=${ORBEL_SOUND_SERVER:-pulseaudio}

wait_answering() { # dir pid
  local i
  for i in $(seq 1 100); do
    if XDG_RUNTIME_DIR=$1 PULSE_SERVER=unix:$1/pulse/native pactl info >/dev/null 2>&1; then
      return 0
    fi
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

up_pulseaudio() { # dir
  local dir=$1
  # No D-Bus and no autospawn; the server must not outlive its user.
  XDG_RUNTIME_DIR=$dir HOME=$dir pulseaudio --daemonize=no --exit-idle-time=-1 --system=false -n \
    --load="module-null-sink sink_name=nullsink rate=96000 channels=2" \
    --load="module-native-protocol-unix auth-cookie=$dir/cookie" --log-level=error --disallow-exit=yes \
    >>"$dir/server.log" 2>&1 &
  echo $! >"$dir/pids"
  wait_answering "$dir" "$!"
}

up_pipewire() { # dir
  local dir=$1
  (
    export XDG_RUNTIME_DIR=$dir HOME=$dir DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/bus
    unset DISPLAY
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile \
      >>"$dir/server.log" 2>&1 &
    echo $! >"$dir/pids"
    for _ in $(seq 1 50); do [ -S "$dir/bus" ] && break; sleep 0.1; done
    pipewire >>"$dir/server.log" 2>&1 &
    echo $! >>"$dir/pids"
    for _ in $(seq 1 50); do [ -S "$dir/pipewire-0" ] && break; sleep 0.1; done
    wireplumber >>"$dir/server.log" 2>&1 &
    echo $! >>"$dir/pids"
    pipewire-pulse >>"$dir/server.log" 2>&1 &
    echo $! >>"$dir/pids"
  )
  wait_answering "$dir" "$(tail -n 1 "$dir/pids")" || return 1
  local pactl_here=(env XDG_RUNTIME_DIR="$dir" PULSE_SERVER="unix:$dir/pulse/native" pactl)
  "${pactl_here[@]}" load-module module-null-sink sink_name=nullsink rate=96000 channels=2 \
    >/dev/null
  local i
  for i in $(seq 1 50); do
    "${pactl_here[@]}" set-default-sink nullsink 2>/dev/null &&
      "${pactl_here[@]}" info | grep -q "Default Sink: nullsink" && return 0
    sleep 0.1
  done
  return 1
}

server_up() { # dir
  if ! "up_$kind" "$1"; then
    echo "sound server ($kind) did not start:" >&2
    cat "$1/server.log" >&2 || true
    server_down "$1"
    return 1
  fi
}

# Stops the processes in DIR/pids, each by its id: all asked at once (the
# newest first), then, after up to five seconds, those left are killed.
server_down() { # dir
  local dir=$1 pids pid i alive
  [ -f "$dir/pids" ] || return 0
  mapfile -t pids <"$dir/pids"
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
  done
  for _ in $(seq 1 50); do
    alive=""
    for pid in "${pids[@]}"; do
      kill -0 "$pid" 2>/dev/null && alive=1
    done
    [ -n "$alive" ] || break
    sleep 0.1
  done
  for pid in "${pids[@]}"; do
    kill -9 "$pid" 2>/dev/null || true
  done
  rm -f "$dir/pids"
}

start_server() {
  local dir
  dir=$(mktemp -d /tmp/orbel-sound.XXXXXX)
  chmod 700 "$dir"
  echo "$kind" >"$dir/kind"
  # Each server and its clients share a cookie of their own. Without one,
  # every client reads (and, on a fresh machine, races to create) the user's
  # cookie file, and libpulse prints that race's failures on the clients'
  # standard error, which the checks read.
  (umask 077 && head -c 256 /dev/urandom >"$dir/cookie")
  export PULSE_COOKIE=$dir/cookie
  if ! server_up "$dir"; then
    rm -rf "$dir"
    return 1
  fi
  echo "export XDG_RUNTIME_DIR=$dir PULSE_SERVER=unix:$dir/pulse/native PULSE_COOKIE=$dir/cookie SOUND_SERVER_DIR=$dir"
}

stop_server() { # dir
  server_down "$1"
  [[ "$1" == /tmp/orbel-sound.* ]] && rm -rf "$1"
  return 0
}

case "${1:-}" in
  start)
    start_server
    ;;
  stop)
    stop_server "$2"
    ;;
  down)
    server_down "$2"
    ;;
  up)
    kind=$(cat "$2/kind")
    server_up "$2"
    ;;
  run)
    shift
    settings=$(start_server)
    eval "$settings"
    trap 'stop_server "$SOUND_SERVER_DIR"' EXIT
    status=0
    "$@" || status=$?
    exit $status
    ;;
  *)
    echo "usage: $0 run CMD... | start | stop DIR | down DIR | up DIR" >&2
    exit 2
    ;;
esac
