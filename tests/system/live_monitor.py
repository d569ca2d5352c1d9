# SPDX-License-Identifier: GPL-3.0-or-later
"""A sink's monitor recorded as it plays (16-bit stereo, 5 ms fragments),
each chunk stamped with its arrival, so that a check can tell when a change
it caused was heard."""

import subprocess
import threading
import time

import numpy as np


class LiveMonitor:
    """The monitor read as it plays, each chunk stamped with its arrival."""

    def __init__(self, rate, source="nullsink.monitor"):
        self.rate = rate
        self.proc = subprocess.Popen(
            ["parecord", "-d", source, "--raw", "--format=s16le",
             f"--rate={rate}", "--channels=2", "--latency-msec=5"],
            stdout=subprocess.PIPE)
        self.data = bytearray()
        self.stamps = []  # (arrival, frames so far)
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        while True:
            chunk = self.proc.stdout.read1(65536)
            if not chunk:
                return
            now = time.monotonic()
            with self.lock:
                self.data += chunk
                self.stamps.append((now, len(self.data) // 4))

    def frames(self):
        return len(self.data) // 4

    def both(self, begin=0, end=None):
        with self.lock:
            raw = bytes(self.data[begin * 4:(end if end else len(self.data) // 4) * 4])
        return np.frombuffer(raw, dtype="<i2").reshape(-1, 2).astype(float)

    def left(self, begin=0, end=None):
        return self.both(begin, end)[:, 0]

    def heard(self, seconds):
        """Both channels of the next `seconds`, after the change heard."""
        time.sleep(0.3)
        begin = self.frames()
        time.sleep(seconds)
        return self.both(begin)

    def frame_at(self, t):
        """The frame that reached the monitor at time t (estimated)."""
        with self.lock:
            stamps = list(self.stamps)
        for arrival, total in stamps:
            if arrival >= t:
                return int(total - (arrival - t) * self.rate)
        return stamps[-1][1]

    def time_of(self, frame):
        with self.lock:
            stamps = list(self.stamps)
        for arrival, total in stamps:
            if total > frame:
                return arrival - (total - 1 - frame) / self.rate
        return stamps[-1][0]

    def stop(self):
        self.proc.terminate()
        self.proc.wait()
