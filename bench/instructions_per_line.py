#!/usr/bin/env python3
"""Instructions per line of numora on the benchmark workloads, counted by
callgrind: deterministic for the same binary and input, whatever else the
machine is doing, where paired wall times of one build wander by 15 %.

Usage: instructions_per_line.py NUMORA_BINARY [MORE_BINARIES...] [--lines N]
                                [--only NAME[,NAME...]]

Each workload is generated as compare_with_bc.py generates it (same seeds),
cut to its first N lines (40,000 by default) and piped through each binary
under `valgrind --tool=callgrind`; the count is the program's total
instructions, start-up included, divided by N. With several binaries the
table has a column each and, for two, the ratio of the second to the first.
"""

import argparse
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_with_bc as workloads  # noqa: E402


def generated():
    """(key, description, lines) for every workload, in the table's order."""
    variables = workloads.variables_script(1)
    rng = random.Random(20261207)
    literal = [workloads.integer_line(rng) for _ in range(1_000_000)]
    rng = random.Random(20261208)
    floating = [workloads.floating_line(rng)[0] for _ in range(100_000)]
    return [
        ("names", "names (a97 = a95 / 57 + 5)", variables.numora),
        ("arrays", "arrays (v[12] = v[840] + 3)", workloads.arrays_script(1).numora),
        ("doubles", "doubles (x3 = x1 * 1.0001 + sqrt(x7))", workloads.doubles_script(1)[0]),
        ("mixed", "mixed (hex, fractions, strings, printf)", workloads.mixed_session(1)[0]),
        ("values", "the names' lines with values in place of names", variables.literal),
        ("literal", "literal integer lines", literal),
        ("floating", "floating lines with calls", floating),
    ]


def instructions(binary, input_path, directory):
    out = os.path.join(directory, "callgrind.out")
    with open(input_path, "rb") as stdin:
        subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}", binary],
                       stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(out) as f:
        for line in f:
            if line.startswith("summary:") or line.startswith("totals:"):
                return int(line.split()[1])
    raise RuntimeError(f"no total in {out}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--lines", type=int, default=40_000)
    parser.add_argument("--only", action="append", metavar="NAME")
    args = parser.parse_args()
    chosen = [k for item in args.only or [] for k in item.split(",") if k]
    binaries = [os.path.abspath(b) for b in args.binaries]
    header = ["workload"] + [os.path.relpath(b) for b in binaries] + (["ratio"] if len(binaries) == 2 else [])
    print("| " + " | ".join(header) + " |")
    print("|" + "---|" * len(header))
    with tempfile.TemporaryDirectory(prefix="numora-instructions-") as directory:
        for key, description, lines in generated():
            if chosen and key not in chosen:
                continue
            path = os.path.join(directory, f"{key}.txt")
            taken = lines[:args.lines]
            with open(path, "w") as f:
                f.write("".join(line + "\n" for line in taken))
            counts = [instructions(b, path, directory) / len(taken) for b in binaries]
            row = [description] + [f"{c:,.0f}" for c in counts]
            if len(counts) == 2:
                row.append(f"{counts[1] / counts[0]:.3f}")
            print("| " + " | ".join(row) + " |", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
