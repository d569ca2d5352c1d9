#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Levels in volts on a private sound server with two null sinks:
#   tests/system/calibration-check.sh BUILD_DIR
# Each sink is calibrated with --measured (different readings); "0dBu"
# played on each must reach its monitor at the sample level its own
# calibration gives, within 0.01 dB; a level in volts on an output without a
# calibration, and one above full scale, are refused with status 2; after a
# sink's volume is changed (both channels, or the right alone), playing on
# it says the volt figures no longer hold, in English and in Russian; a
# stereo level in volts reaches each channel through its own calibration,
# at a frequency with decimals too.
# Exits non-zero with a FAIL line on the first check that fails.
set -euo pipefail
export LANGUAGE='' LC_ALL=C.UTF-8
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
orbel="$build/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }

# shellcheck source=tests/system/sound-lib.sh
source "$here/sound-lib.sh"
run_inside_sound_server "$0" "$@"

work=$(mktemp -d /tmp/orbel-calibration.XXXXXX)
export XDG_CONFIG_HOME="$work/config"
trap 'stop_background; rm -rf "$work"' EXIT
fail() { echo "FAIL  $*" >&2; exit 1; }
ok() { echo "ok    $*"; }

for sink in bench_a bench_b; do
  load_float_sink "$sink" >/dev/null
done

echo "-- refusals before any calibration"
status=0
"$orbel" play --device bench_a --level 0dBu --seconds 1 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "an uncalibrated 0dBu exits $status"
grep -q "orbel calibrate --device bench_a" "$work/err" || fail "no way to calibrate: $(cat "$work/err")"
ok "0dBu on an uncalibrated output is refused, saying how to calibrate"

echo "-- calibrate each sink"
# At -10 dBFS: 0.5 V gives 1.5811 V at full scale, 0.8 V gives 2.5298 V.
"$orbel" calibrate --device bench_a --measured 0.5 >"$work/cal_a" || fail "calibrate bench_a exits $?"
"$orbel" calibrate --device bench_b --measured 800mV,0.8 >"$work/cal_b" || fail "calibrate bench_b exits $?"
grep -q "1.581V" "$work/cal_a" || fail "bench_a: $(cat "$work/cal_a")"
grep -q "2.53V" "$work/cal_b" || fail "bench_b: $(cat "$work/cal_b")"
ok "both sinks calibrated"

status=0
"$orbel" play --device bench_a --level 2V --seconds 1 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "2 V on a 1.58 V output exits $status"
grep -q "at most 1.581V" "$work/err" || fail "no largest level: $(cat "$work/err")"
ok "above full scale refused with the largest level"

for sink in bench_a bench_b; do
  record_float_sink "$sink" "$work/$sink.raw"
  sleep 0.5
  "$orbel" play --device "$sink" --level 0dBu --bits float --frequency 1000 --seconds 4 \
    2>"$work/$sink.err" || fail "play on $sink exits $?: $(cat "$work/$sink.err")"
  stop_background
  grep -q "dBFS; at $sink: 0.7746Vrms, 2.191Vpp, 0dBu" "$work/$sink.err" ||
    fail "$sink: no level line: $(cat "$work/$sink.err")"
done
ok "each play says its level in dBFS, Vrms, Vpp and dBu"
/usr/bin/python3 - "$work/bench_a.raw" "$work/bench_b.raw" <<'PY' || fail "0dBu is not at the calibrated sample levels"
import math
import sys
import numpy as np
rate = 96000
dbu = math.sqrt(0.6)
for path, full_scale in zip(sys.argv[1:], (0.5 / 10 ** -0.5, 0.8 / 10 ** -0.5)):
    x = np.fromfile(path, dtype="<f4")[0::2].astype(np.float64)
    # The loudest half second (500 whole cycles) of the steady tone.
    n = rate // 2
    best = max(range(0, len(x) - n, rate // 8), key=lambda s: float(np.sum(x[s:s + n] ** 2)))
    got = 10 * np.log10(2 * np.mean(x[best:best + n] ** 2))
    want = 20 * math.log10(dbu / full_scale)
    print(f"{path.rsplit('/', 1)[-1]}: {got:.4f} dBFS, expected {want:.4f}")
    if abs(got - want) > 0.01:
        sys.exit(1)
PY
ok "0dBu on each sink within 0.01 dB of its own calibration"

echo "-- a changed volume"
pactl set-sink-volume bench_b 50%
"$orbel" play --device bench_b --level -20 --seconds 0.5 2>"$work/err" || fail "play exits $?"
grep -q "no longer valid" "$work/err" || fail "no line on the changed volume: $(cat "$work/err")"
"$orbel" play --device bench_a --level -20 --seconds 0.5 2>"$work/err" || fail "play exits $?"
if grep -q "no longer valid" "$work/err"; then fail "bench_a's volume did not change"; fi
ok "the changed volume is said, the other output's is not"
LC_ALL='' LANG=ru_RU.UTF-8 "$orbel" play --device bench_b --level -20 --seconds 0.5 2>"$work/err" ||
  fail "play exits $?"
grep -q "^orbel: уровень -20dBFS; на bench_b: " "$work/err" || fail "in Russian: $(cat "$work/err")"
grep -q "значения в вольтах больше не верны" "$work/err" || fail "in Russian: $(cat "$work/err")"
ok "the level line and the changed volume are said in Russian under a Russian locale"
# The right channel alone turned down: the right's volts no longer hold.
pactl set-sink-volume bench_a 100% 70%
"$orbel" play --device bench_a --level -20 --seconds 0.5 2>"$work/err" || fail "play exits $?"
grep -q "no longer valid" "$work/err" || fail "no line on the right channel's volume: $(cat "$work/err")"
pactl set-sink-volume bench_a 100%
ok "a change of the right channel's volume alone is said"

echo "-- export, and a calibration typed at the prompt"
"$orbel" export "$work/v.wav" --device bench_b --level 0dBu --duration 100 2>"$work/err" ||
  fail "export exits $?: $(cat "$work/err")"
"$orbel" export "$work/db.wav" --level -10.28 --duration 100 2>/dev/null || fail "export exits $?"
grep -q "^orbel: level -10.28dBFS; at bench_b" "$work/err" || fail "export: $(cat "$work/err")"
ok "export takes a level in volts through the named output's calibration"
# Every unit, from the file (bench_a: 1.5811 V at full scale).
levels=(-20dBFS 0dBu +3dBu -10dBV 775mV 0.1V 2Vpp 500mVpp -100dBu)
for level in "${levels[@]}"; do
  "$orbel" export "$work/u$level.wav" --device bench_a --level "$level" --bits float \
    --frequency 1000 --duration 100 2>/dev/null || fail "export --level $level exits $?"
done
/usr/bin/python3 - "$work" "${levels[@]}" <<'PY' || fail "a unit is off its calibration by more than 0.01 dB"
import math
import re
import sys
import numpy as np
full_scale = 0.5 / 10 ** -0.5
volts = {"dBu": lambda n: math.sqrt(0.6) * 10 ** (n / 20), "dBV": lambda n: 10 ** (n / 20),
         "mV": lambda n: n / 1000, "V": lambda n: n, "Vpp": lambda n: n / (2 * math.sqrt(2)),
         "mVpp": lambda n: n / 2000 / math.sqrt(2), "dBFS": lambda n: full_scale * 10 ** (n / 20)}
worst = 0.0
for level in sys.argv[2:]:
    data = open(f"{sys.argv[1]}/u{level}.wav", "rb").read()
    start = data.index(b"data") + 8
    size = int.from_bytes(data[start - 4:start], "little")
    x = np.frombuffer(data[start:start + size], dtype="<f4").astype(np.float64)
    got = 10 * np.log10(2 * np.mean(x ** 2))
    number, unit = re.fullmatch(r"([-+0-9.]+)(\w+)", level).groups()
    want = 20 * math.log10(volts[unit](float(number)) / full_scale)
    print(f"{level}: {got:.5f} dBFS, expected {want:.5f}")
    worst = max(worst, abs(got - want))
sys.exit(0 if worst <= 0.01 else 1)
PY
ok "every unit within 0.01 dB of the calibration in the samples"
# A reading out of form is asked again; then 0.25 V left and 300mV right.
printf 'abc\n0.25\n300mV\n' | "$orbel" calibrate --device bench_a >"$work/cal_a" 2>"$work/err" ||
  fail "calibrate at the prompt exits $?: $(cat "$work/err")"
grep -q "0.7906V RMS on the left, 0.9487V on the right" "$work/cal_a" || fail "typed: $(cat "$work/cal_a")"
grep -q "must be the meter's reading" "$work/err" || fail "a bad reading was taken: $(cat "$work/err")"
status=0
printf '0.25\n' | "$orbel" calibrate --device bench_a >/dev/null 2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "calibrate without the right reading exits $status"
ok "readings typed at the prompt, and none stored without both"

echo "-- each channel through its own calibration"
# bench_a now: 0.7906 V at full scale on the left, 0.9487 V on the right.
"$orbel" export "$work/both.wav" --device bench_a --stereo --bits float --frequency 1000 \
  --level 0dBu --duration 100 2>"$work/err" || fail "export exits $?: $(cat "$work/err")"
"$orbel" export "$work/own.wav" --device bench_a --stereo --bits 24 --frequency 1000 \
  --level 0dBu --right-level -20dBu --duration 100 2>"$work/err" ||
  fail "export exits $?: $(cat "$work/err")"
grep -q "^orbel: right channel.s level -21.76dBFS; at bench_a: 0.07746Vrms" "$work/err" ||
  fail "no right channel's line: $(cat "$work/err")"
# A frequency with decimals streams each channel at its own level too.
for name in fine fine_own; do
  own=()
  [ "$name" = fine ] || own=(--right-level -20dBu)
  "$orbel" export "$work/$name.wav" --device bench_a --stereo --bits 24 --frequency 997.5 \
    --level 0dBu "${own[@]}" --duration 200 2>"$work/err" ||
    fail "export exits $?: $(cat "$work/err")"
done
files=("$work/both.wav" "$work/own.wav" "$work/fine.wav" "$work/fine_own.wav")
/usr/bin/python3 - "${files[@]}" <<'PY' || fail "a channel is off its own calibration"
import math
import sys
import numpy as np
full = (0.25 / 10 ** -0.5, 0.3 / 10 ** -0.5)
dbu = math.sqrt(0.6)
def channels(path, dtype, scale):
    data = open(path, "rb").read()
    start = data.index(b"data") + 8
    size = int.from_bytes(data[start - 4:start], "little")
    raw = data[start:start + size]
    if dtype == "i3":
        b = np.frombuffer(raw, dtype=np.uint8).reshape(-1, 3).astype(np.int32)
        x = ((b[:, 0] << 8 | b[:, 1] << 16 | b[:, 2] << 24) >> 8).astype(np.float64)
    else:
        x = np.frombuffer(raw, dtype=dtype).astype(np.float64)
    x /= scale
    return [10 * np.log10(2 * np.mean(x[c::2] ** 2)) for c in (0, 1)]
worst = 0.0
for path, dtype, scale, asked in ((sys.argv[1], "<f4", 1.0, (0, 0)),
                                  (sys.argv[2], "i3", 8388607.0, (0, -20)),
                                  (sys.argv[3], "i3", 8388607.0, (0, 0)),
                                  (sys.argv[4], "i3", 8388607.0, (0, -20))):
    for got, dbu_asked, fs in zip(channels(path, dtype, scale), asked, full):
        want = 20 * math.log10(dbu * 10 ** (dbu_asked / 20) / fs)
        print(f"{path.rsplit('/', 1)[-1]}: {got:.5f} dBFS, expected {want:.5f}")
        worst = max(worst, abs(got - want))
sys.exit(0 if worst <= 0.01 else 1)
PY
ok "a stereo level in volts reaches each channel through its own calibration, --right-level and decimals too"

# Played, as recorded from the monitor: a frequency with decimals and a
# right level of its own, in dBFS and in volts through each channel's
# calibration (bench_a at 100% again).
for name in play_db play_volts; do
  levels=(--level -10 --right-level -20)
  [ "$name" = play_db ] || levels=(--level 0dBu --right-level -20dBu)
  record_float_sink bench_a "$work/$name.raw"
  sleep 0.5
  "$orbel" play --device bench_a --stereo --bits float --frequency 997.5 "${levels[@]}" \
    --seconds 4 2>"$work/err" || fail "play exits $?: $(cat "$work/err")"
  stop_background
done
/usr/bin/python3 - "$work/play_db.raw" "$work/play_volts.raw" <<'PY' ||
import math
import sys
import numpy as np
rate = 96000
full = (0.25 / 10 ** -0.5, 0.3 / 10 ** -0.5)
dbu = math.sqrt(0.6)
asked = ((-10, -20), tuple(20 * math.log10(dbu * 10 ** (d / 20) / fs) for d, fs in zip((0, -20), full)))
worst = 0.0
for path, want in zip(sys.argv[1:], asked):
    x = np.fromfile(path, dtype="<f4").astype(np.float64).reshape(-1, 2)
    # The loudest half second of the steady tone (the recorder loses its
    # last buffer when it is stopped), on each channel.
    n = rate // 2
    best = max(range(0, len(x) - n, rate // 8), key=lambda s: float(np.sum(x[s:s + n] ** 2)))
    for c in (0, 1):
        got = 10 * np.log10(2 * np.mean(x[best:best + n, c] ** 2))
        print(f"{path.rsplit('/', 1)[-1]} channel {c}: {got:.4f} dBFS, expected {want[c]:.4f}")
        worst = max(worst, abs(got - want[c]))
sys.exit(0 if worst <= 0.05 else 1)
PY
  fail "a played channel is off its own level"
ok "played at 997.5 Hz, each channel at its own level, in dBFS and through its calibration"
