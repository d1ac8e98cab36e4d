#!/usr/bin/env python3
"""Which include file numora reads at start-up, and which it leaves alone.

Usage: include_file.py NUMORA_BINARY

Started by a bare name through PATH, numora reads the include file beside
the running executable, never one in the current directory; only a regular
file is read, so a FIFO in its place does not hold up the start.
"""

import os
import subprocess
import sys

from harness import DEADLINE_SECONDS, expect_equal, run_cases

UNDEFINED = "pos:0  未定義の識別子です\n".encode()


def run(args, folder, stdin, **options):
    return subprocess.run(args, input=stdin, capture_output=True, timeout=DEADLINE_SECONDS, **options)


def a_bare_name_reads_the_file_beside_the_program_not_the_current_one(folder):
    folder.write("numora.inc", b"int beside = 1\n")
    here = folder.file("here")
    os.mkdir(here)
    with open(os.path.join(here, "numora.inc"), "wb") as f:
        f.write(b'int planted = system("echo ran > planted-ran")\n')
    result = run(["numora", "/s"], folder, b"beside\nplanted\n", cwd=here,
                 env=dict(os.environ, PATH=folder.path))
    expect_equal("stderr", result.stderr, UNDEFINED)
    expect_equal("status", result.returncode, 0)
    expect_equal("planted command ran", os.path.exists(os.path.join(here, "planted-ran")), False)
    result = run(["numora"], folder, b"beside\n", cwd=here, env=dict(os.environ, PATH=folder.path))
    expect_equal("stdout", result.stdout, b"> 1\n> ")


def a_name_with_a_slash_is_taken_as_typed(folder):
    folder.write("numora.inc", b"int typed = 2\n")
    result = run(["./numora"], folder, b"typed\n", cwd=folder.path)
    expect_equal("stdout", result.stdout, b"> 2\n> ")


def a_fifo_in_place_of_the_file_is_skipped_without_waiting(folder):
    os.mkfifo(folder.file("numora.inc"))
    result = run([folder.program], folder, b"1 + 1\n", cwd=folder.path)
    expect_equal("stdout", result.stdout, b"> 2\n> ")
    expect_equal("status", result.returncode, 0)


def a_directory_in_place_of_the_file_is_skipped(folder):
    os.mkdir(folder.file("numora.inc"))
    result = run([folder.program], folder, b"1 + 1\n", cwd=folder.path)
    expect_equal("stdout", result.stdout, b"> 2\n> ")
    expect_equal("stderr", result.stderr, b"")


def an_empty_program_name_reads_no_include_file(folder):
    folder.write(".inc", b"int dot = 1\n")
    result = run([""], folder, b"dot\n", cwd=folder.path, executable=folder.program)
    expect_equal("stderr", result.stderr, UNDEFINED)


if __name__ == "__main__":
    sys.exit(run_cases([
        a_bare_name_reads_the_file_beside_the_program_not_the_current_one,
        a_name_with_a_slash_is_taken_as_typed,
        a_fifo_in_place_of_the_file_is_skipped_without_waiting,
        a_directory_in_place_of_the_file_is_skipped,
        an_empty_program_name_reads_no_include_file,
    ]))
