#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whether play reaches the output untouched: on a private sound server's
# 48000 Hz float32 null sink, `play --frequency 997 --bits 24 --level -1`
# without --rate (it plays at the output's own rate) and with --rate 96000
# (which the server resamples), each recorded as float from the monitor.
# Prints what play said and the THD+N of the cleanest second (sine fit).
#   tools/measure-output-rate.sh BUILD_DIR   (ORBEL_SOUND_SERVER=pipewire for PipeWire)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
orbel="$build/app/orbel"
# shellcheck source=tests/system/sound-lib.sh
source "$here/../tests/system/sound-lib.sh"
run_inside_sound_server "$0" "$@"

work=$(mktemp -d /tmp/orbel-rate.XXXXXX)
keeper=""
recorder=""
trap 'stop_pid "$recorder"; stop_pid "$keeper"; rm -rf "$work"' EXIT
pactl load-module module-null-sink sink_name=sink48 format=float32le rate=48000 channels=2 \
  >/dev/null
# Held to real time by a stream of silence at the sink's own rate.
pacat -p -d sink48 --raw --format=float32le --rate=48000 --channels=2 --latency-msec=10 \
  </dev/zero &
keeper=$!
echo "sink48: $(pactl list sinks short | awk '$2 == "sink48" {print $4, $5, $6}')"

measure() { # label, play's extra arguments...
  local label=$1
  shift
  parecord -d sink48.monitor --raw --format=float32le --rate=48000 --channels=2 \
    --latency-msec=50 "$work/rec.raw" &
  recorder=$!
  sleep 1
  env -u DISPLAY "$orbel" play --device sink48 --frequency 997 --bits 24 --level -1 \
    --seconds 4 "$@" 2>"$work/said" >/dev/null
  sleep 0.5
  stop_pid "$recorder"
  recorder=""
  echo "-- $label: play said: $(tr '\n' ' ' <"$work/said")"
  /usr/bin/python3 - "$work/rec.raw" <<'PY'
import sys
import numpy as np
x = np.fromfile(sys.argv[1], dtype="<f4").reshape(-1, 2)[:, 0].astype(np.float64)
rate, f = 48000, 997.0
best = None
for start in range(0, len(x) - rate, rate // 4):
    w = x[start:start + rate]
    if np.sqrt(np.mean(w * w)) < 0.5:
        continue
    n = np.arange(rate) - rate / 2
    # Four-parameter fit: the frequency refined by Gauss-Newton steps.
    fr = f
    for _ in range(4):
        t = 2 * np.pi * fr / rate * n
        m = np.column_stack([np.sin(t), np.cos(t), np.ones(rate)])
        a, b, c = np.linalg.lstsq(m, w, rcond=None)[0]
        d = (a * np.cos(t) - b * np.sin(t)) * 2 * np.pi / rate * n
        m4 = np.column_stack([np.sin(t), np.cos(t), np.ones(rate), d])
        a, b, c, df = np.linalg.lstsq(m4, w, rcond=None)[0]
        fr += df
    t = 2 * np.pi * fr / rate * n
    fit = a * np.sin(t) + b * np.cos(t) + c
    thdn = 10 * np.log10(np.sum((w - fit) ** 2) / np.sum(fit ** 2))
    if best is None or thdn < best[0]:
        best = (thdn, fr, np.hypot(a, b))
if best is None:
    print("no steady second recorded")
    sys.exit(1)
print("THD+N %.1f dB (fit %.6f Hz, peak %.4f)" % best)
PY
}

measure "without --rate"
measure "with --rate 96000" --rate 96000
