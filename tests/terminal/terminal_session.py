#!/usr/bin/env python3
"""Drives numora through a pseudo-terminal, as a person at a terminal would.

Usage: terminal_session.py NUMORA_BINARY

Checks what only a real terminal shows: line editing (history recall,
completion, Ctrl-C and Ctrl-D at the prompt) and the colours of "/e", and
that "/e" writes no escape sequences when the output is not a terminal.
"""

import os
import pty
import select
import signal
import subprocess
import sys
import time

TIMEOUT_SECONDS = 10


class Session:
    """numora with its standard input, output and error on one terminal."""

    def __init__(self, binary, *args, stdout_pipe=False):
        self.master, slave = pty.openpty()
        env = dict(os.environ, TERM="xterm", INPUTRC="/dev/null")
        self.process = subprocess.Popen(
            [binary, *args], stdin=slave, stderr=slave,
            stdout=subprocess.PIPE if stdout_pipe else slave,
            env=env, start_new_session=True, cwd=os.path.dirname(binary))
        os.close(slave)
        self.seen = b""
        self.everything = b""

    def send(self, data):
        os.write(self.master, data)

    def expect(self, wanted):
        """Waits until wanted has appeared after what was expected before."""
        deadline = time.time() + TIMEOUT_SECONDS
        while wanted not in self.seen:
            remaining = deadline - time.time()
            if remaining <= 0:
                raise AssertionError(f"timed out waiting for {wanted!r}; saw {self.seen!r}")
            ready, _, _ = select.select([self.master], [], [], remaining)
            if ready:
                try:
                    chunk = os.read(self.master, 4096)
                    self.seen += chunk
                    self.everything += chunk
                except OSError:
                    break
        if wanted not in self.seen:
            raise AssertionError(f"output ended before {wanted!r}; saw {self.seen!r}")
        self.seen = self.seen[self.seen.index(wanted) + len(wanted):]

    def finish(self):
        """Waits for the end of the run and returns its exit status."""
        try:
            status = self.process.wait(timeout=TIMEOUT_SECONDS)
        finally:
            if self.process.poll() is None:
                self.process.kill()
            os.close(self.master)
        return status


def typing_a_line_shows_its_result(binary):
    s = Session(binary)
    s.expect(b"> ")
    s.send(b"#g\r")
    s.expect("【識別子】".encode())
    s.expect(b"> ")
    s.send(b"6 * 7\r")
    s.expect(b"42\r\n")
    s.expect(b"> ")
    s.send(b"#exit\r")
    assert s.finish() == 42


def up_arrow_recalls_the_previous_line(binary):
    s = Session(binary)
    s.expect(b"> ")
    s.send(b"#nothing\r")
    s.expect("コマンド '#nothing' が間違っています".encode())
    s.expect(b"> ")
    s.send(b"\x1b[A\r")
    s.expect("コマンド '#nothing' が間違っています".encode())
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0


def tab_completes_commands_functions_and_variables(binary):
    s = Session(binary)
    s.expect(b"> ")
    s.send(b"#fo\t\r")
    s.expect("コマンド '#form' は現在使用できません".encode())
    s.expect(b"> ")
    s.send(b"int counter = 4\r")
    s.expect(b"> ")
    s.send(b"coun\t+ 1\r")
    s.expect(b"5\r\n")
    s.expect(b"> ")
    s.send(b"strl\t(\"abc\")\r")
    s.expect(b"3\r\n")
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0


def ctrl_c_abandons_the_line_and_ctrl_d_ends_the_run(binary):
    s = Session(binary)
    s.expect(b"> ")
    s.send(b"#half typed")
    s.expect(b"typed")
    s.process.send_signal(signal.SIGINT)
    s.expect(b"> ")
    s.send(b"#lv\r")
    s.expect(b"> ")
    assert s.process.poll() is None, "Ctrl-C ended the run"
    s.send(b"\x04")
    assert s.finish() == 0
    assert "間違っています".encode() not in s.everything, "the abandoned line ran"


def e_colours_the_prompt_and_the_result(binary):
    s = Session(binary, "/e")
    s.expect(b"\x1b[32m> \x1b[39m")
    s.send(b"1 + 1\r")
    s.expect(b"\x1b[33m2\r\n\x1b[39m")
    s.send(b"#x\r")
    assert s.finish() == 2


def e_colours_the_usage_text_at_a_terminal(binary):
    s = Session(binary, "/e", "/?")
    s.expect(b"\x1b[32m" + "式計算コマンド\r\n".encode() + b"\x1b[39m")
    s.expect(b"\x1b[32m" + "  /e /e0 /e1  エスケープシーケンス使用切り替え".encode() + b"\x1b[39m")
    assert s.finish() == 0


def e_writes_no_escapes_when_output_is_piped(binary):
    s = Session(binary, "/e", stdout_pipe=True)
    s.send(b"#oct\r7\r#h\r#x\r")
    out, _ = s.process.communicate(timeout=TIMEOUT_SECONDS)
    s.finish()
    assert b"\x1b" not in out, out
    assert out.startswith(b"> > 000000000007\n> #h #help"), out


CASES = [
    typing_a_line_shows_its_result,
    up_arrow_recalls_the_previous_line,
    tab_completes_commands_functions_and_variables,
    ctrl_c_abandons_the_line_and_ctrl_d_ends_the_run,
    e_colours_the_prompt_and_the_result,
    e_colours_the_usage_text_at_a_terminal,
    e_writes_no_escapes_when_output_is_piped,
]


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    failed = 0
    for case in CASES:
        try:
            case(binary)
        except AssertionError as problem:
            failed += 1
            print(f"FAIL {case.__name__}: {problem}")
    print(f"terminal: {len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
