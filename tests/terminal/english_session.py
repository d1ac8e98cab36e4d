#!/usr/bin/env python3
"""What a person at a terminal is told besides the design's texts.

Usage: english_session.py NUMORA_BINARY

With standard error at a terminal and a locale that is not Japanese, each
diagnostic carries its meaning in English, a failed line that shows a habit
from C or another calculator gets a hint (once, however many lines in a row
show it), whose proposed lines run as typed, and a line that changed a value
without a diagnostic (a literal past int, a narrowing store, a signed result
that wrapped) a note; all of it folded at blanks to the terminal's width (80
columns when it does not say, 40 in the narrow cases). Under a Japanese
locale, in silent mode and with standard error not a terminal the design's
texts stand alone. At a terminal a result starts on a new line after the
line's own output, and "#help" ends with a line saying where the English
help is.
"""

import contextlib
import fcntl
import os
import pty
import re
import select
import struct
import subprocess
import sys
import tempfile
import termios
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from terminal_session import PASTE_END, PASTE_START, Session, TIMEOUT_SECONDS, main  # noqa: E402

ENGLISH = {"LANG": "en_US.UTF-8"}
DASH = " \u2014 ".encode()
# The indentation of the lines a report is folded onto after its first.
CONTINUATION = b"\r\n      "
ESCAPE = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")


@contextlib.contextmanager
def terminal_columns(columns):
    """Sessions started inside have a terminal of that many columns from
    their start, as a window of that width gives them."""
    plain = pty.openpty

    def sized():
        master, slave = plain()
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, columns, 0, 0))
        return master, slave

    pty.openpty = sized
    try:
        yield
    finally:
        pty.openpty = plain


def resize(s, columns):
    fcntl.ioctl(s.master, termios.TIOCSWINSZ, struct.pack("HHHH", 24, columns, 0, 0))


def reply(s, line):
    """Types a line at the prompt and returns what the session shows between
    its echo and the next prompt, escape sequences left out."""
    s.send(line.encode() + b"\r")
    s.expect(line.encode() + b"\r\n")
    start = len(s.everything) - len(s.seen)
    s.expect(b"> ")
    end = len(s.everything) - len(s.seen) - 2
    return ESCAPE.sub(b"", s.everything[start:end]).replace(b"\r\r", b"\r").lstrip(b"\r")


def unfolded(text):
    """The reports of a reply with their folded lines joined again."""
    return text.replace(CONTINUATION, b" ")


def columns_of(line):
    """The columns a line of the screen takes: two for a wide character."""
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in line.decode())


def read_to_end(s):
    """Everything the session writes until it ends; its exit status."""
    while True:
        ready, _, _ = select.select([s.master], [], [], TIMEOUT_SECONDS)
        try:
            chunk = os.read(s.master, 4096) if ready else b""
        except OSError:
            chunk = b""
        if not chunk:
            return s.finish()
        s.everything += chunk


def diagnostic(position, japanese, english=None):
    text = b"pos:%d  " % position + japanese.encode()
    return text + (DASH + english.encode() if english is not None else b"") + b"\r\n"


def run_lines(home, lines, *args, env=ENGLISH):
    """The whole terminal output of a session that types lines and ends."""
    s = Session(home, *args, env=env)
    for line in lines:
        s.expect(b"> ")
        s.send(line.encode() + b"\r")
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()
    return s.everything


def each_diagnostic_carries_its_meaning_in_english(home):
    out = run_lines(home, ["foo + 1", "1 / 0", "int a = 1", "int a = 2", "1.5 / 0"])
    assert diagnostic(0, "未定義の識別子です", 'undefined name "foo"') in out, out
    assert diagnostic(2, "０で除算しました", "division by zero") in out, out
    assert diagnostic(5, "この名称は既に使用されています", 'the name "a" is already in use') in out, out
    assert diagnostic(4, "０で除算しました", "division by zero") in out, out


def the_design_texts_stand_alone_under_a_japanese_locale_or_silent(home):
    lines = ["foo + 1", "x = 5", "12345678901"]
    for env in ({"LANG": "ja_JP.UTF-8"}, {"LANG": "en_US.UTF-8", "LC_ALL": "ja_JP.UTF-8"},
                {"LANG": "en_US.UTF-8", "LC_ALL": "", "LC_MESSAGES": "ja_JP.eucJP"}):
        out = run_lines(home, lines, env=env)
        assert diagnostic(0, "未定義の識別子です") in out, (env, out)
        assert b"hint:" not in out and b"note:" not in out and DASH not in out, (env, out)
    # The first locale variable that is set decides: LC_ALL says English.
    out = run_lines(home, ["foo"], env={"LANG": "ja_JP.UTF-8", "LC_ALL": "C"})
    assert diagnostic(0, "未定義の識別子です", 'undefined name "foo"') in out, out
    s = Session(home, "/s", env=ENGLISH)
    s.send(b"foo + 1\r#x\r")
    read_to_end(s)
    assert diagnostic(0, "未定義の識別子です") in s.everything, s.everything


def the_design_texts_stand_alone_when_standard_error_is_no_terminal(home):
    master, slave = pty.openpty()
    environment = dict(os.environ, TERM="xterm", INPUTRC="/dev/null", HOME=home, NUMORA_HISTORY="", **ENGLISH)
    process = subprocess.Popen([os.path.join(home, "numora")], stdin=slave, stdout=slave,
                               stderr=subprocess.PIPE, env=environment, cwd=home)
    os.close(slave)
    os.write(master, b"int a = 3;\r12345678901\r#help\r#x\r")
    _, err = process.communicate(timeout=TIMEOUT_SECONDS)
    os.close(master)
    assert "pos:9  構文エラー\n".encode() in err, err
    for added in (DASH, b"hint:", b"note:", b"In English"):
        assert added not in err, err


def a_failed_line_gets_a_hint_for_each_habit_it_shows(home):
    hints = {
        "int a = 3;": b'hint: numora needs no ";" at the end of a line: leave it out',
        "1; 2": b'no ";": separate expressions with ","',
        "int a = 1; int b = 2": b'hint: numora reads one declaration a line and has no ";": declare names of one '
                                b"type together, as in int a = 1, b = 2",
        "b += 2": b'no compound assignment "+=": write b = b + 2',
        "b <<= 1 + 1": b'no compound assignment "<<=": write b = b << (1 + 1)',
        "cnt += 1": b'hint: "cnt" is not declared, and numora has no compound assignment "+=": declare it first, '
                    b"as in int cnt = 0, then write cnt = cnt + 1",
        "(int)3.7": b'no casts such as "(int)": a variable converts a value stored in it to its own type',
        "(double)b / 2": b'no casts such as "(double)": arithmetic with a double gives a double, so write 1.0 * b',
        "sizeof(double)": b"no sizeof; its types have fixed sizes",
        "2**10": b'no "**" operator: write pow(2, 10)',
        "2**3**2": b'no "**" operator: write pow(2, pow(3, 2))',
        "(b+1)**2": b'no "**" operator: write pow(b+1, 2)',
        "twice(3)": b'"twice" is a user-defined function: numora accepts and lists definitions (#lf), '
                    b"but never runs a call of one",
        "quit": b"to end the session, type #exit or press Ctrl-D",
        "exit()": b"to end the session, type #exit or press Ctrl-D",
        "exit(0)": b"to end the session, type #exit or press Ctrl-D",
        "exit(3)": b"to end the session with the status 3, type 3 and then #exit, which ends it with the last "
                   b"result as its status",
        "help": b"#help lists the console commands and #g the grammar",
        "x = 5": b'"x" is not declared: declare it with its type first, as in int x = 5',
        "y = 1.5": b'"y" is not declared: declare it with its type first, as in double y = 1.5',
        "r = sqrt(2)": b"as in double r = sqrt(2)",
        'z = "abc"': b'as in string z = "abc"',
        "f = 1$3": b'"f" is not declared, and a variable cannot keep a fraction: a double keeps its nearest value, '
                   b"as in double f = 1$3",
        "int b = 4": b'"b" is already declared, and names last for the whole session: assign to it instead (b = 4), '
                     b"or choose another name",
        "int strlen = 1": b'"strlen" is a built-in function: functions cannot be redefined; choose another name',
        "for (int i = 0; i < 10; i++) sum += i;": b'hint: numora has no statements such as "for": a line is one '
                                                  b"declaration, definition or expression",
        "if (b) 1; else 2": b'"?:" chooses between values',
        "return 0;": b'no statements such as "return"',
        "int sq(int n) { return n * n; }": b"a function definition is its head and the one expression that gives "
                                           b"its value, with no braces or statements: int sq(int n) n * n",
        "unsigned int u = 5": b'numora has no "unsigned int": its unsigned types are byte, word and dword (8, 16 '
                              b"and 32 bits): write dword u = 5",
        "const int k = 2": b'numora has no "const": a variable can always be assigned to: write int k = 2',
        "static int t = 1": b'numora has no "static": every name lasts for the whole session: write int t = 1',
        "long long q = 5": b'numora has no 64-bit integers ("long long")',
        'char *p = "abc"': b'numora has no pointers, and a string is a value of its own type: write string p = "abc"',
        "1.5f": b'numora has no literal suffixes such as "f" in 1.5f: write 1.5',
        "10u": b'suffixes such as "u" in 10u: write 10',
        "char c = '\\n'": b"character constants have no escape sequences here: write 10 for '\\n', or use a string",
        's[0]': b"numora's strings have no subscripts",
        "arr": b'"arr" is an array: name one of its elements, as in arr[0]; #lv lists the variables and arrays',
        "int d = 1, int e = 2": b"a declaration has one type word, before its first name: write int d = 1, e = 2",
    }
    s = Session(home, env=ENGLISH)
    s.expect(b"> ")
    for line in ("int b = 1", "int twice(int n) n * 2", 'string s = "abc"', "int arr[3] = {1, 2, 3}"):
        assert b"pos:" not in reply(s, line)
    for line, hint in hints.items():
        shown = unfolded(reply(s, line))
        assert hint in shown, (line, shown)
        assert shown.count(b"hint: ") == 1, (line, shown)
        # A line that succeeds between: no hint is held back as told.
        reply(s, "0")
    s.send(b"#x\r")
    s.finish()


def every_line_a_hint_proposes_runs_with_no_diagnostic_and_no_note(home):
    # A line typed, and the lines its hint proposes, in order.
    proposals = [
        ("y = 1.5", ["double y = 1.5"]),
        ("r = sqrt(2)", ["double r = sqrt(2)"]),
        ('z = "abc"', ['string z = "abc"']),
        ("f = 1$3", ["double f = 1$3"]),
        ("cnt += 1", ["int cnt = 0", "cnt = cnt + 1"]),
        ("cnt *= 2 + 1", ["cnt = cnt * (2 + 1)"]),
        ("total -= 0.5;", ["double total = 0", "total = total - 0.5"]),
        ("(double)cnt / 2", ["1.0 * cnt"]),
        ("(cnt+1)**2**2", ["pow(cnt+1, pow(2, 2))"]),
        ("**2", ["pow(2, 10)"]),
        ("int cnt = 4", ["cnt = 4"]),
        ("int twice(int n) { return n * 2; }", ["int twice(int n) n * 2"]),
        ("unsigned char uc = 200", ["byte uc = 200"]),
        ("signed short ss = 5", ["short ss = 5"]),
        ("long long q = 5", ["double q = 5"]),
        ("long int w = 3", ["long w = 3"]),
        ("const int k = 2;", ["int k = 2"]),
        ("static int t = 1", ["int t = 1"]),
        ('const char *p = "abc";', ['string p = "abc"']),
        ("int d1 = 1, int d2 = 2", ["int d1 = 1, d2 = 2"]),
        ("int e1 = 1; int e2 = 2;", ["int e1 = 1, e2 = 2"]),
        ("float fl = 1.5f", ["1.5"]),
        ("char c = '\\t'", ["9"]),
        ("m", ["m[0][0]"]),
        ("exit(3)", ["3", "#exit"]),
    ]
    s = Session(home, env=ENGLISH)
    s.expect(b"> ")
    assert b"pos:" not in reply(s, "int m[2][3]")
    for line, lines in proposals:
        shown = unfolded(reply(s, line))
        for proposed in lines:
            assert proposed.encode() in shown, (line, proposed, shown)
            if proposed == "#exit":
                s.send(b"#exit\r")
                assert s.finish() == 3
                return
            answer = reply(s, proposed)
            for added in (b"pos:", b"note:", b"hint:"):
                assert added not in answer, (line, proposed, answer)
    raise AssertionError("the session was to end with #exit")


def the_same_hint_is_not_repeated_on_the_lines_of_a_paste_or_on_failed_lines_in_a_row(home):
    paste = b"int a = 1;\rint b = 2;\ra += b;\rprintf(\"%d\\n\", a);\rreturn 0;\r"
    semicolon = b'numora needs no ";" at the end of a line: leave it out'
    s = Session(home, env=ENGLISH)
    s.expect(b"> ")
    s.send(PASTE_START + paste + PASTE_END)
    s.expect(b"> return 0;\r\n")
    s.expect(b"> ")
    assert unfolded(s.everything).count(semicolon) == 1, s.everything
    assert b'no statements such as "return"' in s.everything, s.everything
    # Typed again after the paste, and again: still nothing new to tell.
    assert semicolon not in unfolded(reply(s, "int c = 3;"))
    assert semicolon not in unfolded(reply(s, "int c = 3;"))
    # After a line that succeeds, the habit is told again.
    assert b"pos:" not in reply(s, "1 + 1")
    assert semicolon in unfolded(reply(s, "int c = 3;"))
    # A hint of its own is told on a failed line in a row.
    assert b"hint:" in reply(s, "x = 5")
    s.send(b"#x\r")
    s.finish()


def english_texts_hints_and_notes_are_folded_to_the_width_of_the_terminal(home):
    def check_folded(text, columns):
        """No line wider than the terminal unless the design's text is,
        every report after the first line indented, no word cut."""
        lines = text.split(b"\r\n")
        for line in lines:
            if line.startswith(b"pos:") or line.startswith(b" ") or line.startswith(b"hint:") or line.startswith(b"note:"):
                design = line.startswith(b"pos:") and columns_of(line.split(DASH)[0]) > columns
                assert columns_of(line) <= columns or design, (columns, line)
        for before, after in zip(lines, lines[1:]):
            if after.startswith(b" "):
                assert after.startswith(b"      ") and not after.startswith(b"       "), after
                assert before[-1:] != b" " and after[6:7] != b" ", (before, after)

    lines = {
        "int a = 1; int b = 2": b'hint: numora reads one declaration a line and has no ";": declare names of one '
                                b"type together, as in int a = 1, b = 2",
        "'ab'": "pos:1  定数値を切り詰めました".encode() + DASH + b"a character constant holds more than one "
                b"character; only the first is kept",
        "12345678901": b"note: 12345678901 does not fit in 32 bits, so only its low 32 bits are kept: "
                       b"-539222987; write 12345678901.0 for its value as a double",
        "cnt += 1": b'hint: "cnt" is not declared, and numora has no compound assignment "+=": declare it first, '
                    b"as in int cnt = 0, then write cnt = cnt + 1",
        "tw(3)": "pos:0  ユーザ定義関数式は現在使用できません".encode() + DASH + b"a user-defined function cannot "
                 b"be called; only built-ins run",
    }
    for columns in (80, 40):
        with terminal_columns(columns):
            s = Session(home, env=ENGLISH)
        s.expect(b"> ")
        # The start-up line too.
        check_folded(s.everything, columns)
        if columns == 40:
            assert b": #help lists the commands,\r\n      #g the grammar;" in s.everything, s.everything
        reply(s, "int tw(int n) n * 2")
        shown = {}
        for line, text in lines.items():
            shown[line] = reply(s, line)
            check_folded(shown[line], columns)
            assert text in unfolded(shown[line]), (columns, line, shown[line])
        # A line a hint proposes is never cut where it fits on a line.
        assert b" int a = 1, b = 2\r\n" in shown["int a = 1; int b = 2"], shown
        assert b" int cnt = 0," in shown["cnt += 1"] and b" cnt = cnt + 1\r\n" in shown["cnt += 1"], shown
        # The design's text is whole on its line however narrow the
        # terminal; its English follows on the lines after.
        if columns == 40:
            assert "\r\npos:0  ユーザ定義関数式は現在使用できません \u2014\r\n".encode() in shown["tw(3)"], shown
        s.send(b"#x\r")
        s.finish()
    # The width is the terminal's as it is when the text is written.
    s = Session(home, env=ENGLISH)
    s.expect(b"> ")
    assert CONTINUATION not in reply(s, "x = 5")
    resize(s, 40)
    shown = reply(s, "x2 = 5")
    check_folded(shown, 40)
    assert b'declare it\r\n      with its type first' in shown, shown
    resize(s, 200)
    assert CONTINUATION not in reply(s, "int a = 1; int b = 2")
    s.send(b"#x\r")
    s.finish()
    # Under a Japanese locale nothing is folded: the design's texts alone.
    with terminal_columns(40):
        s = Session(home, env={"LANG": "ja_JP.UTF-8"})
    s.expect(b"> ")
    reply(s, "int tw(int n) n * 2")
    assert reply(s, "tw(3)") == "  ^\r\npos:0  ユーザ定義関数式は現在使用できません\r\n".encode()
    s.send(b"#x\r")
    s.finish()


def a_line_that_succeeds_gets_no_hint(home):
    out = run_lines(home, ["int sizeof = 8", "sizeof * 2", "int x", "x = 5", "int quit = 1", "quit",
                           "int twice(int n) n * 2", '"a;b"'])
    assert b"hint:" not in out, out


def a_value_changed_without_a_diagnostic_gets_a_note(home):
    out = unfolded(run_lines(home, ["12345678901", "0x1FFFFFFFF + 0", "0xFFFFFFFF", "3000000000", "1e10", "int y = 1.5",
                           "2147483647 + 1", "-2147483648", "3000000000 / 0", "int z = 2.5 + x"]))
    assert (b"-539222987\r\nnote: 12345678901 does not fit in 32 bits, so only its low 32 bits are kept: "
            b"-539222987; write 12345678901.0 for its value as a double\r\n") in out, out
    assert b"note: 0x1FFFFFFFF does not fit in 32 bits, so only its low 32 bits are kept: -1; write 8589934591.0" in out
    assert b"note: 3000000000 does not fit in int, so it is read as -1294967296; write 3000000000.0" in out, out
    assert b"note: y is an int, so it keeps 1 of 1.5; declare y as double to keep 1.5\r\n" in out, out
    assert b"note: 2147483647 + 1 is 2147483648, which an int cannot hold, so it wrapped around to -2147483648" in out
    # A bit pattern, int's least value as C writes it and a line that
    # failed get none.
    assert out.count(b"note:") == 5, out


def a_result_starts_on_a_new_line_after_the_lines_own_output(home):
    for env in (ENGLISH, {"LANG": "ja_JP.UTF-8"}):
        out = run_lines(home, ['printf("hi")', 'printf("ok\\n")', "putchar(65)", 'int n = printf("x")'], env=env)
        assert b"hi\r\n2\r\n" in out, out
        assert b"ok\r\n3\r\n" in out, out
        assert b"A\r\n65\r\n" in out, out
        # A declaration's empty result already ends the line.
        assert b"\rx\r\n" in out and b"\rx\r\n\r\n" not in out, out


def help_ends_with_where_the_english_help_is(home):
    line = b"In English: the command-line option --help lists every option, man numora explains the language"
    out = unfolded(run_lines(home, ["#help"]))
    assert "現在の出力設定　１０進数\r\n".encode() + line in out, out
    out = run_lines(home, ["#help"], env={"LANG": "ja_JP.UTF-8"})
    assert b"In English" not in out, out


def a_script_names_the_file_and_line_before_the_english(home):
    with open(os.path.join(home, "calc.num"), "w") as f:
        f.write("#!/usr/bin/env numora\n1 / 0\nint a = 1;\n")
    s = Session(home, "calc.num", env=ENGLISH)
    read_to_end(s)
    assert b"calc.num:2: " + diagnostic(2, "０で除算しました", "division by zero") in s.everything, s.everything
    assert (b"calc.num:3: pos:9  " + "構文エラー".encode() + DASH + b"syntax error\r\ncalc.num:3: hint: "
            in s.everything), s.everything


CASES = [
    each_diagnostic_carries_its_meaning_in_english,
    the_design_texts_stand_alone_under_a_japanese_locale_or_silent,
    the_design_texts_stand_alone_when_standard_error_is_no_terminal,
    a_failed_line_gets_a_hint_for_each_habit_it_shows,
    every_line_a_hint_proposes_runs_with_no_diagnostic_and_no_note,
    the_same_hint_is_not_repeated_on_the_lines_of_a_paste_or_on_failed_lines_in_a_row,
    english_texts_hints_and_notes_are_folded_to_the_width_of_the_terminal,
    a_line_that_succeeds_gets_no_hint,
    a_value_changed_without_a_diagnostic_gets_a_note,
    a_result_starts_on_a_new_line_after_the_lines_own_output,
    help_ends_with_where_the_english_help_is,
    a_script_names_the_file_and_line_before_the_english,
]


if __name__ == "__main__":
    sys.exit(main(CASES, "english", __doc__))
