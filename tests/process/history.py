#!/usr/bin/env python3
"""The history file of sessions at a terminal (builds with line editing).

Usage: history.py NUMORA_BINARY

Each line is in the file once it is entered, so a session ended by SIGHUP
(a closed terminal) or SIGKILL loses none; sessions at once each keep all
their lines, and a session's trim keeps what the other one appended. A
history file reached through a symbolic link is written and trimmed through
the link, which stays; a link that names nothing creates nothing.
"""

import os
import pty
import signal
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, read_until, run_cases


def hang_up_ends_the_run():
    """SIGHUP as a closed terminal sends it, also where these tests run
    under nohup, which has the program keep it ignored."""
    signal.signal(signal.SIGHUP, signal.SIG_DFL)


class Session:
    """numora at a pseudo-terminal of its own, with the history file given."""

    def __init__(self, folder, history):
        self.master, slave = pty.openpty()
        self.process = subprocess.Popen(
            [folder.program], stdin=slave, stdout=slave, stderr=slave, cwd=folder.path,
            env=dict(os.environ, TERM="xterm", INPUTRC="/dev/null", NUMORA_HISTORY=history),
            start_new_session=True, preexec_fn=hang_up_ends_the_run)
        os.close(slave)
        self.output = b""
        self.everything = b""
        self.wait_for(b"> ")

    def wait_for(self, wanted):
        """Reads until wanted has come after what was waited for before."""
        received = read_until(self.master, lambda out: wanted in self.output + out)
        self.everything += received
        self.output += received
        self.output = self.output[self.output.index(wanted) + len(wanted):]

    def enter(self, line, result):
        os.write(self.master, line + b"\r")
        self.wait_for(result + b"\r\n")
        self.wait_for(b"> ")

    def end(self, how=None):
        if how is None:
            os.write(self.master, b"\x04")
        else:
            self.process.send_signal(how)
        status = self.process.wait(timeout=DEADLINE_SECONDS)
        os.close(self.master)
        return status


def lines_of(folder):
    return folder.read("history").decode().splitlines()


def a_session_ended_by_a_signal_keeps_its_lines(folder):
    for number in (signal.SIGHUP, signal.SIGKILL):
        s = Session(folder, folder.file("history"))
        s.enter(b"1 + 1", b"2")
        s.enter(b"2 + 2", b"4")
        s.end(number)
        expect_equal(f"history after {signal.Signals(number).name}", lines_of(folder), ["1 + 1", "2 + 2"])
        os.remove(folder.file("history"))


def two_sessions_at_once_keep_all_their_lines(folder):
    first = Session(folder, folder.file("history"))
    second = Session(folder, folder.file("history"))
    first.enter(b"1 + 1", b"2")
    second.enter(b"10 + 10", b"20")
    first.enter(b"2 + 2", b"4")
    expect_equal("first", first.end(), 0)
    second.enter(b"20 + 20", b"40")
    expect_equal("second", second.end(), 0)
    expect_equal("history", lines_of(folder), ["1 + 1", "10 + 10", "2 + 2", "20 + 20"])


def a_trim_keeps_the_lines_another_session_appended(folder):
    folder.write("history", "".join(f"{n}\n" for n in range(1, 1201)).encode())
    first = Session(folder, folder.file("history"))
    second = Session(folder, folder.file("history"))
    first.enter(b"1 + 1", b"2")
    second.enter(b"10 + 10", b"20")
    expect_equal("first", first.end(), 0)
    second.enter(b"20 + 20", b"40")
    expect_equal("second", second.end(), 0)
    lines = lines_of(folder)
    expect_equal("lines kept", len(lines), 1000)
    expect_equal("newest lines", lines[-3:], ["1 + 1", "10 + 10", "20 + 20"])
    expect_equal("oldest line", lines[0], "204")


def a_history_file_reached_through_a_link_is_written_through_it(folder):
    os.mkdir(folder.file("kept"))
    folder.write("kept/history", "".join(f"{n}\n" for n in range(1, 1501)).encode())
    os.symlink("kept/history", folder.file("history"))
    s = Session(folder, folder.file("history"))
    s.enter(b"6 * 7", b"42")
    expect_equal("status", s.end(), 0)
    expect_equal("still a link", os.readlink(folder.file("history")), "kept/history")
    lines = folder.read("kept/history").decode().splitlines()
    expect_equal("lines kept", len(lines), 1000)
    expect_equal("newest line", lines[-1], "6 * 7")
    expect_equal("oldest line", lines[0], "502")
    expect_equal("nothing beside the link", sorted(os.listdir(folder.path)), ["history", "kept", "numora"])


def a_link_that_names_nothing_creates_nothing(folder):
    os.mkdir(folder.file("kept"))
    os.symlink("kept/history", folder.file("history"))
    s = Session(folder, folder.file("history"))
    s.enter(b"6 * 7", b"42")
    expect_equal("status", s.end(), 0)
    expect_equal("still a link", os.readlink(folder.file("history")), "kept/history")
    expect_equal("nothing created", os.listdir(folder.file("kept")), [])
    expect_equal("one warning", s.everything.count(b"cannot keep the history"), 1)


if __name__ == "__main__":
    sys.exit(run_cases([
        a_session_ended_by_a_signal_keeps_its_lines,
        two_sessions_at_once_keep_all_their_lines,
        a_trim_keeps_the_lines_another_session_appended,
        a_history_file_reached_through_a_link_is_written_through_it,
        a_link_that_names_nothing_creates_nothing,
    ]))
