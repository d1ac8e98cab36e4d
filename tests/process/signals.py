#!/usr/bin/env python3
"""How numora ends on SIGTERM, SIGHUP and SIGQUIT, and that a log write past
the file size limit does not end it.

Usage: signals.py NUMORA_BINARY [--terminal]

A termination signal ends the run with status 128 + its number, after the
results already computed are written and the terminal's modes restored.
--terminal adds the case at a terminal with line editing (readline builds).
"""

import fcntl
import os
import pty
import resource
import signal
import subprocess
import sys
import termios
import time

from harness import DEADLINE_SECONDS, expect_equal, read_until, run_cases, wait_until


def state(process):
    with open(f"/proc/{process.pid}/stat") as f:
        return f.read().rsplit(")", 1)[1].split()[0]


def bytes_in_pipe(fd):
    return int.from_bytes(fcntl.ioctl(fd, termios.FIONREAD, b"\0\0\0\0"), sys.byteorder)


def start(folder, stdout, **options):
    return subprocess.Popen([folder.program], stdin=subprocess.PIPE, stdout=stdout, cwd=folder.path, **options)


def end_with(process, number):
    process.send_signal(number)
    status = process.wait(timeout=DEADLINE_SECONDS)
    expect_equal("status", status, 128 + number)


def a_signal_while_waiting_for_input_keeps_the_results(folder, number):
    with open(folder.file("out"), "wb") as out:
        process = start(folder, out)
    process.stdin.write(b"1 + 1\n2 + 2\n")
    process.stdin.flush()
    wait_until(lambda: folder.read("out") == b"> 2\n> 4\n> ", "the results")
    end_with(process, number)
    expect_equal("results", folder.read("out"), b"> 2\n> 4\n> ")


def sigterm_while_waiting_for_input_keeps_the_results(folder):
    a_signal_while_waiting_for_input_keeps_the_results(folder, signal.SIGTERM)


def sighup_while_waiting_for_input_keeps_the_results(folder):
    a_signal_while_waiting_for_input_keeps_the_results(folder, signal.SIGHUP)


def sigquit_while_waiting_for_input_keeps_the_results(folder):
    a_signal_while_waiting_for_input_keeps_the_results(folder, signal.SIGQUIT)


def a_signal_while_a_line_is_half_read_writes_the_results_out(folder):
    # The rest of a line is awaited: the results stay buffered meanwhile, as
    # input is already there.
    with open(folder.file("out"), "wb") as out:
        process = start(folder, out)
    process.stdin.write(b"1 + 1\n" + b"2" * 10000)
    process.stdin.flush()
    wait_until(lambda: bytes_in_pipe(process.stdin.fileno()) == 0 and state(process) == "S",
               "the program to wait for the rest of the line")
    end_with(process, signal.SIGTERM)
    expect_equal("results", folder.read("out"), b"> 2\n> ")


def a_signal_while_a_line_is_at_work_ends_the_run_after_it(folder, script=False):
    # Nobody reads the output for a while: the program blocks writing a
    # result, with results in its buffer, when the signal comes.
    # The input fits in a pipe; the output, without prompts too, does not.
    lines = 40000 if script else 20000
    read_end, write_end = os.pipe()
    if script:
        folder.write("calc.num", b"10\n" * lines)
        process = subprocess.Popen([folder.program, "calc.num"], stdin=subprocess.DEVNULL, stdout=write_end,
                                   cwd=folder.path)
    else:
        process = start(folder, write_end)
        process.stdin.write(b"10\n" * lines)
        process.stdin.flush()
    os.close(write_end)

    # All input is there by now, so a program that sleeps while its output
    # stops growing is blocked writing. (A full pipe need not hold 65536
    # bytes: a short flush leaves a page part-filled.)
    def output_stalled():
        before = bytes_in_pipe(read_end)
        time.sleep(0.1)
        return before == bytes_in_pipe(read_end) > 0 and state(process) == "S"
    wait_until(output_stalled, "the output pipe to fill")
    process.send_signal(signal.SIGTERM)
    output = b""
    while chunk := os.read(read_end, 65536):
        output += chunk
    os.close(read_end)
    expect_equal("status", process.wait(timeout=DEADLINE_SECONDS), 128 + signal.SIGTERM)
    prompt = b"" if script else b"> "
    results = (len(output) - len(prompt)) // len(prompt + b"10\n")
    expect_equal("whole results, then the prompt", output, (prompt + b"10\n") * results + prompt)
    expect_equal("ended early", results < lines, True)


def a_signal_while_a_script_line_is_at_work_ends_the_run_after_it(folder):
    a_signal_while_a_line_is_at_work_ends_the_run_after_it(folder, script=True)


def an_ignored_hangup_stays_ignored(folder):
    process = start(folder, subprocess.PIPE,
                    preexec_fn=lambda: signal.signal(signal.SIGHUP, signal.SIG_IGN))
    process.stdin.write(b"1 + 1\n")
    process.stdin.flush()
    read_until(process.stdout.fileno(), lambda out: out == b"> 2\n> ")
    process.send_signal(signal.SIGHUP)
    out, _ = process.communicate(b"2 + 2\n", timeout=DEADLINE_SECONDS)
    expect_equal("later result", out, b"4\n> ")
    expect_equal("status", process.returncode, 0)


def a_log_record_past_the_file_size_limit_is_dropped(folder):
    result = subprocess.run(
        [folder.program], input=b"string s\ngetcwd(s, 0)\n1 + 1\n", capture_output=True,
        cwd=folder.path, timeout=DEADLINE_SECONDS,
        preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (0, 0)))
    expect_equal("stdout", result.stdout, b"> \n> > 2\n> ")
    expect_equal("stderr", result.stderr, "pos:0  関数の実行で例外が発生しました\n".encode())
    expect_equal("status", result.returncode, 0)
    expect_equal("log", folder.read("numora0.log"), b"")


def a_signal_at_the_terminal_restores_its_modes(folder):
    master, slave = pty.openpty()
    before = termios.tcgetattr(slave)
    process = subprocess.Popen([folder.program], stdin=slave, stdout=slave, stderr=slave, cwd=folder.path,
                               env=dict(os.environ, TERM="xterm", INPUTRC="/dev/null"),
                               start_new_session=True)
    try:
        read_until(master, lambda out: out.endswith(b"> "))
        wait_until(lambda: termios.tcgetattr(slave)[3] & termios.ECHO == 0, "line editing to take over")
        end_with(process, signal.SIGTERM)
        expect_equal("terminal modes", termios.tcgetattr(slave), before)
        expect_equal("bracketed paste switched off", os.read(master, 4096).endswith(b"\x1b[?2004l"), True)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
        os.close(master)
        os.close(slave)


if __name__ == "__main__":
    cases = [
        sigterm_while_waiting_for_input_keeps_the_results,
        sighup_while_waiting_for_input_keeps_the_results,
        sigquit_while_waiting_for_input_keeps_the_results,
        a_signal_while_a_line_is_half_read_writes_the_results_out,
        a_signal_while_a_line_is_at_work_ends_the_run_after_it,
        a_signal_while_a_script_line_is_at_work_ends_the_run_after_it,
        an_ignored_hangup_stays_ignored,
        a_log_record_past_the_file_size_limit_is_dropped,
    ]
    if "--terminal" in sys.argv[2:]:
        cases.append(a_signal_at_the_terminal_restores_its_modes)
    sys.exit(run_cases(cases))
