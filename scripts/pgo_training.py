#!/usr/bin/env python3
"""Writes the session the shipped build is trained on (profile-guided
optimisation, see scripts/build-release.sh) to standard output.

Usage: pgo_training.py

The session is what people type at a calculator, not the benchmarks' lines:
every input line of the transcripts (each feature and its faults), then a
mix of ordinary lines drawn with a fixed seed: integer and floating
arithmetic on literals and variables, array elements, built-ins, fractions,
strings and printf, comparisons and conditions, declarations, output
radixes and mistakes, and lines among many thousand names. Lines that would touch the file system, run a
command, read standard input or end the session are left out, so training
has no effect outside the run.
"""

import random
import re
from pathlib import Path

TRANSCRIPTS = Path(__file__).resolve().parent.parent / "tests" / "transcripts"
# Built-ins and commands that act outside the session, wait for input or end it.
UNSAFE = re.compile(r"\b(system|remove|rename|mkdir|rmdir|chdir|chmod|access|getch|getchar|gets|cgets)\s*\("
                    r"|^\s*#\s*(x|exit)\b", re.IGNORECASE)


def transcript_lines():
    for path in sorted(TRANSCRIPTS.glob("*.t")):
        for line in path.read_text(encoding="utf-8", errors="surrogateescape").splitlines():
            if line.startswith("> ") and not UNSAFE.search(line[2:]):
                yield line[2:]


class Session:
    INTS = [f"n{i}" for i in range(40)]
    DOUBLES = [f"x{i}" for i in range(12)]
    STRINGS = [f"s{i}" for i in range(4)]

    def __init__(self, rng):
        self.rng = rng
        self.declared = 0

    def declarations(self):
        r = self.rng
        yield "int " + ", ".join(f"{n} = {r.randint(-50, 500)}" for n in self.INTS)
        yield "double " + ", ".join(f"{x} = {r.randint(1, 999) / 8}" for x in self.DOUBLES)
        yield "string " + ", ".join(f'{s} = "{"abcxyz"[i:i + 3]}"' for i, s in enumerate(self.STRINGS))
        yield "int v[64] = {" + ", ".join(str(r.randint(0, 99)) for _ in range(64)) + "}"
        yield "double m[4][4] = {" + ", ".join("{" + ", ".join(str(r.randint(1, 9)) for _ in range(4)) + "}"
                                              for _ in range(4)) + "}"
        yield "dword mask = 0xff00"
        yield "char c = 'q'"
        yield "int sq(int k) k * k"

    def integer(self, depth=0):
        r = self.rng
        roll = r.random()
        if depth < 2 and roll < 0.25:
            return "(" + self.integer(depth + 1) + " " + r.choice("+-*") + " " + self.integer(depth + 1) + ")"
        if roll < 0.55:
            return str(r.choice([r.randint(0, 9), r.randint(10, 9999), r.randint(0, 255)]))
        if roll < 0.8:
            return r.choice(self.INTS)
        if roll < 0.9:
            return f"v[{r.choice([str(r.randint(0, 63)), r.choice(self.INTS[:5]) + ' & 63'])}]"
        return r.choice(["abs(-7)", "max(3, 9)", f"min({r.choice(self.INTS)}, 4)", "strlen(s1)", "0x1F", "017",
                         "0b1011", "'a'"])

    def floating(self):
        r = self.rng
        x, y = r.choice(self.DOUBLES), r.choice(self.DOUBLES)
        return r.choice([f"{x} * 1.5 + sqrt({y})", f"sin({x}) + cos({y}) * 2.0", f"pow({x}, 2) - {y} / 3.0",
                         f"fabs({x} - {y})", f"floor({x}) + ceil({y})", f"log({x}) + exp(0.5)",
                         f"atan2({x}, {y})", f"m[{r.randint(0, 3)}][{r.randint(0, 3)}] * 0.25 + {x}",
                         f"{r.randint(1, 99)}.{r.randint(0, 99)} * {r.randint(1, 9)}.5e{r.randint(-3, 3)}"])

    def line(self):
        r = self.rng
        roll = r.random()
        n = r.choice(self.INTS)
        if roll < 0.22:
            return " ".join([self.integer()] + [f"{r.choice('+-*')} {self.integer()}" for _ in range(r.randint(1, 6))])
        if roll < 0.34:
            return f"{n} = {self.integer()} {r.choice('+-*/%')} {r.randint(1, 13)}"
        if roll < 0.42:
            return f"v[{r.randint(0, 63)}] = {self.integer()} + {r.randint(0, 9)}"
        if roll < 0.54:
            line = self.floating()
            return f"{r.choice(self.DOUBLES)} = {line}" if r.random() < 0.5 else line
        if roll < 0.6:
            return f"{r.randint(1, 9)}${r.randint(2, 9)} {r.choice('+-*/')} {r.randint(1, 9)}${r.randint(2, 9)}"
        if roll < 0.67:
            s = r.choice(self.STRINGS)
            return r.choice([f'{s} + "!"', f"strlen({s} + {r.choice(self.STRINGS)})", f'strcmp({s}, "abc")',
                             f'printf("%d %s %5.2f\\n", {n}, {s}, {r.choice(self.DOUBLES)})', f'atoi("{r.randint(0, 999)}")'])
        if roll < 0.75:
            a, b = self.integer(), self.integer()
            return r.choice([f"{a} < {b} && {b} != 0", f"{a} == {b} || !{a}", f"{a} > {b} ? {a} : {b}",
                             f"({a} & mask) | ({b} << 2)", f"~{a} ^ {n} >> 1", f"{n}++", f"--{n}"])
        if roll < 0.8:
            return r.choice(["#hex", "#dec", "#oct", "#bin", "#dec", "#dec"])
        if roll < 0.92:
            self.declared += 1
            k = self.declared
            return r.choice([f"int t{k} = {self.integer()}", f"double y{k} = {self.floating()}",
                             f"int w{k}[3] = {{{r.randint(0, 9)}, {r.randint(0, 9)}, {r.randint(0, 9)}}}"])
        # Mistakes: an unknown name, a missing operand, a zero divisor, a
        # mismatched type, an unclosed group.
        return r.choice([f"{n} + nosuch", f"{self.integer()} *", f"{self.integer()} / 0", f'{n} + "text"',
                         f"({self.integer()} + 1", "sq(3)", f"v[{r.randint(64, 99)}]", "1 +* 2"])


def main():
    # The transcripts last: their names would otherwise take the session's.
    session = Session(random.Random(20261208))
    for line in session.declarations():
        print(line)
    for _ in range(30_000):
        print(session.line())
    # A session that has outgrown the caches (a large include file, a long
    # day): the lines ahead then have their names fetched early.
    r = session.rng
    for k in range(20_000):
        print(f"int g{k} = {k}")
    for _ in range(5_000):
        print(f"g{r.randrange(20_000)} * {r.randint(2, 9)} - g{r.randrange(20_000)}")
    for line in transcript_lines():
        print(line)


if __name__ == "__main__":
    main()
