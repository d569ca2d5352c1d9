#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks a recording (raw s16le stereo at 96000) of a played measurement
signal from the sound server's monitor.

  signals_analyse.py FILE sweep SECONDS  a sweep repeating every SECONDS:
      the dominant frequency in 10 ms frames climbs from below 100 Hz to
      above 10 kHz and the sweep restarts every SECONDS (the median period,
      within 10 ms: a busy machine may delay a buffer now and then).
  signals_analyse.py FILE pink            pink noise: third-octave bands from
      50 Hz to 10 kHz within 2 dB of their mean.
  signals_analyse.py FILE sweep-once F1 F2 SECONDS  one logarithmic sweep
      from F1 to F2 Hz: it sounds for SECONDS (within 0.15 s), and the
      dominant frequency in 20 ms frames rises all the way, as the log law
      says (within 10 % at every tenth of the way).
Gaps in the sound itself are the play tests' concern.
"""
import sys

import numpy as np

RATE = 96000


def fail(message):
    print("FAIL  " + message)
    sys.exit(1)


def playing(left):
    loud = np.flatnonzero(np.abs(left) > 100)
    if loud.size == 0:
        fail("the recording is silent")
    # Leave out the start and the fade at the end.
    return left[loud[0] + RATE // 5: loud[-1] - RATE // 2]


def sweep(x, seconds):
    frame = RATE // 100
    frames = x[: x.size // frame * frame].reshape(-1, frame)
    window = np.hanning(frame)
    peaks = np.argmax(np.abs(np.fft.rfft(frames * window, axis=1)), axis=1) * RATE / frame
    if peaks.min() > 100 or peaks.max() < 10000:
        fail(f"the sweep spans {peaks.min():.0f} to {peaks.max():.0f} Hz")
    restarts = np.flatnonzero((peaks[:-1] > 5000) & (peaks[1:] < 500))
    if restarts.size < 2:
        fail("fewer than two restarts of the sweep")
    periods = np.diff(restarts) * frame / RATE
    if abs(np.median(periods) - seconds) > 0.011:
        fail(f"the sweep restarts every {periods} s, expected {seconds}")
    print(f"ok    sweep {peaks.min():.0f}..{peaks.max():.0f} Hz, restarts every "
          f"{np.median(periods):.4f} s (printed: {seconds} s)")


def pink(x):
    n = RATE
    segments = x[: x.size // n * n].reshape(-1, n).astype(float)
    power = np.mean(np.abs(np.fft.rfft(segments * np.hanning(n), axis=1)) ** 2, axis=0)
    bands = []
    for b in range(-13, 11):  # 50 Hz .. 10 kHz
        centre = 1000 * 10 ** (b / 10)
        low, high = int(centre * 10 ** -0.05), int(centre * 10 ** 0.05)
        bands.append(10 * np.log10(power[low:high].sum()))
    bands = np.array(bands)
    spread = np.max(np.abs(bands - bands.mean()))
    if spread > 2:
        fail(f"third-octave bands off their mean by up to {spread:.2f} dB")
    print(f"ok    pink noise: third-octave bands within {spread:.2f} dB of their mean")


def sweep_once(left, f1, f2, seconds):
    loud = np.flatnonzero(np.abs(left) > 100)
    if loud.size == 0:
        fail("the recording is silent")
    heard = (loud[-1] - loud[0]) / RATE
    if abs(heard - seconds) > 0.15:
        fail(f"the sweep sounds for {heard:.3f} s, expected {seconds} s")
    x = left[loud[0]: loud[-1]]
    frame = RATE // 50
    frames = x[: x.size // frame * frame].reshape(-1, frame)
    pad = 8 * frame  # finer bins for the low frequencies
    spectra = np.abs(np.fft.rfft(frames * np.hanning(frame), n=pad, axis=1))
    peaks = np.argmax(spectra, axis=1) * RATE / pad
    times = (np.arange(len(peaks)) + 0.5) * frame / RATE
    falls = np.flatnonzero(np.diff(peaks) < -0.05 * peaks[:-1])
    if falls.size:
        fail(f"the frequency falls at {times[falls[0]]:.2f} s "
             f"({peaks[falls[0]]:.0f} to {peaks[falls[0] + 1]:.0f} Hz)")
    for k in range(1, 10):
        t = k * seconds / 10
        i = int(np.argmin(np.abs(times - t)))
        want = f1 * (f2 / f1) ** (times[i] / seconds)
        if abs(peaks[i] / want - 1) > 0.1:
            fail(f"at {times[i]:.2f} s the sweep is at {peaks[i]:.0f} Hz, expected {want:.0f} Hz")
    print(f"ok    sweep rises {peaks[0]:.0f}..{peaks[-1]:.0f} Hz over {heard:.3f} s, "
          f"on the log law at every tenth")


def main():
    samples = np.fromfile(sys.argv[1], dtype="<i2").reshape(-1, 2)
    if sys.argv[2] == "sweep-once":
        sweep_once(samples[:, 0].astype(float), *map(float, sys.argv[3:6]))
        return
    x = playing(samples[:, 0].astype(float))
    if sys.argv[2] == "sweep":
        sweep(x, float(sys.argv[3]))
    else:
        pink(x)


main()
