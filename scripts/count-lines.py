#!/usr/bin/env python3
"""Lines of program code against lines of tests: lines that hold something other than blanks
and comments. Code is the sources of core/ state/ shell/ main/; tests are everything
under tests/ (unit, in-process, fuzz, end-to-end scripts, helpers, the layer check), with a row per
folder; benchmarks are counted apart."""

import os
import sys

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
C_LIKE = (".cpp", ".h", ".c")
SHELL = (".sh", ".py")


def c_code_lines(text):
    """Lines with code outside comments; string and character literals are code."""
    count, has_code, i, n = 0, False, 0, len(text)
    in_block = False
    while i < n:
        c = text[i]
        if c == "\n":
            count += has_code
            has_code = False
            i += 1
        elif in_block:
            if text.startswith("*/", i):
                in_block = False
                i += 2
            else:
                i += 1
        elif text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
        elif text.startswith("/*", i):
            in_block = True
            i += 2
        elif c in "\"'":
            has_code = True
            i += 1
            while i < n and text[i] != c and text[i] != "\n":
                i += 2 if text[i] == "\\" else 1
            i += 1
        else:
            has_code = has_code or not c.isspace()
            i += 1
    return count + has_code


def shell_code_lines(text):
    # Shell and Python: a line starting with '#' (the #! line too) is a comment; trailing comments stay code.
    return sum(1 for line in text.splitlines() if line.strip() and not line.strip().startswith("#"))


def count(folders, kinds):
    files = lines = 0
    for folder in folders:
        for base, dirs, names in os.walk(os.path.join(TOP, folder)):
            dirs[:] = sorted(d for d in dirs if d != "corpus")
            for name in sorted(names):
                if not name.endswith(kinds):
                    continue
                with open(os.path.join(base, name), encoding="utf-8", errors="replace") as f:
                    text = f.read()
                lines += shell_code_lines(text) if name.endswith(SHELL) else c_code_lines(text)
                files += 1
    return files, lines


def main():
    code = count(["core", "state", "shell", "main"], C_LIKE)
    tests = count(["tests"], C_LIKE + SHELL)
    bench = count(["bench"], C_LIKE + SHELL)
    rows = [("code", code), ("tests", tests), ("benchmarks", bench)]
    for label, (files, lines) in rows:
        print(f"{label:<11} {lines:>7} lines in {files:>3} files")
        if label == "tests":
            for sub in sorted(os.listdir(os.path.join(TOP, "tests"))):
                if os.path.isdir(os.path.join(TOP, "tests", sub)):
                    sub_files, sub_lines = count([os.path.join("tests", sub)], C_LIKE + SHELL)
                    if sub_files:
                            print(f"  {sub:<9} {sub_lines:>7} lines in {sub_files:>3} files")
    ratio = tests[1] / code[1] if code[1] else 0.0
    print(f"tests/code  {ratio:>7.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
