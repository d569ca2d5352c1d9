# SPDX-License-Identifier: GPL-3.0-or-later
"""Commands close together through orbel serve, with the monitor recorded:
pairs and bursts of FREQ, FUNC and VOLT commands 0-10 ms apart, then the
silent runs over 1 ms and the 2 ms windows below 0.9 of the quieter
setting's level, each told with the command before it and what the
program's write log (pulse_write_log.c) says around it: underflows, and
writes that left a hole or landed where the server had read.

    close_changes_experiment.py PORT WORKDIR ROUNDS

Meanwhile a steady sine played by pacat into a second null sink
("refsink") is recorded the same way, so that a silence the recorder or a
starved server makes shows there too, at the same time. Prints one line per
finding and a summary; exits 1 when anything was found."""

import os
import random
import socket
import subprocess
import sys
import threading
import time

import numpy as np

from live_monitor import LiveMonitor

RATE = 96000
# ORBEL_SPACED=1 sends the same commands 250 ms apart, for comparison.
SPACED = os.environ.get("ORBEL_SPACED") == "1"
# ORBEL_KINDS=FINE,FREQ tries only those kinds of command (see KINDS).
KINDS_TRIED = [k for k in os.environ.get("ORBEL_KINDS", "").split(",") if k]
WINDOW = RATE // 500  # 2 ms
LEVEL_DB = -20
FULL = 32767


def rms_windows(x):
    w = x[:len(x) // WINDOW * WINDOW].reshape(-1, WINDOW)
    return np.sqrt((w ** 2).mean(axis=1))


def silent_runs(x, longer_than):
    """(start, frames) of runs where the sample stays within 1 LSB of 0."""
    quiet = np.concatenate(([0], (np.abs(x) <= 1).astype(np.int8), [0]))
    edges = np.diff(quiet)
    starts, ends = np.nonzero(edges == 1)[0], np.nonzero(edges == -1)[0]
    return [(s, e - s) for s, e in zip(starts, ends) if e - s > longer_than]


def what_the_gap_did(x, begin, end):
    """Whether the sine goes on after a silence at the phase it would have
    had (samples replaced: lost by the recorder, or zeros written) or where
    it stopped (the sound paused: a starved stream or server)."""
    n = RATE * 3 // 1000
    before, after = x[max(begin - n, 0):begin], x[end:end + n]
    crossings = np.nonzero((before[:-1] < 0) & (before[1:] >= 0))[0]
    if len(after) < n or len(crossings) < 2:
        return "too short to tell"
    omega = 2 * np.pi / np.diff(crossings).mean()
    t = np.arange(len(before))
    basis = np.stack([np.sin(omega * t), np.cos(omega * t)], axis=1)
    coef = np.linalg.lstsq(basis, before, rcond=None)[0]

    def fit(shift):
        u = np.arange(len(after)) + len(before) + shift
        predicted = coef[0] * np.sin(omega * u) + coef[1] * np.cos(omega * u)
        return np.sqrt(((after - predicted) ** 2).mean() / (after ** 2).mean())

    kept, paused = fit(end - begin), fit(0)
    if min(kept, paused) > 0.3:
        return "the wave changed"
    return "time kept (samples replaced)" if kept < paused else "time stopped (sound paused)"


def findings(x, floor_rms):
    """Spells of 2 ms windows below 0.9 of floor_rms, or of silent runs over
    1 ms: (first frame, text) each, neighbours within 20 ms as one."""
    spells = [(s, s + n) for s, n in silent_runs(x, RATE // 1000)]
    windows = rms_windows(x)
    spells += [(k * WINDOW, (k + 1) * WINDOW) for k in np.nonzero(windows < 0.9 * floor_rms)[0]]
    merged = []
    for begin, end in sorted(spells):
        if merged and begin <= merged[-1][1] + RATE // 50:
            merged[-1][1] = max(merged[-1][1], end)
        else:
            merged.append([begin, end])
    found = []
    for begin, end in merged:
        lowest = windows[begin // WINDOW:max(end // WINDOW, begin // WINDOW + 1)].min() / floor_rms
        silence = max([n for s, n in silent_runs(x[begin:end], RATE // 1000)], default=0)
        runs = silent_runs(x[begin:end], RATE // 1000)
        gap = what_the_gap_did(x, begin + runs[0][0], begin + runs[0][0] + runs[0][1]) if runs else ""
        found.append((begin, f"{(end - begin) * 1000 / RATE:.0f} ms spell, lowest window "
                             f"{lowest:.2f}, longest silence {silence * 1000 / RATE:.1f} ms {gap}"))
    return found


def queue_figures(path, after):
    """The least queued ahead of the sound at a write, and the longest time
    between two writes, from `after` on (seconds on the log's clock)."""
    writes = []
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                p = line.split()
                if p[1] == "write" and float(p[0]) >= after:
                    writes.append((float(p[0]), int(p[12])))
    if len(writes) < 2:
        return "no writes"
    queued = [q for _, q in writes if q >= 0]
    longest = max(b[0] - a[0] for a, b in zip(writes, writes[1:]))
    return (f"least queued at a write {min(queued) / 1000:.0f} ms, longest between writes "
            f"{longest * 1000:.0f} ms" if queued else "no queue known")


def write_log(path):
    events = []
    if not os.path.exists(path):
        return events
    with open(path) as f:
        for line in f:
            p = line.split()
            if p[1] in ("underflow", "connect"):
                events.append((float(p[0]), p[1]))
            elif p[1] == "zeros":
                events.append((float(p[0]), f"{p[2]} zero frames written"))
            elif p[1] == "write":
                lands, write_index, read_index = int(p[6]), int(p[8]), int(p[10])
                if lands < 0 or write_index < 0:
                    continue
                if lands > write_index:
                    events.append((float(p[0]), f"hole of {lands - write_index} bytes"))
                if 0 <= read_index and lands < read_index:
                    events.append((float(p[0]), f"landed {read_index - lands} bytes before read"))
    return events


def report(monitor, begin, found, marks, others, log_events, what):
    """Each finding with the command sent last before it was heard, the
    other recording's nearest finding, and the write log within a second."""
    for frame, text in found:
        t = monitor.time_of(begin + frame)
        before = [(mt, m) for mt, m in marks if mt <= t]
        mark = f"{(t - before[-1][0]) * 1000:.0f} ms after {before[-1][1]}" if before else ""
        other = min(((abs(ot - t), ot) for ot in others), default=None)
        beside = f"{(other[1] - t) * 1000:+.0f} ms" if other else "none"
        near = [f"{e} at {(et - t) * 1000:+.0f} ms" for et, e in log_events if abs(et - t) < 1.0]
        print(f"{what}: {text}, {mark}; the other's nearest finding {beside}; "
              f"log: {', '.join(near) or 'nothing'}", flush=True)


class SteadySine:
    """A steady sine at LEVEL_DB played by pacat into `sink` for as long as
    it runs, fed from a thread: the reference heard beside the program."""

    def __init__(self, sink):
        self.proc = subprocess.Popen(
            ["pacat", "-p", "-d", sink, "--raw", "--format=s16le", f"--rate={RATE}",
             "--channels=2", "--latency-msec=250"], stdin=subprocess.PIPE)
        self.running = True
        self.thread = threading.Thread(target=self._feed, daemon=True)
        self.thread.start()

    def _feed(self):
        # 100 ms is 100 whole cycles of 1000 Hz: the blocks join seamlessly.
        t = np.arange(RATE // 10) / RATE
        block = np.round(FULL * 10 ** (LEVEL_DB / 20) * np.sin(2 * np.pi * 1000 * t))
        block = np.repeat(block.astype("<i2")[:, None], 2, axis=1).tobytes()
        try:
            while self.running:
                self.proc.stdin.write(block)
        except (BrokenPipeError, ValueError):
            pass

    def stop(self):
        self.running = False
        self.proc.terminate()
        self.proc.wait()


class Client:
    def __init__(self, port):
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=20)
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.buffer = b""

    def send(self, text):
        self.sock.sendall(text.encode())

    def ask(self, query):
        self.send(query + "\n")
        while b"\n" not in self.buffer:
            self.buffer += self.sock.recv(65536)
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.decode()


# The commands of a pair (the first two) or a burst (all four). Whole hertz
# play a looped image, fine frequencies a stream retuned in place, so both
# kinds of change and the moves between them come close together. None is
# quieter than the sine at LEVEL_DB (a square is louder, and so is
# -19 dBFS), so every 2 ms window is judged against that sine's level.
KINDS = {
    "FREQ": ["FREQ 1500", "FREQ 1000", "FREQ 1250", "FREQ 1000"],
    "FINE": ["FREQ 1000.5", "FREQ 1500.25", "FREQ 1250.5", "FREQ 1000"],
    "FUNC": ["FUNC SQU", "FUNC SIN", "FUNC SQU", "FUNC SIN"],
    "VOLT": ["VOLT -19", "VOLT -20", "VOLT -19", "VOLT -20"],
}


def experiment(port, work, rounds):
    rnd = random.Random(1)
    monitor = LiveMonitor(RATE)
    reference_monitor = LiveMonitor(RATE, "refsink.monitor")
    sine = SteadySine("refsink")
    time.sleep(0.5)
    rig = Client(port)
    rig.send(f"*RST;*CLS;OUTP1 ON;OUTP2 ON;FREQ 1000;VOLT {LEVEL_DB}\n")
    rig.ask("*OPC?")
    time.sleep(0.6)
    begin = monitor.frames()
    reference_begin = reference_monitor.frames()
    time.sleep(0.3)
    steady = np.median(rms_windows(monitor.left(begin)))
    reference_steady = np.median(rms_windows(reference_monitor.left(reference_begin)))
    marks = []
    groups = 0
    for _ in range(rounds):
        for kind, commands in KINDS.items():
            if KINDS_TRIED and kind not in KINDS_TRIED:
                continue
            for size in (2, 2, 2, 4):
                # A quarter of them back to back.
                gaps_ms = [0 if rnd.random() < 0.25 else rnd.uniform(0, 10)
                           for _ in range(size - 1)]
                if SPACED:  # the same commands far apart, for comparison
                    gaps_ms = [250] * (size - 1)
                for i, command in enumerate(commands[:size]):
                    if i and gaps_ms[i - 1]:
                        time.sleep(gaps_ms[i - 1] / 1000)
                    rig.send(command + "\n")
                    marks.append((time.monotonic(), command))
                groups += 1
                # Back where it began: 1000 Hz sine at LEVEL_DB.
                time.sleep(rnd.uniform(0.12, 0.2))
    time.sleep(0.4)
    errors = rig.ask("SYST:ERR:COUN?")
    x = monitor.left(begin)
    # Both recorded to the same time: the reference's monitor may have
    # delivered a little less or more by now.
    reference = reference_monitor.left(reference_begin, reference_begin + len(x) - RATE // 5)
    x = x[:-(RATE // 5)]
    sine.stop()
    monitor.stop()
    reference_monitor.stop()
    log = write_log(os.path.join(work, "writes.log"))
    # A finding of the program's at the time of one of the reference's is
    # the server's or the recorder's too.
    reference_found = findings(reference, reference_steady)
    found = findings(x, steady)
    times = [monitor.time_of(begin + f) for f, _ in found]
    reference_times = [reference_monitor.time_of(reference_begin + f) for f, _ in reference_found]
    report(monitor, begin, found, marks, reference_times, log, "orbel")
    report(reference_monitor, reference_begin, reference_found, marks, times, log, "reference")
    underflows = sum(1 for _, e in log if e == "underflow")
    written = sum(1 for _, e in log if e.endswith("written"))
    streams = sum(1 for _, e in log if e == "connect")
    queue = queue_figures(os.path.join(work, "writes.log"), marks[0][0])
    print(f"orbel: {groups} groups of close commands over {len(x) / RATE:.1f} s, "
          f"{len(found)} findings; in the log {underflows} underflows, {written} silences "
          f"written, {streams} streams, {queue}; errors {errors}; the median window "
          f"{np.median(rms_windows(x)) / steady:.2f} of the level before; "
          f"the steady sine beside it: {len(reference_found)} findings", flush=True)
    rig.send("SYST:SHUT\n")
    return 1 if found or reference_found else 0


sys.exit(experiment(int(sys.argv[1]), sys.argv[2], int(sys.argv[3])))
