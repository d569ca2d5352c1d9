# SPDX-License-Identifier: GPL-3.0-or-later
"""The remote-control server driven as a test rig drives it, over a plain
socket, while the sound server's monitor is read as it plays.

    remote_client.py PORT WORKDIR
    remote_client.py allow PORT

Checks set and query, errors, the limits (the ninth client, a line over
64 KiB, garbage, 8 clients x 1,000 queries answered in order, 10,000
random lines each leaving an error unless it is blank) with the sound going
on without a gap, follows a stepped sweep to its end (*OPC? waits for it
while another client is served), and measures the time from a frequency
command's send to the first changed sample on the monitor. Ends the server
with SYSTem:SHUTdown.

With "allow", checks a server listening on 0.0.0.0 with --allow 127.0.0.2:
clients from 127.0.0.2 and from the loopback address are served, one from
127.0.0.3 is closed at once (on Linux all of 127.0.0.0/8 reaches this
machine, so each is a client address of its own)."""

import os
import random
import socket
import sys
import threading
import time

import numpy as np

import analysis as sa
from live_monitor import LiveMonitor

RATE = 96000
ALLOW_CHECK = sys.argv[1] == "allow"
PORT = int(sys.argv[2] if ALLOW_CHECK else sys.argv[1])
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL ", what, flush=True)


class Client:
    def __init__(self, source=None):
        self.sock = socket.create_connection(
            ("127.0.0.1", PORT), timeout=20, source_address=(source, 0) if source else None)
        self.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.buffer = b""

    def send(self, text):
        self.sock.sendall(text.encode() if isinstance(text, str) else text)

    def line(self):
        while b"\n" not in self.buffer:
            got = self.sock.recv(65536)
            if not got:
                raise ConnectionError("closed")
            self.buffer += got
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.decode(errors="replace")

    def ask(self, query):
        self.send(query + "\n")
        return self.line()

    def close(self):
        self.sock.close()


def gaps(samples, steady):
    """2 ms windows below 0.9 of the steady RMS."""
    n = RATE // 500
    windows = samples[:len(samples) // n * n].reshape(-1, n)
    rms = np.sqrt((windows ** 2).mean(axis=1))
    return int((rms < 0.9 * steady).sum())


def level_db(x):
    return 20 * np.log10(np.sqrt((x ** 2).mean()) / (32767 / np.sqrt(2)))


def phase_deg(x, hz):
    return np.degrees(np.angle((x * np.exp(-2j * np.pi * hz * np.arange(len(x)) / RATE)).sum()))


def rising_crossings(x):
    i = np.nonzero((x[:-1] < 0) & (x[1:] >= 0))[0]
    return i + x[i] / (x[i] - x[i + 1])


def check_allow_list():
    for source in ("127.0.0.2", "127.0.0.1"):
        client = Client(source)
        idn = client.ask("*IDN?")
        check(idn.startswith("orbel,"), f"a client from {source} is served: {idn!r}")
        client.close()
    stranger = Client("127.0.0.3")
    stranger.sock.settimeout(5)
    try:
        stranger.send("*IDN?\n")
        check(stranger.sock.recv(100) == b"", "a client from 127.0.0.3 is closed without a word")
    except ConnectionResetError:
        pass  # closed before the line arrived
    except socket.timeout:
        check(False, "a client from 127.0.0.3 is kept")
    stranger.close()
    print("PASS" if not failures else f"{len(failures)} checks failed", flush=True)
    return 1 if failures else 0


if ALLOW_CHECK:
    sys.exit(check_allow_list())

monitor = LiveMonitor(RATE)
time.sleep(1.0)
rig = Client()

print("-- identity, settings and queries", flush=True)
idn = rig.ask("*IDN?")
check(idn.startswith("orbel,"), f"*IDN? answers {idn!r}")
rig.send("*RST;*CLS;OUTP1 ON;OUTP2 ON;FREQ 1000;VOLT -20\n")
check(rig.ask("FREQ?;:SOUR2:FREQ?;:OUTP2?;:VOLT?") in ("1000;1000;1;-20", "1.000000E+03;1.000000E+03;1;-2.000000E+01"),
      "the settings read back")
check(rig.ask("SYST:ERR?").startswith("0,"), "no error after valid settings")
time.sleep(0.5)
steady_begin = monitor.frames()
time.sleep(0.5)
heard = monitor.left(steady_begin)
level = 20 * np.log10(np.sqrt((heard ** 2).mean()) / (32767 / np.sqrt(2)))
period = np.diff(rising_crossings(heard)).mean()
check(abs(level + 20) < 0.3, f"heard at {level:.2f} dBFS, not -20")
check(abs(RATE / period - 1000) < 2, f"heard at {RATE / period:.1f} Hz, not 1000")
steady = np.sqrt((heard ** 2).mean())

print("-- errors", flush=True)
rig.send("FREQ 0.5\n")
check(rig.ask("SYST:ERR?").startswith("-222"), "a frequency below the range is refused")
check(rig.ask("FREQ?") in ("1000", "1.000000E+03"), "and changes nothing")
rig.send("BOGUS:CMD 1\n")
check(rig.ask("SYST:ERR?").startswith("-113"), "an unknown header gives -113")

print("-- volts through the output's calibration, the phase, bursts, the multitone", flush=True)
# The script calibrated the output at 1.5811 V for a full-scale sine.
rig.send("VOLT:UNIT VRMS;:VOLT 0.5\n")
check(abs(float(rig.ask("VOLT?")) - 0.5) < 1e-9, "0.5 V reads back")
check(abs(float(rig.ask("VOLT:UNIT DBFS;:VOLT?")) + 10) < 0.01, "0.5 V reads as -10 dBFS")
check(rig.ask("SYST:ERR?").startswith("0,"), "volts are taken on a calibrated output")
level = level_db(monitor.heard(0.2)[:, 0])
check(abs(level + 10) < 0.3, f"0.5 V heard at {level:.2f} dBFS, not -10")
rig.send("VOLT -20;:SOUR2:PHAS 90\n")
check(rig.ask("SOUR2:PHAS?") == "90", "the phase reads back")
both = monitor.heard(0.1)
lag = (phase_deg(both[:, 0], 1000) - phase_deg(both[:, 1], 1000)) % 360
check(abs(lag - 90) < 1, f"the right output lags by {lag:.1f} degrees, not 90")
rig.send("PHAS 0;:BURS:NCYC 2;OFFC 2;STAT ON\n")
check(rig.ask("BURS?;:BURS:NCYC?;OFFC?") == "1;2;2", "the bursts read back")
x = monitor.heard(0.2)[:, 0]
n = RATE // 2000  # 0.5 ms windows: a 2 ms burst, then 2 ms of silence
windows = np.sqrt((x[:len(x) // n * n].reshape(-1, n) ** 2).mean(axis=1))
silent = (windows < 0.1 * steady).mean()
check(0.35 < silent < 0.65, f"the bursts are silent {silent:.0%} of the time, not half")
rig.send("BURS OFF;:FUNC MULT\n")
check(rig.ask("FUNC?") == "MULT", "the multitone reads back")
# Its tones lie on the bins of a 65536-point transform: any 65536 frames
# hold whole cycles of each.
spectrum = np.abs(np.fft.rfft(monitor.heard(0.7)[:65536, 0]))
tones = int((spectrum > 0.1 * spectrum.max()).sum())
print(f"the multitone: {tones} tones heard", flush=True)
check(tones >= 20, f"the multitone is heard with {tones} tones")
rig.send("FUNC SIN\n")
check(rig.ask("SYST:ERR?").startswith("0,"), "no error from the phase, the bursts, the multitone")

print("-- a stepped sweep followed to its end", flush=True)
# 500, 1250 and 2000 Hz for 50 ms each, then silence. The rig waits for the
# end on *OPC? while a second client, served meanwhile, watches the steps.
watcher = Client()
sweep_begin = monitor.frames()
rig.send("SWE:STEP:STAR 500;STOP 2000;COUN 3;DWEL 0.05;SPAC LIN;:SWE:STEP ON;*OPC?\n")
sent_at = time.monotonic()
watched = []
while len(watched) < 200:
    on, hz = watcher.ask("SWE:STEP?;:FREQ?").split(";")
    if on != "1":
        break
    if not watched or watched[-1] != hz:
        watched.append(hz)
watcher_done = time.monotonic()
opc = rig.line()
answered = time.monotonic()
watcher.close()
check(opc == "1", f"*OPC? after the stepped sweep answers {opc!r}")
check(watched == ["500", "1250", "2000"], f"the frequency query follows the steps: {watched}")
check(watcher_done <= answered + 0.01, "another client is served while one waits for the end")
ended = rig.ask("SWE:STEP?;:OUTP1?;:OUTP2?;:FREQ?")
check(ended == "0;0;0;1000", f"after its end the sweep and the outputs are off: {ended!r}")
# The output plays out its queue after the end reported: the recording
# waits for the rest of the last step, were the report ahead of the sound.
time.sleep(0.4)
x = monitor.left(sweep_begin)
crossings = rising_crossings(x)
heard_hz = RATE / np.diff(crossings)
steps = []  # (first crossing, milliseconds) of each step's longest run of periods
for hz in (500, 1250, 2000):
    edges = np.diff(np.concatenate(([0], np.abs(heard_hz - hz) < 0.03 * hz, [0])).astype(int))
    starts, ends = np.nonzero(edges == 1)[0], np.nonzero(edges == -1)[0]
    k = np.argmax(ends - starts) if len(starts) else None
    steps.append((crossings[starts[k]], (crossings[ends[k]] - crossings[starts[k]]) * 1000 / RATE)
                 if k is not None else (0, 0))
loud = np.nonzero(np.abs(x) > 0.05 * steady)[0]
end_to_answer = (answered - monitor.time_of(sweep_begin + loud[-1])) * 1000
print(f"the stepped sweep: steps heard for {', '.join(f'{ms:.1f}' for _, ms in steps)} ms; "
      f"{(answered - sent_at) * 1000:.0f} ms from the command to *OPC?'s answer, "
      f"{end_to_answer:.0f} ms after the end was heard", flush=True)
# The first step comes in through the output's crossfade from the tone.
check(steps[0][1] >= 40 and all(50 <= ms <= 53 for _, ms in steps[1:]) and steps == sorted(steps),
      f"the steps are heard in turn for 50 ms each: {steps}")
# The recorder's own delay may put the heard end a little after the answer.
check(-30 <= end_to_answer <= 100, f"*OPC? answers {end_to_answer:.0f} ms after the end")
rig.send("OUTP1 ON;:OUTP2 ON\n")
check(rig.ask("SYST:ERR?").startswith("0,"), "no error from the stepped sweep")
time.sleep(0.3)

print("-- command to sound: 100 frequency changes", flush=True)
sent = []
change_begin = monitor.frames()
for i in range(100):
    hz = 1500 if i % 2 == 0 else 1000
    time.sleep(0.12)
    sent.append((time.monotonic(), hz))
    rig.send(f"FREQ {hz}\n")
time.sleep(0.5)
x = monitor.left(change_begin)
crossings = rising_crossings(x) + change_begin
periods = np.diff(crossings)
latencies = []
for t, hz in sent:
    want = RATE / hz
    start = monitor.frame_at(t)
    after = np.nonzero((crossings[:-1] >= start) & (np.abs(periods - want) < 0.03 * want))[0]
    if len(after) == 0:
        check(False, f"FREQ {hz} sent at {t:.3f} never heard")
        continue
    latencies.append((monitor.time_of(crossings[after[0]]) - t) * 1000)
latencies = np.array(latencies)
print(f"command to sound: median {np.median(latencies):.1f} ms, "
      f"min {latencies.min():.1f} ms, max {latencies.max():.1f} ms over {len(latencies)} changes",
      flush=True)
# The sound never drops out while the commands come. PipeWire's recorder itself
# loses a few milliseconds now and then (a steady tone played by pacat shows
# it too): reported there, judged on PulseAudio.
quiet = gaps(x, steady)
n = RATE // 500
lowest = np.sqrt((x[:len(x) // n * n].reshape(-1, n) ** 2).mean(axis=1)).min() / steady
silence_ms = sa.longest_silence(x[:, None]) * 1000 / RATE
print(f"2 ms windows below 0.9 of the steady level over the changes: {quiet} "
      f"(the lowest at {lowest:.2f}), the longest silence {silence_ms:.2f} ms", flush=True)
# Where the lowest windows fall: after which command, how long after it was
# sent, and whether the wave jumps there (frames lost or repeated) or falls
# silent.
window_levels = np.sqrt((x[:len(x) // n * n].reshape(-1, n) ** 2).mean(axis=1)) / steady
command_frames = [(monitor.frame_at(t) - change_begin, hz) for t, hz in sent]
for k in np.argsort(window_levels)[:3]:
    if window_levels[k] >= 0.93:
        break
    before = [(f, hz) for f, hz in command_frames if f <= k * n]
    f, hz = before[-1] if before else (0, 0)
    around = x[max(k * n - n, 0):(k + 2) * n]
    # The largest step between samples against a sine's largest at 1500 Hz.
    jump = np.abs(np.diff(around)).max() / (steady * np.sqrt(2) * 2 * np.pi * 1500 / RATE)
    print(f"  a window at {window_levels[k]:.3f}: {(k * n - f) * 1000 / RATE:.1f} ms after "
          f"FREQ {hz} (from {1500 + 1000 - hz} Hz) was sent; its largest step "
          f"{jump:.2f} of a 1500 Hz sine's, its longest silence "
          f"{sa.longest_silence(around[:, None]) * 1000 / RATE:.2f} ms", flush=True)
# A dropout (silence, or a window at half the level or less) fails; a
# window just under 0.9 is reported: with the machine loaded by other
# checks a run has now and then had a single window at 0.89, which the
# panel's own changes check (one change at a time, on an idle server)
# holds to. A clean change gives 0.965 at worst: the window across it holds
# part of a cycle of each frequency.
if os.environ.get("ORBEL_SOUND_SERVER", "pulseaudio") == "pulseaudio":
    check(lowest > 0.5, f"the sound drops to {lowest:.2f} of its level over the changes")
    check(silence_ms <= 1, f"the sound stops for {silence_ms:.2f} ms over the changes")

print("-- fine frequencies and whole ones in turn", flush=True)
# A fine frequency is streamed, a whole one loops an image: each change
# here goes from one to the other, and the tone that comes in continues
# the phase of the one it replaces.
fine_begin = monitor.frames()
for hz in ("1000.5", "1500", "1250.25", "1000") * 2:
    rig.send(f"FREQ {hz}\n")
    time.sleep(0.15)
time.sleep(0.3)
x = monitor.left(fine_begin)
lowest = np.sqrt((x[:len(x) // n * n].reshape(-1, n) ** 2).mean(axis=1)).min() / steady
silence_ms = sa.longest_silence(x[:, None]) * 1000 / RATE
print(f"the lowest 2 ms window over them {lowest:.2f} of the steady level, the longest "
      f"silence {silence_ms:.2f} ms", flush=True)
if os.environ.get("ORBEL_SOUND_SERVER", "pulseaudio") == "pulseaudio":
    check(lowest > 0.85, f"a change between a fine and a whole frequency dips to {lowest:.2f}")
    check(silence_ms <= 1, f"the sound stops for {silence_ms:.2f} ms over those changes")

print("-- the ninth client", flush=True)
others = [Client() for _ in range(7)]  # eight with the rig
for o in others:
    check(o.ask("*OPC?") == "1", "a client among the eight is served")
ninth = Client()
try:
    said = ninth.line()
    check("at most 8" in said, f"the ninth client is told {said!r}")
    check(ninth.sock.recv(1) == b"", "the ninth client is closed")
except (ConnectionError, OSError) as e:
    check(False, f"the ninth client got no line ({e})")
ninth.close()

print("-- a line over 64 KiB, garbage, a client gone mid-line", flush=True)
rude = others.pop()
rude.send(b"FREQ " + b"1" * 70000 + b"\n")
check(rude.ask("SYST:ERR?").startswith("-102"), "a line over 64 KiB gives -102")
rude.send(bytes(random.Random(1).randrange(256) for _ in range(5000)) + b"\n\0\0\n")
rude.send(b"FREQ 15")  # never finished
rude.close()
check(rig.ask("FREQ?") in ("1000", "1.000000E+03"), "an unfinished line is never run")

print("-- 8 clients x 1,000 queries, answered in order", flush=True)


def served_client():
    """A client the server serves: it may not yet have seen the rude one go,
    and then refuses the newcomer as the ninth, so try again a little later."""
    for _ in range(50):
        c = Client()
        try:
            if c.ask("*OPC?") == "1":
                return c
        except (ConnectionError, OSError):
            pass
        c.close()
        time.sleep(0.1)
    check(False, "a client in the place of one gone is never served")
    return Client()


others.append(served_client())
clients = [rig] + others
expected = {"*OPC?": "1", "OUTP1?": "1"}
for q in ("*IDN?", "FREQ?", "SYST:VERS?"):
    expected[q] = rig.ask(q)
queries = list(expected)
load_begin = monitor.frames()
results = [None] * len(clients)


def load(n, client):
    rnd = random.Random(n)
    asked = [rnd.choice(queries) for _ in range(1000)]
    client.send("".join(q + "\n" for q in asked))
    results[n] = all(client.line() == expected[q] for q in asked)


threads = [threading.Thread(target=load, args=(n, c)) for n, c in enumerate(clients)]
for t in threads:
    t.start()
for t in threads:
    t.join()
check(all(results), f"every answer in order, per client: {results}")
for c in others:
    c.close()

print("-- 10,000 random lines, each invalid one leaving an error", flush=True)
rnd = random.Random(7)
alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789:;*?#,. -+\"'\t\x00\x7f\xff"
lines = []
while len(lines) < 10000:
    line = "".join(rnd.choice(alphabet) for _ in range(rnd.randrange(1, 60)))
    # Nothing that would rightly stop or change the sound's level.
    if not any(w in line.upper() for w in ("OUTP", "RST", "SHUT", "RCL", "VOLT", "FUNC", "SWE",
                                           "BURS", "STEP", "FREQ", "PHAS", "SOUR", "APPL")):
        lines.append(line)
# After each line, its errors are counted and cleared; the identity ends
# the answer, so that a random line's own answer (a query it happened to
# hold) is told apart.
idn_tail = ";" + idn
unanswered = []
valid = []
for begin in range(0, len(lines), 500):
    batch = lines[begin:begin + 500]
    rig.send("".join(line + "\nSYST:ERR:COUN?;*IDN?;*CLS\n" for line in batch).encode("latin-1"))
    for line in batch:
        answer = rig.line()
        while not answer.endswith(idn_tail):
            unanswered.append(line)
            answer = rig.line()
        if answer[:-len(idn_tail)] == "0":
            valid.append(line)
check(rig.ask("*OPC?") == "1", "the server answers after the random lines")
silent = [line for line in valid if line.strip(" \t")]
print(f"random lines: {len(lines) - len(valid)} left errors, {len(valid) - len(silent)} blank, "
      f"{len(unanswered)} answered a query of their own", flush=True)
check(not silent, f"invalid lines left no error: {silent[:5]!r}")
time.sleep(0.3)
load_end = monitor.frames()
quiet = gaps(monitor.left(load_begin, load_end), steady)
print(f"2 ms windows below 0.9 under the load and the random lines: {quiet}", flush=True)
check(quiet == 0, "the sound has a gap under load")

rig.send("SYST:SHUT\n")
rig.close()
time.sleep(0.3)
monitor.stop()
print("PASS" if not failures else f"{len(failures)} checks failed", flush=True)
sys.exit(1 if failures else 0)
