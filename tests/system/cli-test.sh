#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line of the real program, without a display:
#   tests/system/cli-test.sh BUILD_DIR
# help, version and the panel's refusal without a display; a refused value
# leaves the target file alone; SoX reads exported files at their rate,
# resolution, channels and frequency; `play` against a private sound server
# for 2 s in 24 bits, interrupted with Ctrl-C in float, and a streamed
# 997.123 Hz tone in float for 1.5 s, checked from the recorded monitor (the
# 16-bit stream's end: cli-faults-test.sh).
# Exits non-zero with a FAIL line on the first check that fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
orbel="$build/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }
# shellcheck source=tests/system/sound-lib.sh
source "$here/sound-lib.sh"
run_inside_sound_server "$0" "$@"

work=$(mktemp -d /tmp/orbel-cli.XXXXXX)
player=""
ctrlc_keeper=""
ctrlc_recorder=""
stream_keeper=""
stream_recorder=""
trap 'stop_pid "$player"; stop_pid "$ctrlc_recorder"; stop_pid "$ctrlc_keeper"; stop_pid "$stream_recorder"; stop_pid "$stream_keeper"; stop_sound_tools; rm -rf "$work"' EXIT

fail() { echo "FAIL  $*" >&2; exit 1; }
ok() { echo "ok    $*"; }
# No window system anywhere below.
nodisplay() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

# The three plays at the end run side by side, each on a null sink of its
# own, each recorded from that sink's monitor. The recordings start now, so
# that they have begun by then.
pactl load-module module-null-sink sink_name=ctrlcsink rate=96000 channels=2 >/dev/null
start_keeper
start_recording "$work/out.raw"
pacat -p -d ctrlcsink --raw --format=s16le --rate=$SOUND_RATE --channels=2 --latency-msec=10 \
  </dev/zero &
ctrlc_keeper=$!
parecord -d ctrlcsink.monitor --raw --format=s16le --rate=$SOUND_RATE --channels=2 \
  --latency-msec=100 "$work/ctrlc.raw" &
ctrlc_recorder=$!
pactl load-module module-null-sink sink_name=streamsink rate=96000 channels=2 >/dev/null
pacat -p -d streamsink --raw --format=s16le --rate="$SOUND_RATE" --channels=2 --latency-msec=10 \
  </dev/zero &
stream_keeper=$!
parecord -d streamsink.monitor --raw --format=s16le --rate="$SOUND_RATE" --channels=2 \
  --latency-msec=100 "$work/stream.raw" &
stream_recorder=$!

echo "-- without a display"
status=0
nodisplay "$orbel" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "the panel without a display exits $status, expected 1"
if [ "$(wc -l <"$work/err")" -ne 1 ] || ! grep -q "no display" "$work/err"; then
  fail "not one clear line: $(cat "$work/err")"
fi
ok "panel: $(cat "$work/err")"
nodisplay "$orbel" --help >"$work/help" || fail "--help"
for option in frequency note waveform duration bits rate stereo volume envelope am no-multiplier precise classic seconds; do
  grep -q -- "--$option" "$work/help" || fail "--help does not list --$option"
done
ok "--help lists every option"
[[ "$(nodisplay "$orbel" --version | head -n 1)" =~ ^orbel\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version"
ok "--version: $(nodisplay "$orbel" --version)"

echo "-- refused values leave the target alone"
printf 'keep me' >"$work/kept.wav"
for args in "--frequency 43200.001" "--frequency 997,5" "--am 9:50:sine:1" "--volume 101" "--rate 32000"; do
  status=0
  # shellcheck disable=SC2086
  nodisplay "$orbel" export "$work/kept.wav" $args 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] || fail "export $args exits $status, expected 2"
  [ "$(wc -l <"$work/err")" -eq 1 ] || fail "export $args: not one line: $(cat "$work/err")"
  [ "$(cat "$work/kept.wav")" = "keep me" ] || fail "export $args changed the target"
  # shellcheck disable=SC2086
  nodisplay "$orbel" export "$work/new.wav" $args 2>/dev/null && fail "export $args accepted"
  [ ! -e "$work/new.wav" ] || fail "export $args created a file"
done
ok "exit 2, one line, nothing written: $(cat "$work/err")"

echo "-- exported files as SoX reads them"
# args | rate channels bits | frequency
while IFS='|' read -r args expected freq; do
  # shellcheck disable=SC2086
  nodisplay "$orbel" export "$work/t.wav" $args || fail "export $args"
  got="$(soxi -r "$work/t.wav") $(soxi -c "$work/t.wav") $(soxi -b "$work/t.wav")"
  [ "$got" = "$expected" ] || fail "$args: SoX reads rate, channels, bits $got, expected $expected"
  rough=$(sox "$work/t.wav" -n remix 1 stat 2>&1 | sed -n 's/^Rough *frequency: *//p')
  # SoX's rough frequency counts zero crossings: within 1 percent.
  [ $((rough * 100 > freq * 99 && rough * 100 < freq * 101)) -eq 1 ] ||
    fail "$args: SoX finds $rough Hz, expected $freq Hz"
  ok "$args: $got, $rough Hz"
done <<'ROWS'
--frequency 1000 --duration 1000|96000 1 16|1000
--frequency 997 --rate 44100 --bits 8 --stereo|44100 2 8|997
--note O5C#|96000 1 16|1109
ROWS

echo "-- play through the sound server, and Ctrl-C"
for _ in $(seq 1 100); do
  [ -s "$work/ctrlc.raw" ] && [ -s "$work/stream.raw" ] && break
  sleep 0.1
done
wait_recording_begun "$work/out.raw"

nodisplay "$orbel" play --frequency 1000 --volume 50 --seconds 2 --bits 24 &
timed_player=$!
# A frequency no loop holds: the output streams it.
nodisplay "$orbel" play --device streamsink --frequency 997.123 --stereo --volume 50 \
  --bits float --seconds 1.5 2>"$work/stream.err" &
stream_player=$!
# Started straight from this shell (env execs the program), so that the
# interrupt reaches the program and not a subshell.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$orbel" play --device ctrlcsink \
  --frequency 440 --stereo --volume 100,25 --bits float &
player=$!
sleep 1.5
kill -INT "$player"
# The fade takes a tenth of a second; give it a generous second.
for _ in $(seq 1 20); do
  kill -0 "$player" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$player" 2>/dev/null && fail "play still runs 2 s after Ctrl-C"
status=0
wait "$player" || status=$?
player=""
[ "$status" -eq 0 ] || fail "play interrupted exits $status, expected 0"
ok "interrupted play exits 0"
status=0
wait "$timed_player" || status=$?
[ "$status" -eq 0 ] || fail "play exits $status"
status=0
wait "$stream_player" || status=$?
[ "$status" -eq 0 ] || fail "streamed play exits $status"
sleep 0.5
# An interrupted recorder writes out what it holds.
kill -INT "$ctrlc_recorder" 2>/dev/null || true
wait "$ctrlc_recorder" 2>/dev/null || true
ctrlc_recorder=""
kill -INT "$stream_recorder" 2>/dev/null || true
wait "$stream_recorder" 2>/dev/null || true
stream_recorder=""
stop_sound_tools
stop_pid "$ctrlc_keeper"
stop_pid "$stream_keeper"
/usr/bin/python3 "$here/cli_sound_analyse.py" "$work/out.raw" 1000 50 50 2 || fail "play --seconds 2"
/usr/bin/python3 "$here/cli_sound_analyse.py" "$work/ctrlc.raw" 440 100 25 - || fail "play interrupted"
/usr/bin/python3 "$here/cli_sound_analyse.py" "$work/stream.raw" 997.123 50 50 1.5 || fail "streamed play"
# The sink runs at 96000: play without --rate takes it and says nothing of
# resampling; a rate asked that differs is said in one line.
! grep -q "resample" "$work/stream.err" || fail "play at the output's rate: $(cat "$work/stream.err")"
nodisplay "$orbel" play --device streamsink --frequency 1000 --rate 48000 --seconds 0.2 \
  2>"$work/resampled.err" || fail "play --rate 48000"
grep -q "^orbel: the output runs at 96000 samples per second: the sound server will resample the sound played at 48000$" \
  "$work/resampled.err" || fail "play --rate 48000 does not say the server resamples: $(cat "$work/resampled.err")"
ok "play takes the output's rate; another rate is said to be resampled"
