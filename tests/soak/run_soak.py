#!/usr/bin/env python3
"""Soak test: feeds numora a long generated session and watches its memory.

Usage: run_soak.py BINARY [--lines N] [--seed S] [--declare-fraction F]
                          [--timeout SECONDS] [--tolerance-kb KB] [--checkpoints C]

The lines come from generate_lines.py. They are written to the program
through a pipe whose read end this script also keeps, so it can tell when
the program has consumed everything written so far: the pipe is empty and
the process sleeps in a read. At that moment its resident size (VmRSS) is
sampled. Samples are taken at the end of the declaration phase and at C
evenly spaced points of the phase that follows, in which no line may create
anything persistent.

The test fails when
  - the program does not end with the exit status the last lines imply,
  - it does not end within the time bound,
  - a sanitizer reports anything on standard error,
  - the resident size keeps growing after the declaration phase: the last
    sample may exceed the sample taken a fifth into that phase (allocator
    warm-up) by no more than the tolerance (512 KB + 0.5 %, or 4 MB + 2 %
    for a sanitizer build, whose allocator settles more slowly).

The program runs in a scratch directory that holds a link to the binary, so
its log files do not land next to the build.
"""

import argparse
import fcntl
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate_lines  # noqa: E402

SANITIZER_MARKS = (b"AddressSanitizer", b"LeakSanitizer", b"runtime error:",
                   b"UndefinedBehaviorSanitizer")


def sanitized(binary):
    with open(binary, "rb") as f:
        return b"__asan_init" in f.read()


def rss_kb(pid, field="VmRSS"):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def process_state(pid):
    with open(f"/proc/{pid}/stat") as f:
        data = f.read()
    return data[data.rindex(")") + 2]


def pending_bytes(fd):
    return struct.unpack("i", fcntl.ioctl(fd, termios.FIONREAD, b"\0\0\0\0"))[0]


class Session:
    def __init__(self, binary, workdir, deadline):
        self.deadline = deadline
        program = os.path.join(workdir, "numora")
        try:
            os.link(binary, program)
        except OSError:
            shutil.copy2(binary, program)
        self.read_fd, self.write_fd = os.pipe()
        self.stderr_path = os.path.join(workdir, "stderr.txt")
        env = dict(os.environ)
        env["NUMORA_SOAK_VALUE"] = "soak value with spaces"
        env["NUMORA_SOAK_EMPTY"] = ""
        env.pop("NUMORA_SOAK_UNSET", None)
        # A small quarantine keeps freed blocks from showing up as growth
        # under AddressSanitizer: it must fill within the warm-up even when
        # lines free little (arithmetic lines allocate almost nothing). Leak
        # detection is left as configured.
        asan = env.get("ASAN_OPTIONS", "")
        if "quarantine_size_mb" not in asan:
            env["ASAN_OPTIONS"] = (asan + ":" if asan else "") + "quarantine_size_mb=2"
        with open(self.stderr_path, "wb") as err:
            self.proc = subprocess.Popen([program, "/s"], stdin=self.read_fd,
                                         stdout=subprocess.DEVNULL, stderr=err,
                                         cwd=workdir, env=env)
        self.written = 0

    def write(self, data):
        view = memoryview(data)
        while view:
            if time.monotonic() > self.deadline:
                raise TimeoutError
            n = os.write(self.write_fd, view[:65536])
            view = view[n:]
            self.written += n

    def settle(self):
        """Waits until the program has read all input so far and waits for more."""
        quiet = 0
        while True:
            if self.proc.poll() is not None:
                return False
            if time.monotonic() > self.deadline:
                raise TimeoutError
            try:
                idle = pending_bytes(self.read_fd) == 0 and process_state(self.proc.pid) == "S"
            except (FileNotFoundError, ProcessLookupError):
                return False
            quiet = quiet + 1 if idle else 0
            if quiet >= 3:
                return True
            time.sleep(0.002)

    def sample(self):
        return rss_kb(self.proc.pid), rss_kb(self.proc.pid, "VmHWM")

    def finish(self):
        os.close(self.write_fd)
        os.close(self.read_fd)
        remaining = max(self.deadline - time.monotonic(), 1)
        try:
            return self.proc.wait(timeout=remaining)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
            raise TimeoutError

    def stderr_text(self):
        with open(self.stderr_path, "rb") as f:
            return f.read()


def main():
    parser = argparse.ArgumentParser(description="numora soak test")
    parser.add_argument("binary")
    parser.add_argument("--lines", type=int, default=20000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--declare-fraction", type=float, default=0.2)
    parser.add_argument("--timeout", type=float, default=None,
                        help="seconds for the whole run (default: 60 + 1 ms per line)")
    parser.add_argument("--tolerance-kb", type=int, default=None,
                        help="allowed growth after the declaration phase (default: 512 KB + 0.5%%"
                             " of the resident size, 4096 KB + 2%% for a sanitizer build)")
    parser.add_argument("--checkpoints", type=int, default=10)
    parser.add_argument("--keep-input", help="also write the generated lines to this file")
    args = parser.parse_args()

    binary = os.path.abspath(args.binary)
    timeout = args.timeout if args.timeout is not None else 60 + args.lines / 1000
    start = time.monotonic()
    deadline = start + timeout
    declare = int(args.lines * args.declare_fraction)
    gen = generate_lines.Generator(args.seed, args.lines, declare)

    # Group the lines: everything up to the end of the declaration phase,
    # then the rest in equal parts with a checkpoint after each part.
    declaring, steady = [], []
    for line, in_declaration in gen.lines():
        (declaring if in_declaration else steady).append(generate_lines.encode(line))
    tail = steady[-3:]          # "#dec", the final value and "#exit"
    steady = steady[:-3]
    parts = max(args.checkpoints, 2)
    chunk = max(len(steady) // parts, 1)
    groups = [steady[i:i + chunk] for i in range(0, len(steady), chunk)]
    if args.keep_input:
        with open(args.keep_input, "wb") as f:
            f.write(b"".join(declaring + steady + tail))

    samples = []
    failures = []
    with tempfile.TemporaryDirectory(prefix="numora-soak-") as workdir:
        session = Session(binary, workdir, deadline)
        status = None
        try:
            session.write(b"".join(declaring))
            if session.settle():
                rss, hwm = session.sample()
                samples.append(("declarations done", len(declaring), rss, hwm))
            done = len(declaring)
            for group in groups:
                session.write(b"".join(group))
                done += len(group)
                if not session.settle():
                    break
                rss, hwm = session.sample()
                samples.append(("steady", done, rss, hwm))
            session.write(b"".join(tail))
            status = session.finish()
        except TimeoutError:
            failures.append(f"did not finish within {timeout:.0f} s")
            if session.proc.poll() is None:
                session.proc.kill()
                session.proc.wait()
        except BrokenPipeError:
            status = session.finish()
        stderr = session.stderr_text()

    elapsed = time.monotonic() - start
    print(f"soak: {args.lines} lines (declaration phase {len(declaring)}), seed {args.seed}, "
          f"{elapsed:.1f} s, {len(stderr.splitlines())} diagnostic lines")
    for label, line_count, rss, hwm in samples:
        print(f"  after line {line_count:>9}: VmRSS {rss:>8} KB  VmHWM {hwm:>8} KB  ({label})")

    if status is not None and status != gen.expected_status:
        failures.append(f"exit status {status}, expected {gen.expected_status}")
    for mark in SANITIZER_MARKS:
        if mark in stderr:
            at = stderr.index(mark)
            excerpt = stderr[max(0, at - 200):at + 3000].decode("utf-8", "backslashreplace")
            failures.append(f"sanitizer report on standard error:\n{excerpt}")
            break
    steady_samples = [s for s in samples if s[0] == "steady"]
    if len(steady_samples) >= 3:
        base = steady_samples[max(len(steady_samples) // 5, 1) - 1]
        last = steady_samples[-1]
        if args.tolerance_kb is not None:
            tolerance = args.tolerance_kb
        elif sanitized(binary):
            # The sanitizer's allocator and quarantine still settle for a while.
            tolerance = 4096 + base[2] // 50
        else:
            tolerance = 512 + base[2] // 200
        growth = last[2] - base[2]
        print(f"  growth after the declaration phase: {growth} KB "
              f"(line {base[1]} to line {last[1]}, tolerance {tolerance} KB)")
        if growth > tolerance:
            failures.append(f"memory keeps growing after the declaration phase: "
                            f"+{growth} KB from line {base[1]} to line {last[1]}")
    elif not failures:
        failures.append("the program ended before the memory could be sampled")

    if failures:
        if status not in (None, gen.expected_status):
            tail_text = stderr[-2000:].decode("utf-8", "backslashreplace")
            failures.append("end of standard error:\n" + tail_text)
        for failure in failures:
            print("FAIL " + failure)
        return 1
    print("soak: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
