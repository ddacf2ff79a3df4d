#!/usr/bin/env python3
"""Runs end-to-end cases of the sensor: one TOML file per case.

    run_case.py --sensor BIN --rfcsim LIB --lacking LIB [--library NAME=LIB...] [--wine PREFIX [--launcher EXE]] [--keep] CASE.toml...
    run_case.py --chain nwrfc --library adapter=LIB --library nwrfcsim=LIB --library nwlacking=LIB ... CASE.toml...

Each case lays out files on simulated Windows drives in a scratch directory,
runs the sensor once and compares what it wrote, byte for byte. Text in a case
stands for bytes through latin-1, so "\\u00e4" is the byte 0xE4. In expected
texts {TIME} matches hh:mm:ss and {ANY} any text within one line.

With --wine the sensor is the Windows build, run under Wine in PREFIX (made
when missing, see wine_prefix.py): the case's drives become the prefix's drives
for the time of the case, and standard output is compared after its CR LF line
ends (the C runtime's text mode) are turned into LF.

With --chain nwrfc the sensor loads the NetWeaver RFC adapter in place of the
simulator, and the adapter loads nwrfcsim, the stand-in for SAP's NetWeaver
library, which reads the same scenario: sensor -> adapter -> nwrfcsim. The case
must give the same documents, exit code and files; the classic simulator's
journal is not written, so journal expectations do not apply, and a case that
depends on the classic library itself is skipped by the rules of nwrfc_chain.py.

Exit code: 0 all passed, 1 a case failed, 77 every case was skipped.
"""

import argparse
import contextlib
import copy
import difflib
import functools
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import tomllib
from pathlib import Path

import host_formats
import nwrfc_chain
import wine_prefix

TIMEOUT_SECONDS = 10
SKIPPED = 77
CASE_KEYS = ({"description", "program", "args", "form", "library", "libraries", "scenario", "cwd", "env", "files", "expect",
              "skip", "file_modes"}
             | nwrfc_chain.CASE_KEYS)
EXPECT_KEYS = ({"exit", "stdout", "stderr", "absent", "present", "journal", "journal_exact", "files", "text_files"}
               | nwrfc_chain.EXPECT_KEYS)
# The build's own libraries that a case names: "library" and the values of [libraries].
BUILD_LIBRARIES = ("rfcsim", "lacking", "32-bit", "64-bit", "decorated", "adapter", "nwrfcsim", "nwlacking")  # the last three: --chain nwrfc
PLACEHOLDERS = {"{TIME}": rb"[0-9]{2}:[0-9]{2}:[0-9]{2}", "{ANY}": rb"[^\n]*"}


class CaseError(Exception):
    """The case file itself is wrong."""


class CaseSkipped(Exception):
    """The case needs a library that this build does not make."""


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


def host_path(host, drives, key, cwd):
    """Where a Windows path lies on this machine: drives/<letter>/..."""
    full = windows_path(key, cwd)
    parts = [host.host_text(p) for p in full[2:].split("\\") if p]
    return drives.joinpath(full[0].lower(), *parts)


# --- where the sensor runs ---------------------------------------------------

class NativeHost:
    """The sensor built for this machine; SPACEWARDEN_DRIVES leads it to the drives."""

    def __init__(self, options):
        self.tools = {name: os.path.abspath(getattr(options, name)) for name in ("sensor", "rfcsim", "lacking")}
        self.tools.update((name, os.path.abspath(path)) for name, path in options.library)

    def name_of(self, path):
        """How the sensor names a file of this machine."""
        return str(path)

    def host_text(self, text):
        """The text of a file name or environment value here that reaches the sensor as these bytes."""
        return os.fsdecode(to_bytes(text))

    def argument(self, text):
        return to_bytes(text)

    def command(self, arguments, sensor=None):
        return [sensor or self.tools["sensor"]] + arguments

    def program_copy(self, scratch, program):
        """The sensor under another name, as a host installs it (a link, as Debian's package does)."""
        copy = scratch / program
        copy.symlink_to(self.tools["sensor"])
        return str(copy)

    @contextlib.contextmanager
    def drives_mapped(self, drives):
        """Lends the drives to the sensor for one run; yields the environment it needs."""
        yield {"SPACEWARDEN_DRIVES": str(drives)}

    def output(self, data):
        """The output as the case states it, and failures of its form."""
        return data, []


def windows_text(text):
    """The Unicode text that a Windows program in code page 1252 receives as these bytes."""
    chars = []
    for byte in to_bytes(text):
        try:
            chars.append(bytes([byte]).decode("cp1252"))
        except UnicodeDecodeError:  # the five unassigned bytes map to the C1 controls
            chars.append(chr(byte))
    return "".join(chars)


class WineHost(NativeHost):
    """The Windows build under Wine. For the time of a case, the prefix's drive
    letters lead to the case's drives (C: with links to Wine's own directories);
    Z: stays the root of this machine, where the tools lie."""

    LETTERS = re.compile(r"[a-y]:")
    WINE_OWN = ("windows", "users", "ProgramData")  # Wine's own part of C:

    def __init__(self, options):
        super().__init__(options)
        self.prefix = Path(options.wine).absolute()

    def name_of(self, path):
        return "Z:" + str(Path(path).absolute()).replace("/", "\\")

    def host_text(self, text):
        return windows_text(text)  # Wine takes names and the environment in UTF-8

    def argument(self, text):
        return windows_text(text).encode("utf-8")

    def command(self, arguments, sensor=None):
        return [wine_prefix.loader(), sensor or self.tools["sensor"]] + arguments

    def program_copy(self, scratch, program):
        copy = scratch / (program + ".exe")
        shutil.copyfile(self.tools["sensor"], copy)
        return str(copy)

    def _unmap(self, drives):
        devices = self.prefix / "dosdevices"
        for entry in devices.iterdir():
            if self.LETTERS.fullmatch(entry.name):
                entry.unlink()
        (devices / "c:").symlink_to("../drive_c")
        for own in self.WINE_OWN:
            link = drives / "c" / own
            if link.is_symlink():
                link.unlink()

    @contextlib.contextmanager
    def drives_mapped(self, drives):
        with wine_prefix.locked(self.prefix):
            wine_prefix.ensure(self.prefix)
            wine_prefix.keep_server(self.prefix)
            drives = drives.resolve()
            (drives / "c").mkdir(parents=True, exist_ok=True)
            if (drives / "z").exists():
                raise CaseError("drive Z: is Wine's view of this machine; the case cannot use it")
            try:
                for own in self.WINE_OWN:
                    if (drives / "c" / own).exists():
                        raise CaseError(f"C:\\{own} belongs to Wine; the case cannot use it")
                    (drives / "c" / own).symlink_to(self.prefix / "drive_c" / own)
                devices = self.prefix / "dosdevices"
                for entry in devices.iterdir():
                    if self.LETTERS.fullmatch(entry.name):
                        entry.unlink()
                for drive in sorted(drives.iterdir()):
                    (devices / (drive.name + ":")).symlink_to(drive)
                yield wine_prefix.wine_environment(self.prefix, {"LC_ALL": "C.UTF-8"})
            finally:
                self._unmap(drives)

    def output(self, data):
        failures = []
        if re.search(rb"(?<!\r)\n", data):
            failures.append("a line feed without a carriage return before it: not the C runtime's text mode")
        return data.replace(b"\r\n", b"\n"), failures


# --- running the sensor ------------------------------------------------------

def clean_environment(extra):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("RFCSIM_", "SPACEWARDEN_", "WINE", "LC_"))}
    env.update(extra)
    return env


def launch(command, cwd, env, timeout=TIMEOUT_SECONDS):
    """Runs the sensor; returns (exit code, stdout, stderr) or raises TimeoutExpired."""
    done = subprocess.run(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=timeout)
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


# --- named fixtures (fixtures.toml) ------------------------------------------

FIXTURES_FILE = Path(__file__).with_name("fixtures.toml")
# Tables that a part and the case merge entry by entry; every other value is replaced whole.
MERGED_TABLES = {("env",), ("files",), ("expect",), ("expect", "files"), ("expect", "text_files")}


@functools.cache
def load_fixtures(path=FIXTURES_FILE):
    """The named texts and parts; a missing file holds none."""
    if not path.exists():
        return {}, {}
    with open(path, "rb") as f:
        fixtures = tomllib.load(f)
    unknown = set(fixtures) - {"texts", "parts"}
    if unknown:
        raise CaseError(f"{path.name}: unknown tables {sorted(unknown)}")
    parts = fixtures.get("parts", {})
    for name, part in parts.items():
        if {"description", "fixtures"} & set(part):
            raise CaseError(f"{path.name}: part {name!r} cannot hold a description or name other parts")
    return fixtures.get("texts", {}), parts


def expand_text(value, texts, naming=()):
    """A text as a case writes it: the text itself, {text = NAME}, or a list of such pieces."""
    if isinstance(value, str):
        return value
    if isinstance(value, list):
        return "".join(expand_text(piece, texts, naming) for piece in value)
    if isinstance(value, dict) and set(value) == {"text"}:
        name = value["text"]
        if name not in texts:
            raise CaseError(f"unknown text fixture {name!r}")
        if name in naming:
            raise CaseError(f"text fixture {name!r} names itself")
        return expand_text(texts[name], texts, naming + (name,))
    raise CaseError(f"not a text: {value!r}")


def expand_texts(case, texts):
    """Replaces each named text where a case gives a text: the scenario, files, expected texts."""
    if "scenario" in case:
        case["scenario"] = expand_text(case["scenario"], texts)
    expect = case.get("expect", {})
    for key in ("stdout", "stderr", "journal_exact"):
        if key in expect:
            expect[key] = expand_text(expect[key], texts)
    for files in (case.get("files", {}), expect.get("files", {}), expect.get("text_files", {})):
        for key, content in files.items():
            files[key] = expand_text(content, texts)
    return case


def merged(base, over, at=()):
    result = dict(base)
    for key, value in over.items():
        if at + (key,) in MERGED_TABLES and isinstance(result.get(key), dict) and isinstance(value, dict):
            result[key] = merged(result[key], value, at + (key,))
        else:
            result[key] = value
    return result


def expand_fixtures(case, fixtures=None):
    """The case with the parts it names merged in (in order, then its own keys) and its named texts filled in."""
    texts, parts = fixtures if fixtures is not None else load_fixtures()
    names = case.get("fixtures", [])
    if not isinstance(names, list):
        raise CaseError("'fixtures' is a list of part names")
    expanded = {}
    for name in names:
        if name not in parts:
            raise CaseError(f"unknown fixture {name!r}")
        expanded = merged(expanded, parts[name])
    expanded = merged(expanded, {key: value for key, value in case.items() if key != "fixtures"})
    return expand_texts(copy.deepcopy(expanded), texts)


# --- faults: standard output that cannot be written, no files, read errors --
#
#   standard_output = "closed"   # closed when the sensor starts ("full": /dev/full,
#                                # "gone": a pipe whose reader has gone away)
#   [special_files]              # laid out after [files]
#   'PRD.P00' = "fifo"           # or "device" (a link to /dev/zero), "directory", "socket"
#   [read_error]                 # strace fails one read of the file with EIO
#   file = 'PRD.P00'
#   read = 2                     # the 2nd read of it, counted from 1
#   wine_read = 3                # the same read under Wine, which reads once more
#                                # after a read that got less than it asked for
#   skip_native = "reason"       # the case cannot show its point natively,
#   skip_wine = "reason"         # ... or under Wine

FAULT_CASE_KEYS = {"parallel_differs", "standard_output", "special_files", "read_error", "skip_native", "skip_wine"}
CASE_KEYS = CASE_KEYS | FAULT_CASE_KEYS
STANDARD_OUTPUTS = ("closed", "full", "gone")
SPECIAL_KINDS = ("fifo", "device", "directory", "socket")
_strace_checked = {}


def check_fault_keys(case):
    if case.get("standard_output", "closed") not in STANDARD_OUTPUTS:
        raise CaseError(f"standard_output must be one of {STANDARD_OUTPUTS}")
    for key, kind in case.get("special_files", {}).items():
        if kind not in SPECIAL_KINDS:
            raise CaseError(f"special_files: {key} must be one of {SPECIAL_KINDS}")
    if "read_error" in case:
        fault = case["read_error"]
        counts = [fault.get(key, 1) for key in ("read", "wine_read")]
        if not {"file", "read"} <= set(fault) <= {"file", "read", "wine_read"} \
                or not all(isinstance(n, int) and n >= 1 for n in counts):
            raise CaseError("read_error needs file = '...' and read = N (1 or more), and may have wine_read = N")
        if "standard_output" in case:
            raise CaseError("read_error and standard_output do not go together")


def strace_problem():
    """Why strace cannot inject read errors here, or None."""
    if "problem" not in _strace_checked:
        problem = None
        if shutil.which("strace") is None:
            problem = "strace is not installed (Debian package strace)"
        else:
            done = subprocess.run(["strace", "-qq", "-o", "/dev/null", "true"], capture_output=True, timeout=30)
            if done.returncode != 0:
                problem = "strace cannot trace here: " + done.stderr.decode(errors="replace").strip()
        _strace_checked["problem"] = problem
    return _strace_checked["problem"]


def fault_skip_reason(case, host):
    """Why this host cannot show the case, or None."""
    wine = isinstance(host, WineHost)
    if not wine and "skip_native" in case:
        return case["skip_native"]
    if wine and "skip_wine" in case:
        return case["skip_wine"]
    if "read_error" in case and strace_problem():
        return strace_problem()
    if wine and case.get("standard_output") == "closed" and "launcher" not in host.tools:
        return "under Wine a closed standard output needs --launcher (start_without_output.exe)"
    return None


def lay_out_special_files(case, host, drives, cwd):
    check_fault_keys(case)
    for key, kind in case.get("special_files", {}).items():
        target = host_path(host, drives, key, cwd)
        target.parent.mkdir(parents=True, exist_ok=True)
        if kind == "fifo":
            os.mkfifo(target)
        elif kind == "device":
            target.symlink_to("/dev/zero")
        elif kind == "directory":
            target.mkdir()
        else:
            with socket.socket(socket.AF_UNIX) as listener:
                listener.bind(str(target))  # the socket file stays when it is closed


def faulted_command(case, host, drives, cwd, command):
    """The command with the case's read error injected, or with standard output closed under Wine."""
    if "read_error" in case:
        fault = case["read_error"]
        traced = os.path.realpath(host_path(host, drives, fault["file"], cwd))
        when = fault.get("wine_read", fault["read"]) if isinstance(host, WineHost) else fault["read"]
        return ["strace", "-f", "-qq", "-o", "/dev/null", "-P", traced, "-e", "trace=read",
                "-e", f"inject=read:error=EIO:when={when}", "--"] + command
    if isinstance(host, WineHost) and case.get("standard_output") == "closed":
        return [command[0], host.tools["launcher"], host.name_of(command[1])] + command[2:]
    return command


def launch_faulted(case, host, command, cwd, env, timeout=TIMEOUT_SECONDS):
    """Runs the sensor with the case's standard output; returns (exit code, stdout, stderr)."""
    kind = case.get("standard_output")
    if kind is None:
        return launch(command, cwd, env, timeout)
    close_output = None
    if kind == "closed" and not isinstance(host, WineHost):
        output = subprocess.DEVNULL
        close_output = lambda: os.close(1)
    elif kind == "closed":
        output = subprocess.DEVNULL  # the launcher leaves the sensor without it
    elif kind == "full":
        output = os.open("/dev/full", os.O_WRONLY)
    else:
        reader, output = os.pipe()
        os.close(reader)
    try:
        done = subprocess.run(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL, stdout=output,
                              stderr=subprocess.PIPE, preexec_fn=close_output, timeout=timeout)
    finally:
        if isinstance(output, int) and output >= 0:
            os.close(output)
    return done.returncode, b"", done.stderr


# --- one case ----------------------------------------------------------------

def load_case(path):
    with open(path, "rb") as f:
        case = expand_fixtures(tomllib.load(f))
    unknown = (set(case) - CASE_KEYS) | (set(case.get("expect", {})) - EXPECT_KEYS)
    if unknown:
        raise CaseError(f"unknown keys: {sorted(unknown)}")
    for needed in ("exit", "stdout"):
        if needed not in case.get("expect", {}):
            raise CaseError(f"[expect] needs '{needed}'")
    try:
        host_formats.form_of(case)
    except ValueError as error:
        raise CaseError(str(error)) from None
    return case


# --- side by side: a listing's run with PARALLEL=N --------------------------------

LISTING_OPTIONS = ("-l", "--listing", "-i", "--item")
PARALLEL_OPTION = re.compile(r"\s*PARALLEL=\d*", re.IGNORECASE)


def with_parallel(case, parallel):
    """The case as a run that checks its listed systems side by side, PARALLEL=N
    in place of any it names; None with the reason when it is no such case.
    What it writes must be what it writes one system after the other: the
    expectations stay, but the simulator's journal, which the workers write
    side by side."""
    args = list(case.get("args", []))
    options = " ".join(args[1:]).upper()
    listing = bool(args) and (args[0].upper().startswith("GLOBAL") or "ITEM=" in options or
                              args[0].upper().endswith("/GLOBAL") or any(a in LISTING_OPTIONS for a in args))
    if not listing:
        return None, "no listing"
    plugin = host_formats.form_of(case) == "plugin"
    item_mode_verbose = "ITEM=" in options and host_formats.is_verbose(args)
    if item_mode_verbose:
        return None, "its executing line shows the options"
    if "parallel_differs" in case:
        return None, case["parallel_differs"]
    if plugin:
        args = [a for a in args if not PARALLEL_OPTION.fullmatch(a)] + [f"--parallel={parallel}"]
    else:
        if len(args) < 2:
            return None, "no options"
        # In argument 3, so that argument 2 (a listing's key, which errors name) stays as typed.
        args[1:] = [PARALLEL_OPTION.sub("", a) for a in args[1:]]
        args[2:] = [" ".join(args[2:] + [f"PARALLEL={parallel}"]).strip()]
    changed = dict(case, args=args)
    changed["expect"] = {k: v for k, v in case["expect"].items() if not k.startswith(("journal", "nwjournal"))}
    return changed, None


def tool(host, name):
    """A library the runner was given, by its name."""
    if name not in host.tools:
        raise CaseSkipped(f"this build makes no library '{name}' (run_case.py --library {name}=...)")
    return host.tools[name]


def library_for(case, host):
    name = case.get("library", "rfcsim")
    return host.name_of(tool(host, name)) if name in BUILD_LIBRARIES else name


def not_started_by_wine(case, host, code, stdout, stderr, journal):
    """Whether Wine's loader ended before the program ran: exit code 1 with no
    output at all and no library call, for a case whose standard output works."""
    return (isinstance(host, WineHost) and code == 1 and not stdout and not stderr and not journal.exists()
            and "standard_output" not in case)


def run_case(case, host, scratch, chain=None, keep=False):
    """Returns a list of failure texts; empty when the case passed."""
    cwd = case.get("cwd", "C:\\work")
    drives = scratch / "drives"
    journal = scratch / "journal.txt"
    env = {"SPACEWARDEN_RFC_LIBRARY": library_for(case, host), "RFCSIM_JOURNAL": host.name_of(journal)}
    if chain:
        env.update(nwrfc_chain.environment(case, host, scratch, keep))
    if "scenario" in case:
        scenario = scratch / "scenario.txt"
        scenario.write_bytes(to_bytes(case["scenario"]))
        env["RFCSIM_SCENARIO"] = host.name_of(scenario)
    env.update({name: host.host_text(value) for name, value in case.get("env", {}).items()})

    host_cwd = host_path(host, drives, cwd, cwd)
    host_cwd.mkdir(parents=True, exist_ok=True)
    for key, content in case.get("files", {}).items():
        target = host_path(host, drives, key, cwd)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(to_bytes(content))
        if key.lower().endswith(".p00"):
            target.chmod(0o600)  # as the profile tool writes a profile
    for key, mode in case.get("file_modes", {}).items():
        host_path(host, drives, key, cwd).chmod(int(mode, 8))
    for key, name in case.get("libraries", {}).items():
        if name not in BUILD_LIBRARIES:
            raise CaseError(f"[libraries] names {name!r}, not one of {BUILD_LIBRARIES}")
        target = host_path(host, drives, key, cwd)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(tool(host, name), target)
    lay_out_special_files(case, host, drives, cwd)

    timeout = nwrfc_chain.TIMEOUT_SECONDS if chain else TIMEOUT_SECONDS
    sensor = host.program_copy(scratch, case["program"]) if "program" in case else None
    command = host.command([host.argument(a) for a in case.get("args", [])], sensor)
    command = faulted_command(case, host, drives, cwd, command)
    try:
        with host.drives_mapped(drives) as host_env:
            code, stdout, stderr = launch_faulted(case, host, command, host_cwd,
                                                  clean_environment({**host_env, **env}), timeout)
            if not_started_by_wine(case, host, code, stdout, stderr, journal):
                # Seen rarely under load: Wine's loader ended with 1 before the program ran. The sensor
                # itself never ends with 1 without a word (exit code 1 follows the fatal report only).
                print(f"  note: Wine did not start the program (exit 1, no output, no journal): started once more")
                code, stdout, stderr = launch_faulted(case, host, command, host_cwd,
                                                      clean_environment({**host_env, **env}), timeout)
    except subprocess.TimeoutExpired:
        return [f"the sensor did not end within {timeout} s"]

    expect = case["expect"]
    stdout, failures = host.output(stdout)
    stderr, stderr_failures = host.output(stderr)
    failures += [f"stderr: {failure}" for failure in stderr_failures]
    if code != expect["exit"]:
        failures.append(f"exit code {code}, expected {expect['exit']}")
    if not matches(expect["stdout"], stdout):
        failures.append(describe_mismatch("stdout", expect["stdout"], stdout))
    if "standard_output" not in case and host_formats.is_quiet_xml_run(case):
        problem = host_formats.prtg_document_problem(stdout)
        if problem:
            failures.append(f"PRTG could not read it: {problem}")
    if "standard_output" not in case and host_formats.is_quiet_plugin_run(case):
        problem = host_formats.plugin_status_problem(stdout, code)
        if problem:
            failures.append(f"a monitoring plugins' host could not read it: {problem}")
    form = host_formats.form_of(case)
    if "standard_output" not in case and form in host_formats.REPORT_FORMS and stdout:
        problem = host_formats.report_format_problem(form, stdout, code)
        if problem:
            failures.append(f"its host could not read it: {problem}")
    if not matches(expect.get("stderr", ""), stderr):
        failures.append(describe_mismatch("stderr", expect.get("stderr", ""), stderr))
    for key in expect.get("absent", []):
        if host_path(host, drives, key, cwd).exists():
            failures.append(f"{key} exists, expected it absent")
    for key in expect.get("present", []):
        if not host_path(host, drives, key, cwd).exists():
            failures.append(f"{key} is missing, expected it present")
    for text_mode, files in ((False, expect.get("files", {})), (True, expect.get("text_files", {}))):
        for key, content in files.items():
            target = host_path(host, drives, key, cwd)
            if not target.is_file():
                failures.append(f"{key} is missing, expected it with content {to_bytes(content)!r}")
                continue
            actual = target.read_bytes()
            if text_mode:
                actual, form_failures = host.output(actual)
                failures += [f"{key}: {failure}" for failure in form_failures]
            if not matches(content, actual):
                failures.append(describe_mismatch(key, content, actual))

    journals = [("journal", journal)] if not chain else [("nwjournal", scratch / nwrfc_chain.JOURNAL)]
    for key, path in journals:
        journal_text = path.read_bytes() if path.exists() else b""
        if key + "_exact" in expect and not matches(expect[key + "_exact"], journal_text):
            failures.append(describe_mismatch(key, expect[key + "_exact"], journal_text))
        missing = journal_lines_in_order(expect.get(key, []), journal_text.splitlines())
        if missing is not None:
            failures.append(f"{key} lacks {missing!r} (in order)\n  {key}: {journal_text!r}")
    written = {"standard output": stdout, "standard error": stderr}
    written.update(files_written(case, host, drives, cwd, [scratch / "journal.txt", scratch / nwrfc_chain.JOURNAL]))
    failures += secrets_shown(case, written)
    return failures


# --- no password in any output -----------------------------------------------

SECRET_SHORTEST = 4  # shorter texts turn up by chance
PASSWORD_LINE = re.compile(r"^\s*password\s*=\s*(.*?)\s*$", re.MULTILINE)


def case_secrets(case):
    """The passwords a case hands the sensor: plain in its scenario and environment,
    scrambled in the Password line of its profiles."""
    secrets = set(PASSWORD_LINE.findall(case.get("scenario", "") if isinstance(case.get("scenario"), str) else ""))
    secrets.update(value for name, value in case.get("env", {}).items() if "PASSWORD" in name.upper())
    for content in case.get("files", {}).values():
        secrets.update(line[13:].rstrip("\r") for line in content.split("\n") if line.startswith("Password...:"))
    return sorted(to_bytes(secret) for secret in secrets if len(secret) >= SECRET_SHORTEST)


def files_written(case, host, drives, cwd, journals):
    """What the run wrote on the drives (the case's own files left as laid out, and
    SapRfc.ini, the destination file's byte copy, aside) and the simulators' journals."""
    laid_out = {os.path.realpath(host_path(host, drives, key, cwd)) for key in case.get("files", {})}
    written = {}
    for folder, _, names in os.walk(drives):
        for name in names:
            path = os.path.join(folder, name)
            if os.path.islink(path) or not os.path.isfile(path) or name.lower() == "saprfc.ini":
                continue
            if os.path.realpath(path) in laid_out:
                continue
            written[os.path.relpath(path, drives)] = Path(path).read_bytes()
    written.update((path.name, path.read_bytes()) for path in journals if path.is_file())
    return written


def secrets_shown(case, written):
    return [f"{where} shows the password {secret!r}" for secret in case_secrets(case)
            for where, data in written.items() if secret in data]


def named_library(text):
    name, equals, path = text.partition("=")
    if not equals or name not in BUILD_LIBRARIES:
        raise argparse.ArgumentTypeError(f"NAME=LIB with NAME one of {BUILD_LIBRARIES}")
    return name, path


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sensor", required=True, help="the SpaceWarden executable")
    parser.add_argument("--rfcsim", required=True, help="the simulator library")
    parser.add_argument("--lacking", required=True, help="the library that lacks an operation")
    parser.add_argument("--library", action="append", default=[], metavar="NAME=LIB",
                        type=named_library,
                        help="a further library that cases name (library, [libraries]); may be repeated")
    parser.add_argument("--wine", metavar="PREFIX",
                        help="the sensor and libraries are the Windows build: run it under Wine in PREFIX")
    parser.add_argument("--keep", action="store_true", help="keep the scratch directory of every case")
    parser.add_argument("--launcher", help="under Wine: start_without_output.exe, for a closed standard output")
    parser.add_argument("--chain", choices=["nwrfc"],
                        help="run through the NetWeaver RFC adapter and nwrfcsim (--library adapter=, nwrfcsim=, "
                             "nwlacking=) instead of the simulator")
    parser.add_argument("--parallel", type=int, metavar="N",
                        help="run the listing cases with PARALLEL=N (the others are skipped); the simulator's "
                             "journal is not compared")
    parser.add_argument("cases", nargs="+", type=Path)
    options = parser.parse_args()
    if options.wine:
        wine_prefix.skip_if_refused()  # the 32-bit build on a kernel without 32-bit programs
    host = WineHost(options) if options.wine else NativeHost(options)
    if options.chain and not nwrfc_chain.LIBRARIES <= set(host.tools):
        parser.error("--chain nwrfc needs --library adapter=LIB, --library nwrfcsim=LIB and --library nwlacking=LIB")
    if options.launcher:
        host.tools["launcher"] = os.path.abspath(options.launcher)

    passed = failed = skipped = 0
    for path in options.cases:
        try:
            case = load_case(path)
        except (OSError, tomllib.TOMLDecodeError, CaseError) as problem:
            print(f"ERROR {path}: {problem}")
            failed += 1
            continue
        reason = case.get("skip") or fault_skip_reason(case, host) or (
            nwrfc_chain.left_out(case, path) if options.chain else None)
        if not reason and options.parallel:
            case, reason = with_parallel(case, options.parallel)
        if reason:
            print(f"SKIP  {path}: {reason}")
            skipped += 1
            continue
        scratch = Path(tempfile.mkdtemp(prefix="e2e-"))
        try:
            failures = run_case(case, host, scratch, options.chain, options.keep)
        except UnicodeEncodeError as problem:
            failures = [f"a text of the case is not latin-1: {problem}"]
        except CaseError as problem:
            failures = [f"the case cannot run: {problem}"]
        except CaseSkipped as reason:
            print(f"SKIP  {path}: {reason}")
            skipped += 1
            shutil.rmtree(scratch, ignore_errors=True)
            continue
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
