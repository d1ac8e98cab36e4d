#!/usr/bin/env python3
"""Script files that run as programs.

Usage: script_files.py NUMORA_BINARY

A file whose first line names numora after "#!" runs when it is made
executable: the system starts numora with the file's path, which is
absolute (and so a file, not an option) when the file is run by its full
name, and the "#!" line is passed over.
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
    expect_equal("stdout", result.stdout, b"\n42\n")
    expect_equal("stderr", result.stderr, name.encode() + ":4: pos:2  ０で除算しました\n".encode())
    expect_equal("status", result.returncode, 0)


def a_script_naming_the_program_runs_by_its_absolute_path(folder):
    path = executable(folder, "calc.num", b"#!" + folder.program.encode())
    check(subprocess.run([path], capture_output=True, timeout=DEADLINE_SECONDS), path)


def a_script_naming_env_numora_runs_through_path(folder):
    path = executable(folder, "calc.num", b"#!/usr/bin/env numora")
    environment = dict(os.environ, PATH=folder.path + os.pathsep + os.environ.get("PATH", ""))
    check(subprocess.run([path], capture_output=True, timeout=DEADLINE_SECONDS, env=environment), path)
    check(subprocess.run(["./calc.num"], capture_output=True, timeout=DEADLINE_SECONDS, env=environment,
                         cwd=folder.path), "./calc.num")


if __name__ == "__main__":
    sys.exit(run_cases([
        a_script_naming_the_program_runs_by_its_absolute_path,
        a_script_naming_env_numora_runs_through_path,
    ]))
