#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Analyses what sound-changes-check.sh recorded: DIR/out.raw (16-bit
stereo, 96000/s), DIR/clock.txt ("frames seconds": when the last of the
first `frames` recorded frames was played) and DIR/events.txt ("seconds
name args", on the same clock).

Checks: 20 changes while playing, and 5 changes of the waveform, leave no
silence over 1 ms and no sample-to-sample step over 1.25 times the larger
of the two waveforms' own largest step (two tones met in phase still differ
in slope during their short crossfade), and every 2 ms window within 0.9 of the lower and 1.1 of the higher steady
level; Start and Stop ramp within 5 ms; after the server restarts,
and after a server appears for an output made without one, the right tone
is back within 3 s. Prints the change-to-sound times (call to the first
sample that differs from the old tone)."""
import os
import sys

import numpy as np

import analysis as sa
from analysis import RATE, check, longest_silence

MS = RATE // 1000


class Recording:
    def __init__(self, folder):
        self.x = sa.read_recording(os.path.join(folder, "out.raw"))
        clock = np.loadtxt(os.path.join(folder, "clock.txt")).reshape(-1, 2)
        self.ends, self.times = clock[:, 0].astype(np.int64), clock[:, 1]
        self.events = []
        with open(os.path.join(folder, "events.txt")) as f:
            for line in f:
                parts = line.split()
                self.events.append((float(parts[0]), parts[1], parts[2:]))

    # A clock note is late when the recorder woke late (a busy machine),
    # never early: the notes of the next half second that are least late
    # give the offset between recorded frames and time.
    def offset(self, rows):
        d = self.times[rows] - self.ends[rows] / RATE
        return float(np.min(d)) if len(d) else float(self.times[-1] - self.ends[-1] / RATE)

    def index(self, t):
        """The recorded frame played at time t (the first frame recorded
        after t when the recorder was off at t)."""
        rows = np.nonzero((self.times >= t) & (self.times < t + 0.5))[0]
        if len(rows) == 0:
            rows = np.nonzero(self.times >= t)[0][:50]
        first = int(rows[0]) if len(rows) else len(self.times) - 1
        start = int(self.ends[first - 1]) if first else 0
        return max(int((t - self.offset(rows)) * RATE), start)

    def time(self, i):
        rows = np.nonzero((self.ends > i) & (self.ends < i + RATE // 2))[0]
        return i / RATE + self.offset(rows)


def max_step(v):
    return float(np.max(np.abs(np.diff(v.astype(np.float64))))) if len(v) > 1 else 0.0


def fit_tone(v, hz, count):
    """The tone fitted to v, over v and `count` frames after it."""
    n = np.arange(-len(v), count)
    w = 2 * np.pi * hz / RATE
    basis = np.column_stack([np.sin(w * n), np.cos(w * n)])
    coef, *_ = np.linalg.lstsq(basis[: len(v)], v.astype(np.float64), rcond=None)
    return basis @ coef


def matches(block, tone):
    """Whether a stretch is the tone (hz, left %, right %) and nothing else."""
    hz, left, right = tone
    n = np.arange(len(block))
    w = 2 * np.pi * hz / RATE
    basis = np.column_stack([np.sin(w * n), np.cos(w * n)])
    for c, percent in ((0, left), (1, right)):
        v = block[:, c].astype(np.float64)
        coef, *_ = np.linalg.lstsq(basis, v, rcond=None)
        amplitude = np.hypot(*coef)
        # Within 3% of the full scale, in rms: the synthesis is not a pure
        # sine at every frequency, and a looped image may have a seam.
        residual = np.sqrt(np.mean((basis @ coef - v) ** 2))
        if residual > 1000 or abs(amplitude - 327.67 * percent) > 330:
            return False
    return True


def window_ratios(x, start, end):
    """The RMS of each 2 ms window over a change, against the steady levels
    measured before and after it (20 ms each): the lowest ratio to the lower level and the highest
    to the higher, over the channels that sound on either side."""
    window = 2 * MS

    def steady(a, c):
        return float(np.sqrt(np.mean(x[a : a + 20 * MS, c].astype(np.float64) ** 2)))

    low, high = float("inf"), 0.0
    for c in (0, 1):
        before, after = steady(start - 30 * MS, c), steady(end + 5 * MS, c)
        lo, hi = min(before, after), max(before, after)
        if hi == 0:
            continue
        v = x[start : start + (end - start) // window * window, c].astype(np.float64)
        rms = np.sqrt(np.mean(v.reshape(-1, window) ** 2, axis=1))
        if lo > 0:
            low = min(low, float(np.min(rms)) / lo)
        high = max(high, float(np.max(rms)) / hi)
    return (low if low != float("inf") else 1.0), high


def changes(rec):
    """Each change is found near its call by the tones themselves (a busy
    machine delays the recorder's clock notes by tens of milliseconds)."""
    x = rec.x
    tone = None
    delays, gaps, ratios, dips = [], [], [], []
    block = 10 * MS  # long enough to tell 1000 Hz from 1010 Hz
    for t, name, args in rec.events:
        if name not in ("start", "change"):
            continue
        new = tuple(float(a) for a in args)
        if name == "start" and tone is None:
            tone = new
        if name != "change":
            continue
        i = rec.index(t)
        # The last stretch of the old tone before the first of the new one.
        starts = range(i - 80 * MS, i + 90 * MS, MS)
        olds = [a for a in starts if matches(x[a : a + block], tone)]
        news = [a for a in starts if olds and a > olds[0] and matches(x[a : a + block], new)]
        new_start = news[0] if news else None
        old_end = max([a for a in olds if a < new_start], default=None) if news else None
        if old_end is not None:
            old_end += block
        if old_end is None or new_start is None:
            check(False, f"change to {args} not found near its call")
            tone = new
            continue
        # The first frame that differs from the old tone continued.
        fit = x[old_end - block : old_end]
        ahead = x[old_end : new_start + block].astype(np.float64)
        curve = np.column_stack([fit_tone(fit[:, c], tone[0], len(ahead)) for c in (0, 1)])
        noise = max(330, 2 * np.max(np.abs(curve[: len(fit)] - fit)))
        off = np.nonzero(np.max(np.abs(ahead - curve[len(fit) :]), axis=1) > noise)[0]
        onset = old_end + (int(off[0]) if len(off) else 0)
        delays.append((onset - i) / RATE * 1000)
        gaps.append(longest_silence(x[onset - 2 * MS : new_start + block]) / RATE * 1000)
        worst = 0.0
        for c in (0, 1):
            own = max(max_step(x[old_end - 40 * MS : old_end, c]),
                      max_step(x[new_start : new_start + 40 * MS, c]))
            step = max_step(x[old_end - block : new_start + block, c])
            if own > 0:
                worst = max(worst, step / own)
            elif step > 0:
                worst = float("inf")
        ratios.append(worst)
        dips.append(window_ratios(x, old_end - block, new_start + block))
        tone = new
    if delays:
        print("change-to-sound: " + " ".join(f"{d:.1f}" for d in delays) + " ms")
        print(f"change-to-sound: median {np.median(delays):.1f} ms, largest {max(delays):.1f} ms "
              "(from the recorder's clock notes)")
        print(f"transitions: largest silence {max(gaps):.2f} ms, largest step "
              f"{max(ratios):.3f} times the waveforms' own")
        low = min(d[0] for d in dips)
        high = max(d[1] for d in dips)
        print(f"2 ms windows at changes: lowest {low:.3f}, highest {high:.3f} of the bounds' "
              "steady level")
        check(low >= 0.9 and high <= 1.1,
              "every 2 ms window within 0.9 of the lower and 1.1 of the higher steady level")
    check(len(delays) == 20, f"{len(delays)} of 20 changes found in the recording")
    check(len(gaps) > 0 and max(gaps) <= 1.0, "no silence over 1 ms at a change")
    check(len(ratios) > 0 and max(ratios) <= 1.25,
          "no step at a change over 1.25 times the larger of the two waveforms' own")


def waveform_changes(rec):
    """Each waveform change at 1000 Hz (96 frames a period) is found where
    the sound stops repeating its period; judged like the other changes."""
    x = rec.x
    period = RATE // 1000
    found, gaps, ratios, dips, delays = 0, [], [], [], []
    for t, name, args in rec.events:
        if name != "waveform":
            continue
        i = rec.index(t)
        lo, hi = i - 40 * MS, i + 130 * MS
        if lo < 40 * MS or hi + 40 * MS > len(x):
            continue
        seg = x[lo - period : hi].astype(np.int64)
        moving = np.nonzero(np.max(np.abs(seg[period:] - seg[:-period]), axis=1) > 2)[0]
        if len(moving) == 0:
            check(False, f"waveform change to {args[0]} not found near its call")
            continue
        found += 1
        # The first and last frames that differ from one period before.
        start, end = lo + int(moving[0]), lo + int(moving[-1]) + period
        delays.append((start - i) / RATE * 1000)
        gaps.append(longest_silence(x[start - 2 * MS : end + 2 * MS]) / RATE * 1000)
        worst = 0.0
        for c in (0, 1):
            own = max(max_step(x[start - 30 * MS : start, c]), max_step(x[end : end + 30 * MS, c]))
            step = max_step(x[start - MS : end + MS, c])
            worst = max(worst, step / own if own > 0 else (float("inf") if step > 0 else 0.0))
        ratios.append(worst)
        dips.append(window_ratios(x, start - 2 * MS, end + 2 * MS))
    if delays:
        print("waveform change-to-sound: " + " ".join(f"{d:.1f}" for d in delays) + " ms")
        print(f"waveform changes: largest silence {max(gaps):.2f} ms, largest step "
              f"{max(ratios):.3f} times the waveforms' own, 2 ms windows from "
              f"{min(d[0] for d in dips):.3f} to {max(d[1] for d in dips):.3f} of the steady levels")
    check(found == 5, f"{found} of 5 waveform changes found in the recording")
    check(len(gaps) > 0 and max(gaps) <= 1.0, "no silence over 1 ms at a waveform change")
    check(len(ratios) > 0 and max(ratios) <= 1.25,
          "no step at a waveform change over 1.25 times the larger of the two waveforms' own")
    check(len(dips) > 0 and min(d[0] for d in dips) >= 0.9 and max(d[1] for d in dips) <= 1.1,
          "every 2 ms window at a waveform change within 0.9 of the lower and 1.1 of the "
          "higher steady level")


def ramps(rec):
    x = rec.x
    starts = [t for t, n, _ in rec.events if n == "start"]
    stops = [t for t, n, _ in rec.events if n == "stop"]
    for t in stops:
        i = rec.index(t)
        env = np.max(np.abs(x[i - 100 * MS : i + 200 * MS].astype(np.int64)), axis=1)
        peak = np.max(env[: 90 * MS])
        sound = np.nonzero(env > 0)[0]
        end = int(sound[-1])
        full = int(np.nonzero(env[:end] >= 0.97 * peak)[0][-1])
        ramp = (end - full) / RATE * 1000
        check(1.0 <= ramp <= 5.0, f"Stop fades out over {ramp:.2f} ms (1 to 5 ms)")
        check(np.max(env[end + 1 :]) == 0, "silence after the fade-out")
    for t in starts:
        i = rec.index(t)
        if i < 50 * MS or i + 300 * MS > len(x):
            continue
        seg = x[i - 50 * MS : i + 300 * MS].astype(np.int64)
        env = np.max(np.abs(seg), axis=1)
        if np.max(env[: 50 * MS]) > 0 or np.max(env) == 0:
            continue  # not started from silence, or no server then
        first = int(np.nonzero(env > 0)[0][0])
        if first + 250 * MS > len(env):
            continue  # the sound came late (a server that appeared later)
        peak = np.max(env[first + 50 * MS : first + 250 * MS])
        full = int(np.nonzero(env[first:] >= 0.97 * peak)[0][0])
        ramp = full / RATE * 1000
        # No lower bound here: PulseAudio mixes a new stream into what its
        # sink already rendered (a rewind), and its monitor, already past
        # that point, may show only the end of the fade. The fade itself is
        # checked sample by sample by the output stage's unit tests.
        check(ramp <= 5.0, f"Start fades in over {ramp:.2f} ms (at most 5 ms)")


def recoveries(rec):
    """After each server-down: from the moment the server answers again (its
    null sink takes a stream) to the output's stream (the output's own
    report) and to the first recorded sound, which must be the tone that
    played before, within 3 s."""
    x = rec.x
    tone = None
    down = None
    for k, (t, name, args) in enumerate(rec.events):
        if name in ("start", "change"):
            tone = [float(a) for a in args]
        if name == "server-down":
            down = k
        if name != "server-answers" or down is None:
            continue
        # The output may be back before the keeper's stream notes the server.
        back = next((e[0] for e in rec.events[down:] if e[1] == "back"), None)
        down = None
        i = rec.index(t)
        sound = np.nonzero(np.any(x[i:] != 0, axis=1))[0]
        if len(sound) == 0 or back is None:
            check(False, "no sound after the server came back")
            continue
        first = i + int(sound[0])
        heard = max(rec.time(first), back, t) - t
        print(f"server answering again: the output's stream is back after {back - t:.2f} s, "
              f"sound recorded after {rec.time(first) - t:.2f} s")
        check(heard <= 3.0, f"sound back {heard:.2f} s after the server (at most 3 s)")
        hz, left, right = tone
        seg = x[first + int(0.2 * RATE) : first + int(0.7 * RATE)]
        for c, want in ((0, left), (1, right)):
            v = seg[:, c].astype(np.float64)
            if want == 0:
                check(np.max(np.abs(v)) == 0, f"  channel {c} silent")
                continue
            f = sa.peak_frequency(v)
            # The median over 10 ms blocks: a drop-out of a busy machine
            # does not count.
            blocks = v[: len(v) // MS // 10 * MS * 10].reshape(-1, 10 * MS)
            level = sa.db(np.median(np.sqrt(np.mean(blocks**2, axis=1))), sa.FULL_SINE_RMS)
            expect = sa.db(want / 100, 1)
            check(abs(f - hz) < 0.002 * hz and abs(level - expect) < 0.1,
                  f"  channel {c}: {f:.2f} Hz at {level:+.2f} dB (expected {hz:.0f} Hz, "
                  f"{expect:+.2f} dB)")


def main(folder):
    rec = Recording(folder)
    print(f"recording: {len(rec.x) / RATE:.2f} s")
    changes(rec)
    waveform_changes(rec)
    ramps(rec)
    recoveries(rec)
    return sa.status()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
