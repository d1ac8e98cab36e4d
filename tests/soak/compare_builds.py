#!/usr/bin/env python3
"""Feeds the same generated sessions to two numora binaries and compares
what they print, byte for byte.

Usage: compare_builds.py BASELINE NEW [--sessions DIR] [--soak-lines N]

A change meant to keep behaviour (a restructuring, a speed-up) is checked
with it against the build before the change. The sessions (about 650,000
lines with the defaults) are written into DIR once and reused:

- four soak sessions (generate_lines.py, seeds 1 to 4);
- the fuzz corpus, and every input line of the transcripts;
- eight malformed sessions: token soup from the fuzz dictionary, lines of
  the others cut, spliced and sprinkled with junk bytes, deep parentheses;
- a few very long lines.

Lines naming built-ins that change the machine, the terminal or the
environment, or that end the run, are left out. Each session runs piped,
normally and with /s, in the same fresh folder with clean XDG folders; the
exit status, standard output and standard error must be equal. The status
is 1 when a session differs, and the first differing line is shown.
"""

import argparse
import glob
import os
import random
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Both builds run in the same folder, one of this run alone: runs started
# side by side must not clear each other's.
RUN_FOLDER = f"/tmp/numora-compare-builds-run-{os.getpid()}"
DANGER = re.compile(rb"system|remove|rename|rmdir|mkdir|chdir|chmod|putenv|cputs|putch|cgets|getch|"
                    rb"^\s*#\s*(x|exit)", re.I)
PIECES = [b"1", b"0", b"7", b"12", b"2.5", b"1e400", b"0x1f", b"017", b"0b101", b"1$3", b"1$1$2", b"'a'",
          b"'\\n'", b'"s"', b'"a\\tb"', b"2147483647", b"-2147483648", b"(", b")", b"[", b"]", b"{", b"}",
          b",", b";", b"/* c */", b"/* open", b"// c", b"\r\n", b"#", b"$", b"a", b"b", b"s", b"v", b"m",
          b"f", b"x", b"zz", b'"', b"'", b"\\", b"...", b"\x80", b"\xff", b"\t"]
DECLARATIONS = [b"int a = 1, b = 2, c = 3, i = 0", b"double x = 1.5, y", b'string s = "ab", t',
                b"int v[10] = {1, 2, 3}", b"double m[2][3]", b"char ch = 'a'", b"int &r = a", b"int f(int p) p",
                b"bool q = true"]
LONG_LINES = [b"1" + b"+1" * 5000, b"(" * 2000 + b"1" + b")" * 2000, b"-" * 3000 + b"1", b"a" + b"+a" * 3000,
              b"1" + b"*(1+2" * 600 + b")" * 600, b"v[1]" + b"+v[2]" * 2000, b"1 ? " * 500 + b"1" + b" : 2" * 500]


def safe(lines):
    return [line for line in lines if not DANGER.search(line)]


def write_sessions(folder, soak_lines):
    os.makedirs(folder, exist_ok=True)

    def write(name, lines):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"\n".join(lines) + b"\n")

    soak = []
    for seed in (1, 2, 3, 4):
        lines = safe(subprocess.run([sys.executable, os.path.join(ROOT, "tests/soak/generate_lines.py"),
                                     "--seed", str(seed), "--lines", str(soak_lines)],
                                    capture_output=True, check=True).stdout.split(b"\n"))
        write(f"soak{seed}.txt", lines)
        soak += lines
    corpus = []
    for path in sorted(glob.glob(os.path.join(ROOT, "fuzz/corpus/*"))):
        with open(path, "rb") as f:
            corpus += safe(f.read().split(b"\n"))
    write("corpus.txt", corpus)
    transcripts = []
    for path in sorted(glob.glob(os.path.join(ROOT, "tests/transcripts/*.t"))):
        with open(path, "rb") as f:
            transcripts += safe([line[2:] for line in f.read().split(b"\n") if line.startswith(b"> ")])
    write("transcripts.txt", transcripts)

    with open(os.path.join(ROOT, "fuzz/numora.dict")) as f:
        words = safe([line[1:-1].encode().decode("unicode_escape").encode("latin-1")
                      for line in f.read().split("\n") if line.startswith('"')])
    rng = random.Random(20261208)
    base = soak + transcripts + corpus

    def soup():
        return b"".join(rng.choice(words + PIECES * 2) + (b" " if rng.random() < 0.6 else b"")
                        for _ in range(rng.randint(1, 16)))

    def mutate(line):
        line = bytearray(line)
        for _ in range(rng.randint(1, 3)):
            choice = rng.random()
            if not line:
                line += rng.choice(PIECES)
            elif choice < 0.3:
                del line[rng.randrange(len(line)):][:rng.randint(1, 4)]
            elif choice < 0.6:
                at = rng.randrange(len(line) + 1)
                line[at:at] = rng.choice(PIECES + words)
            elif choice < 0.8:
                line = line[:rng.randrange(len(line) + 1)]
            else:
                at = rng.randrange(len(line))
                line[at] = rng.randrange(1, 256) if rng.random() < 0.3 else rng.choice(b"()[]{}+-*/,=?:!~&|^<>;$'\"")
        return bytes(line).replace(b"\n", b" ")

    for k in range(8):
        lines = list(DECLARATIONS)
        for _ in range(50000):
            r = rng.random()
            if r < 0.35:
                lines.append(soup())
            elif r < 0.9:
                lines.append(mutate(rng.choice(base)))
            else:
                depth = rng.randint(1, 40)
                lines.append(b"(" * depth + soup() + b")" * rng.randint(0, depth + 1))
        write(f"malformed{k}.txt", safe(lines))
    write("long.txt", [b"int a = 1, v[4]"] + LONG_LINES)


def run(binary, session, args):
    # The same folder every time: getcwd prints it.
    shutil.rmtree(RUN_FOLDER, ignore_errors=True)
    os.makedirs(os.path.join(RUN_FOLDER, "config"))
    os.makedirs(os.path.join(RUN_FOLDER, "state"))
    try:
        shutil.copy(binary, os.path.join(RUN_FOLDER, "numora"))
        env = {"PATH": "/usr/bin:/bin", "HOME": RUN_FOLDER, "XDG_CONFIG_HOME": os.path.join(RUN_FOLDER, "config"),
               "XDG_STATE_HOME": os.path.join(RUN_FOLDER, "state"), "LANG": "C.UTF-8",
               "NUMORA_SOAK_VALUE": "42", "NUMORA_SOAK_EMPTY": ""}
        with open(session, "rb") as stdin:
            done = subprocess.run(["setsid", "--wait", "./numora", *args], cwd=RUN_FOLDER, stdin=stdin,
                                  capture_output=True, env=env, timeout=900)
        return done.returncode, done.stdout, done.stderr
    finally:
        shutil.rmtree(RUN_FOLDER, ignore_errors=True)


def first_difference(a, b):
    lines_a, lines_b = a.split(b"\n"), b.split(b"\n")
    at = next((i for i, (x, y) in enumerate(zip(lines_a, lines_b)) if x != y), min(len(lines_a), len(lines_b)))
    return at, (lines_a[at] if at < len(lines_a) else None), (lines_b[at] if at < len(lines_b) else None)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("baseline")
    parser.add_argument("new")
    parser.add_argument("--sessions", default="/tmp/numora-compare-builds")
    parser.add_argument("--soak-lines", type=int, default=60000)
    options = parser.parse_args()
    if not glob.glob(os.path.join(options.sessions, "*.txt")):
        write_sessions(options.sessions, options.soak_lines)
    differing = 0
    compared = 0
    lines = 0
    for session in sorted(glob.glob(os.path.join(options.sessions, "*.txt"))):
        with open(session, "rb") as f:
            count = f.read().count(b"\n")
        lines += count
        for args in ([], ["/s"]):
            a = run(options.baseline, session, args)
            b = run(options.new, session, args)
            compared += len(a[1]) + len(a[2])
            same = a == b
            print(f"{'same' if same else 'DIFFER':6} {os.path.basename(session):16} {' '.join(args):2} "
                  f"lines {count:6} status {a[0]:3} out {len(a[1]):9} err {len(a[2]):8}", flush=True)
            if same:
                continue
            differing += 1
            if a[0] != b[0]:
                print(f"   status {a[0]} against {b[0]}")
            for name, x, y in (("stdout", a[1], b[1]), ("stderr", a[2], b[2])):
                if x != y:
                    at, old, new = first_difference(x, y)
                    print(f"   {name} line {at}: {old!r} against {new!r}")
    print(f"{lines} lines a run, {compared} bytes of output compared; {differing} runs differ")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
