#!/usr/bin/env python3
"""A repeatable sample of one-line faults, to see how many of them the tests catch.

Each mutant in tools/mutants.txt names a source file, an exact text that occurs in
it once, the text that replaces it and the CTest suites that cover that code. For
every mutant the file is changed, the suites are built and run, and the file is put
back byte for byte, whatever happens. A mutant is

  killed    when a suite fails or times out,
  survived  when every suite passes,
  invalid   when the build fails (the compiler's first error is shown),
  refused   when its text does not occur exactly once (the file has changed).

Usage:
  python3 tools/mutation_sample.py --tree DIR --build DIR [--only N,M] [--list]

The build directory is configured (Ninja, RelWithDebInfo, ccache) when it has no
CMakeCache.txt. Before the first mutant the suites are built and run unchanged and
must pass. Python 3 standard library only.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

SUITE_TIMEOUT_S = 300
KNOWN_SUITES = {
    "tst_platform", "tst_desktop", "tst_records", "tst_calendar", "tst_settings", "tst_search",
    "tst_app", "tst_about", "tst_date_field", "tst_goto", "tst_events", "tst_startup", "tst_styles",
    "tst_settings_dialog", "tst_robust", "tst_search_window", "tst_export", "tst_export_dialog",
    "tst_print", "tst_publish", "tst_ical", "tst_import",
}
KEYS = ("file", "find", "replace", "suites", "note")
# Where the original of the file under mutation is kept while a mutant runs, so that
# a run killed without a chance to clean up is undone by the next one.
BACKUP_NAME = "mutation_sample.backup"


@dataclass
class Mutant:
    number: int
    line: int  # where its block starts in the mutants file
    file: str = ""
    find: str = ""
    replace: str = ""
    suites: list = field(default_factory=list)
    note: str = ""

    def describe(self) -> str:
        return f"{self.file}: {self.find.strip()!r} -> {self.replace.strip()!r}"


class Interrupted(Exception):
    pass


def parse_mutants(path: Path) -> list:
    """Blocks of `key: value` lines separated by blank lines; `#` starts a comment line.

    The value is everything after `key:` and one blank, so leading blanks of a find
    text count only after that blank. `replace:` may be empty (the text is deleted)."""
    mutants = []
    current = None
    errors = []

    def finish():
        nonlocal current
        if current is None:
            return
        missing = [k for k in ("file", "find", "suites") if not getattr(current, k)]
        if missing:
            errors.append(f"{path}:{current.line}: mutant without {', '.join(missing)}")
        elif current.find == current.replace:
            errors.append(f"{path}:{current.line}: find and replace are the same")
        bad = [s for s in current.suites if s not in KNOWN_SUITES]
        if bad:
            errors.append(f"{path}:{current.line}: unknown suite(s) {' '.join(bad)}")
        if not 1 <= len(current.suites) <= 3:
            errors.append(f"{path}:{current.line}: give 1 to 3 suites")
        mutants.append(current)
        current = None

    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        if raw.lstrip().startswith("#"):
            continue
        if not raw.strip():
            finish()
            continue
        key, sep, value = raw.partition(":")
        key = key.strip()
        if not sep or key not in KEYS:
            errors.append(f"{path}:{number}: expected one of {', '.join(KEYS)}: {raw!r}")
            continue
        if value.startswith(" "):
            value = value[1:]
        if current is None:
            current = Mutant(number=len(mutants) + 1, line=number)
        if key == "suites":
            current.suites = value.split()
        elif key == "file":
            current.file = value.strip()
        else:
            setattr(current, key, value)
    finish()
    if errors:
        sys.exit("\n".join(errors))
    return mutants


def occurrences(tree: Path, mutant: Mutant) -> int:
    target = tree / mutant.file
    if not target.is_file():
        return 0
    return target.read_bytes().count(mutant.find.encode("utf-8"))


def first_error(output: str) -> str:
    for line in output.splitlines():
        if re.search(r"\berror\b", line, re.IGNORECASE):
            return line.strip()
    lines = [l for l in output.splitlines() if l.strip()]
    return lines[-1].strip() if lines else "(no output)"


def configure(tree: Path, build: Path) -> None:
    if (build / "CMakeCache.txt").exists():
        return
    print(f"configuring {build}", flush=True)
    result = subprocess.run(
        ["cmake", "-S", str(tree), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
         "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"],
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        sys.exit(f"cmake configure failed:\n{result.stdout[-4000:]}")


def build_suites(build: Path, suites) -> tuple:
    result = subprocess.run(
        ["cmake", "--build", str(build), "--target", *suites, "-j2"],
        stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
    return result.returncode == 0, result.stdout


def run_suite(build: Path, suite: str) -> tuple:
    """(passed, detail). The suite gets a home of its own, as under CTest."""
    executable = build / suite
    if not executable.exists():
        return False, f"{executable} missing"
    with tempfile.TemporaryDirectory(prefix=f"mut-{suite}-") as home:
        env = dict(os.environ)
        env.update({
            "QT_QPA_PLATFORM": "offscreen",
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
            "XDG_DATA_HOME": os.path.join(home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_RUNTIME_DIR": os.path.join(home, "runtime"),
        })
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        process = subprocess.Popen(
            [str(executable)], cwd=home, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
            start_new_session=True)
        try:
            output, _ = process.communicate(timeout=SUITE_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            stop_group(process)
            return False, f"timed out after {SUITE_TIMEOUT_S} s"
        except BaseException:
            stop_group(process)
            raise
    text = output.decode("utf-8", errors="replace")
    if process.returncode == 0:
        return True, ""
    failures = [l.strip() for l in text.splitlines() if l.startswith("FAIL!")]
    if failures:
        return False, failures[0]
    return False, f"exit status {process.returncode}"


def stop_group(process: subprocess.Popen) -> None:
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass
    process.wait()


def restore_leftover(tree: Path, build: Path) -> None:
    """Puts back a file that an earlier, killed run left mutated."""
    backup_dir = build / BACKUP_NAME
    record = backup_dir / "path"
    original = backup_dir / "original"
    if record.exists() and original.exists():
        target = tree / record.read_text(encoding="utf-8")
        target.write_bytes(original.read_bytes())
        print(f"restored {target} left mutated by an earlier run", flush=True)
    shutil.rmtree(backup_dir, ignore_errors=True)


def run_mutant(tree: Path, build: Path, mutant: Mutant) -> tuple:
    """(outcome, detail); the file is restored byte for byte before this returns or raises."""
    target = tree / mutant.file
    original = target.read_bytes()
    find = mutant.find.encode("utf-8")
    if original.count(find) != 1:
        return "refused", f"find text occurs {original.count(find)} times"
    mutated = original.replace(find, mutant.replace.encode("utf-8"), 1)
    backup_dir = build / BACKUP_NAME
    backup_dir.mkdir(exist_ok=True)
    (backup_dir / "original").write_bytes(original)
    (backup_dir / "path").write_text(mutant.file, encoding="utf-8")
    try:
        target.write_bytes(mutated)
        ok, output = build_suites(build, mutant.suites)
        if not ok:
            return "invalid", first_error(output)
        for suite in mutant.suites:
            passed, detail = run_suite(build, suite)
            if not passed:
                return "killed", f"{suite}: {detail}"
        return "survived", ""
    finally:
        target.write_bytes(original)
        shutil.rmtree(backup_dir, ignore_errors=True)


def raise_interrupted(signum, _frame):
    raise Interrupted(f"signal {signum}")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tree", required=True, type=Path, help="the source tree to mutate")
    parser.add_argument("--build", type=Path, help="its build directory (configured when empty)")
    parser.add_argument("--only", help="comma-separated mutant numbers")
    parser.add_argument("--list", action="store_true", help="list the mutants and check their find texts")
    parser.add_argument("--mutants", type=Path, default=Path(__file__).resolve().with_name("mutants.txt"))
    args = parser.parse_args()

    tree = args.tree.resolve()
    mutants = parse_mutants(args.mutants)
    if args.only:
        wanted = {int(n) for n in args.only.replace(" ", "").split(",") if n}
        unknown = wanted - {m.number for m in mutants}
        if unknown:
            sys.exit(f"no mutant numbered {', '.join(map(str, sorted(unknown)))}")
        mutants = [m for m in mutants if m.number in wanted]

    if args.list:
        bad = 0
        for m in mutants:
            count = occurrences(tree, m)
            state = "ok" if count == 1 else f"REFUSED (occurs {count} times)"
            bad += count != 1
            print(f"{m.number:3d} {state:<8} {' '.join(m.suites):<40} {m.describe()}")
            if m.note:
                print(f"    {m.note}")
        print(f"mutants: {len(mutants)}, usable: {len(mutants) - bad}, refused: {bad}")
        return 1 if bad else 0

    if args.build is None:
        parser.error("--build is needed unless --list is given")
    build = args.build.resolve()
    build.mkdir(parents=True, exist_ok=True)
    signal.signal(signal.SIGTERM, raise_interrupted)
    signal.signal(signal.SIGHUP, raise_interrupted)
    restore_leftover(tree, build)
    configure(tree, build)

    started = time.monotonic()
    suites = sorted({s for m in mutants for s in m.suites})
    print(f"baseline: building and running {len(suites)} suites unchanged", flush=True)
    ok, output = build_suites(build, suites)
    if not ok:
        print(output[-4000:])
        sys.exit(f"baseline build failed: {first_error(output)}")
    for suite in suites:
        passed, detail = run_suite(build, suite)
        if not passed:
            sys.exit(f"baseline: {suite} fails without any mutant ({detail}); fix that first")
    print(f"baseline passes ({time.monotonic() - started:.0f} s)", flush=True)

    results = []
    try:
        for index, m in enumerate(mutants, start=1):
            began = time.monotonic()
            outcome, detail = run_mutant(tree, build, m)
            results.append((m, outcome, detail))
            line = f"[{index:2d}/{len(mutants)}] #{m.number:<3d} {outcome:<8} {m.describe()}"
            if detail:
                line += f"  [{detail}]"
            print(f"{line}  ({time.monotonic() - began:.0f} s)", flush=True)
    except (KeyboardInterrupt, Interrupted) as stop:
        print(f"\nstopped ({str(stop) or 'Ctrl-C'}); the mutated file was restored", flush=True)
        return 130

    counts = {k: sum(1 for _, o, _ in results if o == k) for k in ("killed", "survived", "invalid", "refused")}
    print()
    summary = (f"mutants: {len(results)}, killed: {counts['killed']}, survived: {counts['survived']}, "
               f"invalid: {counts['invalid']}")
    if counts["refused"]:
        summary += f", refused: {counts['refused']}"
    print(summary)
    valid = counts["killed"] + counts["survived"]
    if valid:
        print(f"caught: {counts['killed']} of {valid} valid mutants ({100.0 * counts['killed'] / valid:.0f} %)")
    for title, kind in (("survivors", "survived"), ("invalid", "invalid"), ("refused", "refused")):
        chosen = [(m, d) for m, o, d in results if o == kind]
        if not chosen:
            continue
        print(f"{title}:")
        for m, detail in chosen:
            print(f"  #{m.number} {m.describe()}" + (f"  [{detail}]" if detail and kind != "survived" else ""))
            if m.note and kind == "survived":
                print(f"      {m.note}")
    print(f"wall time: {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
