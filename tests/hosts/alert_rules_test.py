#!/usr/bin/env python3
"""The alerting rules the package ships, as Prometheus' promtool reads and
tests them (tests/hosts/spacewarden.rules.test.yml: time passes in the test,
not on the clock), and as docs/host-prometheus.md shows them, to the byte.

    alert_rules_test.py SOURCE_ROOT

Exit 77 (skipped) without promtool (Debian package prometheus), unless CI=true.
"""

import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from page_examples import example  # noqa: E402

SKIPPED = 77


def main():
    root = Path(sys.argv[1])
    rules = root / "packaging" / "deb" / "examples" / "spacewarden.rules.yml"
    if example(root / "docs" / "host-prometheus.md", "alert-rules") != rules.read_text():
        print(f"alert rules: docs/host-prometheus.md shows other rules than {rules}")
        return 1
    if not shutil.which("promtool"):
        print("alert rules: promtool missing (Debian package prometheus): not tested")
        return 1 if os.environ.get("CI") == "true" else SKIPPED
    with tempfile.TemporaryDirectory() as scratch:
        shutil.copy(rules, Path(scratch) / "spacewarden.rules.yml")
        tests = (Path(__file__).resolve().parent / "spacewarden.rules.test.yml").read_text()
        (Path(scratch) / "tests.yml").write_text(tests.replace("  - RULES", "  - spacewarden.rules.yml"))
        for command in (["promtool", "check", "rules", "spacewarden.rules.yml"], ["promtool", "test", "rules", "tests.yml"]):
            done = subprocess.run(command, cwd=scratch, capture_output=True, text=True)
            if done.returncode != 0:
                print(f"alert rules: {' '.join(command)} failed:\n{done.stdout}{done.stderr}")
                return 1
    print("alert rules: promtool checks and tests them, and the page shows them as shipped")
    return 0


if __name__ == "__main__":
    sys.exit(main())
