#!/usr/bin/env python3
"""The probe that decides whether the x86 suite can run here: only a kernel's
refusal to execute the 32-bit loader (ENOEXEC) skips it; a missing loader is an
error; a loader that runs, however it ends, lets the suite run."""

import os
import platform
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import wine_prefix  # noqa: E402

PROBE = [sys.executable, str(Path(__file__).resolve().parent / "wine_prefix.py")]


def foreign_program(folder):
    """An ELF program of another machine type, which this kernel refuses as one
    without 32-bit support refuses Wine's 32-bit loader."""
    program = Path(folder) / "foreign"
    data = bytearray(Path("/bin/true").read_bytes())
    data[18:20] = (0xB7 if platform.machine() != "aarch64" else 0x28).to_bytes(2, "little")
    program.write_bytes(bytes(data))
    program.chmod(program.stat().st_mode | stat.S_IXUSR)
    return program


def script(folder, body):
    path = Path(folder) / "loader.sh"
    path.write_text("#!/bin/sh\n" + body + "\n")
    path.chmod(0o755)
    return path


class Probe(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="wine-probe-")

    def tearDown(self):
        shutil.rmtree(self.folder, ignore_errors=True)

    def probe(self, loader_path, *arguments):
        env = {**os.environ, "SPACEWARDEN_WINE32_LOADER": str(loader_path), "WINEARCH": "win32"}
        return subprocess.run(PROBE + list(arguments), env=env, capture_output=True, text=True, timeout=60)

    def test_outcomes(self):
        cases = [  # (loader, exit code of "probe", what it says)
            (foreign_program(self.folder), 77, wine_prefix.REFUSED),
            (script(self.folder, "exit 0"), 0, "this kernel runs 32-bit programs"),
            (script(self.folder, "exit 1"), 0, "this kernel runs 32-bit programs"),
            (Path(self.folder) / "missing", 1, "wine32:i386"),
        ]
        for loader_path, code, said in cases:
            with self.subTest(loader=loader_path.name):
                probed = self.probe(loader_path, "probe")
                self.assertEqual(probed.returncode, code, probed.stdout + probed.stderr)
                self.assertIn(said, probed.stdout + probed.stderr)

    def test_run_skips_with_the_reason_where_the_kernel_refuses(self):
        probed = self.probe(foreign_program(self.folder), "run", "SpaceWarden.exe", "PRD")
        self.assertEqual((probed.returncode, probed.stdout), (77, wine_prefix.REFUSED + "\n"))

    def test_run_hands_the_program_to_the_loader(self):
        echo = script(self.folder, 'echo "$@"; exit 3')
        probed = self.probe(echo, "run", "SpaceWarden.exe", "PRD")
        self.assertEqual((probed.returncode, probed.stdout), (3, "SpaceWarden.exe PRD\n"))

    def test_64bit_programs_never_take_the_32bit_loader(self):
        env = {"SPACEWARDEN_WINE32_LOADER": "/nowhere/wine"}
        self.assertNotEqual(wine_prefix.loader(env), "/nowhere/wine")
        self.assertEqual(wine_prefix.loader({**env, "WINEARCH": "win32"}), "/nowhere/wine")


if __name__ == "__main__":
    unittest.main()
