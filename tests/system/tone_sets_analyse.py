#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks recordings (raw s16le stereo at 96000) of a played stepped sweep
and multitone from the sound server's monitor.

  tone_sets_analyse.py steps FILE LINES F1 F2 N DWELL_MS LEVEL_DB
      a log stepped sweep F1..F2 in N steps and back: every step sounds at
      its frequency (from its zero crossings, within 0.05 %), each inner
      dwell lasts the asked time to within one of its cycles, no 2 ms window
      at a step change falls below 0.9 of the steady level, nothing is
      silent for 1 ms; LINES (each "SECONDS orbel: step K of M: F Hz", then
      "SECONDS end") names every step in order within 1e-6 Hz of the law,
      one dwell apart, the last one dwell before the end.
  tone_sets_analyse.py multitone FILE LEVEL_DB CREST_DB PERIOD
      whole periods of the multitone: RMS at LEVEL_DB dBFS (AES17) and the
      crest factor as printed, each within 0.01 dB.
"""
import sys

import numpy as np

RATE = 96000


def fail(message):
    print("FAIL  " + message)
    sys.exit(1)


def left_channel(path):
    x = np.fromfile(path, dtype="<i2").reshape(-1, 2)[:, 0].astype(float) / 32768
    loud = np.flatnonzero(np.abs(x) > 1e-3)
    if loud.size == 0:
        fail("the recording is silent")
    return x[loud[0]: loud[-1] + 1]


def steps(path, lines_path, f1, f2, n, dwell_ms, level_db):
    law = [f1 * (f2 / f1) ** (k / (n - 1)) for k in range(n)]
    law += law[-2::-1]
    dwell = dwell_ms / 1000
    x = left_channel(path)
    # Nothing silent for 1 ms while the sweep plays.
    quiet = np.abs(x) < 1e-3
    run = longest = 0
    for q in quiet:
        run = run + 1 if q else 0
        longest = max(longest, run)
    if longest > RATE // 1000:
        fail(f"a silent run of {longest / RATE * 1000:.2f} ms within the sweep")
    # Rising zero crossings, between samples.
    i = np.flatnonzero((x[:-1] < 0) & (x[1:] >= 0))
    t = (i + (-x[i]) / (x[i + 1] - x[i])) / RATE
    period = np.diff(t)
    off = np.log(1 / period[:, None]) - np.log(np.array(law)[None, :])
    # A resampling server rings briefly after the sound's end: those
    # crossings belong to no step.
    kept = np.min(np.abs(off), axis=1) < 0.05
    t, period, off = t[np.append(kept, True)], period[kept], off[kept]
    nearest = np.argmin(np.abs(off), axis=1)
    # Runs of periods near one frequency of the law, in playing order.
    starts = [0] + [k for k in range(1, len(nearest)) if nearest[k] != nearest[k - 1]]
    runs = [(s, e) for s, e in zip(starts, starts[1:] + [len(nearest)])]
    if len(runs) != len(law):
        fail(f"{len(runs)} steps heard, expected {len(law)}")
    steady_rms = 10 ** (level_db / 20) / np.sqrt(2)
    worst_window = 1.0
    dwell_errors = []
    for k, (s, e) in enumerate(runs):
        f = np.mean(1 / period[s:e])
        if abs(f / law[k] - 1) > 5e-4:
            fail(f"step {k + 1} sounds at {f:.3f} Hz, expected {law[k]:.3f}")
        if 0 < k < len(runs) - 1:
            heard = t[runs[k + 1][0]] - t[s]
            if not dwell <= heard + 1e-5 <= dwell + 1 / law[k] + 2e-5:
                fail(f"step {k + 1} lasts {heard * 1000:.3f} ms, asked {dwell_ms} ms")
            dwell_errors.append((heard - dwell) * law[k])
        if k > 0:
            # 2 ms windows in steps of 0.25 ms across the change.
            at = int(t[s] * RATE)
            w = RATE // 500
            for a in range(at - 10 * w, at + 10 * w, w // 8):
                rms = np.sqrt(np.mean(x[a: a + w] ** 2))
                worst_window = min(worst_window, rms / steady_rms)
    if worst_window < 0.9:
        fail(f"a 2 ms window at a step change at {worst_window:.3f} of the level")
    print(f"ok    {len(runs)} steps heard at their frequencies; inner dwells {dwell_ms} ms + "
          f"{min(dwell_errors):.3f}..{max(dwell_errors):.3f} cycles; the lowest 2 ms window at "
          f"a change {worst_window:.3f} of the level; no silence over 1 ms")

    said = [line.split() for line in open(lines_path, encoding="utf-8")]
    if not said or said[-1][1:] != ["end"]:
        fail("no end of the printed lines")
    step_lines = [w for w in said[:-1] if w[1:3] == ["orbel:", "step"]]
    if len(step_lines) != len(law):
        fail(f"{len(step_lines)} step lines printed, expected {len(law)}")
    times = []
    for k, w in enumerate(step_lines):
        # SECONDS orbel: step K of M: F Hz
        if w[3] != str(k + 1) or w[5] != f"{len(law)}:" or abs(float(w[6]) - law[k]) > 1e-6:
            fail(f"line {k + 1} reads {' '.join(w[1:])}, expected {law[k]:.6f} Hz")
        times.append(float(w[0]))
    gaps = np.diff(times)
    if np.max(np.abs(gaps - dwell)) > 0.08:
        fail(f"the lines come {gaps} s apart, the dwell is {dwell} s")
    # Said as heard, the last line comes one dwell before the end, which
    # waits for the fade to be heard (about 0.2 s); said as rendered it
    # would come a queue's length (0.25 s) earlier still.
    tail = float(said[-1][0]) - times[-1]
    if not dwell - 0.02 < tail < dwell + 0.35:
        fail(f"the last line comes {tail:.3f} s before the end, the dwell is {dwell} s")
    print(f"ok    {len(law)} lines in order, each within 1e-6 Hz of the law, "
          f"{np.min(gaps) * 1000:.1f}..{np.max(gaps) * 1000:.1f} ms apart; the last "
          f"{tail * 1000:.1f} ms before the end")


def multitone(path, level_db, crest_db, period):
    x = left_channel(path)
    # Whole periods from the middle, clear of the fades.
    whole = (x.size - RATE) // period
    if whole < 2:
        fail("too short a recording")
    middle = x[RATE // 2: RATE // 2 + whole * period]
    rms = np.sqrt(np.mean(middle ** 2))
    level = 20 * np.log10(rms * np.sqrt(2))
    crest = 20 * np.log10(np.max(np.abs(middle)) / rms)
    if abs(level - level_db) > 0.01:
        fail(f"the multitone plays at {level:.4f} dBFS RMS, asked {level_db}")
    if abs(crest - crest_db) > 0.01:
        fail(f"the crest factor heard is {crest:.4f} dB, printed {crest_db}")
    print(f"ok    multitone at {level:.4f} dBFS RMS (asked {level_db}), crest factor "
          f"{crest:.4f} dB (printed {crest_db}), over {whole} periods")


def main():
    kind = sys.argv[1]
    if kind == "steps":
        steps(sys.argv[2], sys.argv[3], float(sys.argv[4]), float(sys.argv[5]),
              int(sys.argv[6]), int(sys.argv[7]), float(sys.argv[8]))
    elif kind == "multitone":
        multitone(sys.argv[2], float(sys.argv[3]), float(sys.argv[4]), int(sys.argv[5]))
    else:
        fail("unknown check " + kind)


main()
