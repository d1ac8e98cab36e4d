#!/usr/bin/env python3
"""What numora does when its output cannot be written, or is waited for.

Usage: output.py NUMORA_BINARY

A write error on standard output is reported once on standard error and
ends the run with 255; a pipe that nobody reads any more ends it quietly, as
SIGPIPE does, also when SIGPIPE is ignored. Descriptors closed at start-up
are never taken by a log file. A program that drives numora through pipes
gets each result before it sends the next line. Lines read ahead of time
from a pipe change no result.
"""

import os
import re
import signal
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, read_until, run_cases

# getcwd with a size of 0 logs "_invalid_parameter"; the run goes on.
LOGGING_SESSION = b"string s\ngetcwd(s, 0)\n1 + 1\n"


def write_error(text):
    return re.compile(r"\*kestrak system error : IConApp\(\d+\) " + text + "\n")


def expect_match(what, actual, pattern):
    if not pattern.fullmatch(actual.decode()):
        raise AssertionError(f"{what}\n  expected {pattern.pattern!r}\n  actual   {actual!r}")


def log_records(folder):
    return [r for r in folder.read("numora0.log").split(b"\r\n") if r]


def a_full_disk_is_reported_once_and_ends_the_run(folder):
    # Far more results than one buffer holds: the run must end at the first
    # failed write, long before the last line.
    lines = b"1 + 1\n" * 100000 + b'system("echo > still-running")\n'
    with open("/dev/full", "wb") as full:
        result = subprocess.run([folder.program], input=lines, stdout=full, stderr=subprocess.PIPE,
                                cwd=folder.path, timeout=DEADLINE_SECONDS)
    expect_match("stderr", result.stderr, write_error("No space left on device"))
    expect_equal("status", result.returncode, 255)
    expect_equal("later lines ran", os.path.exists(folder.file("still-running")), False)


def run_logging_session(folder, closed, **options):
    # From a file, the input is always there: nothing is flushed before the
    # diagnostic, whatever the timing.
    folder.write("session", LOGGING_SESSION)
    with open(folder.file("session"), "rb") as session:
        return subprocess.run([folder.program], stdin=session, cwd=folder.path, timeout=DEADLINE_SECONDS,
                              preexec_fn=lambda: os.close(closed), **options)


def a_closed_standard_output_is_reported_and_no_log_takes_its_place(folder):
    result = run_logging_session(folder, 1, stderr=subprocess.PIPE)
    expect_match("stderr", result.stderr,
                 re.compile("pos:0  関数の実行で例外が発生しました\n" + write_error("Bad file descriptor").pattern))
    expect_equal("status", result.returncode, 255)
    expect_equal("log records", len(log_records(folder)), 1)


def a_closed_standard_error_sends_no_diagnostic_to_the_log(folder):
    result = run_logging_session(folder, 2, stdout=subprocess.PIPE)
    expect_equal("stdout", result.stdout, b"> \n> > 2\n> ")
    expect_equal("status", result.returncode, 0)
    expect_equal("log records", len(log_records(folder)), 1)


def run_into_a_closed_pipe(folder, ignore_sigpipe):
    read_end, write_end = os.pipe()
    os.close(read_end)

    def prepare():
        if ignore_sigpipe:
            signal.signal(signal.SIGPIPE, signal.SIG_IGN)

    result = subprocess.run([folder.program], input=b"1 + 1\n", stdout=write_end, stderr=subprocess.PIPE,
                            cwd=folder.path, timeout=DEADLINE_SECONDS, preexec_fn=prepare)
    os.close(write_end)
    expect_equal("stderr", result.stderr, b"")
    expect_equal("status", result.returncode, -signal.SIGPIPE)


def a_pipe_nobody_reads_ends_the_run_quietly(folder):
    run_into_a_closed_pipe(folder, ignore_sigpipe=False)


def a_pipe_nobody_reads_ends_the_run_quietly_with_sigpipe_ignored(folder):
    run_into_a_closed_pipe(folder, ignore_sigpipe=True)


def a_driving_program_gets_each_result_before_the_next_line(folder):
    process = subprocess.Popen([folder.program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               cwd=folder.path)
    try:
        for line, answer in [(b"6 * 7\n", b"> 42\n> "), (b"1 + 1\n", b"2\n> ")]:
            process.stdin.write(line)
            process.stdin.flush()
            read_until(process.stdout.fileno(), lambda out: out == answer)
        process.stdin.close()
        expect_equal("status", process.wait(timeout=DEADLINE_SECONDS), 0)
    finally:
        process.kill()
        process.wait()


def lines_read_ahead_from_a_pipe_change_no_result(folder):
    # Among this many names, the names of the lines already in the input
    # buffer are looked up early. Names in quotes, a line longer than the
    # buffer, names the line before declares and lines without a line feed
    # at the end must all still give what each line alone gives.
    count = 20_000
    lines = [f"int d{k} = {k}" for k in range(count)]
    want = [""] * count
    for k in range(0, count, 7):
        lines.append(f"d{k} * 2 - d{count - 1 - k}")
        want.append(str(k * 2 - (count - 1 - k)))
    lines += ['strlen("d1 d2 ' + "x" * 70_000 + '")', "int e1 = d5 + 1", "e1 + d3", "e2 + 1", "d9999 + 1"]
    want += ["70006", "", "9", "10000"]   # the undefined e2 gives no result
    result = subprocess.run([folder.program, "/p0"], input="\n".join(lines).encode(), capture_output=True,
                            cwd=folder.path, timeout=DEADLINE_SECONDS)
    expect_equal("stdout", result.stdout.decode().split("\n"), want + [""])
    expect_equal("stderr", result.stderr, "pos:0  未定義の識別子です\n".encode())
    expect_equal("status", result.returncode, 0)


if __name__ == "__main__":
    sys.exit(run_cases([
        a_full_disk_is_reported_once_and_ends_the_run,
        a_closed_standard_output_is_reported_and_no_log_takes_its_place,
        a_closed_standard_error_sends_no_diagnostic_to_the_log,
        a_pipe_nobody_reads_ends_the_run_quietly,
        a_pipe_nobody_reads_ends_the_run_quietly_with_sigpipe_ignored,
        a_driving_program_gets_each_result_before_the_next_line,
        lines_read_ahead_from_a_pipe_change_no_result,
    ]))
