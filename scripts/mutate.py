#!/usr/bin/env python3
"""Mutation runs: puts small plausible faults into the product code one at a time, rebuilds, runs the
tests and reports which faults a test catches.

Usage (from anywhere; paths are relative to the repository root):

    python3 scripts/mutate.py                       # every fault of tests/mutations.txt
    python3 scripts/mutate.py --only physics        # the faults of one module (geom, glshim, physics, io, render, app, tools, packaging)
    python3 scripts/mutate.py --only f2-key,alpha-step,render
    python3 scripts/mutate.py --list                # the faults, checked against the sources, nothing run
    python3 scripts/mutate.py --out results.tsv     # also writes one TSV row per fault

Other options: --faults FILE (another list), --build-dir DIR (default build/mutate), --test-timeout S
(per test, for tests without a timeout of their own; default 300), --test-jobs N (ctest -j, default 2),
--memory-limit MIB (address space of each test process, default 2048; 0 for none; raise it for a
sanitizer build), --no-clean-check (skip the run of the fast tests on the unchanged tree).

Each fault is applied alone to a Release build without link-time optimisation in its own build directory.
The fast tests (ctest -LE 'e2e|faults|package') run first; only when they all pass do the slow end-to-end,
fault and package runs (ctest -L 'e2e|faults|package') run. A fault is caught when a test fails (the first one to fail is named) or
when the build fails while generating the pictures and sound; a fault whose code does not compile is an
error of the list. The file is restored byte for byte after each fault, also on Ctrl-C, SIGTERM or an
error; a run killed outright leaves a backup in the build directory that the next run puts back first.
Faults run one after the other, never in parallel: the machine's cores go to the build and the tests.

The list format (tests/mutations.txt): a header line "name path", then one line "- old text" and one
line "+ new text" (a lone "+" deletes the old text). The old text must occur exactly once in the file.
Lines starting with '#' and blank lines are ignored.
"""

import argparse
import json
import os
import re
import shutil
import resource
import signal
import subprocess
import sys
import time
from dataclasses import dataclass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MODULES = ("geom", "glshim", "physics", "io", "render", "app", "tools", "packaging")
FAST = ["-LE", "e2e|faults|package"]
SLOW = ["-L", "e2e|faults|package"]


@dataclass
class Fault:
    name: str
    path: str
    old: str
    new: str
    line: int  # where it stands in the list, for messages

    @property
    def module(self):
        return self.path.split("/", 1)[0]


class ListError(Exception):
    pass


def parse_faults(list_path):
    faults = []
    current = None
    with open(list_path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            where = f"{list_path}:{number}"
            if not line.strip() or line.startswith("#"):
                continue
            if line.startswith("- "):
                if current is None or current["old"] is not None:
                    raise ListError(f"{where}: '- old text' without a fault header before it")
                current["old"] = line[2:]
            elif line == "+" or line.startswith("+ "):
                if current is None or current["old"] is None or current["new"] is not None:
                    raise ListError(f"{where}: '+ new text' must follow a '- old text' line")
                current["new"] = line[2:]
                faults.append(Fault(**current))
                current = None
            else:
                if current is not None:
                    raise ListError(f"{where}: fault '{current['name']}' lacks its old or new text")
                parts = line.split()
                if len(parts) != 2:
                    raise ListError(f"{where}: expected 'name path', got: {line}")
                current = {"name": parts[0], "path": parts[1], "old": None, "new": None, "line": number}
    if current is not None:
        raise ListError(f"{list_path}: fault '{current['name']}' is not complete at the end")
    names = [fault.name for fault in faults]
    duplicates = sorted({n for n in names if names.count(n) > 1})
    if duplicates:
        raise ListError(f"{list_path}: names used twice: {', '.join(duplicates)}")
    return faults


def check_fault(fault):
    """Returns a reason the fault cannot be applied, or None."""
    if fault.module not in MODULES:
        return f"{fault.path} is outside {', '.join(MODULES)}"
    path = os.path.join(ROOT, fault.path)
    if not os.path.isfile(path):
        return f"no file {fault.path}"
    if fault.old == fault.new:
        return "old and new text are the same"
    with open(path, encoding="utf-8") as f:
        count = f.read().count(fault.old)
    if count == 0:
        return f"old text not found in {fault.path}: {fault.old!r}"
    if count > 1:
        return f"old text occurs {count} times in {fault.path}: {fault.old!r}"
    return None


def select(faults, only):
    if not only:
        return faults
    wanted = [w.strip() for w in only.split(",") if w.strip()]
    known = {f.name for f in faults} | set(MODULES)
    unknown = [w for w in wanted if w not in known]
    if unknown:
        raise ListError(f"--only: no fault or module named {', '.join(unknown)}")
    return [f for f in faults if f.name in wanted or f.module in wanted]


class Interrupted(Exception):
    pass


def on_signal(signum, _frame):
    raise Interrupted(f"signal {signum}")


class Mutation:
    """Applies one fault and puts the file back on leaving, whatever the way out."""

    def __init__(self, fault, backup_dir):
        self.fault = fault
        self.path = os.path.join(ROOT, fault.path)
        self.backup_dir = backup_dir
        self.original = None

    def __enter__(self):
        with open(self.path, "rb") as f:
            self.original = f.read()
        old = self.fault.old.encode()
        mutated = self.original.replace(old, self.fault.new.encode(), 1)
        os.makedirs(self.backup_dir, exist_ok=True)
        with open(os.path.join(self.backup_dir, "content"), "wb") as f:
            f.write(self.original)
        with open(os.path.join(self.backup_dir, "marker.json"), "w", encoding="utf-8") as f:
            json.dump({"path": self.fault.path}, f)
        with open(self.path, "wb") as f:
            f.write(mutated)
        return self

    def __exit__(self, *_exc):
        with open(self.path, "wb") as f:
            f.write(self.original)
        os.remove(os.path.join(self.backup_dir, "marker.json"))
        return False


def restore_leftover(backup_dir):
    marker = os.path.join(backup_dir, "marker.json")
    if not os.path.exists(marker):
        return
    with open(marker, encoding="utf-8") as f:
        path = json.load(f)["path"]
    with open(os.path.join(backup_dir, "content"), "rb") as f:
        content = f.read()
    with open(os.path.join(ROOT, path), "wb") as f:
        f.write(content)
    os.remove(marker)
    print(f"restored {path} from an earlier run that did not finish", flush=True)


def run(cmd, log, timeout=None, memory_mib=0):
    """Runs cmd, appending its output to the log; returns (exit status, output). memory_mib bounds the
    address space of every process it starts, so that a fault making a test grow without end fails
    that test instead of squeezing the machine."""
    log.write(f"$ {' '.join(cmd)}\n")
    log.flush()

    def limit():
        if memory_mib > 0:
            size = memory_mib * 1024 * 1024
            resource.setrlimit(resource.RLIMIT_AS, (size, size))

    # Own process group, so that a timeout or an interruption ends the whole tree.
    proc = subprocess.Popen(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace", start_new_session=True, preexec_fn=limit)
    try:
        output, _ = proc.communicate(timeout=timeout)
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        raise
    log.write(output)
    log.flush()
    return proc.returncode, output


def configure(build_dir, log):
    cmd = ["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
           "-DCMAKE_INTERPROCEDURAL_OPTIMIZATION_RELEASE=OFF", "-DTORVEL_BUILD_BENCH=OFF",
           "-DTORVEL_E2E_XORG=ON"]
    status, _ = run(cmd, log)
    if status != 0:
        raise ListError(f"configuring {build_dir} failed (see {log.name})")


def build(build_dir, log):
    """Returns None when the build succeeds, 'assets' when generating the pictures or sound failed,
    'test discovery' when a test program failed to list its tests, 'compile' for any other failure."""
    # The pictures and the sound are generated afresh each time: a file left by an earlier build
    # would hide a fault that writes it elsewhere or not at all.
    for generated in ("data", "Data"):
        shutil.rmtree(os.path.join(build_dir, "bin", generated), ignore_errors=True)
    status, output = run(["cmake", "--build", build_dir, "-j2"], log)
    if status == 0:
        return None
    if "Error running test executable" in output:
        return "test discovery"
    failed = [line for line in output.splitlines() if line.startswith("FAILED: ")]
    if failed and all(re.search(r"bin/[Dd]ata/|CMakeFiles/assets", line) for line in failed):
        return "assets"
    return "compile"


# "  3/57 Test  #3: geom.VectorTest.Length .......   Passed    0.01 sec"
PROGRESS = re.compile(r"^\s*\d+/\d+ Test\s+#\d+: (\S+) \.*\s*(.*)$")


def first_failure(output):
    for line in output.splitlines():
        m = PROGRESS.match(line)
        if m and not re.match(r"(\*\*\*)?(Passed|Skipped)", m.group(2).strip()):
            return m.group(1)
    m = re.search(r"The following tests FAILED:\s*\n\s*\d+ - (\S+)", output)
    return m.group(1) if m else None


def run_tests(build_dir, labels, args, log):
    """Returns the name of the first failing test, or None when all pass."""
    cmd = ["ctest", "--test-dir", build_dir, *labels, "--stop-on-failure", "--timeout",
           str(args.test_timeout), "-j", str(args.test_jobs)]
    status, output = run(cmd, log, memory_mib=args.memory_limit)
    if status == 0:
        return None
    return first_failure(output) or "ctest"


def try_fault(fault, args, build_dir, log_dir):
    """Returns (result, by): result is caught, survived or error."""
    with open(os.path.join(log_dir, fault.name + ".log"), "w", encoding="utf-8") as log, \
            Mutation(fault, os.path.join(build_dir, "mutate-backup")):
        broken = build(build_dir, log)
        if broken in ("assets", "test discovery"):
            return "caught", broken
        if broken == "compile":
            return "error", "does not compile"
        for labels in (FAST, SLOW):
            failing = run_tests(build_dir, labels, args, log)
            if failing:
                return "caught", failing
        return "survived", "-"


def main():
    parser = argparse.ArgumentParser(description="Mutation runs of the test suite (see the top of this file).")
    parser.add_argument("--faults", default=os.path.join(ROOT, "tests", "mutations.txt"))
    parser.add_argument("--only", help="comma-separated fault names and/or modules")
    parser.add_argument("--list", action="store_true", help="list the faults and check them; run nothing")
    parser.add_argument("--out", help="write the results as TSV to this file")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build", "mutate"))
    parser.add_argument("--test-timeout", type=int, default=300)
    parser.add_argument("--test-jobs", type=int, default=2)
    parser.add_argument("--memory-limit", type=int, default=2048, help="MiB per test process; 0: none")
    parser.add_argument("--no-clean-check", action="store_true")
    args = parser.parse_args()

    try:
        faults = select(parse_faults(args.faults), args.only)
    except ListError as e:
        print(f"mutate: {e}", file=sys.stderr)
        return 2
    build_dir = os.path.abspath(args.build_dir)
    restore_leftover(os.path.join(build_dir, "mutate-backup"))

    problems = [(f, check_fault(f)) for f in faults]
    problems = [(f, why) for f, why in problems if why]
    for f, why in problems:
        print(f"mutate: fault '{f.name}' (list line {f.line}): {why}", file=sys.stderr)
    if args.list:
        for f in faults:
            print(f"{f.name:28} {f.path:32} {f.old.strip()}  ->  {f.new.strip()}")
        counts = {m: sum(1 for f in faults if f.module == m) for m in MODULES}
        print(f"{len(faults)} faults: " + ", ".join(f"{m} {n}" for m, n in counts.items()))
        return 1 if problems else 0
    if problems:
        print("mutate: fix the list first", file=sys.stderr)
        return 2

    signal.signal(signal.SIGTERM, on_signal)
    signal.signal(signal.SIGHUP, on_signal)
    log_dir = os.path.join(build_dir, "mutate-logs")
    os.makedirs(log_dir, exist_ok=True)
    try:
        with open(os.path.join(log_dir, "unchanged.log"), "w", encoding="utf-8") as log:
            if not os.path.exists(os.path.join(build_dir, "CMakeCache.txt")):
                configure(build_dir, log)
            if build(build_dir, log):
                print(f"mutate: the unchanged tree does not build (see {log.name})", file=sys.stderr)
                return 2
            if not args.no_clean_check:
                failing = run_tests(build_dir, FAST, args, log)
                if failing:
                    print(f"mutate: the unchanged tree fails {failing} (see {log.name})", file=sys.stderr)
                    return 2

        results = []
        out = open(args.out, "w", encoding="utf-8") if args.out else None
        if out:
            out.write("name\tmodule\tfile\tresult\tby\tseconds\n")
        for fault in faults:
            start = time.monotonic()
            result, by = try_fault(fault, args, build_dir, log_dir)
            seconds = time.monotonic() - start
            results.append(result)
            print(f"{fault.name:28} {result:9} {by:60} {seconds:6.0f} s", flush=True)
            if out:
                out.write(f"{fault.name}\t{fault.module}\t{fault.path}\t{result}\t{by}\t{seconds:.0f}\n")
                out.flush()
        if out:
            out.close()
        # Leaves the build directory matching the restored sources.
        with open(os.path.join(log_dir, "unchanged.log"), "a", encoding="utf-8") as log:
            build(build_dir, log)
    except (KeyboardInterrupt, Interrupted) as e:
        print(f"mutate: interrupted ({e or 'Ctrl-C'}); the sources are restored", file=sys.stderr)
        return 130

    caught = results.count("caught")
    errors = results.count("error")
    tried = len(results) - errors
    summary = f"caught {caught} of {tried}"
    if errors:
        summary += f" ({errors} faults of the list do not compile)"
    print(summary)
    return 0 if errors == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
