#!/usr/bin/env python3
"""What a person at a terminal is told besides the design's texts.

Usage: english_session.py NUMORA_BINARY

With standard error at a terminal and a locale that is not Japanese, each
diagnostic carries its meaning in English, a failed line that shows a habit
from C or another calculator gets a hint, and a line that changed a value
without a diagnostic (a literal past int, a narrowing store, a signed
result that wrapped) a note. Under a Japanese locale, in silent mode and with standard error
not a terminal the design's texts stand alone. At a terminal a result starts
on a new line after the line's own output, and "#help" ends with a line
saying where the English help is.
"""

import os
import pty
import select
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from terminal_session import Session, TIMEOUT_SECONDS, main  # noqa: E402

ENGLISH = {"LANG": "en_US.UTF-8"}
DASH = " \u2014 ".encode()


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
        "int a = 3;": b'no ";": leave it out, or separate expressions with ","',
        "a += 2": b'no compound assignment "+=": write a = a + 2',
        "a <<= 1 + 1": b'no compound assignment "<<=": write a = a << (1 + 1)',
        "(int)3.7": b'no casts such as "(int)": a value takes a variable\'s type when it is stored, as in int v = 3.7',
        "sizeof(double)": b"no sizeof; its types have fixed sizes",
        "2**10": b'no "**" operator: write pow(2, 10)',
        "twice(3)": b'"twice" is a user-defined function: numora accepts and lists definitions (#lf), '
                    b"but never runs a call of one",
        "quit": b"to end the session, type #exit or press Ctrl-D",
        "exit()": b"to end the session, type #exit or press Ctrl-D",
        "help": b"#help lists the console commands and #g the grammar",
        "x = 5": b'"x" is not declared: declare it with its type first, as in int x = 5',
        "int b = 4": b'"b" is already declared, and names last for the whole session: assign to it instead (b = 4), '
                     b"or choose another name",
        "int strlen = 1": b'"strlen" is a built-in function: functions cannot be redefined; choose another name',
    }
    s = Session(home, env=ENGLISH)
    s.expect(b"> ")
    s.send(b"int b = 1\r")
    s.expect(b"> ")
    s.send(b"int twice(int n) n * 2\r")
    for line, hint in hints.items():
        s.expect(b"> ")
        s.send(line.encode() + b"\r")
        s.expect(b"\r\nhint: ")
        s.expect(hint)
    s.expect(b"> ")
    s.send(b"#x\r")
    s.finish()
    # One hint for each line, and none for the definitions.
    assert s.everything.count(b"hint: ") == len(hints), s.everything


def a_line_that_succeeds_gets_no_hint(home):
    out = run_lines(home, ["int sizeof = 8", "sizeof * 2", "int x", "x = 5", "int quit = 1", "quit",
                           "int twice(int n) n * 2", '"a;b"'])
    assert b"hint:" not in out, out


def a_value_changed_without_a_diagnostic_gets_a_note(home):
    out = run_lines(home, ["12345678901", "0x1FFFFFFFF + 0", "0xFFFFFFFF", "3000000000", "1e10", "int y = 1.5",
                           "2147483647 + 1", "-2147483648", "3000000000 / 0", "int z = 2.5 + x"])
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
    out = run_lines(home, ["#help"])
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
    a_line_that_succeeds_gets_no_hint,
    a_value_changed_without_a_diagnostic_gets_a_note,
    a_result_starts_on_a_new_line_after_the_lines_own_output,
    help_ends_with_where_the_english_help_is,
    a_script_names_the_file_and_line_before_the_english,
]


if __name__ == "__main__":
    sys.exit(main(CASES, "english", __doc__))
