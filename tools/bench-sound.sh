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
# Environment:
#   BENCH_SOUND_RUNS     the three costs measured this many times in turn,
#                        every other run in the reverse order, so that a
#                        drift of the machine's load falls on all three
#                        alike; the means, spread and ratios of the means
#                        (default 1)
#   BENCH_SOUND_SERVERS  the servers measured (default "pulseaudio pipewire")
#   BENCH_SOUND_CHANGES  0: the costs only, no change-to-sound run
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
system="$here/../tests/system"
# shellcheck source=tests/system/sound-lib.sh
source "$system/sound-lib.sh"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [SECONDS]" >&2; exit 2; }
build="$(cd "$1" && pwd)"
seconds=${2:-10}
runs=${BENCH_SOUND_RUNS:-1}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "BENCH_SOUND_RUNS must be a whole number above 0" >&2; exit 2; }
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
  pacat_cost() { # the same for pacat
    local player ticks_before ticks_after
    pacat -p -d nullsink --raw --format=float32le --rate=96000 --channels=2 --latency-msec=250 \
      </dev/zero &
    player=$!
    sleep 1
    ticks_before=$(awk '{ print $14 + $15 }' "/proc/$player/stat")
    sleep "$seconds"
    ticks_after=$(awk '{ print $14 + $15 }' "/proc/$player/stat")
    stop_pid "$player"
    awk -v a="$ticks_before" -v b="$ticks_after" -v hz="$(getconf CLK_TCK)" -v t="$seconds" \
      'BEGIN { printf "%.4f", 100 * (b - a) / hz / t }'
  }
  results=""
  for ((run = 1; run <= runs; run++)); do
    order=(looped streamed pacat)
    ((run % 2)) || order=(pacat streamed looped)
    line="run $run:"
    for what in "${order[@]}"; do
      if [ "$what" = pacat ]; then value=$(pacat_cost); else value=$(cost "$what"); fi
      results+="$what $value"$'\n'
      line+=" $what $value"
    done
    [ "$runs" -eq 1 ] || echo "$line"
  done
  awk -v runs="$runs" '
    NF == 2 { n[$1]++; sum[$1] += $2; sq[$1] += $2 * $2
              if (!($1 in lo) || $2 < lo[$1]) lo[$1] = $2
              if (!($1 in hi) || $2 > hi[$1]) hi[$1] = $2 }
    END {
      for (k in n) { mean[k] = sum[k] / n[k]; v = sq[k] / n[k] - mean[k] ^ 2
                     sd[k] = n[k] > 1 && v > 0 ? sqrt(v * n[k] / (n[k] - 1)) : 0 }
      l = mean["looped"]; s = mean["streamed"]; p = mean["pacat"]
      if (runs == 1) {
        printf "playing cost, %% of a core: looped %.2f, streamed %.2f, pacat %.2f\n", l, s, p
      } else {
        printf "playing cost, %% of a core, mean of %d runs (sd, min-max):\n", runs
        split("looped streamed pacat", kinds, " ")
        for (i = 1; i <= 3; i++) { k = kinds[i]
          printf "  %-8s %.3f (sd %.3f, %.3f-%.3f)\n", k, mean[k], sd[k], lo[k], hi[k] }
      }
      printf "ratios%s: streamed/looped %.2f, streamed/pacat %.2f, looped/pacat %.2f\n",
             (runs == 1 ? "" : " of the means"),
             (l > 0 ? s / l : 0), (p > 0 ? s / p : 0), (p > 0 ? l / p : 0)
    }' <<<"$results"
  exit 0
fi

for server in ${BENCH_SOUND_SERVERS:-pulseaudio pipewire}; do
  echo "== $server"
  ORBEL_SOUND_SERVER=$server BENCH_SOUND_INNER=1 "$system/sound-server.sh" run "$0" "$@"
  [ "${BENCH_SOUND_CHANGES:-1}" = 0 ] && continue
  "$system/sound-changes-check.sh" "$server" "$probe" |
    grep -E "^(change-to-sound|transitions|2 ms windows|ok|FAIL|stream|  *[0-9.]+ s  output-back)" || true
done
