#!/usr/bin/env python3
"""Lines within the depth bound under a small stack limit.

Usage: stack.py NUMORA_BINARY

With `ulimit -s 256` (soft and hard) the deepest line the parser accepts
still runs, the next level still gets the depth diagnostic, and signals
still reach the program as they do under the usual limit.
"""

import resource
import signal
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, read_until, run_cases

SMALL = 256 * 1024


def small_stack():
    resource.setrlimit(resource.RLIMIT_STACK, (SMALL, SMALL))


def the_deepest_line_runs_under_a_small_stack(folder):
    deepest = b"(" * 1000 + b"1" + b")" * 1000
    result = subprocess.run([folder.program], input=deepest + b"\n(" + deepest + b")\n1 + 1\n",
                            capture_output=True, cwd=folder.path, timeout=DEADLINE_SECONDS,
                            preexec_fn=small_stack)
    expect_equal("stdout", result.stdout, b"> 1\n> > 2\n> ")
    expect_equal("stderr", result.stderr, "pos:1001  構文エラー\n".encode())
    expect_equal("status", result.returncode, 0)


def a_termination_signal_reaches_it_under_a_small_stack(folder):
    process = subprocess.Popen([folder.program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               cwd=folder.path, preexec_fn=small_stack)
    process.stdin.write(b"1 + 1\n")
    process.stdin.flush()
    read_until(process.stdout.fileno(), lambda out: out == b"> 2\n> ")
    process.send_signal(signal.SIGTERM)
    expect_equal("status", process.wait(timeout=DEADLINE_SECONDS), 128 + signal.SIGTERM)


if __name__ == "__main__":
    sys.exit(run_cases([
        the_deepest_line_runs_under_a_small_stack,
        a_termination_signal_reaches_it_under_a_small_stack,
    ]))
