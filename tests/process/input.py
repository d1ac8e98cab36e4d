#!/usr/bin/env python3
"""Input that numora cannot read.

Usage: input.py NUMORA_BINARY

Standard input that cannot be read (a directory) is named on standard error
and the status is 2, as for a script file; a user include file that exists
but cannot be read gets one line naming it, and the session goes on.
"""

import os
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, run_cases


def run(folder, **options):
    environment = dict(os.environ, XDG_CONFIG_HOME=folder.file("config"))
    return subprocess.run([folder.program], capture_output=True, cwd=folder.path,
                          env=environment, timeout=DEADLINE_SECONDS, **options)


def standard_input_that_is_a_directory_is_named(folder):
    directory = os.open(folder.path, os.O_RDONLY | os.O_DIRECTORY)
    try:
        result = run(folder, stdin=directory)
    finally:
        os.close(directory)
    expect_equal("stdout", result.stdout, b"> ")
    expect_equal("stderr", result.stderr, b"numora: cannot read standard input: Is a directory\n")
    expect_equal("status", result.returncode, 2)


def a_user_include_file_that_cannot_be_read_is_named(folder):
    include = folder.file("config/numora/numora.inc")
    os.makedirs(os.path.dirname(include))
    cases = [(lambda: os.mkdir(include), "Is a directory"), (lambda: os.mkfifo(include), "not a regular file")]
    if os.geteuid() != 0:   # root reads whatever the permissions say
        cases.append((lambda: (open(include, "w").close(), os.chmod(include, 0)), "Permission denied"))
    for make, reason in cases:
        make()
        result = run(folder, input=b"1 + 1\n")
        expect_equal("stdout", result.stdout, b"> 2\n> ")
        expect_equal("stderr", result.stderr, f"numora: cannot read the include file {include}: {reason}\n".encode())
        expect_equal("status", result.returncode, 0)
        os.rmdir(include) if os.path.isdir(include) else os.remove(include)


def a_missing_user_include_file_is_not_mentioned(folder):
    result = run(folder, input=b"1 + 1\n")
    expect_equal("stderr", result.stderr, b"")


if __name__ == "__main__":
    sys.exit(run_cases([
        standard_input_that_is_a_directory_is_named,
        a_user_include_file_that_cannot_be_read_is_named,
        a_missing_user_include_file_is_not_mentioned,
    ]))
