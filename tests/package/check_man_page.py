#!/usr/bin/env python3
"""The manual page against the plugin's own help, whose options come from one
table (src/config/PluginCommandLine.cpp): every option that
"check_spacewarden --help" lists must stand in SpaceWarden.1 under
MONITORING PLUGIN OPTIONS, and that section must name no option the help lacks.

    check_man_page.py PLUGIN MANPAGE
"""

import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

OPTION = re.compile(r"(?<![\w-])(--[a-z][a-z-]*|-[A-Za-z])(?![\w-])")


def help_options(plugin):
    with tempfile.TemporaryDirectory() as folder:
        link = Path(folder) / "check_spacewarden"
        link.symlink_to(Path(plugin).resolve())
        done = subprocess.run([str(link), "--help"], capture_output=True, text=True, timeout=30)
    if done.returncode != 3:
        raise SystemExit(f"check_spacewarden --help ended with {done.returncode}, not 3 (UNKNOWN)")
    options_part = done.stdout.split("\nOptions:\n", 1)[1].split("\n\n", 1)[0]
    return set(OPTION.findall(options_part))


def man_options(page):
    text = Path(page).read_text().replace("\\-", "-")
    section = text.split(".SH MONITORING PLUGIN OPTIONS", 1)[1].split("\n.SH ", 1)[0]
    return set(OPTION.findall(section))


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    in_help, in_page = help_options(sys.argv[1]), man_options(sys.argv[2])
    problems = [f"--help lists {o}, the manual page does not" for o in sorted(in_help - in_page)]
    problems += [f"the manual page lists {o}, --help does not" for o in sorted(in_page - in_help)]
    for problem in problems:
        print("FAIL  " + problem)
    print(f"{len(in_help) - len(problems)} passed, {len(problems)} failed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
