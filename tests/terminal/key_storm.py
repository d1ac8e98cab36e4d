#!/usr/bin/env python3
"""Random keys at the prompt: no key sequence may end, stall or spin a session.

Usage: key_storm.py NUMORA_BINARY [--keys N] [--sessions N] [--seed S]
                    [--mode emacs|vi|both] [--save-keys FILE] [--save-output FILE]

Types random keys into numora at a pseudo-terminal, in emacs mode and in vi
mode: text, line ends, editing keys, arrows, escape and meta keys, the vi
commands, searches, undo, completion, bytes that are not UTF-8, pastes (some
cut short by Ctrl-C, some never ended), Ctrl-C, Ctrl-Z (numora runs under a
job-control parent, which takes the terminal back and brings numora back
with fg) and window resizes down to one row and one column. Each Ctrl-C
waits until the keys before it were read, since Ctrl-C empties the
terminal's queue. Every few thousand keys, and at the end of each session,
Ctrl-C and a probe line check that the prompt still answers; the session
then ends with Ctrl-D, and must end with status 0 and without a report from
a sanitizer. Completion may put "#exit" in a line: a session that a command
ended goes on in a new one. A session that dies, stops answering or reports
is a failure; its seed is printed with the last keys and, where gdb is at
hand, where the program is. --save-keys keeps every byte written,
--save-output what the failed session showed last.

ctest runs a short storm in each build; a long one (a million keys each in
emacs and vi mode) runs by hand:

    key_storm.py build-san/app/numora --keys 1000000 --sessions 50
"""

import argparse
import fcntl
import os
import random
import select
import signal
import struct
import subprocess
import sys
import tempfile
import shutil
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from terminal_session import Session  # noqa: E402

# A sanitizer build under load is slow; a prompt that stays silent this long
# has stopped answering.
PROBE_SECONDS = 60
PROBE_EVERY_KEYS = 3000
SANITIZER_REPORTS = (b"Sanitizer", b"runtime error", b"double free", b"free(): ", b"malloc(): ",
                     b"corrupted", b"Segmentation", b"\xe4\xbe\x8b\xe5\xa4\x96(")

CTRL_C = b"\x03"
CTRL_Z = b"\x1a"
PASTE_START = b"\x1b[200~"
PASTE_END = b"\x1b[201~"

# What a line may hold. No "#": a command could end the session or silence
# its results, which the probes need.
TEXT = b"0123456789+-*/%()<>=!&|^~?:,. \"'abcdefghijklmnopqrstuvwxyz_ABEFGINPRTUWX[]{}"
NOT_UTF8 = [b"\xed\xa0\x80", b"\xc3", b"\xff", b"\x80", b"\xe6\x97"]
WIDE = ["日本".encode(), "é".encode(), "語".encode()]
# Control keys, without Ctrl-C, Ctrl-D and Ctrl-Z (typed on purpose below),
# Ctrl-S and Ctrl-Q (flow control would hold the output) and Ctrl-\ (quit).
CONTROL = [bytes([c]) for c in range(0, 32) if c not in (3, 4, 17, 19, 26, 28, 27)] + [b"\x7f"]
ESCAPES = [b"\x1b[A", b"\x1b[B", b"\x1b[C", b"\x1b[D", b"\x1b[H", b"\x1b[F", b"\x1b[3~", b"\x1b[5~",
           b"\x1b[6~", b"\x1b[1;5C", b"\x1b[1;5D", b"\x1bOA", b"\x1bOB", b"\x1b", b"\x1b\x1b", b"\x1b[",
           b"\x1b[2", b"\x1b[201~", b"\x1b\n", b"\x1b\r"]
# Not the keys that insert every completion (M-*, vi's "*"): among them are
# the commands that end a session.
META = [b"\x1b" + bytes([c]) for c in b"pnfbdrlcuty.<>?=_/\\-0123456789\x0a\x08\x7f\x12\x19\x05"]
VI = [bytes([c]) for c in b"hjklwbeWBExXdcyYpPuUrRfFtT;,.~iaAI0$^%=\\/?nNsSCDGkjv|-+ "]


class Storm:
    def __init__(self, rng, vi):
        self.rng = rng
        self.vi = vi
        # "*" is also vi's insert-completions.
        self.text = TEXT.replace(b"*", b"") if vi else TEXT

    def line(self):
        length = self.rng.choice((0, 1, 3, 8, 20, 60))
        return bytes(self.rng.choice(self.text) for _ in range(length))

    def paste(self):
        lines = [self.line() for _ in range(self.rng.choice((1, 2, 5, 40)))]
        if self.rng.random() < 0.3:
            lines[self.rng.randrange(len(lines))] += self.rng.choice(NOT_UTF8)
        end = self.rng.choice((b"\r", b"\n", b"\r\n"))
        text = PASTE_START + end.join(lines) + self.rng.choice((b"", end))
        roll = self.rng.random()
        if roll < 0.15:
            return [text, CTRL_C, self.line() + b"\r", PASTE_END]
        if roll < 0.2:
            return [text]        # never ended
        return [text + PASTE_END]

    def key(self):
        roll = self.rng.random()
        if roll < 0.38:
            return bytes([self.rng.choice(self.text)])
        if roll < 0.45:
            return b"\r"
        if roll < 0.56:
            return self.rng.choice(CONTROL)
        if roll < 0.66:
            return self.rng.choice(ESCAPES)
        if roll < 0.73:
            return self.rng.choice(META)
        if roll < (0.88 if self.vi else 0.75):
            return self.rng.choice(VI)
        if roll < 0.9:
            return self.rng.choice(NOT_UTF8 + WIDE)
        if roll < 0.905:
            return b"\t"
        if roll < 0.907:
            return CTRL_C
        if roll < 0.908:
            return CTRL_Z
        if roll < 0.909:
            return self.paste()
        if roll < 0.91:
            return "resize"
        return bytes([self.rng.choice(self.text)])


class Failure(Exception):
    pass


class Ended(Exception):
    """The session ended by a command it was given."""


class Driver:
    """One numora session under a job-control parent, fed without blocking."""

    def __init__(self, binary, home, vi, saved):
        env = {"LC_ALL": "C.UTF-8", "NUMORA_HISTORY": os.path.join(home, "history")}
        if vi:
            inputrc = os.path.join(home, "inputrc")
            with open(inputrc, "w") as f:
                f.write("set editing-mode vi\n")
            env["INPUTRC"] = inputrc
        self.home = home
        self.session = Session(home, env=env, job_control=True)
        self.master = self.session.master
        os.set_blocking(self.master, False)
        # The terminal's own side, to see how much input waits unread.
        self.slave = os.open(self.session.slave_name, os.O_RDWR | os.O_NOCTTY)
        self.output = b""
        self.saved = saved
        self.written = b""
        self.status = None
        self.since_probe = b""

    def alive(self):
        status = self.session.process.poll()
        if status is not None:
            self.status = status
        return status is None

    def drain(self, wait=0.0):
        ready, _, _ = select.select([self.master], [], [], wait)
        if not ready:
            return False
        try:
            chunk = os.read(self.master, 65536)
        except (BlockingIOError, OSError):
            return False
        self.output = (self.output + chunk)[-200000:]
        self.since_probe = (self.since_probe + chunk)[-200000:]
        return True

    def continue_if_stopped(self):
        try:
            if self.session.state() == "T":
                self.session.fg()
        except (FileNotFoundError, ProcessLookupError):
            pass

    def ended_by_a_command(self):
        """Completion can put a command in a line (menu-complete,
        insert-completions), "#exit" among them: a session that ended that
        way ended cleanly."""
        try:
            with open(os.path.join(self.home, "numora.status")) as f:
                status = int(f.read())
        except (FileNotFoundError, ValueError):
            return False
        return os.WIFEXITED(status) and not any(r in self.output for r in SANITIZER_REPORTS)

    def check_alive(self):
        if self.alive():
            return
        while self.drain(0.05):
            pass
        if self.ended_by_a_command():
            raise Ended()
        raise Failure(f"the session ended with status {self.status}")

    def write(self, data):
        if self.saved:
            self.saved.write(data)
        self.written = (self.written + data)[-400:]
        deadline = time.time() + PROBE_SECONDS
        while data:
            self.check_alive()
            self.continue_if_stopped()
            _, writable, _ = select.select([], [self.master], [], 0.05)
            if writable:
                try:
                    data = data[os.write(self.master, data):]
                    deadline = time.time() + PROBE_SECONDS
                except BlockingIOError:
                    pass
            self.drain()
            if time.time() > deadline:
                raise Failure(f"the session took no input for {PROBE_SECONDS} s ({self.describe()})")

    def unread(self):
        return struct.unpack("i", fcntl.ioctl(self.slave, termios.FIONREAD, b"\0" * 4))[0]

    def interrupt(self):
        """Ctrl-C, once the keys before it were read: Ctrl-C empties the
        terminal's queue, and the storm's keys are to be typed, not lost.
        A line that computes long keeps them queued; they are let go then."""
        deadline = time.time() + 2
        while self.unread() > 0 and time.time() < deadline:
            self.check_alive()
            self.continue_if_stopped()
            self.drain(0.01)
        self.write(CTRL_C)

    def resize(self, rows, columns):
        fcntl.ioctl(self.master, termios.TIOCSWINSZ, struct.pack("HHHH", rows, columns, 0, 0))

    def describe(self):
        try:
            state = self.session.state()
        except FileNotFoundError:
            return "gone"
        return f"state {state}; last keys {self.written!r}; stack:\n{self.stack()}"

    def stack(self):
        """Where the stuck program is, when gdb is at hand."""
        if not shutil.which("gdb"):
            return "(no gdb)"
        try:
            trace = subprocess.run(["gdb", "-p", str(self.session.pid), "-batch", "-ex", "bt",
                                    "-ex", "print (int) rl_end", "-ex", "print (char *) rl_line_buffer"],
                                   capture_output=True, timeout=60, text=True, errors="replace").stdout
        except subprocess.TimeoutExpired:
            return "(gdb timed out)"
        return "\n".join(line for line in trace.splitlines() if line.startswith(("#", "$")))

    def probe(self, number):
        """Ctrl-C, then a line whose result only a live prompt prints. A
        terminal ends a paste it began: the storm's own that it left open
        are ended too, or the rest of the paste would take in the probe."""
        self.interrupt()
        self.write(PASTE_END)
        value = 7000000 + number
        self.since_probe = b""
        # Completion may have run "#bin" or "#s" meanwhile.
        self.write(b"#s0\r#dec\r7000000 + %d\r" % number)
        self.wait_for(b"%d\r\n" % value)
        # The next prompt: the terminal is the line editor's again.
        self.since_probe = self.since_probe[self.since_probe.index(b"%d\r\n" % value):]
        self.wait_for(b"> ")

    def wait_for(self, wanted):
        deadline = time.time() + PROBE_SECONDS
        while wanted not in self.since_probe:
            self.check_alive()
            self.continue_if_stopped()
            if time.time() > deadline:
                raise Failure(f"no answer after Ctrl-C ({self.describe()})")
            self.drain(0.05)

    def finish(self):
        self.write(b"\x04")
        deadline = time.time() + PROBE_SECONDS
        while self.alive() and time.time() < deadline:
            self.drain(0.05)
        while self.drain():
            pass
        if self.alive():
            raise Failure(f"Ctrl-D at an empty prompt did not end the session ({self.describe()})")
        self.close_slave()
        status = self.session.finish()
        if status != 0:
            raise Failure(f"the session ended with status {status}")

    def close_slave(self):
        if self.slave is not None:
            os.close(self.slave)
            self.slave = None

    def kill(self):
        self.close_slave()
        if self.alive():
            try:
                os.kill(self.session.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.session.process.kill()
        try:
            self.session.finish()
        except (AssertionError, OSError):
            pass


def run_session(binary, seed, keys, vi, saved, output_file=None):
    """Types keys into sessions, a new one where a command ended the last;
    a description of the failure, or None."""
    rng = random.Random(seed)
    storm = Storm(rng, vi)
    typed = 0
    while typed < keys:
        with tempfile.TemporaryDirectory(prefix="numora-storm-") as home:
            program = os.path.join(home, "numora")
            try:
                os.link(binary, program)
            except OSError:
                shutil.copy2(binary, program)
            driver = Driver(binary, home, vi, saved)
            try:
                typed = storm_session(driver, storm, rng, typed, keys)
            except Ended:
                driver.kill()
                continue
            except Failure as failure:
                reports = [r for r in SANITIZER_REPORTS if r in driver.output]
                driver.kill()
                if output_file:
                    with open(output_file, "wb") as f:
                        f.write(driver.output)
                tail = driver.output[-1500:]
                return f"{failure}\n  reports {reports}; output ends {tail!r}"
            reports = [r for r in SANITIZER_REPORTS if r in driver.output]
            if reports and output_file:
                with open(output_file, "wb") as f:
                    f.write(driver.output)
            if reports:
                return f"a report at the end: {reports}; output ends {driver.output[-3000:]!r}"
    return None


def storm_session(driver, storm, rng, typed, keys):
    """Types keys until all are typed; answers how many are."""
    driver.wait_for(b"> ")
    probes = 0
    batch = []
    while typed < keys:
        key = storm.key()
        typed += 1
        if key == "resize":
            driver.write(b"".join(batch))
            batch = []
            driver.resize(rng.choice((1, 2, 5, 24, 40)), rng.choice((1, 2, 10, 80, 200)))
            continue
        for piece in key if isinstance(key, list) else [key]:
            if piece == CTRL_C:
                driver.write(b"".join(batch))
                batch = []
                driver.interrupt()
                continue
            batch.append(piece)
            if len(batch) >= rng.choice((1, 4, 16, 64)):
                driver.write(b"".join(batch))
                batch = []
        if typed % PROBE_EVERY_KEYS == 0:
            driver.write(b"".join(batch))
            batch = []
            probes += 1
            driver.resize(24, 80)
            driver.probe(probes)
    driver.write(b"".join(batch))
    driver.resize(24, 80)
    driver.probe(probes + 1)
    driver.finish()
    return typed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("binary")
    parser.add_argument("--keys", type=int, default=4000, help="keys in each mode, all sessions together")
    parser.add_argument("--sessions", type=int, default=2, help="sessions in each mode")
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--mode", choices=("emacs", "vi", "both"), default="both")
    parser.add_argument("--save-keys", help="a file that keeps every byte written")
    parser.add_argument("--save-output", help="a file that keeps what a failed session showed last")
    args = parser.parse_args()
    binary = os.path.abspath(args.binary)
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    modes = {"emacs": [False], "vi": [True], "both": [False, True]}[args.mode]
    saved = open(args.save_keys, "wb") if args.save_keys else None
    failures = 0
    started = time.time()
    for vi in modes:
        for number in range(args.sessions):
            session_seed = seed + number
            problem = run_session(binary, session_seed, max(1, args.keys // args.sessions), vi, saved,
                                  args.save_output)
            if problem:
                failures += 1
                mode = "vi" if vi else "emacs"
                print(f"FAIL {mode} session seed {session_seed}: {problem}")
    mode_names = "+".join("vi" if vi else "emacs" for vi in modes)
    print(f"key storm ({mode_names}, seed {seed}, {args.keys} keys a mode in {args.sessions} sessions, "
          f"{time.time() - started:.0f} s): {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
