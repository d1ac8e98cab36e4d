#!/usr/bin/env python3
"""Checks the console built-ins (getch, cgets, cputs, putch) against a real
pseudo-terminal, and their failure without any terminal.

Usage: console_pty.py NUMORA_BINARY

The program's standard input and output are pipes; the pseudo-terminal is
only its controlling terminal, so whatever the console built-ins read or
write travels through the terminal and nowhere else.
"""

import fcntl
import os
import select
import subprocess
import sys
import termios
import time

TIMEOUT = 10


def start_on_terminal(binary):
    master, slave = os.openpty()
    slave_name = os.ttyname(slave)

    def take_terminal():
        os.setsid()
        fd = os.open(slave_name, os.O_RDWR)
        fcntl.ioctl(fd, termios.TIOCSCTTY, 0)
        os.close(fd)

    proc = subprocess.Popen([binary], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, preexec_fn=take_terminal)
    return proc, master, slave


def wait_for(condition, what):
    deadline = time.time() + TIMEOUT
    while not condition():
        if time.time() > deadline:
            raise SystemExit(f"timed out waiting for {what}")
        time.sleep(0.01)


def echo_on(slave):
    return bool(termios.tcgetattr(slave)[3] & termios.ECHO)


def drain(fd):
    data = b""
    while select.select([fd], [], [], 0.2)[0]:
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        data += chunk
    return data


def expect(name, actual, expected):
    if actual != expected:
        print(f"FAIL {name}\n  expected {expected!r}\n  actual   {actual!r}")
        return 1
    return 0


def getch_reads_one_key_without_echo(binary):
    proc, master, slave = start_on_terminal(binary)
    proc.stdin.write(b"getch()\n")
    proc.stdin.flush()
    wait_for(lambda: not echo_on(slave), "getch to switch echo off")
    os.write(master, b"x")
    wait_for(lambda: echo_on(slave), "getch to restore the terminal")
    out, err = proc.communicate(timeout=TIMEOUT)
    failures = expect("getch result", out, b"> 120\n> ")
    failures += expect("getch diagnostics", err, b"")
    failures += expect("getch echo", drain(master), b"")
    os.close(master)
    os.close(slave)
    return failures


def cgets_reads_a_line_of_at_most_255_bytes(binary):
    proc, master, slave = start_on_terminal(binary)
    os.write(master, b"typed on the terminal\n" + b"y" * 300 + b"\n")
    proc.stdin.write(b"string s\ncgets(s)\ns\nstrlen(cgets(s))\n")
    proc.stdin.flush()
    out, err = proc.communicate(timeout=TIMEOUT)
    failures = expect("cgets result", out,
                      b"> \n> \"typed on the terminal\"\n> \"typed on the terminal\"\n> 255\n> ")
    failures += expect("cgets diagnostics", err, b"")
    os.close(master)
    os.close(slave)
    return failures


def cputs_and_putch_write_to_the_terminal_only(binary):
    proc, master, slave = start_on_terminal(binary)
    proc.stdin.write(b'cputs("on the terminal")\nputch(66)\n')
    proc.stdin.flush()
    out, err = proc.communicate(timeout=TIMEOUT)
    failures = expect("cputs and putch results", out, b"> 0\n> 66\n> ")
    failures += expect("cputs and putch diagnostics", err, b"")
    failures += expect("terminal output", drain(master), b"on the terminalB")
    os.close(master)
    os.close(slave)
    return failures


def console_built_ins_fail_without_a_terminal(binary):
    proc = subprocess.Popen([binary], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, start_new_session=True)
    out, err = proc.communicate(b'string s\ngetch()\ncgets(s)\ncputs("x")\nputch(65)\n', timeout=TIMEOUT)
    failed = "pos:0  関数の実行に失敗しました\n".encode()
    failures = expect("no terminal: results", out, b"> \n> > > > > ")
    failures += expect("no terminal: diagnostics", err, failed * 4)
    return failures


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    binary = os.path.abspath(sys.argv[1])
    failures = 0
    for test in (getch_reads_one_key_without_echo, cgets_reads_a_line_of_at_most_255_bytes,
                 cputs_and_putch_write_to_the_terminal_only, console_built_ins_fail_without_a_terminal):
        failures += test(binary)
    print(f"console: {'ok' if failures == 0 else f'{failures} failures'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
