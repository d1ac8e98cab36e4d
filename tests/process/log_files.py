#!/usr/bin/env python3
"""What numora does with the files in the place of its logs.

Usage: log_files.py NUMORA_BINARY

A symbolic link or a FIFO where the newest log file belongs is neither
followed nor waited for: the record is dropped and the run goes on. The
purge of old generations deletes only files named as generations are.
"""

import os
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, run_cases

# getcwd with a size of 0 logs "_invalid_parameter"; the run goes on.
SESSION = b"string s\ngetcwd(s, 0)\n1 + 1\n"
SESSION_OUT = b"> \n> > 2\n> "
SESSION_ERR = "pos:0  関数の実行で例外が発生しました\n".encode()


def run_session(folder):
    result = subprocess.run([folder.program], input=SESSION, capture_output=True,
                            cwd=folder.path, timeout=DEADLINE_SECONDS)
    expect_equal("stdout", result.stdout, SESSION_OUT)
    expect_equal("stderr", result.stderr, SESSION_ERR)
    expect_equal("status", result.returncode, 0)


def make_generations_unmovable(folder):
    """Directories that are not empty can be neither replaced nor removed."""
    for generation in range(1, 10):
        path = folder.file(f"numora{generation}.log")
        os.mkdir(path)
        with open(os.path.join(path, "keep"), "wb"):
            pass


def a_symbolic_link_in_place_of_the_newest_log_is_not_followed(folder):
    folder.write("target", b"not a log\n")
    os.symlink(folder.file("target"), folder.file("numora0.log"))
    make_generations_unmovable(folder)
    run_session(folder)
    expect_equal("link target", folder.read("target"), b"not a log\n")


def a_fifo_in_place_of_the_newest_log_does_not_hold_up_the_run(folder):
    os.mkfifo(folder.file("numora0.log"))
    make_generations_unmovable(folder)
    run_session(folder)


def the_purge_deletes_only_numbered_generations(folder):
    others = ["numora 12 keep.log", "numora10-notes.log", "numora+15.log", "numora-12.log"]
    for name in others + ["numora12.log"]:
        folder.write(name, b"")
    run_session(folder)
    for name in others:
        expect_equal(f"{name} kept", os.path.exists(folder.file(name)), True)
    expect_equal("numora12.log deleted", os.path.exists(folder.file("numora12.log")), False)
    expect_equal("newest log", folder.read("numora0.log").endswith(b" _invalid_parameter\r\n"), True)


if __name__ == "__main__":
    sys.exit(run_cases([
        a_symbolic_link_in_place_of_the_newest_log_is_not_followed,
        a_fifo_in_place_of_the_newest_log_does_not_hold_up_the_run,
        the_purge_deletes_only_numbered_generations,
    ]))
