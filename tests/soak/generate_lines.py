#!/usr/bin/env python3
"""Writes random but realistic numora input lines, deterministically from a seed.

Usage: generate_lines.py [--seed S] [--lines N] [--declare-lines K] [-o FILE]

The lines follow the calculator's grammar: declarations of every type
(scalars, references, arrays of up to three dimensions with brace
initializers), user function definitions, expressions over the declared
names and over literals of every form, every operator, built-in calls that
touch nothing outside the process, radix and listing commands, and a share
of malformed lines (cut-off lines, junk bytes, unbalanced brackets, wrong
types, reserved names, huge array sizes, very deep nesting).

The first K lines (the declaration phase) may declare new names. After them
no line can create anything that persists: declarations reuse names that
are already taken or reserved, so they fail, and stored strings are bounded.
Memory use must therefore level off once the declaration phase is over;
run_soak.py checks that.

The last three lines select decimal output, compute a small integer and end
the run with "#exit", so the exit status is known in advance
(Generator.expected_status).
"""

import argparse
import random
import sys

INT_TYPES = ["char", "byte", "short", "word", "int", "long", "dword", "bool"]
FLOAT_TYPES = ["float", "double"]
NUMERIC_TYPES = INT_TYPES + FLOAT_TYPES
ALL_TYPES = NUMERIC_TYPES + ["string"]
RESERVED = ["char", "byte", "short", "word", "long", "dword", "llong", "qword", "int", "bool",
            "true", "false", "float", "double", "string", "struct", "argument", "if", "else",
            "while", "for", "break", "continue", "return"]
BINARY_OPS = ["*", "/", "%", "+", "-", "<<", ">>", "<", ">", "<=", ">=", "==", "!=", "&", "^",
              "|", "&&", "||"]
UNARY_OPS = ["-", "+", "!", "~"]
CHAR_LITERALS = ["'A'", "'z'", "'0'", "' '", "'\\n'", "'\\t'", "'\\\\'", "'\\''", "'\\x41'",
                 "'\\101'", "'\\0'", "'\"'"]
STRING_PIECES = ["a", "bc", "xyz", "Hello", "123", "-42", "3.5e2", " 7", "\\t", "\\n", "\\\\",
                 "\\\"", "\\x41", "\\101", "it\\'s", "%", "%%", "  ", "\\0x", "0x1F"]
ENV_NAMES = ["NUMORA_SOAK_VALUE", "NUMORA_SOAK_EMPTY", "NUMORA_SOAK_UNSET", "HOME", "PATH"]
COMMANDS = ["#hex", "#dec", "#oct", "#bin"]
RARE_COMMANDS = ["#h", "#help", "#g", "#lf", "#form", "#foo", "#", "#hex x", "  #HEX  ", "#S1"]
JUNK_BYTES = (b"!\"$%&'()*+,-./:;<=>?@[\\]^`{|}~0123456789 \t\r\x01\x1b\x7f"
              b"\x80\x81\xa0\xe3\xfe\xffabcdefXYZ_")


class Generator:
    """One deterministic stream of lines; the names it declared are tracked."""

    def __init__(self, seed, total_lines, declare_lines):
        self.rng = random.Random(seed)
        self.total_lines = max(total_lines, 4)
        self.declare_lines = min(declare_lines, self.total_lines - 3)
        self.counter = 0
        # Lookups run for every line, so the names are kept indexed by type:
        # a scan over all names per pick would make a long run quadratic.
        self.scalars = {}      # name -> type, plain variables and references
        self.scalars_by_type = {t: [] for t in ALL_TYPES}
        self.strings = self.scalars_by_type["string"]
        self.arrays = {}       # name -> (type, dims)
        self.arrays_by_type = {t: [] for t in ALL_TYPES}
        self.taken = ["sin", "printf", "strlen"]
        self.functions = []    # (name, [(type, by_reference)], variadic)
        self.expected_status = 0
        # A few names always exist, so expressions have material from line one.
        self.prelude = [
            "int i0 = 1, i1 = -7, i2 = 0x7fffffff",
            "double d0 = 2.5, d1 = -0.125",
            "char c0 = 'A'",
            "dword u0 = 0xFFFFFFF0",
            "bool b0 = true",
            "string s0 = \"abc\", s1 = \"x\\ty\"",
            "int m0[2][3] = {{1, 2, 3}, {4}}",
            "string t0[3] = {\"p\", \"q\"}",
        ]
        for line in self.prelude:
            self._note_declaration_text(line)
        self.sure_names = list(self.taken)
        self.steady = False

    # ----- bookkeeping -------------------------------------------------------

    def _note_declaration_text(self, line):
        # Only used for the fixed prelude, whose shape is known.
        type_word, _, rest = line.partition(" ")
        for part in rest.split(", "):
            name = part.split("=")[0].strip()
            if "[" in name:
                base = name[:name.index("[")]
                dims = [int(x) for x in name[name.index("[") + 1:-1].split("][")]
                self.add_array(base, type_word, dims)
            elif name.startswith("{") or not name or not (name[0].isalpha()):
                continue
            else:
                self.add_scalar(name, type_word)

    def add_scalar(self, name, type_word):
        self.scalars[name] = type_word
        self.scalars_by_type[type_word].append(name)
        self.taken.append(name)

    def add_array(self, name, type_word, dims):
        self.arrays[name] = (type_word, dims)
        self.arrays_by_type[type_word].append(name)
        self.taken.append(name)

    def fresh(self, prefix):
        self.counter += 1
        return f"{prefix}{self.counter}"

    def pick(self, seq):
        return seq[self.rng.randrange(len(seq))]

    def chance(self, p):
        return self.rng.random() < p

    def pick_indexed(self, index, types):
        total = sum(len(index[t]) for t in types)
        if not total:
            return None
        k = self.rng.randrange(total)
        for t in types:
            if k < len(index[t]):
                return index[t][k]
            k -= len(index[t])
        return None

    def pick_var(self, types):
        return self.pick_indexed(self.scalars_by_type, types)

    # ----- literals ----------------------------------------------------------

    def int_literal(self):
        r = self.rng
        form = r.randrange(10)
        value = self.pick([0, 1, 2, 3, 7, 10, 42, 100, 255, 256, 1000, 65535, 65536, 2147483647,
                           2147483648, 4294967295, 4294967296, r.randrange(1 << 16),
                           r.randrange(1 << 32)])
        if form < 5:
            return str(value)
        if form == 5:
            return "0" + format(value, "o") if value else "0"
        if form in (6, 7):
            return self.pick(["0x", "0X"]) + self.pick([format(value, "x"), format(value, "X")])
        if form == 8:
            return self.pick(["0b", "0B"]) + format(value & 0xFFFF, "b")
        return self.pick(CHAR_LITERALS)

    def float_literal(self):
        r = self.rng
        return self.pick([f"{r.randrange(1000)}.{r.randrange(100)}", f".{r.randrange(1, 99)}",
                          f"{r.randrange(1, 9)}e{r.randrange(-30, 30)}",
                          f"{r.randrange(1, 9)}.5E+{r.randrange(0, 300)}",
                          f"1.5e-{r.randrange(1, 9)}", "0.0", "1.", "3.14159265358979"])

    def fraction_literal(self):
        r = self.rng
        if self.chance(0.3):
            return f"{r.randrange(0, 5)}${r.randrange(1, 9)}${r.randrange(1, 12)}"
        return f"{r.randrange(0, 40)}${r.randrange(1, 40)}"

    def string_literal(self, max_pieces=3):
        pieces = [self.pick(STRING_PIECES) for _ in range(self.rng.randrange(0, max_pieces + 1))]
        return '"' + "".join(pieces) + '"'

    def numeric_literal(self):
        k = self.rng.randrange(10)
        if k < 5:
            return self.int_literal()
        if k < 7:
            return self.float_literal()
        if k < 9:
            return self.fraction_literal()
        return self.pick(["true", "false"])

    # ----- expressions -------------------------------------------------------

    def element(self, types, in_range=True):
        name = self.pick_indexed(self.arrays_by_type, types)
        if name is None:
            return None
        dims = self.arrays[name][1]
        subs = []
        for d in dims:
            if in_range or not self.chance(0.2):
                subs.append(str(self.rng.randrange(d)))
            else:
                subs.append(self.pick([str(d), "-1", "65536", "i0"]))
        return name + "".join(f"[{s}]" for s in subs)

    def numeric_term(self, depth, ints=False):
        types = INT_TYPES if ints else NUMERIC_TYPES
        k = self.rng.randrange(20)
        if k < 5:
            name = self.pick_var(types)
            if name:
                return name
        if k < 7:
            ref = self.element(types, in_range=self.chance(0.95))
            if ref:
                return ref
        if k < 9 and depth > 0:
            if ints:
                return self.pick([f"strlen({self.string_expr(depth - 1, stored=False)})",
                                  f"atoi({self.string_expr(depth - 1, stored=False)})",
                                  f"abs({self.numeric_expr(depth - 1, ints)})", "rand()"])
            return self.numeric_call(depth - 1)
        if k < 10 and depth > 0:
            return "(" + self.numeric_expr(depth - 1, ints) + ")"
        return self.int_literal() if ints else self.numeric_literal()

    def numeric_call(self, depth):
        n = lambda: self.numeric_expr(depth)
        s = lambda: self.string_expr(depth, stored=False)
        choices = [
            lambda: f"strlen({s()})",
            lambda: f"strcmp({s()}, {s()})",
            lambda: f"atoi({s()})",
            lambda: f"atof({s()})",
            lambda: f"sin({n()})",
            lambda: f"sqrt({n()})",
            lambda: f"pow({n()}, {n()})",
            lambda: f"max({n()}, {n()})",
            lambda: f"min({n()}, {n()})",
            lambda: f"abs({n()})",
            lambda: "rand()",
            lambda: self.printf_call(),
        ]
        if self.functions and self.chance(0.1):
            return self.user_call()
        return self.pick(choices)()

    def user_call(self):
        name, params, variadic = self.pick(self.functions)
        args = []
        for type_word, by_ref in params:
            if by_ref:
                args.append(self.pick_var([type_word]) or self.numeric_literal())
            elif type_word == "string":
                args.append(self.string_literal())
            else:
                args.append(self.numeric_literal())
        if variadic:
            args += [self.numeric_literal() for _ in range(self.rng.randrange(3))]
        return f"{name}({', '.join(args)})"

    def printf_call(self):
        parts, args = [], []
        for _ in range(self.rng.randrange(0, 4)):
            kind = self.rng.randrange(4)
            if kind == 0:
                name = self.pick_var(INT_TYPES)
                if name:
                    parts.append(self.pick(["%d", "%5d", "%-3u", "%x", "%o", "%ld", "%hhd"]))
                    args.append(name)
                    continue
            if kind == 1:
                name = self.pick_var(FLOAT_TYPES)
                if name:
                    parts.append(self.pick(["%f", "%g", "%.3e", "%10.2f"]))
                    args.append(name)
                    continue
            if kind == 2 and self.strings:
                parts.append(self.pick(["%s", "%.2s", "%8s"]))
                args.append(self.pick(self.strings))
                continue
            parts.append(self.pick(["%d", "%c", "%i"]))
            args.append(self.int_literal() if self.chance(0.8) else self.pick(CHAR_LITERALS))
        fmt = '"' + "[" + " ".join(parts) + "]\\n" + '"'
        return "printf(" + ", ".join([fmt] + args) + ")"

    def numeric_expr(self, depth=2, ints=None):
        """A numeric expression; with ints, one that stays with integer types."""
        r = self.rng
        if ints is None:
            ints = self.chance(0.6)
        k = r.randrange(12)
        if depth <= 0 or k < 3:
            return self.numeric_term(depth, ints)
        if k < 7:
            op = self.pick(BINARY_OPS if ints else BINARY_OPS[:5] + BINARY_OPS[7:13] + BINARY_OPS[16:])
            return f"{self.numeric_expr(depth - 1, ints)} {op} {self.numeric_expr(depth - 1, ints)}"
        if k < 8:
            ops = UNARY_OPS if ints else UNARY_OPS[:3]
            return f"{self.pick(ops)}{self.numeric_term(depth - 1, ints)}"
        if k < 9:
            return (f"{self.numeric_expr(depth - 1)} ? {self.numeric_expr(depth - 1, ints)}"
                    f" : {self.numeric_expr(depth - 1, ints)}")
        if k < 10:
            v = self.pick_var(INT_TYPES if ints else NUMERIC_TYPES)
            if v:
                return self.pick([f"++{v}", f"--{v}", f"{v}++", f"{v}--"])
        if k < 11:
            target = self.numeric_target()
            if target:
                return f"({target} = {self.numeric_expr(depth - 1, ints)})"
        return f"({self.numeric_expr(depth - 1)}, {self.numeric_expr(depth - 1, ints)})"

    def numeric_target(self):
        if self.chance(0.7):
            name = self.pick_var(NUMERIC_TYPES)
            if name:
                return name
        return self.element(NUMERIC_TYPES)

    def string_expr(self, depth, stored):
        """A string expression; a stored one never grows with what is already stored."""
        r = self.rng
        k = r.randrange(10)
        if k < 3:
            return self.string_literal()
        if k < 5 and not stored:
            names = self.strings
            if names:
                return self.pick(names)
        if k < 6 and not stored:
            ref = self.element(["string"])
            if ref:
                return ref
        if k < 7 and self.strings:
            num = self.numeric_literal() if depth <= 0 else self.numeric_expr(depth - 1)
            return f"itoa({num}, {self.pick(self.strings)}, {self.pick(['2', '8', '10', '16', '36'])})"
        if k < 8 and self.strings:
            digits = self.pick(["1", "6", "10", "17", "30", "0"])
            return f"gcvt({self.float_literal()}, {digits}, {self.pick(self.strings)})"
        if k < 9:
            return f"getenv(\"{self.pick(ENV_NAMES)}\")"
        if depth > 0:
            left = self.string_literal(1) if stored else self.string_expr(depth - 1, stored)
            return f"{left} + {self.string_expr(depth - 1, stored)}"
        return self.string_literal()

    # ----- line kinds --------------------------------------------------------

    def expression_line(self):
        k = self.rng.randrange(20)
        if k < 10:
            return self.numeric_expr(self.rng.randrange(1, 4))
        if k < 12:
            target = self.numeric_target()
            if target:
                return f"{target} = {self.numeric_expr(2)}"
        if k < 14 and self.strings:
            if self.chance(0.5):
                return f"{self.pick(self.strings)} = {self.string_expr(2, stored=True)}"
            s = self.pick(self.strings)
            return f"strcpy({s}, {self.string_literal()}), strcat({s}, {self.string_literal()})"
        if k < 15:
            ref = self.element(["string"])
            if ref:
                return f"{ref} = {self.string_expr(1, stored=True)}"
        if k < 16:
            return f"srand({self.int_literal()})"
        if k < 17:
            return self.printf_call()
        if k < 18:
            return f"{self.string_expr(2, stored=False)} == {self.string_expr(1, stored=False)}"
        return self.string_expr(2, stored=False)

    def scalar_declarator(self, type_word, declare):
        name = self.fresh(self.pick(["v", "n", "x"])) if declare else self.taken_name()
        if self.chance(0.3):
            return name, name
        return name, f"{name} = {self.initial_value(type_word)}"

    def initial_value(self, type_word):
        # Mostly values that fit the type, so most declarations succeed and
        # later lines have names to work on; now and then anything goes.
        if type_word == "string":
            return self.string_expr(1, stored=True)
        if self.chance(0.15):
            return self.numeric_expr(self.rng.randrange(0, 3))
        if type_word in FLOAT_TYPES:
            return self.pick([self.float_literal(), self.int_literal(),
                              self.numeric_expr(self.rng.randrange(0, 2), ints=False)])
        return self.pick([self.int_literal(), self.numeric_expr(self.rng.randrange(0, 2), ints=True)])

    def taken_name(self):
        # After the declaration phase only names that surely exist will do:
        # a name the generator declared may belong to a declaration that
        # failed, and using it again would declare it after all.
        if self.steady:
            return self.pick(self.sure_names)
        return self.pick(self.taken)

    def declaration_line(self, declare=True):
        k = self.rng.randrange(10)
        type_word = self.pick(ALL_TYPES)
        if k < 5:
            names, parts = [], []
            for _ in range(self.rng.randrange(1, 4)):
                name, text = self.scalar_declarator(type_word, declare)
                names.append(name)
                parts.append(text)
            if declare:
                for name in names:
                    self.add_scalar(name, type_word)
            return f"{type_word} {', '.join(parts)}"
        if k < 7:
            target = self.pick_var(ALL_TYPES)
            if target:
                ref_type = self.scalars[target] if self.chance(0.8) else type_word
                name = self.fresh("r") if declare else self.taken_name()
                if declare:
                    self.add_scalar(name, ref_type)
                amp = self.pick(["&", "& "])
                return f"{ref_type} {amp}{name} = {target}"
        if k < 9:
            return self.array_declaration(type_word, declare)
        return self.function_definition(declare)

    def array_declaration(self, type_word, declare):
        rank = self.rng.randrange(1, 4)
        if declare and self.chance(0.003):
            dims = self.pick([[65536], [256, 256], [16, 64, 64]])[:rank] or [65536]
        else:
            dims = [self.rng.randrange(1, 6) for _ in range(rank)]
        name = self.fresh("a") if declare else self.taken_name()
        text = f"{type_word} {name}" + "".join(f"[{d}]" for d in dims)
        total = 1
        for d in dims:
            total *= d
        if total <= 64 and self.chance(0.6):
            text += " = " + self.init_list(type_word, dims)
        if declare:
            self.add_array(name, type_word, dims)
        return text

    def init_list(self, type_word, dims):
        count = self.rng.randrange(1, dims[0] + 1)
        items = []
        for _ in range(count):
            if len(dims) > 1:
                items.append(self.init_list(type_word, dims[1:]))
            elif type_word == "string":
                items.append(self.string_literal())
            else:
                items.append(self.initial_value(type_word))
        return "{" + ", ".join(items) + "}"

    def function_definition(self, declare):
        result = self.pick(ALL_TYPES + ["void"])
        name = self.fresh("f") if declare else self.taken_name()
        params, texts = [], []
        for _ in range(self.rng.randrange(0, 4)):
            type_word = self.pick(ALL_TYPES)
            by_ref = self.chance(0.25)
            pname = self.fresh("p")
            params.append((type_word, by_ref))
            texts.append(f"{type_word} {'&' if by_ref else ''}{pname}")
        variadic = self.chance(0.15)
        if variadic:
            texts.append("...")
        numeric = [t for t in texts if not t.startswith("string") and t != "..."]
        body = numeric[0].split()[-1].lstrip("&") + " + 1" if numeric else self.numeric_literal()
        if declare:
            self.functions.append((name, params, variadic))
            self.taken.append(name)
        return f"{result} {name}({', '.join(texts)}) {body}"

    def malformed_line(self, steady):
        k = self.rng.randrange(9)
        if k == 0:
            base = self.expression_line()
            return base[:self.rng.randrange(0, max(len(base), 1))]
        if k == 1:
            n = self.rng.randrange(1, 60)
            junk = bytes(self.pick(JUNK_BYTES) for _ in range(n))
            return junk.lstrip(b" \t\r#").decode("latin-1")
        if k == 2:
            base = self.expression_line()
            pos = self.rng.randrange(0, len(base) + 1)
            return base[:pos] + self.pick(["(", ")", "[", "]", "{", "}", "((", "))", "?", ":"]) + base[pos:]
        if k == 3:
            return self.pick([
                f'"a" * {self.numeric_literal()}', f'-{self.string_literal()}',
                f"strlen({self.numeric_literal()})", f"sin({self.string_literal()})",
                f"{self.pick(self.strings or ['s0'])} = {self.numeric_literal()}",
                f"{self.pick_var(NUMERIC_TYPES) or 'i0'} = {self.string_literal()}",
                f"printf(\"%d\\n\", {self.fraction_literal()})",
                f"printf(\"%s %d\\n\")", "3 = 4", "++3", f"1 << {self.string_literal()}",
                f"int {self.fresh('w') if not steady else self.taken_name()} = 0 ? 1 : \"a\"",
                f"strcpy({self.string_literal()}, \"x\")", "sin()", "pow(1)",
                f"max(1, 2, 3)", "i0[0]", "m0[0]", "m0[1][2][0]", "t0 + 1",
            ])
        if k == 4:
            reserved = self.pick(RESERVED)
            return self.pick([f"int {reserved} = 1", f"double {reserved}[3]", f"string {reserved}",
                              f"int {reserved}(int a) a", f"int {self.taken_name()}(int {reserved}) 1",
                              f"{reserved} = 2", f"char &{reserved} = c0"])
        if k == 5:
            name = self.taken_name()
            return self.pick([f"int {name}[65537]", f"int {name}[1000][1000]", f"int {name}[0]",
                              f"int {name}[-1][5]", f"int {name}[99999999999]",
                              f"int {name}[65537][1]", f"int {name}[1.5]", f"int {name}[i0]",
                              f"char {name}[2] = {{1, 2, 3}}", f"int {name}[2][2] = {{{{1, 2, 3}}}}"])
        if k == 6:
            depth = self.pick([3, 10, 40, 100]) if self.chance(0.9) else self.pick([999, 1000, 1001, 5000])
            return "(" * depth + "1" + ")" * depth
        if k == 7:
            width = self.pick([10, 100, 127, 128]) if self.chance(0.9) else self.pick([1000, 20000])
            return f"strlen(\"{'z' * width}\")" if self.chance(0.5) else f"\"{'y' * width}\""
        text = self.declaration_line(declare=False)
        return text

    def command_lines(self):
        if self.chance(0.02):
            return ["#lv"]
        if self.chance(0.05):
            return [self.pick(RARE_COMMANDS)]
        if self.chance(0.03):
            return ["#s", self.expression_line(), "#s"]
        return [self.pick(COMMANDS)]

    def lines(self):
        """Yields (line, in_declaration_phase) pairs, the last three end the run."""
        produced = 0
        for line in self.prelude:
            produced += 1
            yield line, True
        body_end = self.total_lines - 3
        while produced < body_end:
            declaring = produced < self.declare_lines
            self.steady = not declaring
            k = self.rng.randrange(100)
            if k < 3:
                out = self.command_lines()
            elif k < 15:
                out = [self.malformed_line(steady=not declaring)]
            elif k < 40 and declaring:
                out = [self.declaration_line(declare=True)]
            else:
                out = [self.expression_line()]
            for line in out:
                if produced >= body_end:
                    break
                produced += 1
                yield line, declaring
        value = self.rng.randrange(1, 200)
        self.expected_status = value
        for line in ("#dec", str(value), "#exit"):
            yield line, False


def encode(line):
    # Junk lines carry raw bytes 0x80-0xff; latin-1 gives them back unchanged.
    return line.encode("latin-1", errors="strict") + b"\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--lines", type=int, default=20000)
    parser.add_argument("--declare-lines", type=int, default=None,
                        help="lines that may declare new names (default: a fifth of --lines)")
    parser.add_argument("-o", "--output", default="-")
    args = parser.parse_args()
    declare = args.declare_lines if args.declare_lines is not None else args.lines // 5
    gen = Generator(args.seed, args.lines, declare)
    out = sys.stdout.buffer if args.output == "-" else open(args.output, "wb")
    with out:
        for line, _ in gen.lines():
            out.write(encode(line))
    print(f"expected exit status {gen.expected_status}", file=sys.stderr)


if __name__ == "__main__":
    main()
