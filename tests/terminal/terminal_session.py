#!/usr/bin/env python3
"""Drives numora through a pseudo-terminal, as a person at a terminal would.

Usage: terminal_session.py NUMORA_BINARY [CASE...]

Checks what only a real terminal shows: line editing (history recall and
history kept across runs, completion, Ctrl-C and Ctrl-D at the prompt, key
sequences that once crashed the prompt), pasted lines, Ctrl-Z and a fault
giving the terminal back, the hint before the first prompt, the caret line
under diagnostics, Ctrl-C cancelling a built-in that waits for input or a
line that is still working, input typed for a built-in staying with its
line, the colours of "/e", and that "/e" writes no escape sequences when the
output is not a terminal.

Every case runs in a fresh directory that is the program's home (its files
under ~/.config and ~/.local/state are the case's own) and holds a link to
the binary, so the log files land there too.
"""

import fcntl
import os
import re
import pty
import select
import shutil
import signal
import stat
import struct
import subprocess
import sys
import tempfile
import termios
import time

TIMEOUT_SECONDS = 10
CTRL_C = b"\x03"
CTRL_D = b"\x04"
CTRL_Z = b"\x1a"
ESC = b"\x1b"
# The system calls a waiting program sleeps in (x86-64): a built-in's read,
# a write the terminal has not taken, the line editor's wait for a key.
READ_CALL, WRITE_CALL, KEY_WAIT_CALL = 0, 1, 271
UP = b"\x1b[A"
DOWN = b"\x1b[B"
PASTE_START = b"\x1b[200~"
PASTE_END = b"\x1b[201~"
BRACKETED_PASTE_OFF = b"\x1b[?2004l"

# A shell's part in job control: numora runs in a process group of its own,
# in the terminal's foreground, with this process, its parent, in the
# session's other group, so Ctrl-Z can stop it and SIGCONT continue it. As a
# shell does, it takes the terminal back when numora stops, and gives it back
# on "fg"; "bg" continues numora in the background. The commands come on the
# descriptor named first; the signal of each stop goes to numora.stops, and
# numora's wait status to numora.status.
SHELL = r"""
import os, select, signal, sys
commands = int(sys.argv[1])
shells_own = (signal.SIGTTOU, signal.SIGINT, signal.SIGQUIT, signal.SIGTSTP)
for number in shells_own:
    signal.signal(number, signal.SIG_IGN)
ready_read, ready_write = os.pipe()
pid = os.fork()
if pid == 0:
    for number in shells_own:
        signal.signal(number, signal.SIG_DFL)
    os.setpgid(0, 0)
    os.close(ready_write)
    os.read(ready_read, 1)
    os.execv(sys.argv[2], sys.argv[2:])
os.setpgid(pid, pid)
os.tcsetpgrp(0, pid)
with open("numora.pid", "w") as f:
    f.write(str(pid))
os.write(ready_write, b"x")
while True:
    done, status = os.waitpid(pid, os.WUNTRACED | os.WNOHANG)
    if done and os.WIFSTOPPED(status):
        os.tcsetpgrp(0, os.getpgrp())
        with open("numora.stops", "a") as f:
            f.write(signal.Signals(os.WSTOPSIG(status)).name + "\n")
    elif done:
        with open("numora.status", "w") as f:
            f.write(str(status))
        sys.exit(os.waitstatus_to_exitcode(status) & 0xFF)
    if select.select([commands], [], [], 0.01)[0]:
        command = os.read(commands, 1)
        if command == b"f":
            os.tcsetpgrp(0, pid)
        if command in (b"f", b"b"):
            os.killpg(pid, signal.SIGCONT)
"""


class Session:
    """numora with its standard input, output and error on one terminal,
    which is also its controlling terminal (Ctrl-C typed there is SIGINT)."""

    def __init__(self, home, *args, stdout_pipe=False, env=None, job_control=False):
        self.master, slave = pty.openpty()
        slave_name = self.slave_name = os.ttyname(slave)

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
        program = [os.path.join(home, "numora"), *args]
        passed = ()
        self.shell_commands = None
        if job_control:
            for left in ("numora.pid", "numora.stops", "numora.status"):
                if os.path.exists(os.path.join(home, left)):
                    os.remove(os.path.join(home, left))
            commands, self.shell_commands = os.pipe()
            program = [sys.executable, "-c", SHELL, str(commands), *program]
            passed = (commands,)
        self.process = subprocess.Popen(
            program, stdin=slave, stderr=slave,
            stdout=subprocess.PIPE if stdout_pipe else slave,
            env=environment, preexec_fn=take_terminal, cwd=home, pass_fds=passed)
        os.close(slave)
        if job_control:
            os.close(commands)
        self.seen = b""
        self.everything = b""
        self.home = home
        self.pid = self.process.pid
        if job_control:
            pid_file = os.path.join(home, "numora.pid")
            deadline = time.time() + TIMEOUT_SECONDS
            while not os.path.exists(pid_file) or os.path.getsize(pid_file) == 0:
                if time.time() > deadline:
                    raise AssertionError("the program was never started")
                time.sleep(0.01)
            with open(pid_file) as f:
                self.pid = int(f.read())

    def send(self, data):
        os.write(self.master, data)

    def stops(self):
        """The signals that stopped numora so far, oldest first."""
        try:
            with open(os.path.join(self.home, "numora.stops")) as f:
                return f.read().split()
        except FileNotFoundError:
            return []

    def wait_for_stops(self, count):
        """Waits until numora has been stopped count times; the signals."""
        deadline = time.time() + TIMEOUT_SECONDS
        while len(self.stops()) < count:
            if time.time() > deadline:
                raise AssertionError(f"numora stopped {self.stops()}, not {count} times")
            time.sleep(0.01)
        return self.stops()

    def fg(self):
        """The shell's fg: numora gets the terminal and goes on."""
        os.write(self.shell_commands, b"f")

    def bg(self):
        """The shell's bg: numora goes on in the background."""
        os.write(self.shell_commands, b"b")

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
        path = f"/proc/{self.pid}/syscall"
        deadline = time.time() + TIMEOUT_SECONDS
        while True:
            with open(path) as f:
                if f.read().split(" ")[0] == str(number):
                    return
            if time.time() > deadline:
                raise AssertionError(f"the program never waited in system call {number}")
            time.sleep(0.01)

    def unread(self):
        """How many typed bytes the terminal holds that nobody read yet."""
        fd = os.open(self.slave_name, os.O_RDWR | os.O_NOCTTY)
        try:
            return struct.unpack("i", fcntl.ioctl(fd, termios.FIONREAD, b"\0" * 4))[0]
        finally:
            os.close(fd)

    def wait_for_key_wait(self):
        """Waits until the line editor has taken every key sent and waits
        for the next one."""
        deadline = time.time() + TIMEOUT_SECONDS
        while True:
            with open(f"/proc/{self.pid}/syscall") as f:
                waiting = f.read().split(" ")[0] == str(KEY_WAIT_CALL)
            if waiting and self.unread() == 0:
                return
            if time.time() > deadline:
                raise AssertionError("the program never waited for a key with all keys taken")
            time.sleep(0.01)

    def send_all(self, data, piece=512):
        """Sends data a piece at a time, as a terminal passes on a paste;
        a program that stops taking it fails the case instead of hanging."""
        deadline = time.time() + TIMEOUT_SECONDS
        os.set_blocking(self.master, False)
        try:
            while data:
                if time.time() > deadline:
                    raise AssertionError(f"the program stopped taking input with {len(data)} bytes left")
                _, writable, _ = select.select([], [self.master], [], 0.05)
                if writable:
                    try:
                        data = data[os.write(self.master, data[:piece]):]
                    except BlockingIOError:
                        pass
                self.take_output()
        finally:
            os.set_blocking(self.master, True)

    def take_output(self):
        """Reads what the program wrote meanwhile, without waiting."""
        while select.select([self.master], [], [], 0)[0]:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            self.seen += chunk
            self.everything += chunk

    def state(self):
        """The program's scheduling state: "S" asleep, "T" stopped, ..."""
        with open(f"/proc/{self.pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0]

    def wait_for_state(self, wanted):
        deadline = time.time() + TIMEOUT_SECONDS
        while self.state() != wanted:
            if time.time() > deadline:
                raise AssertionError(f"the program never reached state {wanted}; it is {self.state()}")
            time.sleep(0.01)

    def modes(self):
        """The terminal's modes as the program left them."""
        return termios.tcgetattr(self.master)

    def assert_modes_given_back(self):
        iflag, _, _, lflag = self.modes()[:4]
        assert lflag & termios.ECHO and lflag & termios.ICANON, "echo or canonical mode left off"
        assert iflag & termios.ICRNL, "ICRNL left off"

    def finish(self):
        """Waits for the end of the run and returns its exit status."""
        try:
            status = self.process.wait(timeout=TIMEOUT_SECONDS)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the run did not end; it showed {self.everything[-300:]!r}") from None
        finally:
            if self.process.poll() is None:
                self.process.kill()
            os.close(self.master)
            if self.shell_commands is not None:
                os.close(self.shell_commands)
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
    s.expect("#help でコマンド一覧、#g で文法説明を表示します。#exit または Ctrl-D で終了します。\r\n".encode())
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


def a_key_sequence_of_search_and_prefix_keys_keeps_the_prompt(home):
    # Ctrl-R, Ctrl-X, x: reverse search, then a prefix key that ends it.
    s = Session(home)
    s.expect(b"> ")
    for key in (b"\x12", b"\x18", b"x"):
        s.send(key)
        time.sleep(0.1)
    s.send(CTRL_C)
    s.expect(b"> ")
    s.send(b"6 * 7\r")
    s.expect(b"42\r\n")
    s.send(b"#x\r")
    assert s.finish() == 42


def ctrl_z_gives_the_terminal_back_until_the_program_goes_on(home):
    s = Session(home, job_control=True)
    s.expect(b"> ")
    s.send(b"6 * 7")
    s.expect(b"6 * 7")
    s.send(CTRL_Z)
    s.wait_for_state("T")
    s.assert_modes_given_back()
    s.expect(BRACKETED_PASTE_OFF)
    s.fg()
    # The prompt and the line typed so far are drawn again.
    s.expect(b"> 6 * 7")
    # SIGSTOP, then a shell that sets the terminal's modes its own way.
    os.kill(s.pid, signal.SIGSTOP)
    s.wait_for_state("T")
    sane = s.modes()
    sane[3] |= termios.ECHO | termios.ICANON
    termios.tcsetattr(s.master, termios.TCSANOW, sane)
    s.fg()
    s.expect(b"> 6 * 7")
    assert not s.modes()[3] & termios.ECHO, "line editing's modes were not set again"
    s.send(b"\r")
    s.expect(b"42\r\n")
    s.send(b"#x\r")
    assert s.finish() == 42


def a_fault_at_the_prompt_gives_the_terminal_back(home):
    for number, status in ((signal.SIGSEGV, 255), (signal.SIGBUS, 255), (signal.SIGABRT, -signal.SIGABRT)):
        s = Session(home)
        s.expect(b"> ")
        deadline = time.time() + TIMEOUT_SECONDS
        while s.modes()[3] & termios.ECHO:
            assert time.time() < deadline, "line editing never took over"
            time.sleep(0.01)
        os.kill(s.pid, number)
        if status == 255:
            s.expect(BRACKETED_PASTE_OFF)
            s.expect("例外(".encode())
        else:
            s.expect(BRACKETED_PASTE_OFF)
        s.assert_modes_given_back()
        assert s.finish() == status


def a_pasted_text_runs_line_by_line(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(PASTE_START + b"int k = 1\rk + 1\nk +" + PASTE_END)
    s.expect(b"> k + 1\r\n2\r\n")
    # The text after the last line end waits at the prompt, to be finished.
    s.expect(b"> k +")
    s.send(b" 2\r")
    s.expect(b"3\r\n")
    s.expect(b"> ")
    s.send(UP + UP + b"\r")
    s.expect(b"2\r\n")
    s.send(b"#x\r")
    assert s.finish() == 2
    with open(os.path.join(home, ".local/state/numora/history")) as f:
        assert f.read().splitlines() == ["int k = 1", "k + 1", "k + 2", "k + 1", "#x"]


def a_paste_of_ten_thousand_lines_runs_each_of_them(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"int k = 0\r")
    s.expect(b"> ")
    s.send(PASTE_START + b"k = k + 1\r" * 10000 + PASTE_END)
    s.expect(b"> k = k + 1\r\n10000\r\n")
    s.send(b"k - 9958\r")
    s.expect(b"42\r\n")
    s.send(b"#x\r")
    assert s.finish() == 42


def input_typed_for_a_built_in_stays_with_its_line(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"getchar()\r")
    s.wait_in_call(0)
    s.send(b"xy\r")
    s.expect(b"120\r\n")
    s.expect(b"> ")
    # Two reads of one line take two characters of what was typed for it.
    s.send(b"getchar() + getchar() * 1000\r")
    s.wait_in_call(0)
    s.send(b"ab\r")
    s.expect(b"98097\r\n")
    s.expect(b"> ")
    s.send(b"1 + 1\r")
    s.expect(b"2\r\n")
    s.expect(b"> ")
    # "y" and "\n" were left over: a later read waits for new input.
    s.send(b"getchar()\r")
    s.wait_in_call(0)
    s.send(b"z\r")
    s.expect(b"122\r\n")
    s.expect(b"> ")
    s.send(b'string t = "none"\r')
    s.expect(b"> ")
    s.send(b"gets(t)\r")
    s.wait_in_call(0)
    s.send(b"typed for gets\r")
    s.expect(b'"typed for gets"\r\n')
    s.expect(b"> ")
    s.send(b"strlen(t)\r")
    s.expect(b"14\r\n")
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0


def tab_completes_type_words(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"dou\tx = 1.5\r")
    s.expect(b"> ")
    s.send(b"x * 2\r")
    s.expect(b"3\r\n")
    s.expect(b"> ")
    s.send(b"str\t\t")
    s.expect(b"string")
    s.send(CTRL_C)
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0


def ctrl_c_at_a_completion_question_keeps_the_session(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"int " + b", ".join(b"v%d" % n for n in range(150)) + b"\r")
    s.expect(b"> ")
    s.send(b"v\t\t")
    s.expect(b"Display all 150 possibilities? (y or n)")
    s.send(CTRL_C)
    s.expect(b"> ")
    s.send(b"v149 + 2\r")
    s.expect(b"v149 + 2\r\n")
    s.expect(b"2\r\n")
    s.expect(b"> ")
    s.send(b"\x04")
    # A sanitizer build ends with another status when the matches leaked.
    assert s.finish() == 0


def history_is_written_as_each_line_is_entered(home):
    path = os.path.join(home, ".local/state/numora/history")
    s = Session(home)
    s.expect(b"> ")
    s.send(b"1 + 1\r")
    s.expect(b"2\r\n")
    s.send(b"2 + 2\r")
    s.expect(b"4\r\n")
    s.expect(b"> ")
    with open(path) as f:
        assert f.read() == "1 + 1\n2 + 2\n"
    s.send(b"\x04")
    assert s.finish() == 0


def a_relative_history_path_stays_where_the_session_started(home):
    os.mkdir(os.path.join(home, "sub"))
    with open(os.path.join(home, "sub", "calc-history"), "w") as f:
        f.write("someone else's file\n")
    s = Session(home, env={"NUMORA_HISTORY": "calc-history"})
    s.expect(b"> ")
    s.send(b'chdir("sub")\r')
    s.expect(b"0\r\n")
    s.send(b"6 * 7\r")
    s.expect(b"42\r\n")
    s.send(b"#x\r")
    assert s.finish() == 42
    with open(os.path.join(home, "calc-history")) as f:
        assert f.read() == 'chdir("sub")\n6 * 7\n#x\n'
    with open(os.path.join(home, "sub", "calc-history")) as f:
        assert f.read() == "someone else's file\n"


def a_trimmed_history_file_keeps_its_mode(home):
    chosen = os.path.join(home, "calc-history")
    with open(chosen, "w") as f:
        f.write("".join(f"{n}\n" for n in range(1, 1201)))
    os.chmod(chosen, 0o640)
    s = Session(home, env={"NUMORA_HISTORY": chosen})
    s.expect(b"> ")
    s.send(b"\x04")
    assert s.finish() == 0
    assert os.stat(chosen).st_mode & 0o777 == 0o640, oct(os.stat(chosen).st_mode)
    with open(chosen) as f:
        lines = f.read().splitlines()
    assert lines == [str(n) for n in range(201, 1201)], (len(lines), lines[:2])


def a_history_path_that_cannot_hold_the_history_gets_one_warning(home):
    folder = os.path.join(home, "a-folder")
    os.mkdir(folder)
    fifo = os.path.join(home, "a-fifo")
    os.mkfifo(fifo)
    for chosen in (folder, fifo, "/dev/null"):
        s = Session(home, env={"NUMORA_HISTORY": chosen})
        s.expect(b"> ")
        s.send(b"1 + 1\r2 + 2\r")
        s.expect(b"4\r\n")
        s.send(b"#x\r")
        assert s.finish() == 4
        warnings = re.findall(rb"numora: cannot keep the history in [^\r]*\r\n", s.everything)
        assert len(warnings) == 1 and chosen.encode() in warnings[0], s.everything
    assert os.path.isdir(folder) and not os.listdir(folder)
    assert stat.S_ISFIFO(os.stat(fifo).st_mode)
    assert stat.S_ISCHR(os.stat("/dev/null").st_mode)



def ctrl_c_stops_a_line_that_computes_for_long(home):
    s = Session(home)
    s.expect(b"> ")
    # 16 MiB, then a line that would copy 64 MiB four hundred times.
    s.send(b'string s = "0123456789abcdef"\r')
    s.send(b"strlen((" + b", ".join([b"s = s + s"] * 20) + b"))\r")
    s.expect(b"16777216\r\n")
    s.expect(b"> ")
    s.send(b"string t\r")
    s.expect(b"> ")
    s.send(b"strlen((" + b", ".join([b"t = s + s + s + s"] * 400) + b"))\r")
    s.wait_for_state("R")
    time.sleep(0.3)
    pressed = time.time()
    s.send(CTRL_C)
    s.expect(b"> ")
    assert time.time() - pressed < 1.5, f"the line stopped {time.time() - pressed:.1f} s after Ctrl-C"
    s.send(b"strlen(s) + strlen(t) % 3\r")
    s.expect(b"> ")
    s.send(b"#x\r")
    assert s.finish() == 16777216 % 256


def ctrl_c_stops_output_in_progress(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b'string s = "0123456789abcdef"\r')
    s.send(b"strlen((" + b", ".join([b"s = s + s"] * 22) + b"))\r")
    s.expect(b"67108864\r\n")
    s.expect(b"> ")
    for line, report in ((b'printf("%s", s)', "pos:0  関数の実行に失敗しました\r\n".encode()),
                         (b"puts(s)", "pos:0  関数の実行に失敗しました\r\n".encode()),
                         (b"s", b"")):
        s.send(line + b"\r")
        s.expect(line + b"\r\n")
        s.expect(b"0123456789abcdef" * 4096)
        pressed = time.time()
        s.send(CTRL_C)
        s.expect(report)
        s.expect(b"> ")
        assert time.time() - pressed < 3, f"the output stopped {time.time() - pressed:.1f} s after Ctrl-C"
        assert len(s.everything) < 16 * 1024 * 1024, "most of the text was written"
        s.everything = b""
    s.send(b"strlen(s)\r")
    s.expect(b"67108864\r\n")
    s.send(b"#x\r")
    assert s.finish() == 0



def vi_session(home, *args, env=None):
    """A session whose line editing starts in vi mode."""
    inputrc = os.path.join(home, "inputrc")
    with open(inputrc, "w") as f:
        f.write("set editing-mode vi\n")
    return Session(home, *args, env={"INPUTRC": inputrc, **(env or {})})


def ends_cleanly(s):
    """The prompt answers, and Ctrl-D there ends the session with status
    0: no fault, and in a sanitizer build no report of memory misused or
    leaked."""
    s.send(b"6 * 7\r")
    s.expect(b"42\r\n")
    s.expect(b"> ")
    s.send(CTRL_D)
    status = s.finish()
    assert status == 0, f"status {status}; the session showed {s.everything[-1500:]!r}"


def ctrl_c_in_a_paste_drops_it_and_the_prompt_answers(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(PASTE_START + b"1 + 1\r2 + 2")
    s.wait_for_key_wait()
    s.send(CTRL_C)
    s.expect(b"> ")
    # A program that spins after the Ctrl-C never comes back to wait for a
    # key; one sample of its state could catch it still drawing the prompt.
    s.wait_for_key_wait()
    # The end of the paste comes late; it is swallowed, not typed.
    s.send(PASTE_END)
    s.send(b"3 + 4\r")
    s.expect(b"3 + 4\r\n")
    s.expect(b"7\r\n")
    assert b"\r\n2\r\n" not in s.everything and b"\r\n4\r\n" not in s.everything, s.everything
    ends_cleanly(s)


def ctrl_c_in_a_long_paste_runs_none_of_its_lines(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"int k = 0\r")
    s.expect(b"> ")
    paste = PASTE_START + b"k = k + 1\r" * 3000 + PASTE_END
    half = len(paste) // 2
    s.send_all(paste[:half])
    s.send(CTRL_C)
    s.send_all(paste[half:])
    s.send(b"k + 100\r")
    s.expect(b"k + 100\r\n")
    s.expect(b"100\r\n")
    ends_cleanly(s)


def a_vi_search_and_the_lines_recalled_after_it_keep_the_session(home):
    s = vi_session(home)
    s.expect(b"> ")
    s.send(b"1+1\r")
    s.expect(b"2\r\n")
    s.expect(b"> ")
    s.send(b"2+2\r")
    s.expect(b"4\r\n")
    s.expect(b"> ")
    # Search for 1+1, delete a character, go to an older line, enter it;
    # then recall three lines and enter again.
    s.send(ESC + b"/1+1\r")
    s.wait_for_key_wait()
    s.send(b"xk\r")
    s.expect(b"1\r\n")
    s.expect(b"> ")
    s.send(ESC + b"kkk\r")
    s.expect(b"2\r\n")
    ends_cleanly(s)


def the_emacs_searches_keep_the_session(home):
    s = Session(home)
    for line, result in ((b"1+1", b"2"), (b"2+2", b"4"), (b"3+3", b"6")):
        s.expect(b"> ")
        s.send(line + b"\r")
        s.expect(result + b"\r\n")
    s.expect(b"> ")
    # M-p searches older lines for a text; an empty text searches again
    # for the last one.
    s.send(ESC + b"p+\r")
    s.wait_for_key_wait()
    s.send(ESC + b"p\r")
    s.wait_for_key_wait()
    s.send(b"\r")
    s.expect(b"\r4\r\n")
    s.expect(b"> ")
    s.send(b"1" + ESC + b"p1+\r")
    s.wait_for_key_wait()
    s.send(b"\r")
    s.expect(b"\r2\r\n")
    ends_cleanly(s)


def vi_completion_over_bytes_that_are_not_characters_ends(home):
    s = Session(home, env={"LC_CTYPE": "C.UTF-8"})
    s.expect(b"> ")
    s.send(PASTE_START + b"a\xed\xa0\x80\r" + PASTE_END)
    s.expect("未定義の識別子です".encode())
    s.expect(b"> ")
    # Vi mode, a search that finds the line, undo, completion.
    s.send(ESC + b"\n")
    s.send(b"\x12\xed\xa0\x80")
    s.expect(b"\xed\xa0\x80\x1b[27m")
    s.send(b"\x1f" + ESC + b"=")
    s.wait_for_key_wait()
    s.send(b"\r")
    s.expect("未定義の識別子です".encode())
    ends_cleanly(s)


def vi_word_motions_over_a_character_that_takes_no_room_end(home):
    s = vi_session(home, env={"LC_CTYPE": "C.UTF-8"})
    s.expect(b"> ")
    # U+D7AA is assigned nothing: it takes no room on the screen.
    s.send(b"xy\xed\x9e\xaa")
    s.send(ESC + b"0E")
    s.wait_for_key_wait()
    s.send(b"0Di")
    ends_cleanly(s)


def a_zero_byte_in_the_line_ends_no_search(home):
    s = Session(home)
    s.expect(b"> ")
    # Ctrl-V Ctrl-@ puts a zero byte in the line; Ctrl-] then looks for a
    # character that is not there.
    s.send(b"ab\x16\x00cd\x01\x1dz")
    s.wait_for_key_wait()
    s.send(b"\x0b")
    ends_cleanly(s)


def a_window_of_one_row_and_two_columns_keeps_the_session(home):
    s = Session(home)
    s.expect(b"> ")
    fcntl.ioctl(s.master, termios.TIOCSWINSZ, struct.pack("HHHH", 1, 2, 0, 0))
    s.send(b"1 + 2 + 3\r")
    s.expect(b"6\r\n")
    # The cursor moving along a line wider than the window.
    s.send(b"abc\x01\x05\x02\x02")
    s.wait_for_key_wait()
    s.send(b"\x05\x15")
    fcntl.ioctl(s.master, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 80, 0, 0))
    ends_cleanly(s)


def vi_operators_inside_an_operator_keep_the_session(home):
    s = vi_session(home)
    s.expect(b"> ")
    s.send(b"abc def ghi")
    s.expect(b"ghi")
    # An operator whose count ends with another operator, a repeat, a key
    # bound to nothing, Ctrl-G; then deletes that repeat ("x" twice, "3x").
    for keys in (b"0c2dw", b"0d2cw", b"0y2.", b"0c2qw", b"0d2\x07w", b"0xx3x"):
        s.send(ESC + keys)
        s.wait_for_key_wait()
    s.send(b"\x1b0D")
    s.send(b"i1+1\r")
    s.expect(b"2\r\n")
    ends_cleanly(s)


def ctrl_g_at_a_completion_question_keeps_the_session(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"int " + b", ".join(b"w%d" % n for n in range(150)) + b"\r")
    s.expect(b"> ")
    s.send(b"w\t\t")
    s.expect(b"possibilities? (y or n)")
    s.send(b"\x07")
    s.wait_for_key_wait()
    s.send(b"\x15")
    ends_cleanly(s)


def a_recalled_line_changed_and_left_leaves_nothing_behind(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"1+1\r")
    s.expect(b"2\r\n")
    s.expect(b"> ")
    # Recall 1+1, change it, come back down, enter another line.
    s.send(UP + b"2" + DOWN + b"3+3\r")
    s.expect(b"6\r\n")
    s.expect(b"> ")
    s.send(UP + UP + b"\r")
    s.expect(b"1+1\r\n")
    s.expect(b"\r2\r\n")
    ends_cleanly(s)


def a_tilde_is_bitwise_not_never_a_home_directory(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b"int r = 5\r")
    s.expect(b"> ")
    # M-& at "~r" would look up a user named r.
    s.send(b"~r == ~5\x01" + ESC + b"&")
    s.wait_for_key_wait()
    s.send(b"\r")
    s.expect(b"\rtrue\r\n")
    ends_cleanly(s)


def a_count_typed_without_a_prompt_leaves_nothing_behind(home):
    s = Session(home)
    s.expect(b"> ")
    # Silent mode: no prompt. M-2 shows "(arg: 2)" where there is none.
    s.send(b"#s1\r")
    s.wait_for_key_wait()
    s.send(ESC + b"2a")
    s.expect(b"aa")
    s.send(b"\x15#s0\r")
    s.expect(b"> ")
    ends_cleanly(s)


def typed_line_is_echoed_and_entered(s, text, result):
    """A built-in that reads a line: the terminal is cooked, echoes the
    keys and ends the line at Enter."""
    s.wait_in_call(READ_CALL)
    s.assert_modes_given_back()
    s.send(text + b"\r")
    s.expect(text + b"\r\n")
    s.expect(result + b"\r\n")


def read_a_typed_line_after(s):
    """The line after: gets must find the terminal cooked again."""
    s.expect(b"> ")
    s.send(b'string after = "none"\r')
    s.expect(b"> ")
    s.send(b"gets(after)\r")
    typed_line_is_echoed_and_entered(s, b"after", b'"after"')


class JobState:
    """A state Ctrl-Z may find the session in: how to get there, and how
    the session goes on once it is back in the foreground."""

    def editing(s):
        s.send(b"6 * 7")
        s.expect(b"6 * 7")

    def editing_goes_on(s):
        s.expect(b"6 * 7")
        s.send(b"\r")
        s.expect(b"42\r\n")
        read_a_typed_line_after(s)

    def running(s):
        s.send(b'string s = "0123456789abcdef"\r')
        s.send(b"strlen((" + b", ".join([b"s = s + s"] * 20) + b"))\r")
        s.expect(b"16777216\r\n")
        s.expect(b"> ")
        s.send(b"string t\r")
        s.expect(b"> ")
        s.send(b"strlen((" + b", ".join([b"t = s + s"] * 6) + b"))\r")
        s.expect(b"))\r\n")
        s.wait_for_state("R")

    def running_goes_on(s):
        s.expect(b"33554432\r\n")
        read_a_typed_line_after(s)

    def getch(s):
        s.send(b"getch()\r")
        s.wait_in_call(READ_CALL)

    def getch_goes_on(s):
        deadline = time.time() + TIMEOUT_SECONDS
        while s.modes()[3] & termios.ICANON:
            assert time.time() < deadline, "getch never took single keys again"
            time.sleep(0.01)
        s.send(b"x")
        s.expect(b"120\r\n")
        read_a_typed_line_after(s)

    def getchar(s):
        s.send(b"getchar()\r")
        s.wait_in_call(READ_CALL)

    def getchar_goes_on(s):
        typed_line_is_echoed_and_entered(s, b"y", b"121")
        read_a_typed_line_after(s)

    def gets(s):
        s.send(b'string g = "none"\r')
        s.expect(b"> ")
        s.send(b"gets(g)\r")
        s.wait_in_call(READ_CALL)

    def gets_goes_on(s):
        typed_line_is_echoed_and_entered(s, b"hello", b'"hello"')
        read_a_typed_line_after(s)

    def cgets(s):
        s.send(b'string c = "none"\r')
        s.expect(b"> ")
        s.send(b"cgets(c)\r")
        s.wait_in_call(READ_CALL)

    def cgets_goes_on(s):
        typed_line_is_echoed_and_entered(s, b"world", b'"world"')
        read_a_typed_line_after(s)


def ctrl_z_bg_and_fg_in_every_state(home):
    """Ctrl-Z, bg, fg in each state, under a shell that leaves the
    terminal's modes alone while the job is stopped (as dash does) and one
    whose own prompt sets them its way meanwhile (as bash's does)."""
    for shells_prompt_is_raw in (False, True):
        for name in ("editing", "running", "getch", "getchar", "gets", "cgets"):
            s = Session(home, job_control=True)
            s.expect(b"> ")
            getattr(JobState, name)(s)
            s.send(CTRL_Z)
            assert s.wait_for_stops(1) == ["SIGTSTP"], (name, s.stops())
            try:
                s.assert_modes_given_back()
            except AssertionError as problem:
                raise AssertionError(f"{name}: {problem} while the job is stopped") from None
            cooked = s.modes()
            if shells_prompt_is_raw:
                raw = list(cooked)
                raw[0] &= ~termios.ICRNL
                raw[3] &= ~(termios.ICANON | termios.ECHO)
                termios.tcsetattr(s.master, termios.TCSANOW, raw)
            # In the background the job stops again as soon as it needs its
            # terminal, and leaves the terminal as the shell has it.
            s.bg()
            try:
                stops = s.wait_for_stops(2)
            except AssertionError as problem:
                raise AssertionError(f"{name}, continued in the background: {problem}") from None
            assert stops[1] in ("SIGTTOU", "SIGTTIN"), (name, stops)
            termios.tcsetattr(s.master, termios.TCSANOW, cooked)
            s.fg()
            try:
                getattr(JobState, name + "_goes_on")(s)
            except AssertionError as problem:
                raise AssertionError(f"{name}, shell's prompt raw {shells_prompt_is_raw}: {problem}") from None
            s.expect(b"> ")
            s.send(b"#x\r")
            s.finish()


def ctrl_c_stops_cputs(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b'string s = "0123456789abcdef"\r')
    s.send(b"strlen((" + b", ".join([b"s = s + s"] * 20) + b"))\r")
    s.expect(b"16777216\r\n")
    s.expect(b"> ")
    s.send(b"cputs(s)\r")
    s.expect(b"0123456789abcdef" * 4096)
    # The terminal stops taking the text; Ctrl-C while cputs waits for it.
    s.wait_in_call(WRITE_CALL)
    s.everything = b""
    s.send(CTRL_C)
    s.expect(b"> ")
    assert len(s.everything) < 4 * 1024 * 1024, f"{len(s.everything)} bytes came after Ctrl-C"
    s.send(b"strlen(s)\r")
    s.expect(b"16777216\r\n")
    ends_cleanly(s)


def lines_typed_after_a_built_ins_line_run_next(home):
    s = Session(home)
    s.expect(b"> ")
    s.send(b'string s = "none"\r')
    s.expect(b"> ")
    s.wait_for_key_wait()
    # Typed ahead while the line editor holds the terminal: Enter comes as
    # a carriage return. The rest of the line getchar read from is dropped.
    s.send(b"getchar()\rabc\r1000+5\r")
    s.expect(b"97\r\n")
    s.expect(b"1005\r\n")
    s.expect(b"> ")
    s.send(b"gets(s)\rhello\r1000+8\r")
    s.expect(b'"hello"\r\n')
    s.expect(b"1008\r\n")
    s.expect(b"> ")
    s.send(b"cgets(s)\rworld\r1000+9\r")
    s.expect(b'"world"\r\n')
    s.expect(b"1009\r\n")
    s.expect(b"> ")
    s.send(b"s\r")
    s.expect(b'"world"\r\n')
    ends_cleanly(s)
    with open(os.path.join(home, ".local/state/numora/history")) as f:
        lines = f.read().splitlines()
    assert lines[-8:-1] == ["getchar()", "1000+5", "gets(s)", "1000+8", "cgets(s)", "1000+9", "s"], lines


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
    a_key_sequence_of_search_and_prefix_keys_keeps_the_prompt,
    ctrl_z_gives_the_terminal_back_until_the_program_goes_on,
    a_fault_at_the_prompt_gives_the_terminal_back,
    a_pasted_text_runs_line_by_line,
    a_paste_of_ten_thousand_lines_runs_each_of_them,
    input_typed_for_a_built_in_stays_with_its_line,
    tab_completes_type_words,
    ctrl_c_at_a_completion_question_keeps_the_session,
    history_is_written_as_each_line_is_entered,
    a_relative_history_path_stays_where_the_session_started,
    a_trimmed_history_file_keeps_its_mode,
    a_history_path_that_cannot_hold_the_history_gets_one_warning,
    ctrl_c_stops_a_line_that_computes_for_long,
    ctrl_c_stops_output_in_progress,
    ctrl_c_in_a_paste_drops_it_and_the_prompt_answers,
    ctrl_c_in_a_long_paste_runs_none_of_its_lines,
    a_vi_search_and_the_lines_recalled_after_it_keep_the_session,
    the_emacs_searches_keep_the_session,
    vi_completion_over_bytes_that_are_not_characters_ends,
    vi_word_motions_over_a_character_that_takes_no_room_end,
    a_zero_byte_in_the_line_ends_no_search,
    a_window_of_one_row_and_two_columns_keeps_the_session,
    vi_operators_inside_an_operator_keep_the_session,
    ctrl_g_at_a_completion_question_keeps_the_session,
    a_recalled_line_changed_and_left_leaves_nothing_behind,
    a_tilde_is_bitwise_not_never_a_home_directory,
    a_count_typed_without_a_prompt_leaves_nothing_behind,
    ctrl_z_bg_and_fg_in_every_state,
    ctrl_c_stops_cputs,
    lines_typed_after_a_built_ins_line_run_next,
]


def run_case(binary, case):
    with tempfile.TemporaryDirectory(prefix="numora-terminal-") as home:
        program = os.path.join(home, "numora")
        try:
            os.link(binary, program)
        except OSError:
            shutil.copy2(binary, program)
        case(home)


def main(cases, name, usage):
    """Runs the cases named on the command line after the binary, or all."""
    if len(sys.argv) < 2:
        raise SystemExit(usage)
    binary = os.path.abspath(sys.argv[1])
    chosen = [case for case in cases if not sys.argv[2:] or case.__name__ in sys.argv[2:]]
    failed = 0
    for case in chosen:
        try:
            run_case(binary, case)
        except Exception as problem:  # a case that breaks must not hide the others
            failed += 1
            print(f"FAIL {case.__name__}: {problem}")
    print(f"{name}: {len(chosen) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(CASES, "terminal", __doc__))
