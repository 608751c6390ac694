#!/usr/bin/env python3
"""Mutation check of the sources against their tests.

Each mutant changes one operator, boundary or constant in one source file. The mutant is built
and the tests run; a mutant the tests notice (a failing test, a crash, a time-out) is killed, one
they pass with is a survivor. A mutant that does not compile is not counted. Two modes:

  portable  (default) a .cpp under core/, the plain code of every subsystem, judged by the native
            unit tests (build/mutate);
  windows   a .cpp under shell/ or main/, judged by the in-process tests under Wine: the 64-bit
            build (it runs on every machine), one test per process as ctest runs them, stopping at
            the first failure (build/mutate-windows). The tests use the tree's test display
            (build/wine, or TOMEL_WINE_DIR), started when it is not up.

The work happens in a mirror of the sources under the mode's build folder (src/), so the working
tree is never touched and a run can go on while you edit; the mirrored file is restored after
every mutant, on Ctrl+C too, and a run that was killed outright is repaired by the next one.

  scripts/mutate.py [--mode portable|windows] [--files core/text/slideshow.cpp ...] [--sample N]
                    [--seed S] [--timeout SEC] [--list] [--equivalents FILE] [--report FILE]
                    [--check-equivalents]

Known equivalent mutants (changes no test can see because the behaviour does not change) are
listed in scripts/mutate-equivalents.txt, one per line as the survivor list prints them; the
line number is only a guide, a mutant is matched by file, mutation and the text of its line.
--check-equivalents runs the listed mutants instead and names those the tests kill, which do not
belong on the list.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# What each mode mutates, what its build needs from the tree, and where it works.
MODES = {
    "portable": {
        "roots": ["core"], "skipped": [],
        "mirrored": ["CMakeLists.txt", "cmake", "core", "state", "shell", "main", "res", "scripts",
                     "tests/unit", "tests/data", "tests/fuzz", "tests/pe", "tests/layers"],
        "build": "mutate",
    },
    "windows": {
        # The entry routine is no part of the in-process tests: its mutants could only survive.
        "roots": ["shell", "main"], "skipped": ["main/main_win.cpp"],
        "mirrored": ["CMakeLists.txt", "cmake", "core", "state", "shell", "main", "res", "scripts", "bench",
                     "tests/wine", "tests/data", "tests/keeper", "tests/e2e"],
        "build": "mutate-windows",
    },
}


# ------------------------------------------------------------------------- finding mutants

def mask_non_code(text):
    """The text with comments, string and character literals and preprocessor lines blanked
    out (line ends kept), so that patterns only match code."""
    out = list(text)
    i, n = 0, len(text)
    at_line_start = True

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if at_line_start and c == "#":
            j = i
            while j < n and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j, n)
            blank(i, j)
            i = j
            continue
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if c in " \t":
            i += 1
            continue
        at_line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            blank(i, j)
            i = j
        else:
            i += 1
    return "".join(out)


# Binary operators are written with a blank on either side; that keeps template brackets,
# shifts, references, unary minus and pointer arithmetic in declarations out.
SWAPS = [
    (r"(?<=\s)<(?=\s)", "<="), (r"(?<=\s)<=(?=\s)", "<"),
    (r"(?<=\s)>(?=\s)", ">="), (r"(?<=\s)>=(?=\s)", ">"),
    (r"(?<=\s)==(?=\s)", "!="), (r"(?<=\s)!=(?=\s)", "=="),
    (r"(?<=\s)&&(?=\s)", "||"), (r"(?<=\s)\|\|(?=\s)", "&&"),
    (r"(?<=\s)\+(?=\s)", "-"), (r"(?<=\s)-(?=\s)", "+"),
    (r"(?<=\s)\+=(?=\s)", "-="), (r"(?<=\s)-=(?=\s)", "+="),
    (r"(?<=\.)find(?=\()", "rfind"), (r"(?<=\.)rfind(?=\()", "find"),
    (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
    (r"!(?!=)", ""),
]
INTEGER = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")


@dataclass
class Mutant:
    path: str          # relative to the top of the tree
    line: int          # 1-based
    start: int         # offset in the file
    end: int
    original: str
    replacement: str
    occurrence: int    # the how-manieth such change of this text on its line (1-based)
    line_text: str     # the line, trimmed

    def describe(self):
        nth = f" #{self.occurrence}" if self.occurrence > 1 else ""
        return f"'{self.original}' -> '{self.replacement}'{nth}"

    def key(self):
        return (self.path, self.original, self.replacement, self.occurrence, self.line_text)

    def entry(self):
        return f"{self.path}:{self.line}: {self.describe()}: {self.line_text}"


def integer_variants(literal, suffix):
    value = int(literal, 0) if literal.lower().startswith("0x") else int(literal, 10)
    if not literal.lower().startswith("0x") and len(literal) > 1 and literal.startswith("0"):
        return []  # octal: none in the sources
    out = []
    for v in (value + 1, value - 1):
        if v < 0:
            continue
        if literal.lower().startswith("0x"):
            digits = format(v, "X" if any(ch.isupper() for ch in literal[2:]) else "x")
            text = literal[:2] + digits.rjust(len(literal) - 2, "0")
        else:
            text = str(v)
        out.append(text + suffix)
    return out


def find_mutants(path):
    text = read_text(os.path.join(TOP, path))
    code = mask_non_code(text)
    line_starts = [0] + [m.end() for m in re.finditer("\n", text)]
    lines = text.split("\n")

    def line_of(offset):
        lo, hi = 0, len(line_starts) - 1
        while lo < hi:
            mid = (lo + hi + 1) // 2
            if line_starts[mid] <= offset:
                lo = mid
            else:
                hi = mid - 1
        return lo + 1

    found = []
    for pattern, replacement in SWAPS:
        for m in re.finditer(pattern, code):
            found.append((m.start(), m.end(), m.group(0), replacement))
    for m in INTEGER.finditer(code):
        for variant in integer_variants(m.group(1), m.group(2)):
            found.append((m.start(), m.end(), m.group(0), variant))
    found.sort()

    mutants, seen = [], {}
    for start, end, original, replacement in found:
        line = line_of(start)
        line_text = lines[line - 1].strip()
        if line_text.startswith("static_assert"):
            continue
        k = (line, original, replacement)
        seen[k] = seen.get(k, 0) + 1
        mutants.append(Mutant(path, line, start, end, original, replacement, seen[k], line_text))
    return text, mutants


ENTRY = re.compile(r"^(\S+?):\d+: '(.*?)' -> '(.*?)'(?: #(\d+))?: (.*)$")


def read_equivalents(path):
    keys = {}
    if not path or not os.path.exists(path):
        return keys
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = ENTRY.match(line)
            if not m:
                sys.exit(f"{path}:{number}: not a mutant line: {line}")
            keys[(m.group(1), m.group(2), m.group(3), int(m.group(4) or 1), m.group(5).strip())] = line
    return keys


def mutable_sources(mode):
    out = []
    for root in mode["roots"]:
        for base, dirs, names in os.walk(os.path.join(TOP, root)):
            dirs.sort()
            for name in sorted(names):
                rel = os.path.relpath(os.path.join(base, name), TOP).replace(os.sep, "/")
                if name.endswith(".cpp") and rel not in mode["skipped"]:
                    out.append(rel)
    return out


# ------------------------------------------------------------------------- the mirror

class Mirror:
    def __init__(self, build, jobs, mirrored):
        self.root = os.path.join(build, "src")
        self.bin = os.path.join(build, "bin")
        self.pending = os.path.join(build, "pending")   # the file under mutation, for repair
        self.jobs = jobs
        self.mirrored = mirrored

    def repair(self):
        """Puts back a file that a run killed outright left mutated."""
        if os.path.exists(self.pending):
            with open(self.pending, encoding="utf-8") as f:
                rel = f.read().strip()
            src = os.path.join(TOP, rel)
            if rel and os.path.exists(src):
                # A new time stamp: the build made from the mutant is newer than the tree's file.
                shutil.copy(src, os.path.join(self.root, rel))
            os.remove(self.pending)

    def sync(self):
        """Brings the mirror up to date with the tree; unchanged files keep their time stamps
        so that the build stays incremental."""
        wanted = set()
        for item in self.mirrored:
            src = os.path.join(TOP, item)
            paths = []
            if os.path.isdir(src):
                for base, _, files in os.walk(src):
                    paths += [os.path.relpath(os.path.join(base, f), TOP) for f in files]
            elif os.path.exists(src):
                paths.append(item)
            for rel in paths:
                wanted.add(rel)
                a, b = os.path.join(TOP, rel), os.path.join(self.root, rel)
                if os.path.exists(b) and same_content(a, b):
                    continue
                os.makedirs(os.path.dirname(b), exist_ok=True)
                # Stamped with the time of the copy, not the tree's: a file edited in the tree while an
                # earlier run mutated (and so rewrote) it would otherwise look older than what the
                # mirror built from the old text, and make would keep that build.
                shutil.copy(a, b)
        for base, _, files in os.walk(self.root):
            for f in files:
                rel = os.path.relpath(os.path.join(base, f), self.root)
                if rel not in wanted:
                    os.remove(os.path.join(base, f))

    def configure(self):
        if os.path.exists(os.path.join(self.bin, "Makefile")):
            return True
        r = subprocess.run(self.configure_command(), env=self.configure_env(), stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True)
        if r.returncode != 0:
            print(r.stdout)
        return r.returncode == 0

    def build(self, targets=None):
        r = subprocess.run(["cmake", "--build", self.bin, "--target", *(targets or self.targets), "-j", str(self.jobs)],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        return r.returncode == 0, r.stdout

    def prepare(self):
        """Anything the tests need besides the build; false when it cannot be had."""
        return True

    def wait(self, p, timeout):
        """'passed', 'failed' or 'timeout' for a test run started in a session of its own."""
        try:
            return "passed" if p.wait(timeout=timeout) == 0 else "failed"
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
            return "timeout"
        except BaseException:
            # Interrupted: the tests must not go on with a program the next run rebuilds under them.
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
            raise


class NativeMirror(Mirror):
    """The portable code, judged by the native unit tests."""
    targets = ["unit_tests"]

    def configure_env(self):
        return dict(os.environ, CC="clang", CXX="clang++")

    def configure_command(self):
        command = ["cmake", "-G", "Unix Makefiles", "-S", self.root, "-B", self.bin, "-DCMAKE_BUILD_TYPE=Debug",
                   # list the tests when ctest runs, not after every link
                   "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"]
        if shutil.which("ld.lld"):
            command.append("-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld")   # links in a fraction of the time
        return command

    def run_tests(self, timeout):
        env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1", UBSAN_OPTIONS="print_stacktrace=0")
        p = subprocess.Popen([os.path.join(self.bin, "unit_tests"), "--gtest_brief=1"],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env,
                             start_new_session=True)
        return self.wait(p, timeout)


class WindowsMirror(Mirror):
    """The Windows code, judged by the in-process tests of the 64-bit build under Wine."""
    targets = ["wine_tests"]

    def __init__(self, *args):
        super().__init__(*args)
        # The tree's test display, so that no prefix is made for the mirror; its keeper comes from
        # the mirror's build when the display has to be started.
        self.env = dict(os.environ, TOMEL_WINE_DIR=os.environ.get("TOMEL_WINE_DIR") or os.path.join(TOP, "build", "wine"),
                        TOMEL_KEEPER=os.path.join(self.bin, "tests", "keeper.exe"))

    def configure_env(self):
        return dict(os.environ)

    def configure_command(self):
        return ["cmake", "-G", "Unix Makefiles", "-S", self.root, "-B", self.bin, "-DCMAKE_BUILD_TYPE=Release",
                "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(self.root, "cmake", "mingw-x86_64.cmake")]

    def prepare(self):
        ok, log = self.build(["keeper"])
        if not ok:
            print(log[-4000:])
            return False
        r = subprocess.run([os.path.join(TOP, "scripts", "wine-session.sh"), "start"], env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
        return r.returncode == 0

    def run_tests(self, timeout):
        # One test per process, as the test run does; the first failure decides.
        p = subprocess.Popen(["ctest", "--test-dir", self.bin, "-R", r"^wine64\.", "--stop-on-failure"],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                             env=self.env, start_new_session=True)
        return self.wait(p, timeout)


def read_text(path):
    with open(path, encoding="utf-8", newline="") as f:
        return f.read()


def write_text(path, text):
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)


def same_content(a, b):
    if os.path.getsize(a) != os.path.getsize(b):
        return False
    with open(a, "rb") as fa, open(b, "rb") as fb:
        return fa.read() == fb.read()


# ------------------------------------------------------------------------- the run

class Interrupted(Exception):
    pass


def on_signal(signum, frame):
    raise Interrupted()


def main():
    ap = argparse.ArgumentParser(description="Mutation check of the sources against their tests.")
    ap.add_argument("--mode", choices=sorted(MODES), default="portable",
                    help="portable: core/ against the unit tests; windows: shell/ and main/ against the "
                         "in-process tests under Wine")
    ap.add_argument("--files", nargs="*", default=None,
                    help="sources of the mode to mutate (default: all of them)")
    ap.add_argument("--sample", type=int, default=0, help="test only this many mutants, picked at random")
    ap.add_argument("--seed", type=int, default=None, help="seed of the sample (printed when not given)")
    ap.add_argument("--timeout", type=float, default=0,
                    help="seconds a mutant's test run may take (default: 10 times the clean run, at least 10;"
                         " windows: 3 times, at least 300)")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--build", default=None, help="the mode's work folder (default: build/mutate[-windows])")
    ap.add_argument("--equivalents", default=os.path.join(TOP, "scripts", "mutate-equivalents.txt"))
    ap.add_argument("--report", default=None, help="also write the summary to this file")
    ap.add_argument("--list", action="store_true", help="only list the mutants")
    ap.add_argument("--check-equivalents", action="store_true",
                    help="run the mutants the equivalents list holds instead, and name those the tests kill")
    args = ap.parse_args()

    mode = MODES[args.mode]
    all_sources = mutable_sources(mode)
    files = all_sources
    if args.files:
        files = []
        for f in args.files:
            for part in f.split():
                rel = os.path.relpath(os.path.abspath(part), TOP)
                if rel not in all_sources:
                    sys.exit(f"{part}: not a source of the {args.mode} mode ({', '.join(all_sources)})")
                files.append(rel)

    originals, mutants = {}, []
    for f in files:
        originals[f], found = find_mutants(f)
        mutants += found

    equivalents = read_equivalents(args.equivalents)
    excluded = [m for m in mutants if m.key() in equivalents]
    matched = {m.key() for m in excluded}
    stale = [line for key, line in equivalents.items() if key not in matched and key[0] in files]
    mutants = [m for m in mutants if m.key() not in equivalents]
    if args.check_equivalents:
        mutants, excluded = excluded, []
    total_found = len(mutants)

    if args.list:
        for m in mutants:
            print(m.entry())
        print(f"{len(mutants)} mutants in {len(files)} files, {len(excluded)} known equivalent left out")
        for line in stale:
            print(f"listed as equivalent, but no such mutant any more: {line}")
        return 0

    if args.sample and args.sample < len(mutants):
        seed = args.seed if args.seed is not None else random.randrange(1 << 30)
        print(f"sample of {args.sample} out of {len(mutants)} mutants, seed {seed}")
        mutants = sorted(random.Random(seed).sample(mutants, args.sample), key=lambda m: (m.path, m.start))

    build = args.build or os.path.join(TOP, "build", mode["build"])
    os.makedirs(build, exist_ok=True)
    mirror = (WindowsMirror if args.mode == "windows" else NativeMirror)(build, args.jobs, mode["mirrored"])
    mirror.repair()
    mirror.sync()
    if not mirror.configure():
        sys.exit("mutate: cmake configure failed")
    ok, log = mirror.build()
    if not ok:
        print(log[-4000:])
        sys.exit("mutate: the unmutated sources do not build")
    if not mirror.prepare():
        sys.exit("mutate: the test display could not be started")
    began = time.monotonic()
    if mirror.run_tests(timeout=1800) != "passed":
        sys.exit("mutate: the tests fail without any mutation; fix them first")
    clean_seconds = time.monotonic() - began
    if args.mode == "windows":
        timeout = args.timeout or max(300.0, 3 * clean_seconds)
    else:
        timeout = args.timeout or max(10.0, 10 * clean_seconds)
    print(f"{len(mutants)} mutants in {len(files)} files; clean test run {clean_seconds:.1f} s, "
          f"time limit {timeout:.0f} s per mutant")

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    results = {"killed": [], "timeout": [], "survived": [], "stillborn": []}
    started = time.monotonic()
    interrupted = False
    target = None
    try:
        for number, m in enumerate(mutants, 1):
            original = originals[m.path]
            target = os.path.join(mirror.root, m.path)
            with open(mirror.pending, "w", encoding="utf-8") as f:
                f.write(m.path)
            try:
                write_text(target, original[:m.start] + m.replacement + original[m.end:])
                built, _ = mirror.build()
                outcome = "stillborn" if not built else {
                    "failed": "killed", "timeout": "timeout", "passed": "survived"}[mirror.run_tests(timeout)]
            finally:
                write_text(target, original)
                os.remove(mirror.pending)
            results[outcome].append(m)
            print(f"[{number}/{len(mutants)}] {outcome:9} {m.path}:{m.line}: {m.describe()}", flush=True)
    except Interrupted:
        interrupted = True
        print("\ninterrupted; the mirrored file is restored", flush=True)
    finally:
        signal.signal(signal.SIGINT, signal.SIG_DFL)
        signal.signal(signal.SIGTERM, signal.SIG_DFL)

    if not interrupted:
        mirror.build()   # leave the mirror's build matching the sources again

    killed = len(results["killed"]) + len(results["timeout"])
    counted = killed + len(results["survived"])
    ratio = 100.0 * killed / counted if counted else 0.0
    minutes = (time.monotonic() - started) / 60
    out = []
    out.append(f"Mutation check of {', '.join(files)}")
    if args.sample and args.sample < total_found:
        out.append(f"sample of {len(mutants)} out of {total_found} mutants")
    if interrupted:
        out.append("(interrupted: partial result)")
    out.append(f"killed {killed} of {counted} mutants that compiled: {ratio:.1f} %"
               f" ({len(results['timeout'])} of them by the time limit);"
               f" {len(results['stillborn'])} did not compile; {minutes:.1f} minutes")
    out.append("")
    if args.check_equivalents:
        # An equivalent mutant is one no test can kill: a killed one does not belong on the list.
        out.append(f"Listed as equivalent but killed, to take off the list ({killed}):")
        out += [m.entry() for m in results["killed"] + results["timeout"]] or ["(none)"]
        out.append("")
    out.append(f"Survivors ({len(results['survived'])}):")
    out += [m.entry() for m in results["survived"]] or ["(none)"]
    out.append("")
    out.append(f"Known equivalent, left out ({len(excluded)}):")
    out += [m.entry() for m in excluded] or ["(none)"]
    if stale:
        out.append("")
        out.append("Listed as equivalent but no longer found (update the list):")
        out += stale
    text = "\n".join(out) + "\n"
    print()
    print(text, end="")
    report = args.report or os.path.join(build, "report.txt")
    with open(report, "w", encoding="utf-8") as f:
        f.write(text)
    print(f"(also in {report})")
    return 130 if interrupted else 0


if __name__ == "__main__":
    sys.exit(main())
