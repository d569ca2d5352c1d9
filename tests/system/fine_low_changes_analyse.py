#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses what sound-changes-check.sh --fine-low recorded (the files of
sound_changes_analyse.py): a 1.001 Hz sawtooth retuned by a millihertz up
and down, each change with a new level. A millihertz cannot be heard in a
few milliseconds, the level can: the change is placed where the recording
leaves the straight ramp fitted over the 20 ms before its call.

Checks: every change heard within 50 ms of its call (on PipeWire: the
median). Prints the change-to-sound times and how long the calls took."""
import sys

import numpy as np

import analysis as sa
from analysis import RATE, check
from sound_changes_analyse import Recording

MS = RATE // 1000
HEARD_MS = 50
LATEST_MS = 200


def onset(x, i):
    """The first frame from i on that leaves the ramp fitted before i."""
    n = np.arange(-20 * MS, LATEST_MS * MS)
    first = None
    for c in (0, 1):
        before = x[i - 20 * MS : i, c].astype(np.float64)
        line = np.polyfit(n[: 20 * MS], before, 1)
        ahead = np.polyval(line, n[20 * MS :])
        noise = max(60.0, 6 * float(np.std(before - np.polyval(line, n[: 20 * MS]))))
        off = np.nonzero(np.abs(x[i : i + LATEST_MS * MS, c] - ahead) > noise)[0]
        if len(off):
            first = int(off[0]) if first is None else min(first, int(off[0]))
    return first


def main(folder, server=""):
    rec = Recording(folder)
    x = rec.x
    print(f"recording: {len(x) / RATE:.2f} s")
    delays, calls = [], []
    for k, (t, name, _) in enumerate(rec.events):
        if name != "change":
            continue
        later = [e[0] for e in rec.events[k + 1 :] if e[1] == "called"]
        if later:
            calls.append((later[0] - t) * 1000)
        heard = onset(x, rec.index(t))
        if heard is None:
            check(False, f"change at {t:.3f} s not heard within {LATEST_MS} ms of its call")
            continue
        delays.append(heard / RATE * 1000)
    expected = sum(1 for _, name, _ in rec.events if name == "change")
    check(len(delays) == expected, f"{len(delays)} of {expected} changes found in the recording")
    if not delays:
        return sa.status()
    print("calls took: " + " ".join(f"{c:.1f}" for c in calls) + " ms")
    print("change-to-sound: " + " ".join(f"{d:.1f}" for d in delays) + " ms")
    print(f"change-to-sound: median {np.median(delays):.1f} ms, largest {max(delays):.1f} ms")
    check(np.median(delays) <= HEARD_MS, f"changes heard within {HEARD_MS} ms of their call (median)")
    if server != "pipewire":
        check(max(delays) <= HEARD_MS, f"every change heard within {HEARD_MS} ms of its call")
    return sa.status()


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
