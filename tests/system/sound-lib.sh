# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that check real sound: the script run again inside
# a private sound server (sound-server.sh), a keeper stream that holds the
# server's null sink to real time, and recordings of the sink's monitor.
# Every process started here is remembered by its id and stopped by it.

SOUND_RATE=96000
sound_lib_here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

keeper_pid=""
recorder_pid=""

# Runs the calling script again inside a private sound server (the kind in
# ORBEL_SOUND_SERVER, PulseAudio by default) and returns only there.
#   run_inside_sound_server "$0" "$@"
run_inside_sound_server() { # script args...
  local script
  script="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
  shift
  if [ "${ORBEL_INSIDE_SOUND_SERVER:-}" != "$script" ]; then
    ORBEL_INSIDE_SOUND_SERVER=$script exec "$sound_lib_here/sound-server.sh" run "$script" "$@"
  fi
}

# Stops one process by its id: asked first, killed after five seconds.
stop_pid() { # pid
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# A null sink with no input idles with its largest latency and renders far
# ahead of the clock, which would delay the first sound by up to seconds
# and let recordings run ahead of real time. A stream of silence at low
# latency keeps it running like a real device.
start_keeper() {
  pacat -p -d nullsink --raw --format=s16le --rate=$SOUND_RATE --channels=2 --latency-msec=10 \
    </dev/zero &
  keeper_pid=$!
}
stop_keeper() {
  stop_pid "$keeper_pid"
  keeper_pid=""
}

# Starts recording the sink's monitor (16-bit stereo) into a file.
start_recording() { # file [latency ms]
  rm -f "$1"
  parecord -d nullsink.monitor --raw --format=s16le --rate=$SOUND_RATE --channels=2 \
    --latency-msec="${2:-100}" "$1" &
  recorder_pid=$!
}
# The monitor's first data arrives late: waits (up to ten seconds) until the
# recording has begun, then a little more.
wait_recording_begun() { # file
  for _ in $(seq 1 100); do
    [ -s "$1" ] && break
    sleep 0.1
  done
  sleep 0.5
}
# Ends the recording; an interrupted recorder writes out what it holds.
stop_recording() {
  [ -n "$recorder_pid" ] || return 0
  kill -INT "$recorder_pid" 2>/dev/null || true
  wait "$recorder_pid" 2>/dev/null || true
  recorder_pid=""
}

# Stops the recorder and the keeper, for a script's exit.
stop_sound_tools() {
  stop_recording
  stop_keeper
}

# Processes a script started in the background (players, recorders) and
# stops together, each by its id.
background_pids=()
stop_background() {
  for pid in "${background_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${background_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  background_pids=()
}

# A null sink of 32-bit float samples, as measuring outputs are set up;
# prints the module's index (for pactl unload-module).
load_float_sink() { # name [description]
  pactl load-module module-null-sink sink_name="$1" format=float32le rate=$SOUND_RATE channels=2 \
    ${2:+sink_properties=device.description="$2"}
}
# Records a float sink's monitor into a file in the background; its id is
# in background_pids and in $!.
record_float_sink() { # sink file
  parecord -d "$1.monitor" --raw --format=float32le --rate=$SOUND_RATE --channels=2 "$2" &
  background_pids+=($!)
}
