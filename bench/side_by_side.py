#!/usr/bin/env python3
"""Two builds of the sensor measured side by side, in the same hyperfine runs,
against the same simulator and inputs: the single-system run, a listing one
system after the other, and what a listing side by side costs against one
after the other (a listing of one system, 1,000 instant systems).

    python3 bench/side_by_side.py --before /tmp/old/build/default [--runs 200]

--before names the build folder of the sensor to compare with (a checkout of an
earlier commit, built with the preset default); the other is this checkout's,
built here with --preset (default: default). Both run against this build's
rfcsim, so the library's cost is the same for both. Prints medians and ratios.
"""

import argparse
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import run as bench  # noqa: E402


def listing_of(layout, names):
    """An item profile naming the given profiles of PRD, in a drive of its own."""
    folder = layout.drive_c.parent / f"listing-{len(names)}"
    sensors = folder / "c" / "PRTG" / bench.SENSOR_DIRECTORY
    sensors.mkdir(parents=True)
    for name in names:
        (sensors / name).write_text(bench.profile_text())
    # 14 names a line, as a reader of lines in pieces of 199 characters (the sensor before) takes them whole
    lines = ["# Gsng: Bench     : " + "".join(n + "#" for n in names[at:at + 14]) + "\n" for at in range(0, len(names), 14)]
    (sensors / "Overseer.Prf").write_text("".join(lines))
    (folder / "c" / "PRTG_Path.Txt").write_bytes(b"C:\\PRTG\\\r\n")
    (folder / "c" / "work").mkdir()
    return folder


def compare(title, commands, cwd, env, runs):
    """The medians of the commands, measured in one hyperfine run, with each one's ratio to the first."""
    results = bench.hyperfine([" ".join(c) for c in commands.values()], cwd, env, runs, max(3, runs // 10))
    print(f"\n{title} (median of {runs} runs, side by side)")
    first = results[0][0]
    for (name, _), (median, _) in zip(commands.items(), results):
        print(f"  {name:48} {bench.ms(median)} {median / first:7.3f}x")
    return {name: median for (name, _), (median, _) in zip(commands.items(), results)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--before", type=Path, required=True, help="the build folder of the sensor to compare with")
    parser.add_argument("--preset", default="default")
    parser.add_argument("--runs", type=int, default=200)
    options = parser.parse_args()
    scratch = Path(tempfile.mkdtemp(prefix="spacewarden-side-by-side-"))
    tools = bench.build(options.preset, scratch, False)
    before = str(options.before / "SpaceWarden")
    after = str(tools["sensor"])
    print(f"SpaceWarden side by side: {bench.machine()}\n  before: {before}\n  after:  {after}")

    layout = bench.Layout(scratch / "single" / "drives" / "c")
    env = bench.native_env(layout.drive_c.parent, tools, layout.drive_c / "scenario.txt")
    for sensor in (before, after):
        bench.checked([sensor, "PRD"], layout.cwd, env, 0)
    compare("Single-system run", {"before": [before, "PRD"], "after": [after, "PRD"]}, layout.cwd, env, options.runs)

    for count in (1, 1000):
        drives = listing_of(layout, [f"S{n:06d}.P00" for n in range(1, count + 1)])
        cwd = drives / "c" / "work"
        env = bench.native_env(drives, tools, layout.drive_c / "scenario.txt")
        commands = {}
        for name, sensor in (("before", before), ("after", after)):
            commands[f"{name}, PARALLEL=1"] = [sensor, "X", "ITEM=Critical_Spaces PARALLEL=1"]
            commands[f"{name}, the default (PARALLEL=8)"] = [sensor, "X", "ITEM=Critical_Spaces"]
        for command in commands.values():
            output = bench.checked(command, cwd, env, 0)
            if f"NoSystems={count}, Processed={count}, Failed=0".encode() not in output:
                sys.exit(f"bench: {' '.join(command)} did not process every system:\n{output.decode()}")
        medians = compare(f"A listing of {count} instant system{'s' if count > 1 else ''}", commands, cwd, env,
                          max(10, options.runs // (10 if count > 1 else 1)))
        for name in ("before", "after"):
            print(f"  {name}: the default costs {medians[f'{name}, the default (PARALLEL=8)'] / medians[f'{name}, PARALLEL=1']:.2f}x PARALLEL=1")
    return 0


if __name__ == "__main__":
    sys.exit(main())
