#!/usr/bin/env python3
"""Running out of memory, or a string past 2 GB, costs one line, never the
session.

Usage: memory.py NUMORA_BINARY

The program runs under a limit of its address space (ulimit -v), and once
on the few gigabytes a 1 GiB string takes, so this test runs only in the
plain build: AddressSanitizer reserves far more address space than any such
limit allows, and would make the gigabytes several times as many.
"""

import resource
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, run_cases

LIMIT_BYTES = 64 * 1024 * 1024
# Longer than the memory left: such a line cannot be read whole.
HUGE_LINE = b"1" * (2 * LIMIT_BYTES) + b"\n"
CALL_FAILED = "pos:7  関数の実行に失敗しました"


def limited():
    resource.setrlimit(resource.RLIMIT_AS, (LIMIT_BYTES, LIMIT_BYTES))


def run(folder, stdin, *args):
    return subprocess.run([folder.program, *args], input=stdin, capture_output=True, cwd=folder.path,
                          timeout=DEADLINE_SECONDS, preexec_fn=limited)


def a_line_too_long_to_read_is_dropped_and_the_next_runs(folder):
    result = run(folder, b"int a = 5\n" + HUGE_LINE + b"a + 1\n")
    expect_equal("stdout", result.stdout, b"> \n> > 6\n> ")
    expect_equal("stderr", result.stderr, b"std::bad_alloc\n")
    expect_equal("status", result.returncode, 0)


def a_script_line_too_long_to_read_is_dropped_and_the_next_runs(folder):
    folder.write("calc.num", b"int a = 5\n" + HUGE_LINE + b"a + 1\n1 / 0\n")
    result = run(folder, b"", "calc.num")
    expect_equal("stdout", result.stdout, b"6\n")
    expect_equal("stderr", result.stderr, "calc.num:2: std::bad_alloc\ncalc.num:4: pos:2  ０で除算しました\n".encode())
    expect_equal("status", result.returncode, 1)


def an_include_line_too_long_to_read_is_dropped_alone(folder):
    folder.write("numora.inc", b"int before = 1\n" + HUGE_LINE + b"int after = 2\n")
    result = run(folder, b"before + after\n")
    expect_equal("stdout", result.stdout, b"> 3\n> ")
    expect_equal("stderr", result.stderr, b"std::bad_alloc\n")


def a_string_outgrowing_memory_in_a_call_fails_the_call(folder):
    # strcat writes its result back to s: the string doubles until it can
    # no longer, then the call fails and s keeps its last length.
    result = run(folder, b'string s = "0123456789abcdef"\n' + b"strlen(strcat(s, s))\n" * 30 + b"strlen(s)\n")
    errors = result.stderr.decode().splitlines()
    expect_equal("some calls failed", len(errors) > 0, True)
    expect_equal("every failure", set(errors), {CALL_FAILED})
    expect_equal("last length kept", result.stdout.split(b"> ")[-2], b"%d\n" % (16 << (30 - len(errors))))
    expect_equal("status", result.returncode, 0)


def a_string_outgrowing_memory_outside_a_call_drops_the_line(folder):
    # The string class's own memory error, shown with the frame's text for it.
    result = run(folder, b'string s = "0123456789abcdef"\n' + b"s = s + s\n" * 30 + b"strlen(s)\n")
    errors = result.stderr.decode().splitlines()
    expect_equal("some lines failed", len(errors) > 0, True)
    expect_equal("every failure", set(errors), {"error"})
    expect_equal("last length kept", result.stdout.split(b"> ")[-2], b"%d\n" % (16 << (30 - len(errors))))
    expect_equal("status", result.returncode, 0)


def a_string_past_two_gigabytes_drops_the_line(folder):
    # No amount of memory makes a string longer than its class can count:
    # the line (or the call) that asks for one fails like one out of memory,
    # and the session keeps its variables. Runs without the limit, on the
    # few gigabytes the doubling takes.
    doubled = b"s = s + s, 0\n" * 10   # 1 MiB doubled to 1 GiB
    lines = (b'string s = "' + b"a" * (1 << 20) + b'"\n' + doubled +
             b"s + s, 0\nstrlen(strcat(s, s))\nstring t = s + s\nt\nstrlen(s)\n")
    result = subprocess.run([folder.program], input=lines, capture_output=True, cwd=folder.path, timeout=240)
    expect_equal("stdout", result.stdout, b"> \n" + b"> 0\n" * 10 + b"> > > > > 1073741824\n> ")
    expect_equal("stderr", result.stderr.decode(),
                 "error\n" + CALL_FAILED + "\nerror\npos:0  未定義の識別子です\n")
    expect_equal("status", result.returncode, 0)


if __name__ == "__main__":
    sys.exit(run_cases([
        a_line_too_long_to_read_is_dropped_and_the_next_runs,
        a_script_line_too_long_to_read_is_dropped_and_the_next_runs,
        an_include_line_too_long_to_read_is_dropped_alone,
        a_string_outgrowing_memory_in_a_call_fails_the_call,
        a_string_outgrowing_memory_outside_a_call_drops_the_line,
        a_string_past_two_gigabytes_drops_the_line,
    ]))
