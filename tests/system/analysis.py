# SPDX-License-Identifier: GPL-3.0-or-later
"""What the analysers of null sink recordings share: the recording format
(16-bit stereo, 96000 samples per second), levels against a full-scale
sine, frequency and silence measures, and the ok/FAIL lines with the list
of failed checks that sets an analyser's exit status."""
import numpy as np

RATE = 96000
FULL_SINE_RMS = 32767 / np.sqrt(2)
HALF_DB = 20 * np.log10(32767 / 65535)  # level word half 0x7FFF

failures = []


def check(ok, text):
    print(("ok    " if ok else "FAIL  ") + text)
    if not ok:
        failures.append(text)


def status():
    """The exit status of an analyser: 1 when any check failed."""
    return 1 if failures else 0


def read_recording(path):
    """A raw recording as frames of (left, right) 16-bit samples."""
    return np.fromfile(path, dtype="<i2").reshape(-1, 2)


def db(a, b):
    return 20 * np.log10(a / b)


def level(v, freq):
    """Median rms over blocks of whole periods (about 10 ms), so that a
    drop-out of a busy machine does not count."""
    period = RATE / freq
    n = max(1, int(round(round(0.01 * RATE / period) * period)))
    v = v.astype(np.float64)
    blocks = v[: len(v) // n * n].reshape(-1, n)
    if len(blocks) == 0:
        return 0.0
    return float(np.median(np.sqrt(np.mean(blocks**2, axis=1))))


def peak_frequency(v):
    w = v * np.hanning(len(v))
    spectrum = np.abs(np.fft.rfft(w))
    k = int(np.argmax(spectrum[1:])) + 1
    # Parabolic interpolation between the bins around the peak.
    a, b, c = np.log(spectrum[k - 1 : k + 2] + 1e-12)
    offset = 0.5 * (a - c) / (a - 2 * b + c)
    return (k + offset) * RATE / len(v)


def fitted_frequency(v, guess):
    """The frequency of the sine that fits `v` best in the least-squares
    sense (amplitude, phase, offset and frequency), from a guess within a
    fraction of a bin: a few Gauss-Newton steps."""
    v = np.asarray(v, dtype=np.float64)
    t = np.arange(len(v)) / RATE
    f = float(guess)
    for _ in range(8):
        c, s = np.cos(2 * np.pi * f * t), np.sin(2 * np.pi * f * t)
        a, b, o = np.linalg.lstsq(np.column_stack((c, s, np.ones_like(t))), v, rcond=None)[0]
        d = 2 * np.pi * t * (b * c - a * s)  # the fit's change with frequency
        m = np.column_stack((c, s, np.ones_like(t), d))
        step = np.linalg.lstsq(m, v - a * c - b * s - o, rcond=None)[0]
        f += float(step[3])
        if abs(step[3]) < 1e-9:
            break
    return f


def longest_silence(x):
    """The longest run of frames in which every channel is zero."""
    silent = np.concatenate(([0], np.all(x == 0, axis=1).astype(np.int8), [0]))
    edges = np.diff(silent)
    starts, ends = np.nonzero(edges == 1)[0], np.nonzero(edges == -1)[0]
    return int(np.max(ends - starts)) if len(starts) else 0
