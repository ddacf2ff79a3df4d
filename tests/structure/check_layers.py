#!/usr/bin/env python3
"""Checks that the sensor's subsystems include one another only downwards:
platform < config < report < rfc < checks < output < run. An include of a higher
subsystem's header would bring back a circle between them. The RFC layer and the
checks write nothing: they return outcomes, and only output/ knows a host's form;
output/ in turn knows nothing of the library or the checks.

    check_layers.py SRC_DIR
"""

import re
import sys
from pathlib import Path

LAYERS = ["platform", "config", "report", "rfc", "checks", "output", "run"]
# Below its layer, yet not for it: the writers turn the run's report into bytes, the run hands it to them.
NOT_FOR = {"output": ["rfc", "checks"]}
# Quoted or in angle brackets: both reach the subsystems through the include path.
INCLUDE = re.compile(r'^\s*#\s*include\s+["<]([a-z]+)/', re.MULTILINE)


def main():
    source = Path(sys.argv[1])
    faults = []
    for path in sorted(source.rglob("*")):
        subsystem = path.relative_to(source).parts[0]  # files in folders below it count too
        if path.suffix not in (".h", ".cpp") or subsystem not in LAYERS:
            continue
        own = LAYERS.index(subsystem)
        for used in INCLUDE.findall(path.read_text(encoding="latin-1")):
            if used in LAYERS and LAYERS.index(used) > own:
                faults.append(f"{path.relative_to(source)} includes {used}/, which lies above {subsystem}/")
            elif used in NOT_FOR.get(subsystem, []):
                faults.append(f"{path.relative_to(source)} includes {used}/, which {subsystem}/ does not use")
    for fault in faults:
        print(fault)
    print(f"{len(faults)} upward includes" if faults else "the subsystems include one another only downwards")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
