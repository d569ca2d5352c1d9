#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The checks of panel-dialogs-test.sh: monitor recordings (16-bit stereo,
96000 samples per second) and a remote-control line.

    panel_dialogs_analyse.py FILE level FREQ LEFT_DB RIGHT_DB
        both channels hold FREQ Hz, each at its level in dBFS (RMS against
        a full-scale sine) within 0.01 dB
    panel_dialogs_analyse.py FILE tone FREQ
        the left channel's fitted frequency is FREQ within 0.01 Hz
    panel_dialogs_analyse.py - ask PORT LINE
        sends LINE to the remote control on the loopback port and prints
        the answer to the query that ends it
"""
import socket
import sys

import analysis as sa

SETTLE = int(0.3 * sa.RATE)
LEVEL_TOLERANCE_DB = 0.01
FREQ_TOLERANCE_HZ = 0.01


def channels(path):
    x = sa.read_recording(path)[SETTLE:]
    if len(x) < sa.RATE // 2:
        sa.check(False, f"recording too short ({len(x) / sa.RATE:.2f} s after settling)")
        return None
    return x


def fitted(v):
    return sa.fitted_frequency(v, sa.peak_frequency(v))


def level(path, freq, want):
    x = channels(path)
    if x is None:
        return
    for name, ch, db in (("left", 0, want[0]), ("right", 1, want[1])):
        v = x[:, ch].astype(float)
        f = fitted(v)
        sa.check(abs(f - freq) < 0.1, f"{name} channel at {f:.3f} Hz, expected {freq} Hz")
        got = sa.db(sa.level(v, freq), sa.FULL_SINE_RMS)
        sa.check(abs(got - db) <= LEVEL_TOLERANCE_DB,
                 f"{name} channel {got:+.4f} dBFS, expected {db:+.4f} dBFS (error {got - db:+.4f} dB)")


def tone(path, freq):
    x = channels(path)
    if x is None:
        return
    f = fitted(x[:, 0].astype(float))
    sa.check(abs(f - freq) < FREQ_TOLERANCE_HZ, f"left channel at {f:.4f} Hz, expected {freq} Hz")


def ask(port, line):
    with socket.create_connection(("127.0.0.1", port), timeout=10) as sock:
        sock.sendall((line + "\n").encode())
        answer = b""
        while b"\n" not in answer:
            got = sock.recv(4096)
            if not got:
                break
            answer += got
    print(answer.decode(errors="replace").strip())
    return 0 if answer.endswith(b"\n") else 1


def main(argv):
    mode = argv[2]
    if mode == "level":
        level(argv[1], float(argv[3]), (float(argv[4]), float(argv[5])))
    elif mode == "tone":
        tone(argv[1], float(argv[3]))
    elif mode == "ask":
        return ask(int(argv[3]), argv[4])
    else:
        print(__doc__)
        return 2
    return sa.status()


if __name__ == "__main__":
    sys.exit(main(sys.argv))
