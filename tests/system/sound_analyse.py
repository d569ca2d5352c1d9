#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses the null sink recording made by sound-check.sh.

The recording is 16-bit stereo at 96000 samples per second. Times are
measured from the first sample that is not silent (the first play).
"""
import sys

import numpy as np

from analysis import (FULL_SINE_RMS, HALF_DB, RATE, check, db, longest_silence, peak_frequency,
                      read_recording, status)

TOLERANCE_DB = 0.1


def rms(v):
    """Level of a 1000 Hz tone: the median of the rms over whole periods
    (96 samples), so that a drop-out of a busy machine does not count."""
    v = v.astype(np.float64)
    blocks = v[: len(v) // 96 * 96].reshape(-1, 96)
    return float(np.median(np.sqrt(np.mean(blocks**2, axis=1))))


def main(path):
    x = read_recording(path)
    sound = np.nonzero(np.any(x != 0, axis=1))[0]
    if len(sound) == 0:
        print("FAIL  nothing was recorded")
        return 1
    t0 = int(sound[0])
    print(f"recording: {len(x) / RATE:.2f} s, sound starts at {t0 / RATE:.3f} s")

    def seg(a, b):
        return x[t0 + int(a * RATE) : t0 + int(b * RATE)].astype(np.float64)

    A, B, C = seg(0.1, 0.9), seg(1.1, 1.9), seg(2.1, 2.9)
    stopped, sync = seg(3.15, 3.5), seg(3.7, 3.85)

    la, ra = rms(A[:, 0]), rms(A[:, 1])
    check(abs(db(la, FULL_SINE_RMS)) < TOLERANCE_DB,
          f"full level: left {db(la, FULL_SINE_RMS):+.3f} dB of a full-scale sine")
    check(abs(db(ra, la)) < TOLERANCE_DB, f"full level: right/left {db(ra, la):+.3f} dB")

    # The 100 ms image holds 100 whole periods: looped without a seam, the
    # recording repeats every 96 samples. A fault at the seam would break
    # that every 100 ms; a drop-out of a busy machine breaks it at random.
    # So a stretch of 300 ms (at least two seams) must be one clean sine.
    left = A[:, 0]
    breaks = np.nonzero(np.abs(left[96:] - left[:-96]) > 3)[0]
    edges = np.concatenate(([0], breaks, [len(left) - 96]))
    k = int(np.argmax(np.diff(edges)))
    clean = left[edges[k] + 97 : edges[k + 1]] if k > 0 else left[: edges[1]]
    print(f"loop: {len(breaks)} samples off the period (drop-outs), "
          f"longest clean stretch {len(clean) / RATE * 1000:.0f} ms")
    f = peak_frequency(clean)
    check(abs(f - 1000) < 0.5, f"looped 1000 Hz image is heard at {f:.2f} Hz")
    n = np.arange(len(clean))
    basis = np.column_stack([np.sin(2 * np.pi * 1000 * n / RATE),
                             np.cos(2 * np.pi * 1000 * n / RATE)])
    coef, *_ = np.linalg.lstsq(basis, clean, rcond=None)
    residual = np.max(np.abs(clean - basis @ coef))
    check(len(clean) >= 0.3 * RATE and residual < 4,
          f"loop seams: {len(clean) / RATE * 1000:.0f} ms without a glitch, largest deviation "
          f"from a clean sine {residual:.2f} LSB")

    lb, rb = rms(B[:, 0]), rms(B[:, 1])
    check(lb == 0, f"level word 0x7FFF0000: left silent (rms {lb:.3f})")
    check(abs(db(rb, ra) - HALF_DB) < TOLERANCE_DB,
          f"level word 0x7FFF0000: right {db(rb, ra):+.3f} dB, expected {HALF_DB:+.3f} dB")
    lc, rc = rms(C[:, 0]), rms(C[:, 1])
    check(abs(db(lc, la) - HALF_DB) < TOLERANCE_DB,
          f"level word 0xFFFF7FFF: left {db(lc, la):+.3f} dB, expected {HALF_DB:+.3f} dB")
    check(abs(db(rc, ra)) < TOLERANCE_DB,
          f"level word 0xFFFF7FFF: right {db(rc, ra):+.3f} dB, expected +0.000 dB")

    check(np.max(np.abs(stopped)) == 0, "Stop silences the output")
    fs = peak_frequency(sync[:, 0])
    check(abs(fs - 500) < 1, f"synchronous 500 Hz tone is heard at {fs:.2f} Hz")

    gaps = []
    for t in (1.0, 2.0):
        window = x[t0 + int((t - 0.1) * RATE) : t0 + int((t + 0.15) * RATE)]
        gaps.append(longest_silence(window) / RATE * 1000)
    print(f"restart latency (silence heard between old and new sound): "
          f"{gaps[0]:.1f} ms and {gaps[1]:.1f} ms")
    # A machine busy with other work can stall one restart; the better of the
    # two shows what the output itself needs.
    check(min(gaps) < 50, "a restart is heard within 50 ms")
    return status()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
