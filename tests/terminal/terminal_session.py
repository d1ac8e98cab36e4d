#!/usr/bin/env python3
"""Drives numora through a pseudo-terminal, as a person at a terminal would.

Usage: terminal_session.py NUMORA_BINARY

Checks what only a real terminal shows: line editing (history recall and
history kept across runs, completion, Ctrl-C and Ctrl-D at the prompt), the
hint before the first prompt, the caret line under diagnostics, Ctrl-C
cancelling a built-in that waits for input or a line that is still working,
the colours of "/e", and that "/e" writes no escape sequences when the
output is not a terminal.

Every case runs in a fresh directory that is the program's home (its files
under ~/.config and ~/.local/state are the case's own) and holds a link to
the binary, so the log files land there too.
"""

import fcntl
import os
import pty
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import termios
import time

TIMEOUT_SECONDS = 10
CTRL_C = b"\x03"
UP = b"\x1b[A"


class Session:
    """numora with its standard input, output and error on one terminal,
    which is also its controlling terminal (Ctrl-C typed there is SIGINT)."""

    def __init__(self, home, *args, stdout_pipe=False, env=None):
        self.master, slave = pty.openpty()
        slave_name = os.ttyname(slave)

        def take_terminal():
            os.setsid()
            fd = os.open(slave_name, os.O_RDWR)
            fcntl.ioctl(fd, termios.TIOCSCTTY, 0)
            os.close(fd)

        # The design's texts alone, as a Japanese locale keeps them; the
        # English added at a terminal has tests of its own.
        environment = {k: v for k, v in os.environ.items()
                       if k not in ("XDG_CONFIG_HOME", "XDG_STATE_HOME", "NUMORA_HISTORY",
                                    "LC_ALL", "LC_MESSAGES", "LANG")}
        environment.update(TERM="xterm", INPUTRC="/dev/null", HOME=home, LANG="ja_JP.UTF-8")
        environment.update(env or {})
        self.process = subprocess.Popen(
            [os.path.join(home, "numora"), *args], stdin=slave, stderr=slave,
            stdout=subprocess.PIPE if stdout_pipe else slave,
            env=environment, preexec_fn=take_terminal, cwd=home)
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
                raise AssertionError(f"timed out waiting for {wanted!r}; saw {self.seen[-400:]!r}")
            ready, _, _ = select.select([self.master], [], [], remaining)
            if ready:
                try:
                    chunk = os.read(self.master, 4096)
                    self.seen += chunk
                    self.everything += chunk
                except OSError:
                    break
        if wanted not in self.seen:
            raise AssertionError(f"output ended before {wanted!r}; saw {self.seen[-400:]!r}")
        self.seen = self.seen[self.seen.index(wanted) + len(wanted):]

    def wait_in_call(self, number):
        """Waits until the program sleeps in the system call of that number
        (0 read, 1 write): a built-in waiting for input or for the terminal
        to take its output."""
        path = f"/proc/{self.process.pid}/syscall"
        deadline = time.time() + TIMEOUT_SECONDS
        while True:
            with open(path) as f:
                if f.read().split(" ")[0] == str(number):
                    return
            if time.time() > deadline:
                raise AssertionError(f"the program never waited in system call {number}")
            time.sleep(0.01)

    def finish(self):
        """Waits for the end of the run and returns its exit status."""
        try:
            status = self.process.wait(timeout=TIMEOUT_SECONDS)
        finally:
            if self.process.poll() is None:
                self.process.kill()
            os.close(self.master)
        return status


def typing_a_line_shows_its_result(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"#g\r")
    s.expect("【識別子】".encode())
    s.expect(b"> ")
    s.send(b"6 * 7\r")
    s.expect(b"42\r\n")
    s.expect(b"> ")
    s.send(b"#exit\r")
    assert s.finish() == 42


def a_hint_comes_before_the_first_prompt_unless_silent(home):
    s = Session(home)
    s.expect(b"#help lists the commands, #g the grammar; #exit or Ctrl-D ends the session.\r\n")
    s.expect(b"> ")
    assert s.everything.startswith(b"numora "), s.everything
    s.send(b"\x04")
    assert s.finish() == 0
    s = Session(home, "/s")
    s.send(b"6 * 7\r#x\r")
    assert s.finish() == 42
    assert b"#help" not in s.everything, s.everything


def a_caret_line_marks_each_diagnostic_under_the_typed_line(home):
    s = Session(home)
    s.expect(b"> ")
    # Two diagnostics after a two-character string of wide characters:
    # six bytes, four columns.
    s.send('string s = "日本", a[0], , c\r'.encode())
    s.expect(b"\r" + b" " * 22 + b"^    ^\r\n" + "pos:22  配列のサイズが０以下です\r\n".encode())
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()
    s = Session(home, "/p0")
    s.send(b"1 / 0\r")
    s.expect(b"\r  ^\r\n" + "pos:2  ０で除算しました".encode())
    s.send(b"#x\r")
    s.finish()


def up_arrow_recalls_the_previous_line(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"#nothing\r")
    s.expect("コマンド '#nothing' が間違っています".encode())
    s.expect(b"> ")
    s.send(UP + b"\r")
    s.expect("コマンド '#nothing' が間違っています".encode())
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0


def history_is_kept_across_runs(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"6 * 7\r#x\r")
    assert s.finish() == 42
    with open(os.path.join(home, ".local/state/numora/history")) as f:
        assert f.read().splitlines() == ["6 * 7", "#x"]
    s = Session(home)
    s.expect(b"> ")
    s.send(UP + UP + b"\r")
    s.expect(b"42\r\n")
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0


def numora_history_names_the_file_and_only_the_last_thousand_lines_are_kept(home):
    chosen = os.path.join(home, "calc-history")
    with open(chosen, "w") as f:
        f.write("".join(f"{n}\n" for n in range(1, 1006)))
    s = Session(home, env={"NUMORA_HISTORY": chosen})
    s.expect(b"> ")
    s.send(UP + b"\r")
    s.expect(b"1005\r\n")
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0
    with open(chosen) as f:
        lines = f.read().splitlines()
    assert len(lines) == 1000 and lines[0] == "7" and lines[-1] == "1005", (len(lines), lines[:2], lines[-2:])
    s = Session(home, env={"NUMORA_HISTORY": ""})
    s.expect(b"> ")
    s.send(b"1\r")
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0
    assert not os.path.exists(os.path.join(home, ".local/state/numora")), "an empty NUMORA_HISTORY wrote a file"


def tab_completes_commands_functions_and_variables(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"#fo\t\r")
    s.expect("コマンド '#form' は現在使用できません".encode())
    s.expect(b"> ")
    s.send(b"int counter = 4\r")
    s.expect(b"> ")
    s.send(b"coun\t+ 1\r")
    s.expect(b"5\r\n")
    s.expect(b"> ")
    # A function name is completed with its "(".
    s.send(b"strl\t\"abc\")\r")
    s.expect(b"3\r\n")
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0


def ctrl_c_abandons_the_line_and_ctrl_d_ends_the_run(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"#half typed")
    s.expect(b"typed")
    s.send(CTRL_C)
    s.expect(b"> ")
    s.send(b"#lv\r")
    s.expect(b"> ")
    assert s.process.poll() is None, "Ctrl-C ended the run"
    s.send(b"\x04")
    assert s.finish() == 0
    assert "間違っています".encode() not in s.everything, "the abandoned line ran"


def ctrl_c_cancels_a_built_in_waiting_for_input(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b'string s = "kept"\r')
    s.expect(b"> ")
    failed = "関数の実行に失敗しました\r\n".encode()
    for line, position in ((b"gets(s)", 0), (b"1 + getchar()", 4), (b"getch()", 0), (b"cgets(s)", 0)):
        s.send(line + b"\r")
        s.expect(line + b"\r\n")
        s.wait_in_call(0)
        s.send(CTRL_C)
        s.expect(b"pos:%d  " % position + failed)
        s.expect(b"> ")
    s.send(b"s\r")
    s.expect(b'"kept"\r\n')
    s.send(b"6 * 7\r#x\r")
    assert s.finish() == 42
    assert not os.path.exists(os.path.join(home, "numora0.log")), "Ctrl-C was logged as a failure"


def ctrl_c_abandons_a_line_that_is_still_working(home):
    s = Session(home)
    s.expect(b"> ")
    # 163,840 bytes for puts: more than the terminal takes without reading.
    s.send(b'string s = "0123456789"\r')
    s.send(b"strlen((" + b", ".join([b"s = strcat(s, s)"] * 14) + b"))\r")
    s.expect(b"163840\r\n")
    s.expect(b"> ")
    s.send(b"puts(s)\r")
    s.wait_in_call(1)
    s.send(CTRL_C)
    s.expect(b"789\r\n\r\n  ^\r\n" + "pos:0  関数の実行に失敗しました\r\n".encode())
    s.expect(b"> ")
    s.send(b"strlen(s)\r")
    s.expect(b"163840\r\n")
    s.send(b"#x\r")
    assert s.finish() == 0


def e_colours_the_prompt_and_the_result(home):
    s = Session(home, "/e")
    s.expect(b"\x1b[32m> \x1b[39m")
    s.send(b"1 + 1\r")
    s.expect(b"\x1b[33m2\r\n\x1b[39m")
    s.send(b"#x\r")
    assert s.finish() == 2


def e_colours_the_usage_text_at_a_terminal(home):
    s = Session(home, "/e", "/?")
    s.expect(b"\x1b[32m" + "式計算コマンド\r\n".encode() + b"\x1b[39m")
    s.expect(b"\x1b[32m" + "  /e /e0 /e1  エスケープシーケンス使用切り替え".encode() + b"\x1b[39m")
    assert s.finish() == 0


def e_writes_no_escapes_when_output_is_piped(home):
    s = Session(home, "/e", stdout_pipe=True)
    s.send(b"#oct\r7\r#h\r#x\r")
    out, _ = s.process.communicate(timeout=TIMEOUT_SECONDS)
    s.finish()
    assert b"\x1b" not in out, out
    assert out.startswith(b"> > 000000000007\n> #h #help"), out


CASES = [
    typing_a_line_shows_its_result,
    a_hint_comes_before_the_first_prompt_unless_silent,
    a_caret_line_marks_each_diagnostic_under_the_typed_line,
    up_arrow_recalls_the_previous_line,
    history_is_kept_across_runs,
    numora_history_names_the_file_and_only_the_last_thousand_lines_are_kept,
    tab_completes_commands_functions_and_variables,
    ctrl_c_abandons_the_line_and_ctrl_d_ends_the_run,
    ctrl_c_cancels_a_built_in_waiting_for_input,
    ctrl_c_abandons_a_line_that_is_still_working,
    e_colours_the_prompt_and_the_result,
    e_colours_the_usage_text_at_a_terminal,
    e_writes_no_escapes_when_output_is_piped,
]


def run_case(binary, case):
    with tempfile.TemporaryDirectory(prefix="numora-terminal-") as home:
        program = os.path.join(home, "numora")
        try:
            os.link(binary, program)
        except OSError:
            shutil.copy2(binary, program)
        case(home)


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    failed = 0
    for case in CASES:
        try:
            run_case(binary, case)
        except AssertionError as problem:
            failed += 1
            print(f"FAIL {case.__name__}: {problem}")
    print(f"terminal: {len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
