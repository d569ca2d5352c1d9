#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses null sink recordings made by desktop-test.sh and
tools/bench-panel.sh (16-bit stereo, 96000 samples per second).

    panel_sound_analyse.py FILE tone FREQ LEFT RIGHT
        the recording holds FREQ Hz; LEFT and RIGHT are each "half" (half
        level: 6.02 dB under the level of the same tone at full volume,
        taken from a full-scale sine) or "silent"
    panel_sound_analyse.py FILE silent
        nothing but silence after the first 0.3 s
    panel_sound_analyse.py FILE thdn FREQ LOOP_S LOW HIGH
        the left channel's THD+N over whole loops of LOOP_S seconds lies
        within LOW..HIGH dB (thdn.py)
    panel_sound_analyse.py FILE noise
        the left channel sounds, and a 200 ms stretch of it correlates with
        the same stretch 100, 200, 500 and 1000 ms later by less than 0.1
        (a noise loop shorter than that would repeat it exactly)
    panel_sound_analyse.py FILE onset FREQ FROM_SAMPLE
        prints the seconds from FROM_SAMPLE to the first 20 ms stretch whose
        strongest frequency is FREQ (no check)
"""
import sys

import numpy as np

import analysis as sa
import thdn
from analysis import RATE, check, level

SETTLE = int(0.3 * RATE)     # sound still changing when the recording began
FREQ_TOLERANCE_HZ = 1.0
LEVEL_TOLERANCE_DB = 0.25
WINDOW = int(0.02 * RATE)

def tone(x, freq, left, right):
    x = x[SETTLE:]
    if len(x) < RATE // 2:
        check(False, f"recording too short ({len(x) / RATE:.2f} s after settling)")
        return
    for name, ch, want in (("left", 0, left), ("right", 1, right)):
        v = x[:, ch].astype(np.float64)
        if want == "silent":
            peak = int(np.max(np.abs(v)))
            check(peak == 0, f"{name} channel silent (peak {peak})")
            continue
        f = sa.peak_frequency(v)
        check(abs(f - freq) < FREQ_TOLERANCE_HZ, f"{name} channel at {f:.2f} Hz, expected {freq} Hz")
        l = level(v, freq)
        d = sa.db(l, sa.FULL_SINE_RMS) if l > 0 else -999.0
        check(abs(d - sa.HALF_DB) < LEVEL_TOLERANCE_DB,
              f"{name} channel {d:+.2f} dB of a full-scale sine, expected {sa.HALF_DB:+.2f} dB (half level)")


def silent(x):
    x = x[SETTLE:]
    peak = int(np.max(np.abs(x))) if len(x) else 0
    check(len(x) > 0 and peak == 0,
          f"silence after the end: {len(x) / RATE:.2f} s recorded, peak {peak}")


NOISE_STRETCH = int(0.2 * RATE)
NOISE_LAGS_MS = (100, 200, 500, 1000)
NOISE_MAX_CORRELATION = 0.1


def noise(x):
    v = x[SETTLE:, 0].astype(np.float64)
    need = NOISE_STRETCH + max(NOISE_LAGS_MS) * RATE // 1000
    if len(v) < need:
        check(False, f"recording too short ({len(v) / RATE:.2f} s after settling)")
        return
    first = v[:NOISE_STRETCH]
    rms = float(np.sqrt(np.mean(first**2)))
    check(rms > 0, f"left channel sounds (rms {rms:.0f})")
    if rms == 0:
        return
    for lag in NOISE_LAGS_MS:
        start = lag * RATE // 1000
        later = v[start : start + NOISE_STRETCH]
        r = float(np.corrcoef(first, later)[0, 1]) if np.any(later != later[0]) else 0.0
        check(abs(r) < NOISE_MAX_CORRELATION,
              f"correlation with the stretch {lag} ms later {r:+.3f}, expected under {NOISE_MAX_CORRELATION}")


def onset(x, freq, start):
    for a in range(start, len(x) - WINDOW, WINDOW // 4):
        v = x[a : a + WINDOW, 0].astype(np.float64)
        if np.max(np.abs(v)) == 0:
            continue
        if abs(sa.peak_frequency(v) - freq) < 0.05 * freq:
            print(f"{(a - start) / RATE:.3f}")
            return 0
    print("none")
    return 1


def main(argv):
    x = sa.read_recording(argv[1])
    mode = argv[2]
    if mode == "tone":
        tone(x, float(argv[3]), argv[4], argv[5])
    elif mode == "silent":
        silent(x)
    elif mode == "thdn":
        return thdn.main(["thdn.py", argv[1], argv[3], argv[4], argv[5], argv[6]])
    elif mode == "noise":
        noise(x)
    elif mode == "onset":
        return onset(x, float(argv[3]), int(argv[4]))
    else:
        print(__doc__)
        return 2
    return sa.status()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
