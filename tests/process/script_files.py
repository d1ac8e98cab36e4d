#!/usr/bin/env python3
"""Script files that run as programs.

Usage: script_files.py NUMORA_BINARY

A file whose first line names numora after "#!" runs when it is made
executable: the system starts numora with the file's path, which is
absolute (and so a file, not an option) when the file is run by its full
name, and the "#!" line is passed over. Its status tells whoever ran it
(a make rule, a CI step, a shell's "&&") whether a line failed, and its
output holds no empty lines for declarations.
"""

import os
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, run_cases


def executable(folder, name, first_line):
    folder.write(name, first_line + b"\nint a = 6\na * 7\n1 / 0\n")
    os.chmod(folder.file(name), 0o755)
    return folder.file(name)


def check(result, name):
    expect_equal("stdout", result.stdout, b"42\n")
    expect_equal("stderr", result.stderr, name.encode() + ":4: pos:2  ０で除算しました\n".encode())
    expect_equal("status", result.returncode, 1)


def a_script_naming_the_program_runs_by_its_absolute_path(folder):
    path = executable(folder, "calc.num", b"#!" + folder.program.encode())
    check(subprocess.run([path], capture_output=True, timeout=DEADLINE_SECONDS), path)


def a_script_naming_env_numora_runs_through_path(folder):
    path = executable(folder, "calc.num", b"#!/usr/bin/env numora")
    environment = dict(os.environ, PATH=folder.path + os.pathsep + os.environ.get("PATH", ""))
    check(subprocess.run([path], capture_output=True, timeout=DEADLINE_SECONDS, env=environment), path)
    check(subprocess.run(["./calc.num"], capture_output=True, timeout=DEADLINE_SECONDS, env=environment,
                         cwd=folder.path), "./calc.num")


def a_shell_can_tell_a_script_that_failed_from_one_that_ran(folder):
    folder.write("good.num", b"int a = 6\nsrand(1)\na * 7\n")
    folder.write("bad.num", b"int b = 1\nb / 0\nb + 1\n")
    command = "./numora good.num && echo ran; ./numora bad.num || echo failed $?"
    result = subprocess.run(["/bin/sh", "-c", command], capture_output=True, timeout=DEADLINE_SECONDS,
                            cwd=folder.path)
    expect_equal("stdout", result.stdout, b"42\nran\n2\nfailed 1\n")
    expect_equal("stderr", result.stderr, "bad.num:2: pos:2  ０で除算しました\n".encode())


if __name__ == "__main__":
    sys.exit(run_cases([
        a_script_naming_the_program_runs_by_its_absolute_path,
        a_script_naming_env_numora_runs_through_path,
        a_shell_can_tell_a_script_that_failed_from_one_that_ran,
    ]))
