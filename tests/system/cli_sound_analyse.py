#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses a null sink recording (16-bit stereo, 96000 samples per second)
of `orbel play`, made by cli-test.sh.

    cli_sound_analyse.py FILE FREQ LEFT RIGHT SECONDS
        one stretch of sound of SECONDS (or "-": any length) at FREQ Hz with
        the left and right channel at LEFT and RIGHT percent of full scale,
        ending in a fade rather than a step (no click). A FREQ with decimals
        (a streamed tone) is fitted to within 0.01 Hz, and the sound may
        not fall silent for more than 1 ms anywhere.
"""
import sys

import numpy as np

import analysis as sa
from analysis import RATE, check, level

FREQ_TOLERANCE_HZ = 1.0
FIT_TOLERANCE_HZ = 0.01           # a streamed tone's fitted frequency
LEVEL_TOLERANCE_DB = 0.25
LENGTH_TOLERANCE_S = 0.25
MARGIN = int(0.2 * RATE)          # left out at both ends for frequency and level
BLOCK = int(0.001 * RATE)         # 1 ms blocks for the fade
FADE_WINDOW = int(0.15 * RATE)    # the end looked at for steps
MAX_STEP = 0.4                    # largest drop between 1 ms blocks, of the steady peak

def main(argv):
    if len(argv) != 6:
        print(__doc__)
        return 2
    x = sa.read_recording(argv[1]).astype(np.float64)
    freq = float(argv[2])
    percents = (float(argv[3]), float(argv[4]))
    sound = np.nonzero(np.any(x != 0, axis=1))[0]
    if len(sound) == 0:
        check(False, "nothing was recorded")
        return 1
    start, end = int(sound[0]), int(sound[-1]) + 1
    length = (end - start) / RATE
    if argv[5] != "-":
        want = float(argv[5])
        check(abs(length - want) < LENGTH_TOLERANCE_S, f"sound for {length:.2f} s, expected {want:.2f} s")
    else:
        print(f"ok    sound for {length:.2f} s")
    if end - start < 3 * MARGIN:
        check(False, "too short to measure")
        return 1
    steady = x[start + MARGIN : end - MARGIN]
    streamed = freq != int(freq)
    if streamed:
        gap = sa.longest_silence(x[start:end])
        check(gap <= BLOCK, f"longest silent run {1000 * gap / RATE:.3f} ms")
    for name, ch, percent in (("left", 0, percents[0]), ("right", 1, percents[1])):
        v = steady[:, ch]
        f = sa.peak_frequency(v)
        check(abs(f - freq) < FREQ_TOLERANCE_HZ, f"{name} channel at {f:.2f} Hz, expected {freq:g} Hz")
        if streamed:
            fit = sa.fitted_frequency(v, f)
            check(abs(fit - freq) < FIT_TOLERANCE_HZ,
                  f"{name} channel fitted at {fit:.5f} Hz, expected {freq:g} Hz")
        word = int(percent) * 65535 // 100
        want = sa.FULL_SINE_RMS * word / 65535
        d = sa.db(level(v, freq), want)
        check(abs(d) < LEVEL_TOLERANCE_DB, f"{name} channel {d:+.2f} dB from {percent:g} percent of full scale")
    # The end: 1 ms block peaks of the louder channel may fall only gradually.
    ch = 0 if percents[0] >= percents[1] else 1
    peak = float(np.max(np.abs(steady[:, ch])))
    tail = np.abs(x[max(start, end - FADE_WINDOW) : end + BLOCK, ch])
    peaks = np.array([tail[i : i + BLOCK].max() for i in range(0, len(tail) - BLOCK + 1, BLOCK)])
    drop = float(np.max(peaks[:-1] - peaks[1:])) / peak if len(peaks) > 1 else 1.0
    check(drop < MAX_STEP, f"fades out: largest drop between 1 ms blocks {100 * drop:.0f} % of the peak")
    return sa.status()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
