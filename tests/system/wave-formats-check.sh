#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Exported files in every sample format, read back by readers this program
# did not write:
#   tests/system/wave-formats-check.sh BUILD_DIR
# Each row (format x rate x channels x level) is exported and must be read by
# libsndfile (sndfile-info) and SoX with the format, rate and channels asked
# for, and SoX must measure the peak the level sets. Python's wave module
# must read the PCM rows. A frequency with decimals is exported streamed (a
# second without --duration) and a least-squares fit of what SoX reads finds
# it within 1e-6 Hz. Exits non-zero with a FAIL line for each row that
# fails.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
orbel="$(cd "$1" && pwd)/app/orbel"
[ -x "$orbel" ] || { echo "FAIL  no program at $orbel" >&2; exit 1; }
for tool in sox soxi sndfile-info /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "FAIL  $tool is not installed" >&2; exit 1; }
done
work=$(mktemp -d /tmp/orbel-formats.XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL  $*" >&2; exit 1; }

# bits|rate|channels|level|libsndfile's format code (WAV and subtype)|soxi's encoding|ms
# 11 ms of mono 24-bit at 44100 is 485 frames, an odd 1455 bytes.
rows="
8|44100|1|0|0x00010005|Unsigned|1001
16|96000|2|-6.02|0x00010002|Signed|1001
16|44100|1|-20|0x00010002|Signed|1001
24|96000|1|-1|0x00010003|Signed|1001
24|44100|2|-60|0x00010003|Signed|1001
24|44100|1|-3|0x00010003|Signed|11
float|96000|2|-0.5|0x00010006|Floating|1001
float|44100|1|-100|0x00010006|Floating|1001
"
# One row: its checks, in a file of its own. The rows run side by side.
check_row() { # index bits rate channels level sndfile_code encoding ms
  local index=$1 bits=$2 rate=$3 channels=$4 level=$5 sndfile_code=$6 encoding=$7 ms=$8
  local row="$bits bits, $rate Hz, $channels channel(s), $level dBFS"
  local file="$work/tone$index.wav" stereo info peak want_bits
  stereo=()
  [ "$channels" = 2 ] && stereo=(--stereo)
  "$orbel" export "$file" --frequency 1000 --duration "$ms" --bits "$bits" --rate "$rate" \
    --level "$level" "${stereo[@]}" || fail "$row: export failed"

  info=$(sndfile-info "$file" 2>&1)
  grep -q "^Format *: $sndfile_code" <<<"$info" || fail "$row: libsndfile reads no $sndfile_code"
  grep -q "Sample Rate *: $rate" <<<"$info" || fail "$row: libsndfile reads another rate"
  grep -q "Channels *: $channels" <<<"$info" || fail "$row: libsndfile reads another channel count"
  # The 32 bytes of padding after the data chunk read as an unknown chunk,
  # which libsndfile skips, and an odd data chunk is followed by its pad
  # byte, which libsndfile notes; anything else it notes is a fault.
  if grep -iE "error|should be|missing" <<<"$info" |
    grep -v "Chunk size .* > file length" | grep -qv "'data' chunk should be an even number"; then
    fail "$row: libsndfile complains: $(grep -iE 'error|should be|missing' <<<"$info" | head -1)"
  fi

  [ "$(soxi -r "$file")" = "$rate" ] || fail "$row: SoX reads another rate"
  [ "$(soxi -c "$file")" = "$channels" ] || fail "$row: SoX reads another channel count"
  soxi -e "$file" | grep -q "$encoding" || fail "$row: SoX reads $(soxi -e "$file")"
  want_bits=$bits
  [ "$bits" = float ] && want_bits=32
  [ "$(soxi -b "$file")" = "$want_bits" ] || fail "$row: SoX reads $(soxi -b "$file") bits"
  # 1000 Hz at both rates puts samples on the sine's peaks (44100: within
  # 0.003 dB); 8 bits hold the peak to within half a step of 127.
  peak=$(sox "$file" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
  /usr/bin/python3 - "$peak" "$level" "$bits" <<'PY' || fail "$row: SoX measures a peak of $peak"
import math, sys
peak, level, bits = float(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
# SoX scales whole-number samples by 2^(bits-1), not by the largest value.
full = {"8": 127 / 128, "16": 32767 / 32768, "24": 8388607 / 8388608}.get(bits, 1.0)
tolerance = 0.05 if bits == "8" else 0.01
sys.exit(abs(20 * math.log10(peak / full) - level) > tolerance)
PY

  if [ "$bits" != float ]; then
    /usr/bin/python3 - "$file" "$rate" "$channels" "$bits" <<'PY' || fail "$row: Python's wave module refuses it"
import sys, wave
with wave.open(sys.argv[1]) as w:
    ok = (w.getframerate() == int(sys.argv[2]) and w.getnchannels() == int(sys.argv[3])
          and w.getsampwidth() * 8 == int(sys.argv[4]) and w.getnframes() > 0)
sys.exit(0 if ok else 1)
PY
  fi
  echo "ok    $row"
}

count=0
checks=()
while IFS='|' read -r bits rate channels level sndfile_code encoding ms; do
  [ -n "$bits" ] || continue
  count=$((count + 1))
  check_row "$count" "$bits" "$rate" "$channels" "$level" "$sndfile_code" "$encoding" "$ms" \
    >"$work/row$count.log" 2>&1 &
  checks+=($!)
done <<<"$rows"
failed=0
for i in "${!checks[@]}"; do
  status=0
  wait "${checks[i]}" || status=$?
  cat "$work/row$((i + 1)).log"
  [ "$status" -eq 0 ] || failed=$((failed + 1))
done
[ "$failed" -eq 0 ] || { echo "FAIL  $failed of $count formats" >&2; exit 1; }

fine="$work/fine.wav"
"$orbel" export "$fine" --frequency 997.123 --bits float --level -1 || fail "997.123 Hz: export failed"
[ "$(soxi -s "$fine")" = 96000 ] || fail "997.123 Hz: SoX reads $(soxi -s "$fine") frames, not 96000"
sox "$fine" -t f32 "$work/fine.f32" || fail "997.123 Hz: SoX cannot read it"
/usr/bin/python3 - "$work/fine.f32" 997.123 96000 <<'PY' || fail "997.123 Hz: the fit finds another frequency"
import sys
import numpy as np
x = np.fromfile(sys.argv[1], dtype="<f4").astype(np.float64)
asked, rate = float(sys.argv[2]), int(sys.argv[3])
t = np.arange(x.size) / rate
# A start from the spectrum's peak, padded and interpolated, then
# Gauss-Newton on a*cos + b*sin + c with the frequency free.
spectrum = np.abs(np.fft.rfft(x, 1 << 21))
k = int(np.argmax(spectrum))
a, b, c = np.log(spectrum[k - 1 : k + 2])
f = (k + 0.5 * (a - c) / (a - 2 * b + c)) * rate / (1 << 21)
for _ in range(8):
    w = 2 * np.pi * f * t
    base = np.column_stack([np.cos(w), np.sin(w), np.ones_like(t)])
    (p, q, _), *_ = np.linalg.lstsq(base, x, rcond=None)
    slope = 2 * np.pi * t * (-p * np.sin(w) + q * np.cos(w))
    step, *_ = np.linalg.lstsq(np.column_stack([base, slope]), x - base @ [p, q, 0], rcond=None)
    f += step[3]
off = abs(f - asked)
print(f"{'ok   ' if off <= 1e-6 else 'FAIL '} 997.123 Hz streamed: the fit finds {f:.9f} Hz "
      f"(off by {off:.2e})")
sys.exit(1 if off > 1e-6 else 0)
PY

# A multitone centred on the bins of a 65536-point transform: one period
# read through SoX holds the 31 third-octave tones each in its own bin and
# nothing else within 140 dB of them. SoX's own samples are 32-bit
# integers, so they are read as such (its float output rounds once more).
multi="$work/multitone.wav"
LANGUAGE='' LC_ALL=C.UTF-8 "$orbel" export "$multi" --waveform multitone --tones 20:20000:3 --fft 65536 --bits float \
  --level -10 2>"$work/crest" || fail "multitone: export failed"
grep -Eq '^orbel: crest factor [0-9]+\.[0-9]{2} dB' "$work/crest" ||
  fail "multitone: no crest factor line: $(cat "$work/crest")"
sox "$multi" -t s32 "$work/multi.s32" || fail "multitone: SoX cannot read it"
/usr/bin/python3 - "$work/multi.s32" 96000 65536 <<'PY' || fail "multitone: a tone off its bin or leakage"
import sys
import numpy as np
x = np.fromfile(sys.argv[1], dtype="<i4").astype(np.float64) / 2**31
rate, n = int(sys.argv[2]), int(sys.argv[3])
spectrum = np.abs(np.fft.rfft(x[:n]))
bins = sorted({round(20 * 10 ** (0.1 * k) * n / rate) for k in range(31)})
tones = spectrum[bins]
others = np.delete(spectrum, bins)
below = 20 * np.log10(tones.min() / others.max())
ok = len(bins) == 31 and below >= 140
print(f"{'ok   ' if ok else 'FAIL '} multitone: 31 tones on their bins, the largest other bin "
      f"{below:.1f} dB below the weakest tone")
sys.exit(0 if ok else 1)
PY
echo "all $count formats read back"
