#!/usr/bin/env python3
"""Checks the Windows release: what the zip holds, CR LF text files, the import
tables of the programs of both folders, the export names of x86\\rfcsim.dll and
of the NetWeaver RFC adapter x64\\SpaceWardenNwRfc.dll,
and that examples\\demo.cmd runs the programs of both folders from the unpacked
folder under Wine, each in a scratch prefix: "demo.cmd" the x64 programs, "demo.cmd
x86" the x86 ones under Wine's 32-bit loader (Debian's wine32:i386) in a 32-bit
prefix; on a machine whose kernel refuses 32-bit programs the x86 demo is left
out, saying so (a missing 32-bit loader is a failure).

    check_release.py build/windows/SpaceWarden-windows.zip
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "binaries"))
import check_binaries  # noqa: E402
import wine_prefix  # noqa: E402

FOLDER = "SpaceWarden-windows/"
PROGRAMS = {
    "x64": ["SpaceWarden.exe", "SpaceWardenProfile.exe", "rfcsim.dll", "SpaceWardenNwRfc.dll", "nwrfcsim.dll"],
    "x86": ["SpaceWarden.exe", "SpaceWardenProfile.exe", "rfcsim.dll"],
}
DOCS = sorted(page.name for page in (Path(__file__).resolve().parent.parent / "docs").glob("*.md"))
TEXTS = ["INSTALL.txt", "RELEASE-NOTES.txt", "README.md"] + ["docs/" + name for name in DOCS] + ["examples/" + name for name in (
    "README.md", "demo.cmd", "PRD.P00", "QAS.P00", "DEV.P00", "SAP Overseer.Gbl", "Overseer.Prf",
    "systems.scenario")]
# The demo's runs: PRD four times, the listings SAPCORE and SAPALL (DEV is not on Oracle), item mode;
# x64 then PRD once more through the NetWeaver RFC adapter, with the first run's document.
DEMO_EXIT_CODES = {"x64": ["0", "0", "0", "0", "0", "2", "0", "0"], "x86": ["0", "0", "0", "0", "0", "2", "0"]}
DEMO_CHANNELS = {"x64": 5 * 2 + 2 + 2 + 2 + 5, "x86": 5 * 2 + 2 + 2 + 2}


def check_members(archive):
    problems = []
    names = {name for name in archive.namelist() if not name.endswith("/")}
    wanted = {FOLDER + name for name in TEXTS}
    wanted |= {f"{FOLDER}{arch}/{program}" for arch, programs in PROGRAMS.items() for program in programs}
    problems += [f"missing: {name}" for name in sorted(wanted - names)]
    problems += [f"not expected: {name}" for name in sorted(names - wanted)]
    for name in TEXTS:
        if FOLDER + name in names and re.search(rb"(?<!\r)\n", archive.read(FOLDER + name)):
            problems.append(f"{name} has a line end without CR")
    return problems


def check_tables(folder):
    """The programs import only KERNEL32 and msvcrt; the 32-bit simulator exports the twelve plain names."""
    problems = []
    for arch, programs in PROGRAMS.items():
        for program in programs:
            dlls = check_binaries.imported_dlls(arch, folder / arch / program)
            if {dll.lower() for dll in dlls} != check_binaries.IMPORTS:
                problems.append(f"{arch}\\{program} imports {dlls}, expected only KERNEL32.dll and msvcrt.dll")
    for arch, library in (("x86", "rfcsim.dll"), ("x64", "SpaceWardenNwRfc.dll")):
        names = sorted(check_binaries.exports(arch, folder / arch / library))
        if names != sorted(check_binaries.OPERATIONS):
            problems.append(f"{arch}\\{library} exports {names}, expected {sorted(check_binaries.OPERATIONS)}")
    return problems


def check_demo(folder, arch):
    # The x86 programs run as on a 32-bit Windows: a prefix of Wine's 32-bit loader.
    if arch == "x86":
        os.environ["WINEARCH"] = "win32"
    else:
        os.environ.pop("WINEARCH", None)
    with tempfile.TemporaryDirectory(prefix="release-prefix-") as scratch:
        prefix = Path(scratch) / "prefix"
        try:
            wine_prefix.create(prefix)
            demo = subprocess.run([wine_prefix.loader(), "cmd", "/c", "examples\\demo.cmd", arch], cwd=folder,
                                  env=wine_prefix.wine_environment(prefix), stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=300)
        except (OSError, RuntimeError, subprocess.TimeoutExpired) as problem:
            return [f"the {arch} demo could not run under Wine: {problem}"]
        finally:
            wine_prefix.remove(prefix)
    output = demo.stdout.decode("latin-1").replace("\r\n", "\n")
    problems = []
    if demo.returncode != 0:
        problems.append(f"demo.cmd {arch} ended with exit code {demo.returncode}")
    for profile in ("PRD", "QAS", "DEV"):
        if f"{profile}.P00: OK\n" not in output:
            problems.append(f"the {arch} profile tool did not accept {profile}.P00")
    codes = re.findall(r"^---- exit code (\S+)$", output, re.MULTILINE)
    if codes != DEMO_EXIT_CODES[arch]:
        problems.append(f"the {arch} sensor's exit codes were {codes}, expected {DEMO_EXIT_CODES[arch]}")
    if output.count("<Result><Channel>") != DEMO_CHANNELS[arch]:
        problems.append(f"the {arch} documents do not hold the expected channels")
    runs = output.split("\n==== ")
    if arch == "x64" and runs[-1].split("<Prtg>", 1)[-1] != runs[1].split("<Prtg>", 1)[-1]:
        problems.append("the run through the NetWeaver RFC adapter did not write the first run's document")
    if problems:
        problems.append(f"demo {arch} output:\n" + output + demo.stderr.decode("latin-1"))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("zip", type=Path)
    options = parser.parse_args()
    demos = ["x64", "x86"]
    problems = []
    try:
        refused = wine_prefix.refusal()
    except RuntimeError as problem:
        refused, problems = None, [str(problem)]
    if refused:
        print(f"release: {refused}: the x86 demo is left out")
        demos.remove("x86")
    with zipfile.ZipFile(options.zip) as archive:
        problems = problems or check_members(archive)
        with tempfile.TemporaryDirectory(prefix="release-") as unpacked:
            archive.extractall(unpacked)
            folder = Path(unpacked) / FOLDER
            if not problems:
                problems = check_tables(folder)
            for arch in demos:
                if not problems:
                    problems = check_demo(folder, arch)
    for problem in problems:
        print(f"release: {problem}")
    if not problems:
        print(f"release: {options.zip} holds x64 (with the NetWeaver RFC adapter) and x86 with their programs, "
              "INSTALL.txt, RELEASE-NOTES.txt, "
              f"README.md, docs and the examples; the tables are right; the demo runs: {', '.join(demos)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
