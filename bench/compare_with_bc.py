#!/usr/bin/env python3
"""Times numora against bc (and calc, when installed) on the same workloads.

Usage: compare_with_bc.py NUMORA_BINARY [--runs N] [--quick] [--only NAME[,NAME...]]

Workloads (generated deterministically into a temporary directory; the name
in brackets is the one --only takes):
  [literal]   integer arithmetic: 1,000,000 lines of about ten + - * operators
              with parentheses on small non-negative literals;
  [floating]  floating arithmetic with sqrt and sin: 100,000 lines (bc -l);
  [startup]   start-up alone: empty input;
  [scale]     an include file of 100,000 declarations, then 10,000 lines that
              read the last-declared variables (numora's peak memory is
              reported);
  [variables] 100 int variables declared, then 100,000 lines such as
              "a3 = a17 * 7 + a42 % 13" and "a5 + a9 * 2";
  [arrays]    an array of 1000 ints filled, then 100,000 lines such as
              "v[12] = v[840] + 3" and "v[5] + v[7] * 2";
  [doubles]   10 double variables, then 100,000 lines such as
              "x3 = x1 * 1.0001 + sqrt(x7)" (bc -l);
  [var-literals] the variables workload against the same values written as
              literals, both in numora (the ratio is variables / literals);
  [mixed]     a session of 100,000 lines switching between #hex and #dec, with
              int variables, fractions ("1$3 + 1$6"), strings ("strlen(s)",
              's + "x"'), doubles and printf; bc has none of these, so it is
              checked against values computed here and timed alone;
  [names]     queries on random names among 100,000 declarations against the
              same queries among 100 (an include file each); the time of the
              queries alone is the run minus a run of the same include file
              with no input;
  [memory]    peak resident memory of 100,000 lines "int dK = K" minus that
              of an empty start, per declaration, and the peak itself;
  [malloc]    calls of the allocator per line, in the steady state, for the
              variables and arrays workloads: counted under callgrind for N
              and for 2N lines, the difference divided by N;
  [long]      lines that cost what their length allows and no more: 10 MB of
              "1+1+…+1" and 10 MB of "*" (refused at the depth bound), and a
              definition of 100,000 parameters; time and peak memory of each
              (numora alone, each answer checked).

Every workload's output is checked before it is timed: against bc's (after
bc's own output is checked against values computed here), or against values
computed here where bc cannot run it; doubles are compared with a tolerance
for numora's six significant digits. The runs of the programs alternate
(twenty times as many for the start-up); medians of the wall times are
printed in one table with the ratio numora/peer (the median of the ratios
of the rounds), the goal and whether it is met.
"""

import argparse
import fractions
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

WORKLOAD_KEYS = ["literal", "floating", "startup", "scale", "variables", "arrays", "doubles",
                 "var-literals", "mixed", "names", "memory", "malloc", "long"]

INT_MIN, INT_MAX = -2**31, 2**31 - 1
STORED_LIMIT = 10**9  # variables stay below this, so any sum of two fits 32 bits


def integer_line(rng):
    """An expression of about ten operators whose value fits 32 bits."""
    def term(depth):
        if depth > 0 and rng.random() < 0.3:
            return "(" + expr(depth - 1, 3) + ")"
        return str(rng.randint(0, 9))

    def expr(depth, count):
        parts = [term(depth)]
        for _ in range(count):
            parts.append(rng.choice(["+", "-", "*"]))
            parts.append(term(depth))
        return " ".join(parts)

    while True:
        line = expr(1, 7)
        if abs(eval(line)) < 10**6:
            return line


def floating_line(rng):
    a = rng.randint(1, 999) / 8
    b = rng.randint(1, 999) / 1000
    c = rng.randint(1, 99) / 4
    return (f"sqrt({a}) * sin({b}) + {c}", f"sqrt({a}) * s({b}) + {c}")


# C's integer division and remainder: the quotient truncated toward zero.
# bc at scale 0 does the same, so the workloads may hold negative values.
def cdiv(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def cmod(a, b):
    return a - b * cdiv(a, b)


def fits(*values):
    return all(INT_MIN <= v <= INT_MAX for v in values)


class Ref:
    """A use of a variable or element in a generated line: its name and the
    value it holds when the line runs."""

    def __init__(self, name, value):
        self.name, self.value = name, value


def render(parts, literal):
    """The text of a line made of Refs and plain strings; with literal, each
    Ref is written as its value (negative values in parentheses)."""
    out = []
    for part in parts:
        if isinstance(part, Ref):
            if literal:
                out.append(str(part.value) if part.value >= 0 else f"({part.value})")
            else:
                out.append(part.name)
        else:
            out.append(part)
    return " ".join(out).replace("( ", "(").replace(" )", ")")


class IntScript:
    """Lines on integer variables or elements, with the three texts of each
    line (numora, bc, numora with literals) and the value it prints."""

    def __init__(self):
        self.numora, self.bc, self.literal, self.values = [], [], [], []
        self.setup = 0  # lines before the operations

    def declare(self, numora_text, bc_text, value):
        # numora prints an empty line for a declaration, bc nothing.
        self.numora.append(numora_text)
        self.bc.append(bc_text)
        self.literal.append(str(value))
        self.values.append(None)

    def assign(self, target, parts, value):
        expression = render(parts, False)
        self.numora.append(f"{target} = {expression}")
        self.bc.append(f"({target} = {expression})")
        self.literal.append(render(parts, True))
        self.values.append(value)

    def query(self, parts, value):
        self.numora.append(render(parts, False))
        self.bc.append(render(parts, False))
        self.literal.append(render(parts, True))
        self.values.append(value)


def integer_operations(rng, names, store, script, count):
    """count lines on the names (variables or elements) whose values are in
    store: half assignments, half queries, every intermediate value within
    32 bits and every stored value below STORED_LIMIT."""
    def pick():
        i = rng.randrange(len(names))
        return i, Ref(names[i], store[i])

    for _ in range(count):
        while True:
            i, _ = pick()
            _, j = pick()
            _, k = pick()
            c = rng.randint(2, 9)
            m = rng.randint(2, 99)
            kind = rng.randrange(6)
            if kind == 0:    # a3 = a17 * 7 + a42 % 13
                p, r = j.value * c, cmod(k.value, m)
                value, parts, inner = p + r, [j, "*", str(c), "+", k, "%", str(m)], [p, r]
            elif kind == 1:  # a3 = a17 - a42 / 4
                q = cdiv(k.value, c)
                value, parts, inner = j.value - q, [j, "-", k, "/", str(c)], [q]
            elif kind == 2:  # a3 = (a17 + a42) % 13 + 4
                s = j.value + k.value
                value, parts, inner = cmod(s, m) + c, ["(", j, "+", k, ")", "%", str(m), "+", str(c)], [s]
            elif kind == 3:  # a5 + a9 * 2
                p = k.value * c
                value, parts, inner = j.value + p, [j, "+", k, "*", str(c)], [p]
            elif kind == 4:  # a5 - a9 / 3
                q = cdiv(k.value, c)
                value, parts, inner = j.value - q, [j, "-", k, "/", str(c)], [q]
            else:            # (a5 + 3) * a9 % 17
                s = j.value + c
                p = s * k.value
                value, parts, inner = cmod(p, m), ["(", j, "+", str(c), ")", "*", k, "%", str(m)], [s, p]
            if not fits(value, *inner):
                continue
            if kind <= 2:
                if abs(value) >= STORED_LIMIT:
                    continue
                script.assign(names[i], parts, value)
                store[i] = value
            else:
                script.query(parts, value)
            break


def variables_script(scale):
    rng = random.Random(20261301)
    script = IntScript()
    names = [f"a{i}" for i in range(100)]
    store = [rng.randint(-1000, 100_000) for _ in names]
    for name, value in zip(names, store):
        script.declare(f"int {name} = {value}", f"{name} = {value}", value)
    script.setup = len(script.numora)
    integer_operations(rng, names, store, script, 100_000 // scale)
    return script


def arrays_script(scale, count=None):
    rng = random.Random(20261302)
    script = IntScript()
    names = [f"v[{i}]" for i in range(1000)]
    store = [rng.randint(0, 10_000) for _ in names]
    script.declare("int v[1000]", "", 0)
    for name, value in zip(names, store):
        script.assign(name, [str(value)], value)
    script.setup = len(script.numora)
    integer_operations(rng, names, store, script, 100_000 // scale if count is None else count)
    return script


def doubles_script(scale):
    """Lines on ten double variables; returns numora lines, bc -l lines and
    the values (None for a declaration)."""
    rng = random.Random(20261303)
    names = [f"x{i}" for i in range(10)]
    store = [1.5 + i * 2.25 for i in range(10)]
    numora = [f"double {n} = {v}" for n, v in zip(names, store)]
    bc = [f"{n} = {v}" for n, v in zip(names, store)]
    values = [None] * len(names)
    for _ in range(100_000 // scale):
        i, j, k = (rng.randrange(10) for _ in range(3))
        xi, xj, xk = store[i], store[j], store[k]
        kind = rng.randrange(5)
        if kind == 0 and xj * 1.0001 + xk ** 0.5 >= 1e5:
            kind = 1
        if kind == 0:
            text, value = f"{names[j]} * 1.0001 + sqrt({names[k]})", xj * 1.0001 + xk ** 0.5
        elif kind == 1:
            text, value = f"{names[j]} / 3.5 + sqrt({names[k]}) * 0.25", xj / 3.5 + xk ** 0.5 * 0.25
        elif kind == 2:
            text, value = f"{names[j]} * 0.999 + 0.5", xj * 0.999 + 0.5
        elif kind == 3:
            text, value = f"{names[i]} * 0.5 + {names[j]} / 7", xi * 0.5 + xj / 7
        else:
            text, value = f"sqrt({names[i]}) + {names[j]} * {names[k]} / 1000", xi ** 0.5 + xj * xk / 1000
        if kind <= 2:
            numora.append(f"{names[i]} = {text}")
            bc.append(f"({names[i]} = {text})")
            store[i] = value
        else:
            numora.append(text)
            bc.append(text)
        values.append(value)
    return numora, bc, values


def c_string(text):
    return '"' + text + '"'


def mixed_session(scale):
    """A session of #hex and #dec, int variables, fractions, strings, doubles
    and printf; returns the lines and the output lines expected (numora's
    output with its prompts taken out and empty lines dropped)."""
    rng = random.Random(20261304)
    lines, expected = [], []
    ints = [rng.randint(-500, 5000) for _ in range(20)]
    strings = ["ab", "numora", "x", "hello", "cd"]
    doubles = [1.5, 2.25, 10.0]
    hexadecimal = False
    for i, v in enumerate(ints):
        lines.append(f"int h{i} = {v}")
    for i, s in enumerate(strings):
        lines.append(f"string s{i} = {c_string(s)}")
    for i, d in enumerate(doubles):
        lines.append(f"double d{i} = {d}")

    def integer(value):
        return f"0x{value & 0xffffffff:08x}" if hexadecimal else str(value)

    for _ in range(100_000 // scale):
        roll = rng.random()
        if roll < 0.08:
            lines.append("#dec" if hexadecimal else "#hex")
            hexadecimal = not hexadecimal
        elif roll < 0.33:
            i, j, k = (rng.randrange(len(ints)) for _ in range(3))
            c = rng.randint(2, 9)
            kind = rng.randrange(3)
            if kind == 0 and abs(ints[j] * c + 1) < STORED_LIMIT:
                ints[i] = ints[j] * c + 1
                lines.append(f"h{i} = h{j} * {c} + 1")
                expected.append(integer(ints[i]))
            elif kind == 1:
                ints[i] = cmod(ints[j], 97) + c
                lines.append(f"h{i} = h{j} % 97 + {c}")
                expected.append(integer(ints[i]))
            else:
                lines.append(f"h{i} - h{k}")
                expected.append(integer(ints[i] - ints[k]))
        elif roll < 0.53:
            a, b, c, d = (rng.randint(1, 12) for _ in range(4))
            kind = rng.randrange(4)
            if kind == 0:
                text, value = f"{a}${b} + {c}${d}", fractions.Fraction(a, b) + fractions.Fraction(c, d)
            elif kind == 1:
                text, value = f"{a}${b} * {c}${d}", fractions.Fraction(a, b) * fractions.Fraction(c, d)
            elif kind == 2:
                text, value = f"{a}${b} - {c}${d}", fractions.Fraction(a, b) - fractions.Fraction(c, d)
            else:
                e = rng.randint(1, 12)
                text = f"{a}${b}${c + b} + {d}${e}"
                value = fractions.Fraction(a * (c + b) + b, c + b) + fractions.Fraction(d, e)
            lines.append(text)
            expected.append(f"{value.numerator}${value.denominator}")
        elif roll < 0.73:
            i, j = rng.randrange(len(strings)), rng.randrange(len(strings))
            kind = rng.randrange(3)
            if kind == 0:
                lines.append(f"strlen(s{i})")
                expected.append(integer(len(strings[i])))
            elif kind == 1:
                lines.append(f's{i} + "x"')
                expected.append(c_string(strings[i] + "x"))
            else:
                word = rng.choice(["k", "yz", "!", "q7"])
                if len(strings[j]) + len(word) > 20:
                    strings[i] = word
                    lines.append(f"s{i} = {c_string(word)}")
                else:
                    strings[i] = strings[j] + word
                    lines.append(f"s{i} = s{j} + {c_string(word)}")
                expected.append(c_string(strings[i]))
        elif roll < 0.88:
            i, j = rng.randrange(len(ints)), rng.randrange(len(strings))
            if rng.randrange(2) == 0:
                lines.append(f'printf("%d %s\\n", h{i}, s{j})')
                text = f"{ints[i]} {strings[j]}"
            else:
                k = rng.randrange(len(doubles))
                lines.append(f'printf("%x|%.2f\\n", h{i}, d{k})')
                text = f"{ints[i] & 0xffffffff:x}|{doubles[k]:.2f}"
            expected.append(text)
            expected.append(integer(len(text) + 1))
        else:
            i, j = rng.randrange(len(doubles)), rng.randrange(len(doubles))
            if doubles[j] * 1.5 + 1 < 1e6:
                doubles[i] = doubles[j] * 1.5 + 1
                lines.append(f"d{i} = d{j} * 1.5 + 1")
            else:
                doubles[i] = doubles[j] / 1000
                lines.append(f"d{i} = d{j} / 1000")
            expected.append("%g" % doubles[i])
    return lines, expected


def write_lines(path, lines):
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    return path


def empty_file(path):
    open(path, "w").close()
    return path


GNU_TIME = "/usr/bin/time"


def run(command, input_path, output_path):
    """Wall time and peak resident memory (KiB, 0 when unknown) of one run.

    The peak comes from GNU time: the rusage of a child started from this
    process would count the memory the child had before it started the
    program, which is this large process's.
    """
    peak_path = output_path + ".peak"
    measured = [GNU_TIME, "-f", "%M", "-o", peak_path] + command if os.path.exists(GNU_TIME) else command
    with open(input_path, "rb") as stdin, open(output_path, "wb") as stdout:
        start = time.perf_counter()
        status = subprocess.run(measured, stdin=stdin, stdout=stdout, stderr=subprocess.DEVNULL).returncode
        elapsed = time.perf_counter() - start
    if status != 0:
        raise SystemExit(f"{command[0]} failed on {input_path} with status {status}")
    peak = 0
    if os.path.exists(peak_path):
        with open(peak_path) as f:
            peak = int(f.read().split()[-1])
    return elapsed, peak


def output_of(command, input_path):
    """Standard output of one run that must succeed with nothing on standard
    error (a diagnostic would mean the workload or the program is wrong)."""
    with open(input_path, "rb") as stdin:
        done = subprocess.run(command, stdin=stdin, capture_output=True)
    if done.returncode != 0 or done.stderr:
        first = done.stderr.decode(errors="replace").splitlines()[:3]
        raise SystemExit(f"{command[0]} failed on {input_path} (status {done.returncode}): {first}")
    return done.stdout.decode(errors="replace")


def numora_numbers(text):
    return re.sub(r"> ", "\n", text).split()


def numora_lines(text):
    """numora's output lines without prompts and without the empty lines of
    declarations."""
    return [line for line in text.replace("> ", "\n").split("\n") if line]


def expected_numbers(values):
    return [str(v) for v in values if v is not None]


def agree(name, got, want, what):
    if got != want:
        at = next((i for i, (g, w) in enumerate(zip(got, want)) if g != w), min(len(got), len(want)))
        g = got[at] if at < len(got) else "(end)"
        w = want[at] if at < len(want) else "(end)"
        raise SystemExit(f"{name}: {what} disagree at result {at + 1}: {g!r} against {w!r}")


def agree_numerically(name, got, want, what, tolerance=1e-5):
    """Floating results: numora's %g keeps six significant digits, so the
    relative difference may reach 5e-6."""
    if len(got) != len(want):
        raise SystemExit(f"{name}: {what} give {len(got)} and {len(want)} results")
    for at, (g, w) in enumerate(zip(got, want)):
        if abs(float(g) - float(w)) > tolerance * abs(float(w)) + 1e-9:
            raise SystemExit(f"{name}: {what} disagree at result {at + 1}: {g} against {w}")


def paired_times(commands, runs):
    """Runs the (command, input) pairs in turn, runs times; the wall times of
    each and its highest peak."""
    times = [[] for _ in commands]
    peaks = [0] * len(commands)
    for _ in range(runs):
        for index, (command, input_path, output_path) in enumerate(commands):
            t, rss = run(command, input_path, output_path)
            times[index].append(t)
            peaks[index] = max(peaks[index], rss)
    return times, peaks


def paired(commands, runs):
    """The median wall time and the highest peak of each command."""
    times, peaks = paired_times(commands, runs)
    return [statistics.median(t) for t in times], peaks


def progress(text):
    print(text, file=sys.stderr, flush=True)


class Bench:
    def __init__(self, numora, directory, runs, quick):
        self.numora = numora
        self.directory = directory
        self.runs = runs
        self.scale = 10 if quick else 1
        self.rows = []
        self.peers = [("bc", "bc", ["-q"])]
        if shutil.which("calc"):
            self.peers.append(("calc", "calc", ["-p"]))

    def path(self, name):
        return os.path.join(self.directory, name)

    def with_include(self, folder, declarations):
        """A copy of numora in its own folder, beside an include file."""
        os.makedirs(self.path(folder))
        with open(self.path(f"{folder}/numora.inc"), "w") as f:
            f.write("".join(declarations))
        program = self.path(f"{folder}/numora")
        shutil.copy2(self.numora, program)
        return program

    def row(self, name, numora, peer, ratio, goal, met, peak=""):
        self.rows.append((name, numora, peer, ratio, goal, met, peak))

    def timed_row(self, name, numora_command, numora_input, peer_command, peer_input, goal, runs=None):
        """Alternating runs of numora and its peer: the median time of each,
        and as the ratio the median of the rounds' ratios, which a load that
        comes and goes on the shared machine moves less than the ratio of the
        medians."""
        times, peaks = paired_times([(numora_command, numora_input, self.path("out.numora")),
                                     (peer_command, peer_input, self.path("out.peer"))], runs or self.runs)
        n, p = (statistics.median(t) for t in times)
        ratio = statistics.median(a / b for a, b in zip(*times))
        self.row(name, f"{n * 1000:.1f} ms", f"{p * 1000:.1f} ms", f"{ratio:.3f}",
                 "—" if goal is None else f"≤ {goal}", "—" if goal is None else ("yes" if ratio <= goal else "no"),
                 f"{peaks[0] / 1024:.1f} MiB")

    # The workloads that came first: literal lines, floating, start-up, scale.

    def literal(self):
        rng = random.Random(20261207)
        path = write_lines(self.path("integer.txt"), [integer_line(rng) for _ in range(1_000_000 // self.scale)])
        want = numora_numbers(output_of([self.numora], path))
        agree("integer arithmetic", want, output_of(["bc", "-q"], path).split(), "numora and bc")
        for peer_name, peer, peer_args in self.peers:
            self.timed_row(f"literal lines: integer arithmetic ({peer_name})", [self.numora], path,
                           [peer] + peer_args, path, 0.2 if peer_name == "bc" else None)

    def floating(self):
        rng = random.Random(20261208)
        pairs = [floating_line(rng) for _ in range(100_000 // self.scale)]
        numora_path = write_lines(self.path("floating.txt"), [p[0] for p in pairs])
        bc_path = write_lines(self.path("floating.bc"), [p[1] for p in pairs])
        agree_numerically("floating", numora_numbers(output_of([self.numora], numora_path)),
                          output_of(["bc", "-lq"], bc_path).split(), "numora and bc -l")
        self.timed_row("floating with sqrt and sin (bc -l)", [self.numora], numora_path, ["bc", "-lq"], bc_path, None)

    def startup(self):
        empty = empty_file(self.path("empty.txt"))
        # A start takes a few milliseconds, where the machine's noise is as
        # large as the difference; many more runs steady the median.
        for peer_name, peer, peer_args in self.peers:
            self.timed_row(f"start-up ({peer_name})", [self.numora], empty, [peer] + peer_args, empty, None,
                           runs=self.runs * 20)

    def scale_reads(self):
        count = 100_000 // self.scale
        program = self.with_include("scale", [f"int v{i} = {i}\n" for i in range(1, count + 1)])
        reads = [f"v{count - i % 100} + v{count - (i * 7) % 100}" for i in range(10_000 // self.scale)]
        numora_reads = write_lines(self.path("scale.txt"), reads)
        # bc holds at most 32767 variables, so its declarations are the
        # elements of one array.
        bc_scale = write_lines(self.path("scale.bc"), [f"v[{i}] = {i}" for i in range(1, count + 1)]
                               + [re.sub(r"v(\d+)", r"v[\1]", line) for line in reads])
        want = [str(count - i % 100 + count - (i * 7) % 100) for i in range(len(reads))]
        agree("scale", numora_numbers(output_of([program], numora_reads)), want, "numora and the expected values")
        for peer_name, peer, peer_args in self.peers:
            peer_input = bc_scale if peer_name == "bc" else numora_reads
            if peer_name == "bc":
                agree("scale", output_of(["bc", "-q"], bc_scale).split(), want, "bc and the expected values")
            self.timed_row(f"scale: 100,000 declarations ({peer_name})", [program], numora_reads,
                           [peer] + peer_args, peer_input, None)

    # The realistic workloads.

    def int_workload(self, name, script, goal):
        numora_path = write_lines(self.path(f"{name}.txt"), script.numora)
        bc_path = write_lines(self.path(f"{name}.bc"), [line for line in script.bc if line])
        want = expected_numbers(script.values)
        agree(name, output_of(["bc", "-q"], bc_path).split(), want, "bc and the expected values")
        agree(name, numora_numbers(output_of([self.numora], numora_path)), want, "numora and bc")
        self.timed_row(f"{name} (bc)", [self.numora], numora_path, ["bc", "-q"], bc_path, goal)

    def variables(self):
        self.int_workload("variables", variables_script(self.scale), 0.25)

    def arrays(self):
        self.int_workload("arrays", arrays_script(self.scale), 0.25)

    def doubles(self):
        numora, bc, values = doubles_script(self.scale)
        numora_path = write_lines(self.path("doubles.txt"), numora)
        bc_path = write_lines(self.path("doubles.bc"), bc)
        want = [repr(v) for v in values if v is not None]
        from_bc = output_of(["bc", "-lq"], bc_path).split()
        agree_numerically("doubles", from_bc, want, "bc -l and the expected values", tolerance=1e-9)
        agree_numerically("doubles", numora_numbers(output_of([self.numora], numora_path)), from_bc,
                          "numora and bc -l")
        self.timed_row("doubles in variables (bc -l)", [self.numora], numora_path, ["bc", "-lq"], bc_path, 0.05)

    def var_literals(self):
        script = variables_script(self.scale)
        variables = write_lines(self.path("var-literals.txt"), script.numora)
        literals = write_lines(self.path("var-literals.lit"), script.literal)
        want = expected_numbers(script.values)
        agree("var-literals", numora_numbers(output_of([self.numora], variables)), want,
              "numora on variables and the expected values")
        with_declared = [str(v) if v is not None else lit for v, lit in zip(script.values, script.literal)]
        agree("var-literals", numora_numbers(output_of([self.numora], literals)), with_declared,
              "numora on literals and the expected values")
        self.timed_row("variables / the same as literals (numora)", [self.numora], variables, [self.numora], literals, 2)

    def mixed(self):
        lines, want = mixed_session(self.scale)
        path = write_lines(self.path("mixed.txt"), lines)
        agree("mixed", numora_lines(output_of([self.numora], path)), want, "numora and the expected values")
        medians, peaks = paired([([self.numora], path, self.path("out.numora"))], self.runs)
        self.row("mixed: hex, fractions, strings, printf (alone)", f"{medians[0] * 1000:.1f} ms", "—", "—", "—", "—",
                 f"{peaks[0] / 1024:.1f} MiB")

    def names(self):
        count = 100_000 // self.scale
        rng = random.Random(20261305)
        many = list(range(1, count + 1))
        # The hundred names are drawn from the same range, so the names of
        # both sets have the same lengths.
        few = sorted(rng.sample(many, 100))
        big = self.with_include("names-many", [f"int d{k} = {k}\n" for k in many])
        small = self.with_include("names-few", [f"int d{k} = {k}\n" for k in few])
        queries = 100_000 // self.scale
        empty = empty_file(self.path("names-empty.txt"))
        inputs = []
        for label, program, keys in (("many", big, many), ("few", small, few)):
            lines, want = [], []
            for q in range(queries):
                i, j = rng.choice(keys), rng.choice(keys)
                if q % 2:
                    lines.append(f"d{i} + d{j}")
                    want.append(str(i + j))
                else:
                    lines.append(f"d{i} * 2 - d{j}")
                    want.append(str(i * 2 - j))
            path = write_lines(self.path(f"names-{label}.txt"), lines)
            agree("names", numora_numbers(output_of([program], path)), want, f"numora among {label} and the expected values")
            agree("names", numora_numbers(output_of([program], empty)), [], f"numora among {label} with no input")
            inputs.append((program, path))
        commands = []
        for program, path in inputs:
            commands.append(([program], path, self.path("out.numora")))
            commands.append(([program], empty, self.path("out.numora")))
        times, _ = paired_times(commands, self.runs)
        medians = [statistics.median(t) for t in times]
        # The include file of 100,000 declarations takes longer than the
        # queries and its time wanders with the machine's load, so the time of
        # the queries is taken in each round, from two runs side by side, and
        # the median of those differences is kept.
        per_many = statistics.median(q - e for q, e in zip(times[0], times[1])) / queries
        per_few = statistics.median(q - e for q, e in zip(times[2], times[3])) / queries
        ratio = per_many / per_few
        self.row(f"query among {count:,} names / among 100", f"{per_many * 1e6:.2f} µs", f"{per_few * 1e6:.2f} µs",
                 f"{ratio:.3f}", "≤ 1.5", "yes" if ratio <= 1.5 else "no")
        self.row(f"  include file alone ({count:,} / 100 declarations)", f"{medians[1] * 1000:.1f} ms",
                 f"{medians[3] * 1000:.1f} ms", f"{medians[1] / medians[3]:.3f}", "—", "—")

    def memory(self):
        count = 100_000 // self.scale
        declarations = write_lines(self.path("memory.txt"), [f"int d{k} = {k}" for k in range(1, count + 1)])
        empty = empty_file(self.path("memory-empty.txt"))
        agree("memory", numora_numbers(output_of([self.numora], declarations)), [], "numora and no output")
        peaks = [[], []]
        for _ in range(self.runs):
            for index, path in enumerate((declarations, empty)):
                peaks[index].append(run([self.numora], path, self.path("out.numora"))[1])
        if not peaks[0][0]:
            self.row("memory per scalar declaration", "unknown (no GNU time)", "—", "—", "≤ 200 B", "—")
            return
        full, start = statistics.median(peaks[0]) * 1024, statistics.median(peaks[1]) * 1024
        per = (full - start) / count
        self.row(f"memory kept per declaration ({count:,} int)", f"{per:.0f} B", "—", "—", "≤ 200 B",
                 "yes" if per <= 200 else "no")
        self.row(f"peak after {count:,} declarations", f"{full / 1e6:.1f} MB", f"{start / 1e6:.1f} MB empty", "—",
                 "< 24 MB", "yes" if full < 24e6 else "no")

    def long_lines(self):
        size = 10_000_000 // self.scale
        params = 100_000 // self.scale
        cases = [
            ("10 MB line of 1+1+…+1", "1+" * (size // 2) + "1", "pos:2001  構文エラー"),
            ("10 MB line of *", "*" * size, "pos:1001  構文エラー"),
            (f"definition of {params:,} parameters",
             "int f(" + ", ".join(f"int p{i}" for i in range(params)) + ") 0\n#lf", None),
        ]
        for name, line, last_error in cases:
            path = write_lines(self.path("long.txt"), [line])
            result = subprocess.run([self.numora, "/s"], stdin=open(path, "rb"), capture_output=True)
            errors = result.stderr.decode().splitlines()
            if last_error is not None and (not errors or errors[-1] != last_error):
                raise SystemExit(f"long: {name}: expected the diagnostic {last_error!r}, got {errors[-1:]!r}")
            if last_error is None and (errors or "int f(int, int" not in result.stdout.decode()):
                raise SystemExit(f"long: {name}: the definition was not accepted: {errors[:1]!r}")
            medians, peaks = paired([([self.numora, "/s"], path, self.path("out.numora"))], self.runs)
            self.row(name, f"{medians[0] * 1000:.1f} ms", "—", "—", "< 1 s, < 300 MB",
                     "yes" if medians[0] < 1 and peaks[0] < 300 * 1024 else "no", f"{peaks[0] / 1024:.1f} MiB")

    def malloc(self):
        if not shutil.which("valgrind"):
            self.row("malloc calls a line", "valgrind missing", "—", "—", "≤ 1", "—")
            return
        n = 10_000 // self.scale
        for name, script in (("variables", variables_script(self.scale)),
                             ("arrays", arrays_script(self.scale, count=2 * n))):
            counts = []
            for lines in (n, 2 * n):
                path = write_lines(self.path(f"malloc-{name}-{lines}.txt"), script.numora[:script.setup + lines])
                counts.append(allocations(self.numora, path, self.path("callgrind.out")))
            per = (counts[1] - counts[0]) / n
            self.row(f"malloc calls a line: {name}", f"{per:.2f}", "—", "—", "≤ 1", "yes" if per <= 1 else "no")


ALLOCATORS = {"malloc", "calloc", "realloc", "memalign", "aligned_alloc", "posix_memalign", "valloc", "pvalloc",
              "__libc_malloc", "__libc_calloc", "__libc_realloc", "__libc_memalign", "__posix_memalign",
              "_mid_memalign"}


def allocations(program, input_path, out_path):
    """Calls of the allocator entry points made from outside the allocator,
    counted by callgrind. The shipped binary is static, so a tool that
    replaces malloc (memcheck, heaptrack) does not see its calls; callgrind
    counts calls of any function by its symbol."""
    with open(input_path, "rb") as stdin:
        done = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out_path}", program],
                              stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if done.returncode != 0:
        raise SystemExit(f"callgrind failed: {done.stderr.decode(errors='replace')[-500:]}")
    names = {}

    def function(entry):
        # "(12) name" defines a compressed name, "(12)" uses one.
        match = re.match(r"\((\d+)\)(?: (.*))?", entry)
        if not match:
            return entry
        if match.group(2) is not None:
            names[match.group(1)] = match.group(2)
        return re.sub(r"'\d+$", "", names.get(match.group(1), ""))

    total, caller, callee = 0, "", ""
    with open(out_path) as f:
        for line in f:
            if line.startswith("fn="):
                caller = function(line[3:].strip())
            elif line.startswith("cfn="):
                callee = function(line[4:].strip())
            elif line.startswith("calls="):
                if callee in ALLOCATORS and caller not in ALLOCATORS:
                    total += int(line[6:].split()[0])
    os.remove(out_path)
    return total


def print_table(rows):
    header = ("workload", "numora", "peer", "ratio", "goal", "met", "numora peak")
    widths = [max(len(r[i]) for r in rows + [header]) for i in range(len(header))]
    for r in [header] + rows:
        cells = [r[0].ljust(widths[0])] + [c.rjust(w) for c, w in zip(r[1:4], widths[1:4])] \
            + [r[4].ljust(widths[4]), r[5].ljust(widths[5]), r[6].rjust(widths[6])]
        print("  ".join(cells).rstrip())


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("numora")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--quick", action="store_true", help="a tenth of each workload")
    parser.add_argument("--only", action="append", metavar="NAME",
                        help="run only these workloads (repeat or separate by commas): " + ", ".join(WORKLOAD_KEYS))
    args = parser.parse_args()
    chosen = WORKLOAD_KEYS
    if args.only:
        chosen = [k for item in args.only for k in item.split(",") if k]
        unknown = [k for k in chosen if k not in WORKLOAD_KEYS]
        if unknown:
            parser.error(f"unknown workload {', '.join(unknown)}; choose from {', '.join(WORKLOAD_KEYS)}")
    numora = os.path.abspath(args.numora)

    with tempfile.TemporaryDirectory(prefix="numora-bench-") as directory:
        bench = Bench(numora, directory, args.runs, args.quick)
        steps = {"literal": bench.literal, "floating": bench.floating, "startup": bench.startup,
                 "scale": bench.scale_reads, "variables": bench.variables, "arrays": bench.arrays,
                 "doubles": bench.doubles, "var-literals": bench.var_literals, "mixed": bench.mixed,
                 "names": bench.names, "memory": bench.memory, "malloc": bench.malloc, "long": bench.long_lines}
        for key in WORKLOAD_KEYS:
            if key in chosen:
                progress(f"{key}: checking, then timing")
                steps[key]()
        print_table(bench.rows)
    return 0


if __name__ == "__main__":
    sys.exit(main())
