#!/usr/bin/env python3
"""Times numora against bc (and calc, when installed) on the same workloads.

Usage: compare_with_bc.py NUMORA_BINARY [--runs N] [--quick]

Workloads (generated deterministically into a temporary directory):
  1. integer arithmetic: 1,000,000 lines of about ten + - * operators with
     parentheses on small non-negative literals (the outputs of numora and bc
     are compared, so the comparison is honest);
  2. floating arithmetic with sqrt and sin: 100,000 lines (bc -l);
  3. start-up alone: empty input;
  4. scale: an include file of 100,000 declarations, then 10,000 lines that
     read the last-declared variables (numora's peak memory is reported).
The runs of the programs alternate (twenty times as many for the start-up);
medians of the wall times are printed with the ratio numora/peer for each
workload.
"""

import argparse
import os
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


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


def make_workloads(directory, quick):
    rng = random.Random(20261207)
    scale = 10 if quick else 1
    workloads = []

    lines = [integer_line(rng) for _ in range(1_000_000 // scale)]
    path = os.path.join(directory, "integer.txt")
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")
    workloads.append(("integer arithmetic", path, path, [], [], True))

    pairs = [floating_line(rng) for _ in range(100_000 // scale)]
    numora_path = os.path.join(directory, "floating.txt")
    bc_path = os.path.join(directory, "floating.bc")
    with open(numora_path, "w") as f:
        f.write("\n".join(p[0] for p in pairs) + "\n")
    with open(bc_path, "w") as f:
        f.write("\n".join(p[1] for p in pairs) + "\n")
    workloads.append(("floating with sqrt and sin", numora_path, bc_path, [], ["-l"], False))

    empty = os.path.join(directory, "empty.txt")
    open(empty, "w").close()
    workloads.append(("start-up", empty, empty, [], [], False))

    count = 100_000 // scale
    include = os.path.join(directory, "scale", "numora.inc")
    os.makedirs(os.path.dirname(include))
    with open(include, "w") as f:
        f.write("".join(f"int v{i} = {i}\n" for i in range(1, count + 1)))
    reads = [f"v{count - i % 100} + v{count - (i * 7) % 100}" for i in range(10_000 // scale)]
    numora_reads = os.path.join(directory, "scale.txt")
    with open(numora_reads, "w") as f:
        f.write("\n".join(reads) + "\n")
    # bc holds at most 32767 variables, so its declarations are the elements
    # of one array.
    bc_scale = os.path.join(directory, "scale.bc")
    with open(bc_scale, "w") as f:
        f.write("".join(f"v[{i}] = {i}\n" for i in range(1, count + 1)))
        f.write("\n".join(re.sub(r"v(\d+)", r"v[\1]", line) for line in reads) + "\n")
    workloads.append(("scale: 100,000 declarations", numora_reads, bc_scale, [], [], False))
    return workloads, os.path.dirname(include)


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


def numora_numbers(path):
    with open(path) as f:
        return re.sub(r"> ", "\n", f.read()).split()


def peer_numbers(path):
    with open(path) as f:
        return f.read().split()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("numora")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--quick", action="store_true", help="a tenth of each workload")
    args = parser.parse_args()
    numora = os.path.abspath(args.numora)
    peers = [("bc", "bc", ["-q"])]
    if shutil.which("calc"):
        peers.append(("calc", "calc", ["-p"]))

    with tempfile.TemporaryDirectory(prefix="numora-bench-") as directory:
        workloads, scale_dir = make_workloads(directory, args.quick)
        scaled_numora = os.path.join(scale_dir, "numora")
        shutil.copy2(numora, scaled_numora)
        out = os.path.join(directory, "out")
        print(f"{'workload':32} {'numora':>10} {'peer':>10} {'ratio':>7}  peer  numora peak")
        for name, numora_input, peer_input, numora_args, peer_args, compare in workloads:
            program = scaled_numora if name.startswith("scale") else numora
            for peer_name, peer, peer_default_args in peers:
                if peer_name == "calc" and name.startswith("floating"):
                    continue
                numora_times, peer_times, peak = [], [], 0
                # A start takes a few milliseconds, where the machine's noise
                # is as large as the difference; many more runs steady the median.
                runs = args.runs * 20 if name == "start-up" else args.runs
                for _ in range(runs):
                    t, rss = run([program] + numora_args, numora_input, out + ".numora")
                    numora_times.append(t)
                    peak = max(peak, rss)
                    t, _ = run([peer] + peer_default_args + peer_args, peer_input, out + ".peer")
                    peer_times.append(t)
                if compare and peer_name == "bc":
                    if numora_numbers(out + ".numora") != peer_numbers(out + ".peer"):
                        raise SystemExit(f"numora and bc disagree on {name}")
                n, p = statistics.median(numora_times), statistics.median(peer_times)
                print(f"{name:32} {n * 1000:9.1f}ms {p * 1000:9.1f}ms {n / p:7.3f}  {peer_name:5} {peak / 1024:.1f} MiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
