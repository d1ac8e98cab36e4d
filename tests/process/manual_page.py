#!/usr/bin/env python3
"""The manual page that numora's texts point to ("man numora") is found by
man right after scripts/run.sh, which installs it with
scripts/install-manual.sh: for the user alone, without root, in a shell
whose PATH is a fresh login's.

Usage: manual_page.py

Each case runs the script with a home folder of its own. Without man on
the machine the test is skipped (status 77).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import traceback

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "scripts", "install-manual.sh")
SKIPPED = 77
# A fresh login's PATH, without ~/.local/bin.
FRESH_PATH = "/usr/local/bin:/usr/bin:/bin"


def environment(home, **extra):
    env = {k: v for k, v in os.environ.items() if k not in ("MANPATH", "XDG_DATA_HOME", "MANPAGER", "PAGER")}
    env.update(HOME=home, PATH=FRESH_PATH)
    env.update(extra)
    return env


def install(env):
    return subprocess.run([SCRIPT], env=env, capture_output=True, timeout=60, check=True)


def found_page(env):
    result = subprocess.run(["man", "-w", "numora"], env=env, capture_output=True, cwd="/", timeout=60)
    return result.stdout.decode().strip()


def read(path):
    with open(path, "rb") as f:
        return f.read()


def man_finds_the_page_at_once_and_a_second_run_changes_nothing(home):
    env = environment(home)
    first = install(env)
    page = os.path.join(home, ".local/share/man/man1/numora.1")
    assert found_page(env) == page, found_page(env)
    assert read(page) == read(os.path.join(ROOT, "app", "numora.1"))
    assert b".manpath" in first.stderr, first.stderr
    manpath = read(os.path.join(home, ".manpath"))
    second = install(env)
    assert second.stderr == b"", second.stderr
    assert read(os.path.join(home, ".manpath")) == manpath, read(os.path.join(home, ".manpath"))
    # The rendered page is the calculator's.
    shown = subprocess.run(["man", "numora"], env=dict(env, MANPAGER="cat"), capture_output=True, timeout=60)
    assert b"interactive calculator" in shown.stdout, shown


def a_user_whose_path_holds_local_bin_keeps_an_untouched_manpath(home):
    local_bin = os.path.join(home, ".local", "bin")
    os.makedirs(local_bin)
    env = environment(home, PATH=local_bin + ":" + FRESH_PATH)
    result = install(env)
    assert found_page(env) == os.path.join(home, ".local/share/man/man1/numora.1"), found_page(env)
    assert not os.path.exists(os.path.join(home, ".manpath")), result.stderr


def xdg_data_home_names_the_folder(home):
    data = os.path.join(home, "data")
    env = environment(home, XDG_DATA_HOME=data)
    install(env)
    assert found_page(env) == os.path.join(data, "man/man1/numora.1"), found_page(env)


def a_set_manpath_is_named_instead_of_changed(home):
    env = environment(home, MANPATH="/usr/share/man")
    result = install(env)
    assert not os.path.exists(os.path.join(home, ".manpath"))
    assert os.path.join(home, ".local/share/man").encode() in result.stderr, result.stderr
    assert b"MANPATH" in result.stderr, result.stderr


def the_page_renders_without_a_warning(home):
    result = subprocess.run(["man", "--warnings", "-l", os.path.join(ROOT, "app", "numora.1")],
                            env=dict(environment(home), MANPAGER="cat", MANWIDTH="80"), capture_output=True,
                            timeout=60)
    assert result.returncode == 0 and result.stderr == b"", result.stderr


CASES = [
    man_finds_the_page_at_once_and_a_second_run_changes_nothing,
    a_user_whose_path_holds_local_bin_keeps_an_untouched_manpath,
    xdg_data_home_names_the_folder,
    a_set_manpath_is_named_instead_of_changed,
    the_page_renders_without_a_warning,
]


def main():
    if shutil.which("man") is None:
        print("manual_page: man is not installed; skipped")
        return SKIPPED
    failed = 0
    for case in CASES:
        home = tempfile.mkdtemp(prefix="numora-manual-")
        try:
            case(home)
        except Exception:
            failed += 1
            print(f"FAIL {case.__name__}")
            print("  " + traceback.format_exc().replace("\n", "\n  "))
        finally:
            shutil.rmtree(home, ignore_errors=True)
    print(f"manual_page: {len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
