#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program in faulty surroundings:
#   tests/system/cli-faults-test.sh BUILD_DIR
# file names as bytes, write protection and no space as another user,
# signals during exports, export to a pipe, failed writes of --help, a
# display that does not answer, `play` across a restart of its sound
# server, with its stream ended by the server, and ended by SIGHUP. Exits
# non-zero with a FAIL line on the first check that fails.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
orbel="$build/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }

if [ -z "${CLI_FAULTS_INNER:-}" ]; then
  CLI_FAULTS_INNER=1 exec "$here/sound-server.sh" run "$0" "$@"
fi

work=$(mktemp -d /tmp/orbel-faults.XXXXXX)
chmod 755 "$work"
small=""
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  if [ -n "$small" ]; then umount "$small" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL  $*" >&2; exit 1; }
ok() { echo "ok    $*"; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$orbel" "$@"; }
# run ARGS as nobody, where this runs as root
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups env -u DISPLAY "$orbel" "$@"; }
# expect STATUS TEXT CMD...: the status, and one line on standard error holding TEXT
expect() {
  local want=$1 text=$2 status=0
  shift 2
  "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq "$want" ] || fail "$* exits $status, expected $want: $(cat "$work/err")"
  if [ -n "$text" ]; then
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$*: not one line: $(cat "$work/err")"
    grep -qF -- "$text" "$work/err" || fail "$*: no '$text' in: $(cat "$work/err")"
  fi
}

# Playing across a restart of the sound server checks no sound, only what
# the program says and its status, and the checks after it up to the
# SIGHUP need no server: it runs beside them, and is judged after them.
# The output tries again after 0.5, 1 and 2 s: 7 s leave time to come back.
run play --seconds 7 2>"$work/restart.err" &
restart_player=$!
(
  sleep 1
  "$here/sound-server.sh" down "$SOUND_SERVER_DIR"
  sleep 1
  "$here/sound-server.sh" up "$SOUND_SERVER_DIR"
) >"$work/restart.log" 2>&1 &
restarter=$!
pids="$restart_player $restarter"

echo "-- file names are bytes"
printf 'keep' >"$work/$(printf '\xef\xbf\xbd').wav"
expect 0 "" run export "$work/$(printf '\xff').wav"
[ -s "$work/$(printf '\xff').wav" ] || fail "\\xff.wav not written"
[ "$(cat "$work/$(printf '\xef\xbf\xbd').wav")" = keep ] || fail "another name was written"
expect 0 "" run export "$work/caf$(printf '\xe9').wav"
[ -s "$work/caf$(printf '\xe9').wav" ] || fail "caf\\xe9.wav not written"
long=$(printf 'n%.0s' $(seq 1 251)).wav
expect 0 "" run export "$work/$long"
ok "names written as typed, up to 255 bytes"
expect 1 'missing\x1B[31m/x.wav: No such file or directory' \
  run export "$work/missing$(printf '\x1b')[31m/x.wav"
ok "reasons given, control characters shown: $(cat "$work/err")"
expect 2 "(120000 bytes)" run export "$work/x.wav" --frequency "$(head -c 120000 /dev/zero | tr '\0' 9)"
ok "long values shortened"

echo "-- standard output"
run export - --frequency 1000 --duration 1000 | sox -t wav - -n stat 2>"$work/stat" ||
  fail "export - into a pipe"
rough=$(sed -n 's/^Rough *frequency: *//p' "$work/stat")
[ $((rough >= 990 && rough <= 1010)) -eq 1 ] || fail "SoX reads $rough Hz from the pipe, not 1000"
expect 1 "No space left on device" sh -c "\"$orbel\" --help >/dev/full"
expect 1 "No space left on device" sh -c "\"$orbel\" --version >/dev/full"
expect 1 "No space left on device" sh -c "\"$orbel\" export \"$work/s.wav\" --sweep 20:20000 >/dev/full"
ok "export - into a pipe; --help, --version and a sweep's length into /dev/full exit 1"

echo "-- the sweep's length"
# Scripts read the English line: a point whatever the locale's decimal sign.
mkdir -p "$work/locale"
if localedef -i de_DE -f UTF-8 "$work/locale/de_DE.UTF-8" 2>/dev/null; then
  [ "$(LOCPATH=$work/locale LC_ALL=de_DE.UTF-8 locale decimal_point)" = "," ] ||
    fail "the German locale writes no decimal comma"
  LOCPATH=$work/locale LC_ALL=de_DE.UTF-8 LANGUAGE=en "$orbel" export "$work/s.wav" \
    --sweep 20:20000 --duration 1000 >"$work/out"
  grep -qx "orbel: the sweep lasts 1.036163 s" "$work/out" || fail "under German: $(cat "$work/out")"
  ok "a point under a German locale"
fi
# What the synchronized sweep changes is said in the line that gives its length.
run export "$work/s.wav" --sweep 20:20000 --duration 100 >"$work/out"
grep -q "^orbel: the sweep lasts 0.345388 s; longer than the 0.100 s asked" "$work/out" ||
  fail "a sweep far longer than asked: $(cat "$work/out")"
run export "$work/s.wav" --sweep 20:20000 --duration 1100 --fade 550 >"$work/out"
grep -q "^orbel: the sweep lasts 1.036163 s; each fade is cut to half of it, 0.518082 s$" "$work/out" ||
  fail "fades cut to half the sweep: $(cat "$work/out")"
run export - --sweep 20:20000 --duration 1000 2>"$work/err" | sox -t wav - -n 2>/dev/null ||
  fail "a sweep on standard output"
grep -q "sweep lasts" "$work/err" || fail "with the file on standard output the length is not on standard error"
ok "the sweep's length says why it differs"

if [ "$(id -u)" -eq 0 ]; then
  echo "-- another user's rights"
  mkdir "$work/user" && chown nobody "$work/user"
  printf 'old' >"$work/user/ro.wav" && chown nobody "$work/user/ro.wav" && chmod 444 "$work/user/ro.wav"
  expect 1 "Permission denied" as_nobody export "$work/user/ro.wav"
  [ "$(cat "$work/user/ro.wav")" = old ] || fail "a read-only file was replaced"
  printf 'old' >"$work/user/root.wav"
  expect 1 "Permission denied" as_nobody export "$work/user/root.wav"
  [ "$(stat -c %U "$work/user/root.wav")" = root ] || fail "the superuser's file changed owner"
  ok "read-only and others' files refused"

  small="$work/small"
  mkdir "$small"
  if mount -t tmpfs -o size=64k tmpfs "$small" 2>/dev/null; then
    head -c 8900 /dev/urandom >"$small/old.wav"
    cp "$small/old.wav" "$work/old.copy"
    chmod 666 "$small/old.wav" && chmod 555 "$small"
    expect 1 "No space left on device" as_nobody export "$small/old.wav" --duration 1000
    cmp -s "$small/old.wav" "$work/old.copy" || fail "no space: the old file changed"
    ok "no space in a folder without room for a temporary file: the old file kept"
    umount "$small"
  else
    echo "skip  no space: cannot mount a small tmpfs here"
  fi
  small=""
fi

echo "-- signals during large exports"
args=(--waveform noise --duration 32767 --stereo)
run export "$work/full.wav" "${args[@]}"
printf 'old contents' >"$work/old.ref"
# The runs mostly wait for their moment to send the signal: they go in four
# lanes side by side, each with its own folder (the temporary file is made
# beside the target).
lanes=4
sigterm_lane() { # lane: runs lane, lane + lanes, ... of the 100
  local dir=$work/lane$1 i delay
  mkdir "$dir"
  cp "$work/old.ref" "$dir/big.wav"
  for ((i = $1; i <= 100; i += lanes)); do
    # SIGTERM after a random delay, as "sleep; kill" would send it, but
    # without waiting out the delay when the export has finished before it
    # (timeout takes 0 for no limit: the shortest delay is a millisecond).
    delay="0.$((RANDOM % 40))"
    [ "$delay" != 0.0 ] || delay=0.001
    timeout -s TERM "$delay" "$orbel" export "$dir/big.wav" "${args[@]}" || true
    compgen -G "$dir/.*tmp" >/dev/null && fail "run $i left a temporary file: $(ls -a "$dir")"
    if ! cmp -s "$dir/big.wav" "$work/old.ref"; then
      cmp -s "$dir/big.wav" "$work/full.wav" || fail "run $i left a partial file"
      cp "$work/old.ref" "$dir/big.wav"
    fi
  done
}
lane_pids=()
for lane in $(seq 1 $lanes); do
  sigterm_lane "$lane" &
  lane_pids+=($!)
done
pids="$pids ${lane_pids[*]}"
failed=0
for pid in "${lane_pids[@]}"; do
  wait "$pid" || failed=1
done
[ "$failed" -eq 0 ] || fail "SIGTERM during an export (the lines above)"
ok "100 SIGTERMs: no temporary file, old or whole file"

echo "-- a display that does not answer"
expect 1 "does not answer" env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:77 "$orbel"
expect 1 "does not answer" env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=orbel-none "$orbel"
ok "one line, exit 1: $(cat "$work/err")"
# A platform Qt has no plugin for: the same one line, not Qt's abort.
expect 1 "no display" env QT_QPA_PLATFORM=bogus "$orbel"
expect 1 "no display" env QT_QPA_PLATFORM="bogus;other:x=1" "$orbel"
ok "an unknown platform: one line, exit 1: $(cat "$work/err")"
# Memory short at every stage of a long pink noise (its transform's plan
# among them): the one line and exit 1, or the file; never an abort.
for limit in 120000 145000 175000 200000; do
  status=0
  (ulimit -v "$limit"; exec "$orbel" export "$work/p.wav" --waveform pink --bits float \
    --stereo --duration 32767) >/dev/null 2>"$work/err" || status=$?
  case $status in
    0) ;;
    1)
      if [ "$(wc -l <"$work/err")" -ne 1 ] || ! grep -qF "not enough memory" "$work/err"; then
        fail "ulimit -v $limit: $(cat "$work/err")"
      fi
      ;;
    *) fail "ulimit -v $limit: exit $status: $(head -c 300 "$work/err")" ;;
  esac
done
rm -f "$work/p.wav"
ok "memory short for pink noise: one line and exit 1, never an abort"

echo "-- play across a restart of the sound server"
wait "$restarter" || fail "the sound server did not start again: $(cat "$work/restart.log")"
status=0
wait "$restart_player" || status=$?
pids=""
[ "$status" -eq 1 ] || fail "play across a restart exits $status, expected 1"
grep -q "no sound output" "$work/restart.err" || fail "no line on loss: $(cat "$work/restart.err")"
grep -q "sound output restored" "$work/restart.err" || fail "no line on return: $(cat "$work/restart.err")"
tail -n 1 "$work/restart.err" | grep -q "the sound was lost for" ||
  fail "no last line: $(cat "$work/restart.err")"
ok "lost, restored, exit 1: $(tail -n 1 "$work/restart.err")"
# With the server answering again: the list of outputs into a full output.
expect 1 "No space left on device" sh -c "\"$orbel\" devices >/dev/full"
ok "devices into /dev/full exits 1"
grep -q "no sound output: the sound server does not answer (.*)" "$work/restart.err" ||
  fail "the loss does not name the server's reason: $(cat "$work/restart.err")"
ok "the loss names the server's reason: $(head -n 1 "$work/restart.err")"

echo "-- a stream the server ends"
LC_ALL=C LANGUAGE='' run play --seconds 4 2>"$work/killed.err" &
killed_player=$!
pids=$killed_player
input=""
for _ in $(seq 1 50); do
  input=$(pactl list short sink-inputs | cut -f1 | head -n 1)
  [ -n "$input" ] && break
  sleep 0.1
done
[ -n "$input" ] || fail "play has no stream on the server"
sleep 0.5
# pactl has no command for it: the server's own command line has.
pactl load-module module-cli-protocol-unix >/dev/null
pacmd kill-sink-input "$input" >/dev/null
status=0
wait "$killed_player" || status=$?
pids=""
[ "$status" -eq 1 ] || fail "play whose stream was ended exits $status, expected 1"
grep -q "no sound output: the sound server dropped the stream (Entity killed)" "$work/killed.err" ||
  fail "the line does not name the server's reason: $(cat "$work/killed.err")"
grep -q "sound output restored" "$work/killed.err" || fail "no new stream: $(cat "$work/killed.err")"
ok "the server's reason named, a new stream: $(head -n 1 "$work/killed.err")"

echo "-- SIGHUP to play"
# A server just started renders its first stream unevenly: warm it up.
run play --seconds 0.5
pacat -p -d nullsink --raw --format=s16le --rate=96000 --channels=2 --latency-msec=10 </dev/zero &
keeper=$!
parecord -d nullsink.monitor --raw --format=s16le --rate=96000 --channels=2 \
  --latency-msec=100 "$work/out.raw" &
recorder=$!
pids="$keeper $recorder"
for _ in $(seq 1 100); do
  [ -s "$work/out.raw" ] && break
  sleep 0.1
done
sleep 0.5
env -u DISPLAY "$orbel" play --frequency 440 --volume 50 &
player=$!
pids="$pids $player"
sleep 1.5
kill -HUP "$player"
status=0
wait "$player" || status=$?
[ "$status" -eq 0 ] || fail "play ended by SIGHUP exits $status, expected 0"
sleep 0.5
kill -INT "$recorder" "$keeper"
wait "$recorder" "$keeper" 2>/dev/null || true
pids=""
/usr/bin/python3 "$here/cli_sound_analyse.py" "$work/out.raw" 440 50 50 - || fail "play ended by SIGHUP"
ok "SIGHUP ends play with a fade"
echo "all fault checks passed"
