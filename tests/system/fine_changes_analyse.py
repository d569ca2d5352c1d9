#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses what sound-changes-check.sh --fine recorded (the files of
sound_changes_analyse.py; the server's kind may follow the folder): a
streamed tone at half level retuned between frequencies of the fine grid
while it plays, then each channel set to its own level.

Checks: each change is found in the recording and heard within 50 ms of
its call (on PipeWire: the median), with no silence over 1 ms, every 2 ms
window within 0.9 of the lower and 1.1 of the higher steady level, and the
new tone at its exact frequency and channel levels (a sine fit over 300 ms, within 0.01 Hz).
Below 500 Hz a 2 ms window holds less than a cycle, and its RMS follows the
phase: there each window is measured against the same window of the ideal
change (the old tone up to the first changed frame, the new one fitted and
continued back to it). Prints the change-to-sound times (call to the first
sample that differs from the old tone continued)."""
import sys

import numpy as np

import analysis as sa
from analysis import RATE, check, longest_silence
from sound_changes_analyse import Recording, fit_tone, matches, window_ratios

MS = RATE // 1000
# Where a change is looked for, and when it must be heard.
LATEST_MS = 400
HEARD_MS = 50
# Below this a 2 ms window holds less than a cycle.
LOW_HZ = 500


def ideal_ratios(x, old_end, onset, new_start, block, old, new):
    """The 2 ms windows around a change against the ideal change: the old
    tone fitted before it up to `onset`, the new one fitted after it back to
    `onset`. The lowest and highest ratios of RMS over the sounding channels."""
    window = 2 * MS
    start, end = old_end - block, new_start + block
    low, high = float("inf"), 0.0
    for c in (0, 1):
        before = fit_tone(x[old_end - block : old_end, c], old[0], end - old_end)
        after_fit = x[new_start + block : new_start + 2 * block, c]
        # The new tone fitted past the change and continued back over it.
        n = np.arange(start - (new_start + block), end - (new_start + block))
        w = 2 * np.pi * new[0] / RATE
        basis = np.column_stack([np.sin(w * np.arange(block)), np.cos(w * np.arange(block))])
        coef, *_ = np.linalg.lstsq(basis, after_fit.astype(np.float64), rcond=None)
        after = np.column_stack([np.sin(w * n), np.cos(w * n)]) @ coef
        ideal = np.where(np.arange(start, end) < onset, before[: end - start], after)
        v = x[start:end, c].astype(np.float64)
        count = (end - start) // window * window
        got = np.sqrt(np.mean(v[:count].reshape(-1, window) ** 2, axis=1))
        want = np.sqrt(np.mean(ideal[:count].reshape(-1, window) ** 2, axis=1))
        sounding = want > 100
        if not np.any(sounding):
            continue
        low = min(low, float(np.min(got[sounding] / want[sounding])))
        high = max(high, float(np.max(got[sounding] / want[sounding])))
    return (low if low != float("inf") else 1.0), high


def steady_levels(v, tone):
    """The largest error of the channels' fitted amplitudes against the
    tone's levels (percent of full scale), as a share of full scale."""
    w = 2 * np.pi * tone[0] / RATE
    n = np.arange(len(v))
    basis = np.column_stack([np.sin(w * n), np.cos(w * n)])
    worst = 0.0
    for c, percent in ((0, tone[1]), (1, tone[2])):
        coef, *_ = np.linalg.lstsq(basis, v[:, c], rcond=None)
        worst = max(worst, abs(np.hypot(*coef) / 32767 - percent / 100))
    return worst


def main(folder, server=""):
    rec = Recording(folder)
    x = rec.x
    print(f"recording: {len(x) / RATE:.2f} s")
    tone = None
    delays, gaps, dips, errors, levels = [], [], [], [], []
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
        # Two tones a few hertz apart both match a short stretch: the new
        # one is looked for up to the latest time it may be heard.
        ahead = x[old_end : max(new_start + block, i + 2 * HEARD_MS * MS)].astype(np.float64)
        curve = np.column_stack([fit_tone(fit[:, c], tone[0], len(ahead)) for c in (0, 1)])
        noise = max(330, 2 * np.max(np.abs(curve[: len(fit)] - fit)))
        off = np.nonzero(np.max(np.abs(ahead - curve[len(fit) :]), axis=1) > noise)[0]
        onset = old_end + (int(off[0]) if len(off) else 0)
        delays.append((onset - i) / RATE * 1000)
        # The new tone surely plays from here (a close one matched earlier).
        settled = max(new_start, onset + 2 * MS)
        gaps.append(longest_silence(x[onset - 2 * MS : settled + block]) / RATE * 1000)
        if min(tone[0], new[0]) < LOW_HZ:
            dips.append(ideal_ratios(x, old_end, onset, settled, block, tone, new))
        else:
            dips.append(window_ratios(x, old_end - block, settled + block))
        steady = x[settled + block : settled + block + 300 * MS].astype(np.float64)
        errors.append(abs(sa.fitted_frequency(steady[:, 0], new[0]) - new[0]))
        levels.append(steady_levels(steady, new))
        tone = new
    found = len(delays)
    expected = sum(1 for _, name, _ in rec.events if name == "change")
    check(found == expected, f"{found} of {expected} changes found in the recording")
    if not found:
        return sa.status()
    print("change-to-sound: " + " ".join(f"{d:.1f}" for d in delays) + " ms")
    print("frequency errors: " + " ".join(f"{e:.2g}" for e in errors) + " Hz")
    print(f"change-to-sound: median {np.median(delays):.1f} ms, largest {max(delays):.1f} ms")
    check(np.median(delays) <= HEARD_MS, f"changes heard within {HEARD_MS} ms of their call "
          "(median)")
    # On PipeWire a change made while the server runs dry, as a busy
    # machine makes it now and then, is heard only once it plays again; a
    # looped image's change meets the same.
    if server != "pipewire":
        check(max(delays) <= HEARD_MS, f"every change heard within {HEARD_MS} ms of its call")
    low, high = min(d[0] for d in dips), max(d[1] for d in dips)
    print(f"2 ms windows at changes: lowest {low:.3f}, highest {high:.3f} of the steady level")
    check(low >= 0.9 and high <= 1.1,
          "every 2 ms window within 0.9 of the lower and 1.1 of the higher steady level")
    check(max(gaps) <= 1.0, f"no silence over 1 ms at a change (largest {max(gaps):.2f} ms)")
    check(max(errors) < 0.01, f"each new tone at its frequency (largest error {max(errors):.4f} Hz)")
    worst = max(levels)
    check(worst < 0.01, f"each channel at its own level (largest error {worst:.4f} of full scale)")
    return sa.status()


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
