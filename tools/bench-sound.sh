#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Timings of the real sound output on both kinds of private sound server
# (tests/system/sound-server.sh), side by side in one run:
#   - change-to-sound: from a change while playing to the first recorded
#     sample that differs from the old tone (tests/system/sound-changes-check.sh);
#   - playing cost: processor time of the program playing a 96000/s stereo
#     float sine looped (the precise image) and streamed (a frequency no
#     loop holds), against the server's command-line player (pacat)
#     feeding a stream of the same format at the same latency (250 ms, as
#     the output asks), for the same time; the ratios side by side.
#   tools/bench-sound.sh BUILD_DIR [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
system="$here/../tests/system"
# shellcheck source=tests/system/sound-lib.sh
source "$system/sound-lib.sh"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [SECONDS]" >&2; exit 2; }
build="$(cd "$1" && pwd)"
seconds=${2:-10}
probe="$build/tests/platform/sound/sound_changes_probe"
[ -x "$probe" ] || { echo "no probe at $probe" >&2; exit 1; }

if [ -n "${BENCH_SOUND_INNER:-}" ]; then
  # Inside a server: a keeper stream holds the null sink to real time.
  start_keeper
  trap stop_keeper EXIT
  sleep 1
  cost() { # looped|streamed: the share of a core, underflows on standard error
    local out
    out=$("$probe" --loop "$1" "$seconds")
    grep '^stream underflows' <<<"$out" >&2 || true
    awk '/^cpu/ { printf "%.4f", 100 * $2 / $3 }' <<<"$out"
  }
  looped=$(cost looped)
  streamed=$(cost streamed)
  pacat -p -d nullsink --raw --format=float32le --rate=96000 --channels=2 --latency-msec=250 \
    </dev/zero &
  player=$!
  sleep 1
  ticks_before=$(awk '{ print $14 + $15 }' "/proc/$player/stat")
  sleep "$seconds"
  ticks_after=$(awk '{ print $14 + $15 }' "/proc/$player/stat")
  kill "$player"
  wait "$player" 2>/dev/null || true
  awk -v l="$looped" -v s="$streamed" -v a="$ticks_before" -v b="$ticks_after" \
    -v hz="$(getconf CLK_TCK)" -v t="$seconds" 'BEGIN {
      p = 100 * (b - a) / hz / t
      printf "playing cost, %% of a core: looped %.2f, streamed %.2f, pacat %.2f\n", l, s, p
      printf "ratios: streamed/looped %.2f, streamed/pacat %.2f, looped/pacat %.2f\n",
             (l > 0 ? s / l : 0), (p > 0 ? s / p : 0), (p > 0 ? l / p : 0)
    }'
  exit 0
fi

for server in pulseaudio pipewire; do
  echo "== $server"
  ORBEL_SOUND_SERVER=$server BENCH_SOUND_INNER=1 "$system/sound-server.sh" run "$0" "$@"
  "$system/sound-changes-check.sh" "$server" "$probe" |
    grep -E "^(change-to-sound|transitions|2 ms windows|ok|FAIL|stream|  *[0-9.]+ s  output-back)" || true
done
