#!/usr/bin/env python3
"""Runs the trial that each host's page shows an admin (Checkmk, PRTG's
Multi-Platform Probe, Prometheus) with the installed package, and checks that
it answers as the page shows (the run's duration aside) and as the host reads.

    check_host_pages.py DOC_DIR
"""

import re
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import host_formats  # noqa: E402

PAGES = {"host-checkmk.md": "checkmk", "host-prtg-script-v2.md": "scriptv2", "host-prometheus.md": "prometheus"}
DURATION = re.compile(r"spacewarden_run_duration_seconds [0-9.]+")


def trial_of(page_text):
    """The command and output of the page's last block that begins with '$ cd /tmp'."""
    blocks = re.findall(r"```\n(\$ cd /tmp.*?)```", page_text, re.DOTALL)
    if not blocks:
        return None, None
    lines = blocks[-1].splitlines()
    command = lines[0][2:].rstrip()
    at = 1
    while command.endswith("\\"):
        command = command[:-1] + " " + lines[at].strip()
        at += 1
    return command, "\n".join(lines[at:]) + "\n"


def main():
    doc = Path(sys.argv[1])
    faults = []
    for page, form in PAGES.items():
        command, shown = trial_of((doc / page).read_text(encoding="utf-8"))
        if command is None:
            faults.append(f"{page}: no trial")
            continue
        done = subprocess.run(["bash", "-c", command], capture_output=True)
        output = done.stdout.decode("utf-8", "replace")
        if DURATION.sub("D", output) != DURATION.sub("D", shown):
            faults.append(f"{page}: the trial answered\n{output}\nwhere the page shows\n{shown}")
        problem = host_formats.report_format_problem(form, done.stdout, done.returncode)
        if problem:
            faults.append(f"{page}: its host could not read the trial's answer: {problem}")
    for fault in faults:
        print(fault)
    if not faults:
        print("package: the host pages' trials run as they show, and their hosts read them")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
