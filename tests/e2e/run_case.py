#!/usr/bin/env python3
"""Runs end-to-end cases of the sensor: one TOML file per case.

    run_case.py --sensor BIN --rfcsim LIB --lacking LIB [--keep] CASE.toml...

Each case lays out files on simulated Windows drives in a scratch directory,
runs the sensor once and compares what it wrote, byte for byte. Text in a case
stands for bytes through latin-1, so "\\u00e4" is the byte 0xE4. In expected
texts {TIME} matches hh:mm:ss and {ANY} any text within one line.

Exit code: 0 all passed, 1 a case failed, 77 every case was skipped.
"""

import argparse
import difflib
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import tomllib
from pathlib import Path

TIMEOUT_SECONDS = 10
SKIPPED = 77
CASE_KEYS = {"description", "args", "library", "scenario", "cwd", "env", "files", "expect", "skip"}
EXPECT_KEYS = {"exit", "stdout", "stderr", "absent", "present", "journal", "journal_exact", "files"}
PLACEHOLDERS = {"{TIME}": rb"[0-9]{2}:[0-9]{2}:[0-9]{2}", "{ANY}": rb"[^\n]*"}


class CaseError(Exception):
    """The case file itself is wrong."""


def to_bytes(text):
    return text.encode("latin-1")


# --- Windows paths on the scratch drives ------------------------------------

def windows_path(key, cwd):
    """The absolute Windows form of a key: 'X:\\a', '\\a' (current drive) or relative to cwd."""
    if re.match(r"[A-Za-z]:", key):
        return key
    if key.startswith("\\"):
        return cwd[:2] + key
    return cwd.rstrip("\\") + "\\" + key


def host_path(drives, key, cwd):
    """Where a Windows path lies on this machine: drives/<letter>/..."""
    full = windows_path(key, cwd)
    parts = [p for p in full[2:].split("\\") if p]
    return drives.joinpath(full[0].lower(), *parts)


# --- running the sensor ------------------------------------------------------

def clean_environment(extra):
    env = {k: v for k, v in os.environ.items() if not k.startswith(("RFCSIM_", "SPACEWARDEN_"))}
    env.update(extra)
    return env


def launch(command, cwd, env):
    """Runs the sensor; returns (exit code, stdout, stderr) or raises TimeoutExpired."""
    done = subprocess.run(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=TIMEOUT_SECONDS)
    return done.returncode, done.stdout, done.stderr


# --- comparing ---------------------------------------------------------------

def pattern_of(expected):
    pieces = re.split(rb"(\{TIME\}|\{ANY\})", to_bytes(expected))
    return re.compile(b"".join(PLACEHOLDERS.get(p.decode("latin-1"), re.escape(p)) for p in pieces), re.DOTALL)


def matches(expected, actual):
    return pattern_of(expected).fullmatch(actual) is not None


def describe_mismatch(what, expected, actual):
    exp_lines = to_bytes(expected).splitlines(keepends=True)
    act_lines = actual.splitlines(keepends=True)
    diff = difflib.unified_diff([repr(x) + "\n" for x in exp_lines], [repr(x) + "\n" for x in act_lines],
                                "expected", "actual", lineterm="\n")
    return (f"{what} differs\n  expected: {to_bytes(expected)!r}\n  actual:   {actual!r}\n"
            + "".join("    " + line for line in diff))


def journal_lines_in_order(wanted, lines):
    """The first wanted line not found after the previous one, or None."""
    position = 0
    for line in wanted:
        while position < len(lines) and not matches(line, lines[position]):
            position += 1
        if position == len(lines):
            return line
        position += 1
    return None


# --- one case ----------------------------------------------------------------

def load_case(path):
    with open(path, "rb") as f:
        case = tomllib.load(f)
    unknown = (set(case) - CASE_KEYS) | (set(case.get("expect", {})) - EXPECT_KEYS)
    if unknown:
        raise CaseError(f"unknown keys: {sorted(unknown)}")
    for needed in ("exit", "stdout"):
        if needed not in case.get("expect", {}):
            raise CaseError(f"[expect] needs '{needed}'")
    return case


def library_for(case, tools):
    name = case.get("library", "rfcsim")
    return str(tools.get(name, name))


def run_case(case, tools, scratch, launcher):
    """Returns a list of failure texts; empty when the case passed."""
    cwd = case.get("cwd", "C:\\work")
    drives = scratch / "drives"
    journal = scratch / "journal.txt"
    env = {"SPACEWARDEN_DRIVES": str(drives), "SPACEWARDEN_RFC_LIBRARY": library_for(case, tools),
           "RFCSIM_JOURNAL": str(journal)}
    if "scenario" in case:
        scenario = scratch / "scenario.txt"
        scenario.write_bytes(to_bytes(case["scenario"]))
        env["RFCSIM_SCENARIO"] = str(scenario)
    env.update(case.get("env", {}))

    host_cwd = host_path(drives, cwd, cwd)
    host_cwd.mkdir(parents=True, exist_ok=True)
    for key, content in case.get("files", {}).items():
        target = host_path(drives, key, cwd)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(to_bytes(content))

    command = launcher + [tools["sensor"]] + [to_bytes(a) for a in case.get("args", [])]
    try:
        code, stdout, stderr = launch(command, host_cwd, clean_environment(env))
    except subprocess.TimeoutExpired:
        return [f"the sensor did not end within {TIMEOUT_SECONDS} s"]

    expect = case["expect"]
    failures = []
    if code != expect["exit"]:
        failures.append(f"exit code {code}, expected {expect['exit']}")
    if not matches(expect["stdout"], stdout):
        failures.append(describe_mismatch("stdout", expect["stdout"], stdout))
    if not matches(expect.get("stderr", ""), stderr):
        failures.append(describe_mismatch("stderr", expect.get("stderr", ""), stderr))
    for key in expect.get("absent", []):
        if host_path(drives, key, cwd).exists():
            failures.append(f"{key} exists, expected it absent")
    for key in expect.get("present", []):
        if not host_path(drives, key, cwd).exists():
            failures.append(f"{key} is missing, expected it present")
    for key, content in expect.get("files", {}).items():
        target = host_path(drives, key, cwd)
        if not target.is_file():
            failures.append(f"{key} is missing, expected it with content {to_bytes(content)!r}")
        elif not matches(content, target.read_bytes()):
            failures.append(describe_mismatch(key, content, target.read_bytes()))

    journal_text = journal.read_bytes() if journal.exists() else b""
    if "journal_exact" in expect and not matches(expect["journal_exact"], journal_text):
        failures.append(describe_mismatch("journal", expect["journal_exact"], journal_text))
    missing = journal_lines_in_order(expect.get("journal", []), journal_text.splitlines())
    if missing is not None:
        failures.append(f"journal lacks {missing!r} (in order)\n  journal: {journal_text!r}")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sensor", required=True, help="the SpaceWarden executable")
    parser.add_argument("--rfcsim", required=True, help="the simulator library")
    parser.add_argument("--lacking", required=True, help="the library that lacks an operation")
    parser.add_argument("--launcher", default="", help="command put before the sensor, e.g. 'wine'")
    parser.add_argument("--keep", action="store_true", help="keep the scratch directory of every case")
    parser.add_argument("cases", nargs="+", type=Path)
    options = parser.parse_args()
    tools = {"sensor": os.path.abspath(options.sensor), "rfcsim": os.path.abspath(options.rfcsim),
             "lacking": os.path.abspath(options.lacking)}

    passed = failed = skipped = 0
    for path in options.cases:
        try:
            case = load_case(path)
        except (OSError, tomllib.TOMLDecodeError, CaseError) as problem:
            print(f"ERROR {path}: {problem}")
            failed += 1
            continue
        if "skip" in case:
            print(f"SKIP  {path}: {case['skip']}")
            skipped += 1
            continue
        scratch = Path(tempfile.mkdtemp(prefix="e2e-"))
        try:
            failures = run_case(case, tools, scratch, shlex.split(options.launcher))
        except UnicodeEncodeError as problem:
            failures = [f"a text of the case is not latin-1: {problem}"]
        if failures:
            failed += 1
            print(f"FAIL  {path}: {case.get('description', '')}\n  scratch: {scratch}")
            for failure in failures:
                print("  " + failure.rstrip("\n").replace("\n", "\n  "))
        else:
            passed += 1
            print(f"PASS  {path}")
        if not failures and not options.keep:
            shutil.rmtree(scratch, ignore_errors=True)

    print(f"{passed} passed, {failed} failed, {skipped} skipped")
    if failed:
        return 1
    return SKIPPED if skipped and not passed else 0


if __name__ == "__main__":
    sys.exit(main())
