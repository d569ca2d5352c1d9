#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses what sound-changes-check.sh --fine recorded (the files of
sound_changes_analyse.py): a streamed tone at half level retuned 10 times
between frequencies of the fine grid while it plays.

Checks: each change is found in the recording, with no silence over 1 ms,
every 2 ms window within 0.9 of the lower and 1.1 of the higher steady
level, and the new tone at its exact frequency (a sine fit over 100 ms,
within 0.01 Hz). Prints the change-to-sound times (call to the first sample
that differs from the old tone continued)."""
import sys

import numpy as np

import analysis as sa
from analysis import RATE, check, longest_silence
from sound_changes_analyse import Recording, fit_tone, matches, window_ratios

MS = RATE // 1000
# A change is taken at the stream's next render, after what is queued.
LATEST_MS = 400


def main(folder):
    rec = Recording(folder)
    x = rec.x
    print(f"recording: {len(x) / RATE:.2f} s")
    tone = None
    delays, gaps, dips, errors = [], [], [], []
    block = 10 * MS
    for t, name, args in rec.events:
        new = tuple(float(a) for a in args) if name in ("start", "change") else None
        if name == "start":
            tone = new
        if name != "change":
            continue
        i = rec.index(t)
        starts = range(i - 20 * MS, i + LATEST_MS * MS, MS)
        olds = [a for a in starts if matches(x[a : a + block], tone)]
        news = [a for a in starts if olds and a > olds[0] and matches(x[a : a + block], new)]
        if not news:
            check(False, f"change to {args[0]} Hz not found within {LATEST_MS} ms of its call")
            tone = new
            continue
        new_start = news[0]
        old_end = max([a for a in olds if a < new_start], default=new_start - block) + block
        fit = x[old_end - block : old_end]
        ahead = x[old_end : new_start + block].astype(np.float64)
        curve = np.column_stack([fit_tone(fit[:, c], tone[0], len(ahead)) for c in (0, 1)])
        noise = max(330, 2 * np.max(np.abs(curve[: len(fit)] - fit)))
        off = np.nonzero(np.max(np.abs(ahead - curve[len(fit) :]), axis=1) > noise)[0]
        onset = old_end + (int(off[0]) if len(off) else 0)
        delays.append((onset - i) / RATE * 1000)
        gaps.append(longest_silence(x[onset - 2 * MS : new_start + block]) / RATE * 1000)
        dips.append(window_ratios(x, old_end - block, new_start + block))
        steady = x[new_start + block : new_start + block + 100 * MS, 0].astype(np.float64)
        errors.append(abs(sa.fitted_frequency(steady, new[0]) - new[0]))
        tone = new
    found = len(delays)
    check(found == 10, f"{found} of 10 changes found in the recording")
    if not found:
        return sa.status()
    print("change-to-sound: " + " ".join(f"{d:.1f}" for d in delays) + " ms")
    print(f"change-to-sound: median {np.median(delays):.1f} ms, largest {max(delays):.1f} ms")
    low, high = min(d[0] for d in dips), max(d[1] for d in dips)
    print(f"2 ms windows at changes: lowest {low:.3f}, highest {high:.3f} of the steady level")
    check(low >= 0.9 and high <= 1.1,
          "every 2 ms window within 0.9 of the lower and 1.1 of the higher steady level")
    check(max(gaps) <= 1.0, f"no silence over 1 ms at a change (largest {max(gaps):.2f} ms)")
    check(max(errors) < 0.01, f"each new tone at its frequency (largest error {max(errors):.4f} Hz)")
    return sa.status()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
