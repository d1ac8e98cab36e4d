#!/usr/bin/env python3
"""What numora does with the files in the place of its logs.

Usage: log_files.py NUMORA_BINARY

A symbolic link or a FIFO where the newest log file belongs is neither
followed nor waited for: the record is dropped and the run goes on. The
purge of old generations deletes only files named as generations are.
Programs started together each keep every record, in a generation of its
own.
"""

import os
import re
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


def programs_started_together_keep_every_record(folder, programs=8, calls=400):
    folder.write("session", b"string s\n" + b"getcwd(s, 0)\n" * calls)
    runs = []
    for _ in range(programs):
        with open(folder.file("session"), "rb") as session:
            runs.append(subprocess.Popen([folder.program, "/s"], stdin=session, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL, cwd=folder.path))
    for run in runs:
        expect_equal("status", run.wait(timeout=DEADLINE_SECONDS), 0)
    logs = [name for name in os.listdir(folder.path) if re.fullmatch(r"numora\d+\.log", name)]
    expect_equal("files", len(logs), programs)
    record = re.compile(rb"\d{4}/\d\d/\d\d \d\d:\d\d:\d\d\.\d{3} _invalid_parameter\r\n")
    for name in logs:
        text = folder.read(name)
        expect_equal(f"what {name} holds besides whole records", record.sub(b"", text), b"")
        expect_equal(f"records in {name}", len(record.findall(text)), calls)


def ten_programs_started_together_keep_every_record(folder):
    programs_started_together_keep_every_record(folder, programs=10, calls=300)

if __name__ == "__main__":
    sys.exit(run_cases([
        a_symbolic_link_in_place_of_the_newest_log_is_not_followed,
        a_fifo_in_place_of_the_newest_log_does_not_hold_up_the_run,
        the_purge_deletes_only_numbered_generations,
        programs_started_together_keep_every_record,
        ten_programs_started_together_keep_every_record,
    ]))
