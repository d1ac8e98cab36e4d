#!/usr/bin/env python3
"""What a terminal session writes, and on which stream.

Usage: streams_session.py NUMORA_BINARY [CASE...]

Standard error redirected at a terminal holds only the design's lines: the
start-up line, the caret line and the line end after "^C" stay on the
terminal or are not written. The start-up line speaks the locale's
language. A terminal shows no empty line for a declaration or a call
without a value. Ctrl-C that cancels a call is told as a cancellation, and
the log file is named only when the failure left a record there; a result
printed after the terminal echoed "^C" starts on a new line.
"""

import fcntl
import os
import pty
import re
import select
import subprocess
import sys
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from terminal_session import CTRL_C, Session, TIMEOUT_SECONDS, main  # noqa: E402

ENGLISH = {"LANG": "en_US.UTF-8"}
DASH = " \u2014 ".encode()
FAILED = "関数の実行に失敗しました".encode()


def environment(home, **extra):
    names = ("XDG_CONFIG_HOME", "XDG_STATE_HOME", "NUMORA_HISTORY", "LC_ALL", "LC_MESSAGES", "LANG")
    env = {k: v for k, v in os.environ.items() if k not in names}
    env.update(TERM="xterm", INPUTRC="/dev/null", HOME=home, NUMORA_HISTORY="", **extra)
    return env


def read_until_end(master, process):
    """Everything written to the terminal until the program ends."""
    received = b""
    deadline = time.time() + TIMEOUT_SECONDS
    while time.time() < deadline:
        if select.select([master], [], [], 0.1)[0]:
            try:
                chunk = os.read(master, 4096)
            except OSError:   # the terminal's last user has gone
                chunk = b""
            received += chunk
            if chunk:
                continue
        if process.poll() is not None:
            return received
    raise AssertionError(f"the run did not end; it showed {received[-300:]!r}")


def read_until(master, wanted):
    """What the terminal shows up to and including wanted."""
    received = b""
    deadline = time.time() + TIMEOUT_SECONDS
    while wanted not in received:
        remaining = deadline - time.time()
        if remaining <= 0:
            raise AssertionError(f"timed out waiting for {wanted!r}; saw {received[-300:]!r}")
        if select.select([master], [], [], remaining)[0]:
            received += os.read(master, 4096)
    return received


def wait_in_read(pid):
    """Until the program sleeps in read(2), waiting for the terminal."""
    deadline = time.time() + TIMEOUT_SECONDS
    while True:
        with open(f"/proc/{pid}/syscall") as f:
            if f.read().split(" ")[0] == "0":
                return
        if time.time() > deadline:
            raise AssertionError("the program never waited for input")
        time.sleep(0.01)


def descendants(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            children = f.read().split()
    except FileNotFoundError:
        return []
    return children + [grandchild for child in children for grandchild in descendants(child)]


def wait_for_command(pid, name):
    """Until a command the program started (through the shell) runs name."""
    deadline = time.time() + TIMEOUT_SECONDS
    while True:
        for process in descendants(pid):
            try:
                with open(f"/proc/{process}/comm") as comm:
                    if comm.read().strip() == name:
                        return
            except FileNotFoundError:
                pass
        if time.time() > deadline:
            raise AssertionError(f"the program never ran {name}")
        time.sleep(0.01)


def a_redirected_standard_error_holds_only_the_design_lines(home):
    # Standard input and output at a terminal that is the controlling one,
    # so Ctrl-C typed there cancels; standard error into a file.
    master, slave = pty.openpty()
    slave_name = os.ttyname(slave)

    def take_terminal():
        os.setsid()
        fd = os.open(slave_name, os.O_RDWR)
        fcntl.ioctl(fd, termios.TIOCSCTTY, 0)
        os.close(fd)

    with open(os.path.join(home, "err.txt"), "wb") as err:
        process = subprocess.Popen([os.path.join(home, "numora")], stdin=slave, stdout=slave, stderr=err,
                                   env=environment(home, **ENGLISH), cwd=home, preexec_fn=take_terminal)
    os.close(slave)
    screen = read_until(master, b"> ")
    os.write(master, b"int a = 3;\r")
    screen += read_until(master, b"> ")
    os.write(master, b"getchar()\r")
    screen += read_until(master, b"getchar()\r\n")
    wait_in_read(process.pid)
    os.write(master, CTRL_C)
    screen += read_until(master, b"> ")
    os.write(master, b"#x\r")
    screen += read_until_end(master, process)
    os.close(master)
    with open(os.path.join(home, "err.txt"), "rb") as f:
        err = f.read()
    assert err == "pos:9  構文エラー\npos:0  ".encode() + FAILED + b"\n", err
    # The line end after the "^C" went to the terminal.
    assert re.search(rb"getchar\(\)\r\n.*\r\n", screen, re.S), screen


def the_start_up_line_speaks_the_locales_language(home):
    s = Session(home)
    s.expect(b"numora ")
    s.expect(": #help でコマンド一覧、#g で文法説明を表示します。#exit または Ctrl-D で終了します。\r\n".encode())
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()
    s = Session(home, env=ENGLISH)
    # Folded, as every English text is, to the terminal's 80 columns.
    s.expect(b": #help lists the commands, #g the grammar; #exit or Ctrl-D ends the\r\n      session.\r\n")
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()


def a_terminal_shows_no_empty_line_for_an_empty_result(home):
    s = Session(home)
    for line in (b"int a = 1", b"srand(3)", b"int twice(int n) n * 2", b"a + 1"):
        s.expect(b"> ")
        s.send(line + b"\r")
    s.expect(b"2\r\n")
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()
    # From each echoed line to the next prompt, no line end but the echo's.
    echoes = re.findall(rb"> ([^\r\n]*)\r\n[^\n]*(?=> )", s.everything)
    assert echoes[:3] == [b"int a = 1", b"srand(3)", b"int twice(int n) n * 2"], s.everything
    # Lines piped to a terminal: no empty line either.
    master, slave = pty.openpty()
    process = subprocess.Popen([os.path.join(home, "numora")], stdin=subprocess.PIPE, stdout=slave, stderr=slave,
                               env=environment(home), cwd=home)
    os.close(slave)
    process.stdin.write(b"int b = 1\nb + 1\n")
    process.stdin.close()
    screen = read_until_end(master, process)
    os.close(master)
    assert screen == b"> > 2\r\n> ", screen


def ctrl_c_is_told_as_cancelling_the_call(home):
    s = Session(home, env=ENGLISH)
    s.expect(b"> ")
    s.send(b"getchar()\r")
    s.expect(b"getchar()\r\n")
    s.wait_in_call(0)
    s.send(CTRL_C)
    s.expect(b"pos:0  " + FAILED + DASH + b"Ctrl-C cancelled the call\r\n")
    s.expect(b"> ")
    assert not os.path.exists(os.path.join(home, "numora0.log")), "Ctrl-C left a log record"
    # A failure without a record names no log file.
    s.send(b'printf("%5000d", 1)\r')
    s.expect(b"pos:0  " + FAILED + DASH + b"the function failed\r\n")
    s.expect(b"> ")
    assert not os.path.exists(os.path.join(home, "numora0.log")), "printf left a log record"
    # One that left a record names it.
    s.send(b'string d = ""\r')
    s.expect(b"> ")
    s.send(b"getcwd(d, 1)\r")
    # Folded where the terminal's 80 columns end.
    s.expect(b"pos:0  " + FAILED + DASH + b"the function failed; the log file numora0.log\r\n"
             b"      beside the program says why\r\n")
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()
    with open(os.path.join(home, "numora0.log")) as f:
        assert "getcwd : error(" in f.read()


def a_failure_whose_record_was_dropped_names_no_log_file(home):
    # Folders that are not empty, in place of every generation, can be
    # neither written nor moved: the record is dropped.
    for generation in range(10):
        path = os.path.join(home, f"numora{generation}.log")
        os.mkdir(path)
        with open(os.path.join(path, "keep"), "wb"):
            pass
    s = Session(home, env=ENGLISH)
    s.expect(b"> ")
    s.send(b'string d = ""\r')
    s.expect(b"> ")
    s.send(b"getcwd(d, 1)\r")
    s.expect(b"pos:0  " + FAILED + DASH + b"the function failed\r\n")
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()


def a_result_after_the_terminal_echoed_ctrl_c_starts_on_a_new_line(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b'system("sleep 30")\r')
    s.expect(b'system("sleep 30")\r\n')
    wait_for_command(s.pid, "sleep")
    s.send(CTRL_C)
    s.expect(b"^C\r\n130\r\n")
    s.expect(b"> ")
    s.send(b"#x\r")
    assert s.finish() == 130


CASES = [
    a_redirected_standard_error_holds_only_the_design_lines,
    the_start_up_line_speaks_the_locales_language,
    a_terminal_shows_no_empty_line_for_an_empty_result,
    ctrl_c_is_told_as_cancelling_the_call,
    a_failure_whose_record_was_dropped_names_no_log_file,
    a_result_after_the_terminal_echoed_ctrl_c_starts_on_a_new_line,
]


if __name__ == "__main__":
    sys.exit(main(CASES, "streams", __doc__))
