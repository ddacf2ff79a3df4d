#!/usr/bin/env python3
"""The workers of a listing run, seen from outside: no logon data on a
worker's command line or in its environment (/proc/<pid>/cmdline and
environ), and a worker that is killed mid-run fails its system alone, with a
clear text, while the run reports the others and ends by itself.

    test_workers.py --sensor build/ci/SpaceWarden --rfcsim build/ci/rfcsim/librfcsim.so
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

EXAMPLES = Path(__file__).resolve().parents[2] / "examples"
PASSWORDS = ("prdMon24", "qasMon24", "St0reSecret")
OPTIONS = None


def children_of(pid):
    """The processes whose parent is `pid`."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            stat = (entry / "stat").read_text()
        except OSError:
            continue
        # "pid (name) state ppid ...": the name may hold blanks, so read after its ")".
        if int(stat.rsplit(")", 1)[1].split()[1]) == pid:
            found.append(int(entry.name))
    return found


class Workers(unittest.TestCase):
    def setUp(self):
        self.scratch = Path(tempfile.mkdtemp(prefix="spacewarden-workers-"))
        for name in ("PRD.P00", "QAS.P00", "SAP Overseer.Gbl"):
            shutil.copyfile(EXAMPLES / name, self.scratch / name)
            (self.scratch / name).chmod(0o600)
        scenario = (EXAMPLES / "systems.scenario").read_text()
        # QAS keeps its logon waiting: its worker is there to be looked at and killed.
        scenario = scenario.replace("[system QAS]\n", "[system QAS]\nwait.logon = 30\n")
        (self.scratch / "systems.scenario").write_text(scenario)

    def tearDown(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def test_worker_shows_no_logon_data_and_a_killed_worker_fails_its_system_alone(self):
        environment = dict(os.environ, SPACEWARDEN_RFC_LIBRARY=os.path.abspath(OPTIONS.rfcsim),
                           RFCSIM_SCENARIO=str(self.scratch / "systems.scenario"),
                           SPACEWARDEN_PASSWORD_QAS="St0reSecret")
        started = time.monotonic()
        run = subprocess.Popen([os.path.abspath(OPTIONS.sensor), str(self.scratch / "GLOBAL"),
                                "SAPCORE FLAVOUR=Checkmk TIMEOUT=25"],
                               cwd=self.scratch, env=environment, stdout=subprocess.PIPE)
        try:
            workers = []
            for _ in range(200):
                workers = children_of(run.pid)
                if workers and all((Path("/proc") / str(w) / "environ").exists() for w in workers):
                    time.sleep(0.3)  # PRD's worker is done by now; QAS's waits at its logon
                    workers = children_of(run.pid)
                    if len(workers) == 1:
                        break
                time.sleep(0.05)
            self.assertEqual(len(workers), 1, "QAS's worker, waiting at its logon")
            worker = workers[0]
            command_line = (Path("/proc") / str(worker) / "cmdline").read_bytes()
            environ = (Path("/proc") / str(worker) / "environ").read_bytes()
            self.assertEqual(command_line.split(b"\0")[1], b"--spacewarden-worker")
            for secret in PASSWORDS:
                self.assertNotIn(secret.encode(), command_line)
                self.assertNotIn(secret.encode(), environ)
            self.assertNotIn(b"SPACEWARDEN_PASSWORD", environ)
            os.kill(worker, signal.SIGKILL)
            output, _ = run.communicate(timeout=20)
        finally:
            if run.poll() is None:
                run.kill()
        self.assertLess(time.monotonic() - started, 10, "the run ended long before its deadline")
        self.assertEqual(run.returncode, 0)
        lines = output.decode().splitlines(keepends=True)
        self.assertTrue(lines[0].startswith('0 "SpaceWarden PRD" spacewarden_critical_spaces=4|'), lines[0])
        self.assertIn(' Critical_Spaces=4\\nTS=PSAPSR3 ', lines[0])
        self.assertEqual("".join(lines[1:]), (
            '2 "SpaceWarden QAS" - Error 1021: Check of QAS ended without an answer !\n'
            '0 "SpaceWarden listing Critical_Spaces" spacewarden_systems=2|spacewarden_processed=1|'
            'spacewarden_failed=1 NoSystems=2, Processed=1, Failed=1\n'))


    def test_no_more_workers_than_systems_to_check(self):
        """A listing starts a worker only for a system it checks side by side:
        none for one system to check (checked in the run's own process), two
        for two, whatever PARALLEL= allows. QAS waits at its logon, so the run
        is there to be looked at while it lasts."""
        listing = self.scratch / "SAP Overseer.Gbl"
        listing.write_text(listing.read_text() +
                           "# GSNG: ONLYQAS   : QAS.P00#MISSING.P00#\n"
                           "# GSNX: ONLYQAS   :Sensor=\"SAP SpaceWarden\",Item=Critical_Spaces\n")
        environment = dict(os.environ, SPACEWARDEN_RFC_LIBRARY=os.path.abspath(OPTIONS.rfcsim),
                           RFCSIM_SCENARIO=str(self.scratch / "systems.scenario"),
                           SPACEWARDEN_PASSWORD_QAS="St0reSecret")
        for key, most in (("ONLYQAS", 0), ("SAPCORE", 2)):
            with self.subTest(key=key):
                run = subprocess.Popen([os.path.abspath(OPTIONS.sensor), str(self.scratch / "GLOBAL"),
                                        f"{key} FLAVOUR=Checkmk PARALLEL=16 TIMEOUT=2"],
                                       cwd=self.scratch, env=environment, stdout=subprocess.PIPE)
                seen = 0
                try:
                    while run.poll() is None:
                        seen = max(seen, len(children_of(run.pid)))
                        time.sleep(0.02)
                    run.communicate(timeout=10)
                finally:
                    if run.poll() is None:
                        run.kill()
                self.assertLessEqual(seen, most)
                self.assertEqual(run.returncode, 0)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--sensor", required=True)
    parser.add_argument("--rfcsim", required=True)
    OPTIONS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
