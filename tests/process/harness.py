"""Shared by the process tests: each case runs the real binary from a fresh
folder of its own, so the include file and the log files beside the program
belong to that case alone.

A case is a function taking the folder; it raises AssertionError when the
program misbehaves. The deadlines only keep a hanging program from hanging
the test run; nothing is measured.
"""

import os
import select
import shutil
import sys
import tempfile
import time
import traceback

DEADLINE_SECONDS = 30


class Folder:
    """A temporary folder holding the binary as "numora"."""

    def __init__(self, binary):
        self.path = tempfile.mkdtemp(prefix="numora-process-")
        self.program = os.path.join(self.path, "numora")
        try:
            os.link(binary, self.program)
        except OSError:
            shutil.copy2(binary, self.program)

    def file(self, name):
        return os.path.join(self.path, name)

    def write(self, name, data):
        with open(self.file(name), "wb") as f:
            f.write(data)

    def read(self, name):
        with open(self.file(name), "rb") as f:
            return f.read()

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


def wait_until(condition, what):
    deadline = time.monotonic() + DEADLINE_SECONDS
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError(f"gave up waiting for {what}")
        time.sleep(0.01)


def read_until(fd, done):
    """Reads fd until done(everything read) holds; returns what was read."""
    received = b""

    def arrived():
        nonlocal received
        if select.select([fd], [], [], 0)[0]:
            received += os.read(fd, 4096)
        return done(received)
    try:
        wait_until(arrived, "output")
    except AssertionError:
        raise AssertionError(f"gave up waiting; received {received!r}") from None
    return received


def expect_equal(what, actual, expected):
    if actual != expected:
        raise AssertionError(f"{what}\n  expected {expected!r}\n  actual   {actual!r}")


def run_cases(cases):
    """Runs every case against the binary named on the command line."""
    if len(sys.argv) < 2:
        raise SystemExit(f"usage: {sys.argv[0]} NUMORA_BINARY")
    binary = os.path.abspath(sys.argv[1])
    failed = 0
    for case in cases:
        folder = Folder(binary)
        try:
            case(folder)
        except Exception:
            failed += 1
            print(f"FAIL {case.__name__}")
            print("  " + traceback.format_exc().replace("\n", "\n  "))
        finally:
            folder.remove()
    print(f"{os.path.basename(sys.argv[0])}: {len(cases) - failed} passed, {failed} failed")
    return 1 if failed else 0
