#!/usr/bin/env python3
"""Checks the Windows release: what the zip holds, CR LF text files, and that
examples\\demo.cmd runs from the unpacked folder under Wine (in a scratch prefix).

    check_release.py build/windows/SpaceWarden-windows-x64.zip
"""

import re
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import wine_prefix  # noqa: E402

FOLDER = "SpaceWarden-windows-x64/"
PROGRAMS = ["SpaceWarden.exe", "SpaceWardenProfile.exe", "rfcsim.dll"]
TEXTS = ["INSTALL.txt", "README.md"] + ["examples/" + name for name in (
    "README.md", "demo.cmd", "PRD.P00", "QAS.P00", "DEV.P00", "SAP Overseer.Gbl", "Overseer.Prf",
    "systems.scenario")]
# The demo's runs: PRD four times, the listings SAPCORE and SAPALL (DEV is not on Oracle), item mode.
DEMO_EXIT_CODES = ["0", "0", "0", "0", "0", "2", "0"]


def check_members(archive):
    problems = []
    names = {name for name in archive.namelist() if not name.endswith("/")}
    wanted = {FOLDER + name for name in PROGRAMS + TEXTS}
    problems += [f"missing: {name}" for name in sorted(wanted - names)]
    problems += [f"not expected: {name}" for name in sorted(names - wanted)]
    for name in TEXTS:
        if FOLDER + name in names and re.search(rb"(?<!\r)\n", archive.read(FOLDER + name)):
            problems.append(f"{name} has a line end without CR")
    return problems


def check_demo(folder):
    with tempfile.TemporaryDirectory(prefix="release-prefix-") as scratch:
        prefix = Path(scratch) / "prefix"
        wine_prefix.create(prefix)
        try:
            demo = subprocess.run(["wine", "cmd", "/c", "examples\\demo.cmd"], cwd=folder,
                                  env=wine_prefix.wine_environment(prefix), stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=300)
        finally:
            wine_prefix.remove(prefix)
    output = demo.stdout.decode("latin-1").replace("\r\n", "\n")
    problems = []
    if demo.returncode != 0:
        problems.append(f"demo.cmd ended with exit code {demo.returncode}")
    for profile in ("PRD", "QAS", "DEV"):
        if f"{profile}.P00: OK\n" not in output:
            problems.append(f"the profile tool did not accept {profile}.P00")
    codes = re.findall(r"^---- exit code (\S+)$", output, re.MULTILINE)
    if codes != DEMO_EXIT_CODES:
        problems.append(f"the sensor's exit codes were {codes}, expected {DEMO_EXIT_CODES}")
    if output.count("<Result><Channel>") != 5 * 2 + 2 + 2 + 2:
        problems.append("the documents do not hold the expected channels")
    if problems:
        problems.append("demo output:\n" + output + demo.stderr.decode("latin-1"))
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    with zipfile.ZipFile(sys.argv[1]) as archive:
        problems = check_members(archive)
        with tempfile.TemporaryDirectory(prefix="release-") as unpacked:
            archive.extractall(unpacked)
            if not problems:
                problems = check_demo(Path(unpacked) / FOLDER)
    for problem in problems:
        print(f"release: {problem}")
    if not problems:
        print(f"release: {sys.argv[1]} holds the programs, INSTALL.txt, README.md and the examples; the demo runs")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
