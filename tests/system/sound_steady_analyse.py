#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses what tests/system/sound-steady-check.sh recorded: DIR/out.raw
(16-bit stereo, 96000/s), DIR/events.txt and DIR/probe.log. Between the
start and the stop of the steady tone (its fades left out): no silent run
over 1 ms, every 2 ms window at least 0.9 of the median window's RMS, and
no underrun reported by the output."""
import os
import re
import sys

import numpy as np

RATE = 96000
WINDOW = 2 * RATE // 1000
failures = 0


def check(ok, text):
    global failures
    print(("ok    " if ok else "FAIL  ") + text)
    failures += 0 if ok else 1


def main(folder):
    x = np.fromfile(os.path.join(folder, "out.raw"), dtype="<i2").reshape(-1, 2)
    with open(os.path.join(folder, "probe.log")) as f:
        log = f.read()
    # The tone: the stretch between the first and last sounding frames.
    sound = np.nonzero(np.any(x != 0, axis=1))[0]
    if len(sound) == 0:
        check(False, "the tone was recorded")
        return 1
    tone = x[sound[0] + 20 * WINDOW : sound[-1] - 20 * WINDOW]
    print(f"steady tone recorded: {len(tone) / RATE:.1f} s")
    silent = np.concatenate(([0], np.all(tone == 0, axis=1).astype(np.int8), [0]))
    edges = np.diff(silent)
    runs = np.nonzero(edges == -1)[0] - np.nonzero(edges == 1)[0]
    long_runs = runs[runs > RATE // 1000]
    print(f"silent runs over 1 ms: {len(long_runs)}"
          + (f" (longest {np.max(long_runs) / RATE * 1000:.1f} ms)" if len(long_runs) else ""))
    check(len(long_runs) == 0, "no silent run over 1 ms")
    v = tone[: len(tone) // WINDOW * WINDOW].astype(np.float64)
    rms = np.sqrt(np.mean(v.reshape(-1, WINDOW, 2) ** 2, axis=1))
    ratio = np.min(rms / np.median(rms, axis=0))
    print(f"lowest 2 ms window: {ratio:.3f} of the steady level")
    check(ratio >= 0.9, "no 2 ms window below 0.9 of the steady level")
    m = re.search(r"stream underflows: (\d+)", log)
    check(m is not None and int(m.group(1)) == 0,
          f"no underrun reported ({m.group(1) if m else 'no count'})")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
