#!/usr/bin/env python3
"""Checks that the sensor keeps process-wide state only where the platform
forces it, and says so where a reader looks:

- the mutable objects of static storage in the sensor's own code (the
  writable .data and .bss sections of its library's object files, as objdump
  lists them; function-local statics and file-scope variables included) are
  exactly the three named contexts: Rfc (the RFC library's), RunContext (the
  run as its endings see it) and Process (the platform's);
- src/ headers declare at most three variables extern, those contexts;
- outside the table of host formats (src/config/HostFormat.*) no source file
  in src/ names a host format: other code asks for the format's traits.

    check_process_state.py SRC_DIR LIBRARY
"""

import re
import subprocess
import sys
from pathlib import Path

CONTEXTS = {"Rfc", "RunContext", "Process"}
# What the compiler itself puts in a writable section: the personality routine's reference, and the
# sanitizers' and coverage's own records (names of the implementation, which begin with "__").
COMPILER_OWN = re.compile(r"^(DW\.ref\.|__)")
WRITABLE = re.compile(r"^\.(data|bss)(\.|$)")
NOT_WRITABLE = re.compile(r"^\.data\.rel\.ro")
EXTERN = re.compile(r"^\s*extern\s+(?!\"C\")[^;(]*;", re.MULTILINE)
FORMAT_NAMED = re.compile(r"HostFormat::|\bFormOf\b|\bIs[A-Za-z]*Flavour\b|\bWritesWholeReport\b")
TABLE_FILES = {"config/HostFormat.h", "config/HostFormat.cpp"}


SYMBOL = re.compile(r"^[0-9a-f]+ (.{7}) (\S+)\t[0-9a-f]+ +(?:\.hidden )?(.*)$")
MEMBER = re.compile(r"^(\S+):\s+file format")


def static_objects(library):
    """The objects in writable sections of the library's object files: (object file, name)."""
    listing = subprocess.run(["objdump", "-t", "-C", library], capture_output=True, text=True, check=True).stdout
    found, member = [], ""
    for line in listing.splitlines():
        header = MEMBER.match(line)
        if header:
            member = header.group(1)
            continue
        symbol = SYMBOL.match(line)
        if not symbol or "O" not in symbol.group(1):
            continue
        section, name = symbol.group(2), symbol.group(3)
        if (WRITABLE.match(section) or section == "*COM*") and not NOT_WRITABLE.match(section):
            found.append((member, name.strip()))
    return found


def main():
    source, library = Path(sys.argv[1]), sys.argv[2]
    faults = []
    for member, name in static_objects(library):
        if name in CONTEXTS or COMPILER_OWN.match(name):
            continue
        faults.append(f"{member}: {name} is mutable process-wide state outside the three contexts")
    externs = []
    for header in sorted(source.rglob("*.h")):
        for declaration in EXTERN.findall(header.read_text(encoding="latin-1")):
            externs.append(f"{header.relative_to(source)}: {declaration.strip()}")
    if len(externs) > 3:
        faults += [f"more than three extern variables in src/ headers: {e}" for e in externs]
    for path in sorted(source.rglob("*")):
        relative = path.relative_to(source).as_posix()
        if path.suffix not in (".h", ".cpp") or relative in TABLE_FILES:
            continue
        for number, line in enumerate(path.read_text(encoding="latin-1").splitlines(), 1):
            if FORMAT_NAMED.search(line):
                faults.append(f"{relative}:{number} names a host format: {line.strip()}")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} faults" if faults else
          "process-wide state only in Rfc, RunContext and Process; "
          f"{len(externs)} extern variables in src/ headers; host formats named only in their table")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
