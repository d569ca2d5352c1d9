#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""THD+N of a tone held in a whole number of cycles: a 16-bit wave file (the
generator's image, one loop) or a raw 16-bit stereo recording at 96000
samples per second (left channel), everything outside +-10 Hz of the
fundamental against what is within, in dB.

    thdn.py FILE.wav FREQ                 prints the figure
    thdn.py FILE.raw FREQ LOOP_S LOW HIGH checks a recording of a loop of
        LOOP_S seconds: the cleanest whole-loop stretch must lie within
        LOW..HIGH dB (exit status 1 if not)
"""
import sys
import wave

import numpy as np

RECORDING_RATE = 96000
SETTLE_S = 0.3


def thdn_db(x, rate, freq):
    """The stretch must hold whole cycles: a rectangular window is exact."""
    x = np.asarray(x, dtype=np.float64)
    e = np.abs(np.fft.rfft(x)) ** 2
    f = np.arange(len(e)) * rate / len(x)
    inside = np.abs(f - freq) <= 10
    return 10 * np.log10(e[~inside].sum() / e[inside].sum())


def read_wav(path):
    with wave.open(path, "rb") as w:
        if w.getsampwidth() != 2:
            raise SystemExit("16-bit wave files only")
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2")
        return x.reshape(-1, w.getnchannels())[:, 0], w.getframerate()


def main(argv):
    if len(argv) == 3:
        x, rate = read_wav(argv[1])
        print(f"{thdn_db(x, rate, float(argv[2])):.1f}")
        return 0
    if len(argv) != 6:
        print(__doc__)
        return 2
    freq, loop = float(argv[2]), float(argv[3])
    low, high = float(argv[4]), float(argv[5])
    x = np.fromfile(argv[1], dtype="<i2").reshape(-1, 2)[:, 0]
    x = x[int(SETTLE_S * RECORDING_RATE):]
    n = int(round(loop * RECORDING_RATE))
    # Many whole-loop stretches. A drop-out of a busy machine only ever adds
    # distortion, so the cleanest stretch is the one that shows the signal.
    starts = range(0, len(x) - n + 1, RECORDING_RATE // 16)
    figures = sorted(thdn_db(x[a:a + n], RECORDING_RATE, freq) for a in starts)
    if not figures:
        print(f"FAIL  recording too short for a {loop} s loop")
        return 1
    best = figures[0]
    ok = low <= best <= high
    print(f"{'ok   ' if ok else 'FAIL '} {freq:g} Hz: THD+N {best:.1f} dB, the cleanest of "
          f"{len(figures)} loops (median {figures[len(figures) // 2]:.1f}), "
          f"expected {low:g} to {high:g} dB")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
