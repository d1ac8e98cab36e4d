#!/usr/bin/env python3
"""Runs whole-program transcripts against the real numora binary.

Usage: run_transcripts.py NUMORA_BINARY FILE.t [FILE.t ...]

The format of a transcript file is described in transcripts/README.md.
Each case runs in a fresh directory holding a hard link (or copy) of the
binary named "numora", so the include file and the log files of the case
sit next to the program under test and the case's file operations happen
in that directory.

When the environment variable NUMORA_WRAPPER is set, its words are put in
front of the program on every run (see scripts/memcheck.sh).
"""

import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

TIMEOUT_SECONDS = 60
# A command put in front of the program, for example a memory checker:
# NUMORA_WRAPPER="valgrind --error-exitcode=99 --leak-check=full -q".
WRAPPER = shlex.split(os.environ.get("NUMORA_WRAPPER", ""))
TIMESTAMP = re.compile(rb"^\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3} ")


def unescape(text):
    """Turns \\e \\r \\n \\t \\0 \\\\ and \\xHH into bytes; other text as UTF-8."""
    out = bytearray()
    raw = text.encode("utf-8")
    i = 0
    simple = {ord("e"): 27, ord("r"): 13, ord("n"): 10, ord("t"): 9, ord("0"): 0, ord("\\"): 92}
    while i < len(raw):
        c = raw[i]
        if c == ord("\\") and i + 1 < len(raw):
            n = raw[i + 1]
            if n in simple:
                out.append(simple[n])
                i += 2
                continue
            if n == ord("x") and i + 4 <= len(raw):
                out.append(int(raw[i + 2:i + 4], 16))
                i += 4
                continue
        out.append(c)
        i += 1
    return bytes(out)


class Case:
    def __init__(self, title, line_number):
        self.title = title
        self.line_number = line_number
        self.args = []
        self.prompts = True
        self.escapes = False
        self.status = 0
        self.include = None
        self.files = {}
        self.env = {}
        self.stdin = bytearray()
        self.stdout = bytearray()
        self.stderr = bytearray()
        self.log = None
        self.merged = False

    def text(self, line):
        return unescape(line) if self.escapes else line.encode("utf-8")

    def finish(self):
        if self.prompts:
            self.stdout += b"> "

    def expect(self, line):
        """Adds what an expected-output line of the format stands for."""
        if line.startswith("!~ "):
            (self.stdout if self.merged else self.stderr).extend(self.text(line[3:]))
        elif line.startswith("! ") or line == "!":
            (self.stdout if self.merged else self.stderr).extend(self.text(line[2:]) + b"\n")
        elif line.startswith("~ "):
            self.stdout += self.text(line[2:])
        elif line.startswith("L "):
            self.log = (self.log or []) + [self.text(line[2:])]
        elif line == "<empty>":
            self.stdout += b"\n"
        else:
            self.stdout += self.text(line) + b"\n"


def block(path, name, number):
    """The expected-output lines of the block NAME (blocks/NAME.txt beside
    the transcript), kept once for the output that many cases share."""
    block_path = os.path.join(os.path.dirname(os.path.abspath(path)), "blocks", name + ".txt")
    if not re.fullmatch(r"[a-z_]+", name) or not os.path.isfile(block_path):
        raise SystemExit(f"{path}:{number}: no block named '{name}'")
    with open(block_path, encoding="utf-8") as f:
        lines = [line for line in f.read().split("\n") if line.strip() and not line.startswith(";;")]
    for line in lines:
        if line.startswith((">", "@")):
            raise SystemExit(f"{block_path}: a block holds expected output only: {line}")
    return lines


def parse(path):
    cases = []
    case = None
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        i += 1
        if line.startswith("=== "):
            if case:
                case.finish()
            case = Case(line[4:].strip(), i)
            cases.append(case)
            continue
        if line.strip() == "" or line.startswith(";;"):
            continue
        if case is None:
            raise SystemExit(f"{path}:{i}: text before the first '=== ' case")
        if line.startswith("@"):
            word, _, rest = line[1:].partition(" ")
            if word == "args":
                case.args = shlex.split(rest)
            elif word == "silent":
                case.prompts = False
            elif word == "prompt":
                case.prompts = rest.strip() == "on"
            elif word == "escapes":
                case.escapes = True
            elif word == "merged":
                case.merged = True
            elif word == "status":
                case.status = int(rest) & 0xFF
            elif word == "env":
                name, _, value = rest.partition("=")
                case.env[name] = value
            elif word in ("include", "file"):
                body = []
                while i < len(lines) and lines[i] != "@end":
                    body.append(lines[i])
                    i += 1
                i += 1
                text = case.text("\n".join(body) + "\n")
                if word == "include":
                    case.include = text
                else:
                    case.files[rest.strip()] = text
            elif word == "stdin":
                case.stdin += case.text(rest)
            elif word == "stdin-python":
                case.stdin += eval(rest, {})
            elif word == "stdout-python":
                case.stdout += eval(rest, {})
            elif word == "stderr-python":
                case.stderr += eval(rest, {})
            elif word == "block":
                for expected in block(path, rest.strip(), i):
                    case.expect(expected)
            else:
                raise SystemExit(f"{path}:{i}: unknown directive @{word}")
            continue
        if line.startswith(">"):
            if case.prompts:
                case.stdout += b"> "
            case.stdin += case.text(line[2:] if line.startswith("> ") else line[1:]) + b"\n"
        else:
            case.expect(line)
    if case:
        case.finish()
    return cases


def show(data):
    return data.decode("utf-8", "backslashreplace")


def run_case(binary, case, workdir):
    program = os.path.join(workdir, "numora")
    try:
        os.link(binary, program)
    except OSError:
        shutil.copy2(binary, program)
    if case.include is not None:
        with open(os.path.join(workdir, "numora.inc"), "wb") as f:
            f.write(case.include)
    for name, text in case.files.items():
        path = os.path.join(workdir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(text)
    env = dict(os.environ)
    # The user's own files are the case's: none unless the case writes them.
    env.pop("NUMORA_HISTORY", None)
    env["XDG_CONFIG_HOME"] = os.path.join(workdir, "config")
    env["XDG_STATE_HOME"] = os.path.join(workdir, "state")
    env.update(case.env)
    try:
        # "{dir}" in a word stands for the case's directory, an absolute path.
        args = [word.replace("{dir}", workdir) for word in case.args]
        result = subprocess.run(WRAPPER + [program] + args, input=bytes(case.stdin),
                                cwd=workdir, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT if case.merged else subprocess.PIPE,
                                env=env, timeout=TIMEOUT_SECONDS)
    except subprocess.TimeoutExpired:
        return ["timed out"]
    problems = []
    if result.stdout != bytes(case.stdout):
        problems.append(f"stdout differs\n--- expected\n{show(case.stdout)}\n--- actual\n{show(result.stdout)}")
    if (result.stderr or b"") != bytes(case.stderr):
        problems.append(f"stderr differs\n--- expected\n{show(case.stderr)}\n--- actual\n{show(result.stderr)}")
    if result.returncode != case.status:
        problems.append(f"exit status {result.returncode}, expected {case.status}")
    if case.log is not None:
        log_path = os.path.join(workdir, "numora0.log")
        records = []
        if os.path.exists(log_path):
            with open(log_path, "rb") as f:
                for record in f.read().split(b"\r\n"):
                    if record:
                        records.append(TIMESTAMP.sub(b"", record))
        if records != case.log:
            problems.append("log differs\n--- expected\n" + "\n".join(map(show, case.log))
                            + "\n--- actual\n" + "\n".join(map(show, records)))
    return problems


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    failed = 0
    total = 0
    for path in sys.argv[2:]:
        for case in parse(path):
            total += 1
            with tempfile.TemporaryDirectory(prefix="numora-case-", dir=os.getcwd()) as workdir:
                problems = run_case(binary, case, workdir)
            if problems:
                failed += 1
                print(f"FAIL {os.path.basename(path)}:{case.line_number}: {case.title}")
                for problem in problems:
                    print("  " + problem.replace("\n", "\n  "))
    print(f"transcripts: {total - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
