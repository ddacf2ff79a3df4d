#!/usr/bin/env python3
"""Measures the sensor as a user would: whole processes, medians, ratios in one run.

    python3 bench/run.py [--quick] [--no-wine] [--preset PRESET] [--scratch DIR] [--systems N ...]

Builds what it needs (the preset's SpaceWarden and rfcsim; with Wine the windows
preset's too; two minimal programs), lays out its inputs in a scratch directory
(never in the repository) and prints a table:

- the single-system run against rfcsim beside a minimal program of the same kind,
  measured side by side in one hyperfine run: natively a dynamically linked C++
  program, under Wine a mingw program; the ratio of the medians;
- the multi-system run (item mode, systems of empty tables) for 1, 10, 100, 1,000
  and 10,000 listed systems, against rfcsim and against a library that answers at
  once (the sensor's own share): median time, time per further system, peak
  resident memory;
- a profile, a global listing and a trace file of 50 MB each: median time, peak memory;
- the listing that matters: 50 systems that answer a logon after 0.3 s and the
  critical objects check after 1.0 s, one after the other (PARALLEL=1) and side by
  side (PARALLEL=8), the wall time against the ideal ceil(50/8) x 1.3 s; natively
  and as the .exe under Wine.

The multi-system run is measured one system after the other (PARALLEL=1: what the
sensor itself costs per system) and side by side (PARALLEL=8: what the workers add).

--quick (for CI) runs each measurement a few times, up to 1,000 systems, without Wine,
and the slow listing side by side only.
"""

import argparse
import json
import math
import time
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import wine_prefix  # noqa: E402

PASSWORD = "<>/?{mzPQW<J]QJ8DJRO&myq"  # "secret", as the simulated system expects it
SENSOR_DIRECTORY = "PRTG Network Monitor/Custom Sensors/ExeXml"
MEGABYTES = 50


# --- building -------------------------------------------------------------------

def run_quietly(command, **options):
    done = subprocess.run(command, capture_output=True, text=True, **options)
    if done.returncode != 0:
        sys.exit(f"bench: {' '.join(map(str, command))} failed:\n{done.stdout}{done.stderr}")
    return done.stdout


def build(preset, scratch, wine):
    """The programs to measure: {name: path}."""
    tools = {}
    targets = ["SpaceWarden", "rfcsim"]
    run_quietly(["cmake", "--preset", preset], cwd=ROOT)
    run_quietly(["cmake", "--build", "--preset", preset, "--target", *targets], cwd=ROOT)
    tools["sensor"] = ROOT / "build" / preset / "SpaceWarden"
    tools["rfcsim"] = ROOT / "build" / preset / "rfcsim" / "librfcsim.so"
    tools["minimal"] = scratch / "minimal"
    run_quietly(["g++", "-O2", "-o", tools["minimal"], ROOT / "bench" / "minimal.cpp"])
    tools["nullrfc"] = scratch / "libnullrfc.so"
    run_quietly(["g++", "-O2", "-shared", "-fPIC", "-I", ROOT / "src", "-o", tools["nullrfc"],
                 ROOT / "bench" / "NullRfc.cpp"])
    if wine:
        run_quietly(["cmake", "--preset", "windows"], cwd=ROOT)
        run_quietly(["cmake", "--build", "--preset", "windows", "--target", *targets], cwd=ROOT)
        tools["sensor.exe"] = ROOT / "build" / "windows" / "SpaceWarden.exe"
        tools["rfcsim.dll"] = ROOT / "build" / "windows" / "rfcsim" / "rfcsim.dll"
        tools["minimal.exe"] = scratch / "minimal.exe"
        # linked as the sensor is, with the runtimes inside
        run_quietly(["x86_64-w64-mingw32-g++", "-O2", "-static", "-o", tools["minimal.exe"],
                     ROOT / "bench" / "minimal.cpp"])
    return tools


# --- inputs -----------------------------------------------------------------------

def profile_text(destination="PRD", host="sapprd", before=""):
    return (before + "Extcompany.: Acme\n" + f"Destination: {destination}\n" + "Client.....: 100\n"
            "User.......: monitor\n" + f"Password...: {PASSWORD}\n" + "Language...: EN\nMode.......: R/3\n"
            + f"Hostname...: {host}\n" + "Sysnr......: 00\n" + f"Gwhost.....: {host}\nGwservice..: sapgw00\n")


SCENARIO = "[system PRD]\nhost = sapprd\nclient = 100\nuser = MONITOR\npassword = secret\n"
# A system as real ones answer: its logon after 0.3 s, the critical objects check after 1.0 s.
SLOW_SYSTEM = "wait.logon = 0.3\nwait.DB02_ORA_FILL_TS_CHECK__CRITOB = 1.0\n"
SLOW_SYSTEMS, SLOW_PARALLEL, SLOW_SECONDS = 50, 8, 1.3


class Layout:
    """A drive C: as PRTG's host has it: the hint file names C:\\PRTG\\, the profiles lie in
    its sensor directory, the sensor runs in C:\\work."""

    def __init__(self, drive_c):
        self.drive_c = drive_c
        self.sensors = drive_c / "PRTG" / SENSOR_DIRECTORY
        self.cwd = drive_c / "work"
        self.sensors.mkdir(parents=True, exist_ok=True)
        self.cwd.mkdir(parents=True, exist_ok=True)
        (drive_c / "PRTG_Path.Txt").write_bytes(b"C:\\PRTG\\\r\n")
        (drive_c / "scenario.txt").write_text(SCENARIO)
        (self.sensors / "PRD.P00").write_text(profile_text())

    def listed_systems(self, count):
        """An item profile naming `count` systems, each with a profile of its own (all log on to PRD)."""
        folder = self.drive_c.parent / f"listed-{count}"
        if not folder.exists():
            sensors = folder / "c" / "PRTG" / SENSOR_DIRECTORY
            sensors.mkdir(parents=True)
            names = [f"S{n:06d}.P00" for n in range(1, count + 1)]
            for name in names:
                (sensors / name).write_text(profile_text())
            per_line = 14  # a line is read in pieces of 199 characters
            lines = ["# Gsng: Bench     : " + "".join(n + "#" for n in names[i:i + per_line]) + "\n"
                     for i in range(0, count, per_line)]
            (sensors / "Overseer.Prf").write_text("".join(lines))
            (folder / "c" / "PRTG_Path.Txt").write_bytes(b"C:\\PRTG\\\r\n")
            (folder / "c" / "work").mkdir()
        return folder

    def large_inputs(self, megabytes):
        """A profile, a global listing and a trace file of `megabytes` MB each, in their own drives."""
        size = megabytes * 1024 * 1024
        folder = self.drive_c.parent / f"large-{megabytes}"
        if folder.exists():
            return folder
        for name in ("profile", "listing", "trace"):
            drive = folder / name / "c"
            (drive / "PRTG" / SENSOR_DIRECTORY).mkdir(parents=True)
            (drive / "work").mkdir()
            (drive / "PRTG_Path.Txt").write_bytes(b"C:\\PRTG\\\r\n")
        sensors = lambda name: folder / name / "c" / "PRTG" / SENSOR_DIRECTORY  # noqa: E731
        filler = "# comment line that the reader passes over, as long as a line may be read at once\n"
        # the profile: comments, then the entries
        (sensors("profile") / "PRD.P00").write_text(filler * (size // len(filler)) + profile_text())
        # the listing: the lines of many other sensors, and this sensor's two
        other = "# GSNG: OTHER     : QAS.P00#DEV.P00#TST.P00#PRD.P00#QAS.P00#DEV.P00#TST.P00#\n"
        own = ("# GSNG: BENCH     : PRD.P00#PRD.P00#\n"
               '# GSNX: BENCH     :Sensor="SAP SpaceWarden",Item=Critical_Spaces\n')
        (sensors("listing") / "SAP Overseer.Gbl").write_text(other * (size // len(other)) + own)
        (sensors("listing") / "PRD.P00").write_text(profile_text())
        # the trace file: the library's lines, the cause last; the CPU probe fails
        (sensors("trace") / "PRD.P00").write_text(profile_text())
        trace = "       trace of a call that went well, written by the RFC library\n"
        (folder / "trace" / "c" / "work" / "Dev_Rfc.Trc").write_text(
            trace * (size // len(trace)) + "ERROR       CPU collector not active\n")
        (folder / "trace.scenario").write_text(SCENARIO + "outcome.GET_CPU_ALL = 1\n")
        return folder


# --- measuring ----------------------------------------------------------------------

def hyperfine(commands, cwd, env, runs, warmup, failing=False):
    """Median and all times in seconds of each command, measured in one hyperfine run."""
    with tempfile.NamedTemporaryFile(suffix=".json") as report:
        run_quietly(["hyperfine", "-N", "--style", "none", "--warmup", str(warmup), "--runs", str(runs),
                     *(["--ignore-failure"] if failing else []), "--export-json", report.name, *commands],
                    cwd=cwd, env=env)
        results = json.load(open(report.name))["results"]
    return [(statistics.median(r["times"]), r["times"]) for r in results]


def peak_memory_kb(command, cwd, env, runs=3):
    """The largest peak resident memory of a few runs, in KB (/usr/bin/time)."""
    peaks = []
    for _ in range(runs):
        done = subprocess.run(["/usr/bin/time", "-f", "%M", *command], cwd=cwd, env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        peaks.append(int(done.stderr.strip().splitlines()[-1]))
    return max(peaks)


def native_env(drives, tools, scenario):
    env = {k: v for k, v in os.environ.items() if not k.startswith(("RFCSIM_", "SPACEWARDEN_"))}
    env.update({"SPACEWARDEN_DRIVES": str(drives), "SPACEWARDEN_RFC_LIBRARY": str(tools["rfcsim"]),
                "RFCSIM_SCENARIO": str(scenario)})
    return env


def checked(command, cwd, env, expected_exit):
    done = subprocess.run(command, cwd=cwd, env=env, capture_output=True)
    if done.returncode != expected_exit:
        sys.exit(f"bench: {' '.join(map(str, command))} ended with {done.returncode}, expected "
                 f"{expected_exit}:\n{done.stdout.decode(errors='replace')}")
    return done.stdout


def ms(seconds):
    return f"{seconds * 1000:9.2f} ms"


def single_system(tools, scratch, runs, wine):
    rows = []
    layout = Layout(scratch / "single" / "drives" / "c")
    env = native_env(layout.drive_c.parent, tools, layout.drive_c / "scenario.txt")
    sensor = [str(tools["sensor"]), "PRD"]
    checked(sensor, layout.cwd, env, 0)
    (sensor_time, _), (minimal_time, _) = hyperfine([" ".join(sensor), str(tools["minimal"])],
                                                    layout.cwd, env, runs, max(3, runs // 10))
    rows.append(("SpaceWarden PRD, rfcsim (Linux)", sensor_time, None))
    rows.append(("minimal C++ program, dynamically linked", minimal_time, sensor_time / minimal_time))
    if wine:
        prefix = scratch / "wine-prefix"
        with wine_prefix.locked(prefix):
            wine_prefix.ensure(prefix)
            wine_prefix.keep_server(prefix)
            layout = Layout(prefix / "drive_c")
            to_windows = lambda path: "Z:" + str(path).replace("/", "\\")  # noqa: E731
            env = wine_prefix.wine_environment(prefix, {
                **{k: v for k, v in os.environ.items() if not k.startswith(("RFCSIM_", "SPACEWARDEN_", "WINE"))},
                "SPACEWARDEN_RFC_LIBRARY": to_windows(tools["rfcsim.dll"]),
                "RFCSIM_SCENARIO": "C:\\scenario.txt"})
            sensor = [wine_prefix.loader(), str(tools["sensor.exe"]), "PRD"]
            checked(sensor, layout.cwd, env, 0)
            (sensor_time, _), (minimal_time, _) = hyperfine(
                [" ".join(sensor), f"{wine_prefix.loader()} {tools['minimal.exe']}"], layout.cwd, env, max(10, runs // 4), 3)
        rows.append(("SpaceWarden.exe PRD, rfcsim.dll (Wine)", sensor_time, None))
        rows.append(("minimal mingw program (Wine)", minimal_time, sensor_time / minimal_time))
    print(f"\nSingle-system run (median of {runs} runs; under Wine {max(10, runs // 4)}), side by side")
    print(f"  {'program':44} {'median':>12} {'ratio':>8}")
    for name, median, ratio in rows:
        print(f"  {name:44} {ms(median)} {'' if ratio is None else f'{ratio:7.2f}x'}")


def multi_system(tools, scratch, counts, runs):
    layout = Layout(scratch / "single" / "drives" / "c")
    print("\nMulti-system run: item mode, N listed systems of empty tables; with rfcsim, and with a")
    print("library that answers at once (bench/NullRfc.cpp): what the sensor itself costs")
    print(f"  {'systems':>8} {'rfcsim':>12} {'per system':>12} {'sensor side':>12} {'per system':>12}"
          f" {'peak memory':>12} {'PARALLEL=8':>12} {'ratio':>12}")
    print("  (PARALLEL=8 starts workers as they are needed, two at once, at most 8, none for one system; 'ratio' is")
    print("  the run side by side against the one after the other)")
    first = {}
    for count in counts:
        drives = layout.listed_systems(count)
        cwd = drives / "c" / "work"
        command = [str(tools["sensor"]), "X", "ITEM=Critical_Spaces PARALLEL=1"]
        row = f"  {count:>8}"
        for library in ("rfcsim", "nullrfc"):
            env = native_env(drives, tools, layout.drive_c / "scenario.txt")
            env["SPACEWARDEN_RFC_LIBRARY"] = str(tools[library])
            output = checked(command, cwd, env, 0)
            if f"NoSystems={count}, Processed={count}, Failed=0".encode() not in output:
                sys.exit(f"bench: the run of {count} systems did not process them all:\n{output.decode()}")
            (median, _), = hyperfine([" ".join(command)], cwd, env, max(5, min(runs, 20000 // count)), 1)
            first.setdefault(library, median)
            if library == "rfcsim":
                rfcsim_median = median
            # below 100 systems the difference drowns in the noise of starting a process
            further = "" if count < 100 else f"{(median - first[library]) / (count - 1) * 1e6:9.1f} us"
            row += f" {ms(median)} {further:>12}"
        row += f" {peak_memory_kb(command, cwd, env) / 1024:9.1f} MB"
        # The same systems side by side: each in a worker of its own.
        env = native_env(drives, tools, layout.drive_c / "scenario.txt")
        side_by_side = [str(tools["sensor"]), "X", "ITEM=Critical_Spaces PARALLEL=8"]
        output = checked(side_by_side, cwd, env, 0)
        if f"NoSystems={count}, Processed={count}, Failed=0".encode() not in output:
            sys.exit(f"bench: the run of {count} systems side by side did not process them all:\n{output.decode()}")
        (parallel, _), = hyperfine([" ".join(side_by_side)], cwd, env, max(3, min(runs, 5000 // count)), 1)
        row += f" {ms(parallel)} {parallel / rfcsim_median:11.2f}x"
        print(row)


def slow_listing(tools, scratch, parallels, wine):
    """The listing that matters: real systems answer in seconds."""
    layout = Layout(scratch / "single" / "drives" / "c")
    drives = layout.listed_systems(SLOW_SYSTEMS)
    scenario = scratch / "slow.scenario"
    scenario.write_text(SCENARIO + SLOW_SYSTEM)
    cwd = drives / "c" / "work"
    print(f"\nA listing of {SLOW_SYSTEMS} systems, each answering its logon after 0.3 s and the check after 1.0 s;"
          f" the ideal side by side: ceil({SLOW_SYSTEMS}/{SLOW_PARALLEL}) x {SLOW_SECONDS} s ="
          f" {math.ceil(SLOW_SYSTEMS / SLOW_PARALLEL) * SLOW_SECONDS:.1f} s")
    print(f"  {'run':44} {'wall time':>12} {'x ideal':>8}")
    runs = [("Linux", [str(tools["sensor"])], native_env(drives, tools, scenario), cwd)]
    if wine:
        prefix = scratch / "wine-prefix"
        wine_prefix.ensure(prefix)
        wine_prefix.keep_server(prefix)
        windows_drive = prefix / "drive_c"
        to_windows = lambda path: "Z:" + str(path).replace("/", "\\")  # noqa: E731
        env = wine_prefix.wine_environment(prefix, {
            **{k: v for k, v in os.environ.items() if not k.startswith(("RFCSIM_", "SPACEWARDEN_", "WINE"))},
            "SPACEWARDEN_RFC_LIBRARY": to_windows(tools["rfcsim.dll"]), "RFCSIM_SCENARIO": to_windows(scenario)})
        listed = drives / "c" / "PRTG"
        shutil.rmtree(windows_drive / "PRTG", ignore_errors=True)
        shutil.copytree(listed, windows_drive / "PRTG")
        shutil.copyfile(drives / "c" / "PRTG_Path.Txt", windows_drive / "PRTG_Path.Txt")
        (windows_drive / "work").mkdir(exist_ok=True)
        runs.append(("Windows x64 under Wine", [wine_prefix.loader(), str(tools["sensor.exe"])], env,
                     windows_drive / "work"))
    for platform, program, env, directory in runs:
        for parallel in parallels:
            command = [*program, "X", f"ITEM=Critical_Spaces PARALLEL={parallel} TIMEOUT=0"]
            started = time.monotonic()
            output = checked(command, directory, env, 0)
            wall = time.monotonic() - started
            if f"NoSystems={SLOW_SYSTEMS}, Processed={SLOW_SYSTEMS}, Failed=0".encode() not in output:
                sys.exit(f"bench: the slow listing did not process every system:\n{output.decode()}")
            ideal = math.ceil(SLOW_SYSTEMS / parallel) * SLOW_SECONDS
            print(f"  {platform + f', PARALLEL={parallel}':44} {wall:10.2f} s {wall / ideal:7.2f}x")


def large_files(tools, scratch, megabytes, runs):
    layout = Layout(scratch / "single" / "drives" / "c")
    folder = layout.large_inputs(megabytes)
    scenario = layout.drive_c / "scenario.txt"
    print(f"\nLarge inputs of {megabytes} MB (median of {runs} runs)")
    print(f"  {'input':44} {'median':>12} {'peak memory':>12}")
    for name, kind, arguments, expected, own_scenario in (
            ("profile (single-system run)", "profile", ["PRD"], 0, None),
            ("global listing (2 systems of its own)", "listing", ["GLOBAL", "bench"], 0, None),
            ("trace file (CPU probe fails)", "trace", ["PRD"], 2, folder / "trace.scenario")):
        drives = folder / kind
        cwd = drives / "c" / "work"
        env = native_env(drives, tools, own_scenario or scenario)
        command = [str(tools["sensor"]), *arguments]
        checked(command, cwd, env, expected)
        (median, _), = hyperfine([" ".join(command)], cwd, env, runs, 1, failing=expected != 0)
        print(f"  {name:44} {ms(median)} {peak_memory_kb(command, cwd, env) / 1024:9.1f} MB")


# A system with many critical rows: PRTG's document with names off and on, and every format naming them.
NAMED_OBJECTS = 100_000
NAMED_FORMATS = [
    ("PRTG EXE/XML, names off", ["PRD"]),
    ("PRTG EXE/XML, NAMES=20", ["PRD", "NAMES=20"]),
    ("PRTG Juniper, NAMES=20", ["PRD", "FLAVOUR=Juniper NAMES=20,@"]),
    ("monitoring plugin", ["PRD", "FLAVOUR=Nagios"]),
    ("Checkmk", ["PRD", "FLAVOUR=Checkmk"]),
    ("Script v2", ["PRD", "FLAVOUR=ScriptV2"]),
    ("Prometheus", ["PRD", "FLAVOUR=Prometheus"]),
    ("Prometheus, NAMES=1000", ["PRD", "FLAVOUR=Prometheus NAMES=1000"]),
]
NAMED_RATIO, NAMED_MEMORY_MB = 1.25, 64


def named_rows(tools, scratch, runs):
    """Returns whether every format stayed within the memory bound."""
    layout = Layout(scratch / "named" / "drives" / "c")
    scenario = layout.drive_c / "scenario.txt"
    scenario.write_text(SCENARIO + f"rows.TS_CHECK = 100\nrows.CRITOBJ = {NAMED_OBJECTS}\n")
    (layout.cwd / "PRD.P00").write_text(profile_text())
    (layout.cwd / "PRD.P00").chmod(0o600)
    env = native_env(layout.drive_c.parent, tools, scenario)
    commands = []
    for _, arguments in NAMED_FORMATS:
        command = [str(tools["sensor"]), *arguments]
        checked(command, layout.cwd, env, 0)
        commands.append(command)
    # Juniper's "@" (the profile where argument 1 names it) also asks for progress lines: shell-free all the same.
    medians = hyperfine([" ".join(c) for c in commands], layout.cwd, env, runs, 1)
    print(f"\nA system with {NAMED_OBJECTS:,} critical objects and 100 critical tablespaces (median of {runs} runs)")
    print(f"  {'format':44} {'median':>12} {'peak memory':>12}")
    within = True
    for (name, _), command, (median, _) in zip(NAMED_FORMATS, commands, medians):
        peak = peak_memory_kb(command, layout.cwd, env) / 1024
        within = within and peak < NAMED_MEMORY_MB
        print(f"  {name:44} {ms(median)} {peak:9.1f} MB")
    ratio = medians[1][0] / medians[0][0]
    print(f"  PRTG's names on against off: {ratio:.2f}x (bound {NAMED_RATIO}x); peak memory bound {NAMED_MEMORY_MB} MB:"
          f" {'kept' if within else 'PASSED'}")
    return within


def machine():
    model = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name")),
                 "unknown CPU")
    load = os.getloadavg()[0]
    return f"{os.cpu_count()} CPUs ({model}), load average {load:.2f} when the measurement began"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true", help="a short run: few repetitions, no Wine")
    parser.add_argument("--no-wine", action="store_true", help="leave out the Windows build under Wine")
    parser.add_argument("--preset", default="default", help="the native build to measure (default: default)")
    parser.add_argument("--scratch", type=Path, help="where the inputs go (default: a new temporary directory)")
    parser.add_argument("--systems", type=int, nargs="+", help="the listed systems to measure")
    options = parser.parse_args()
    for tool in ("hyperfine", "/usr/bin/time"):
        if not shutil.which(tool):
            sys.exit(f"bench: {tool} is missing (Debian packages hyperfine, time)")
    wine = not (options.quick or options.no_wine)
    counts = options.systems or ([1, 10, 100, 1000] if options.quick else [1, 10, 100, 1000, 10000])
    runs = 5 if options.quick else 100
    scratch = options.scratch or Path(tempfile.mkdtemp(prefix="spacewarden-bench-"))
    scratch.mkdir(parents=True, exist_ok=True)
    print(f"SpaceWarden benchmark: {machine()}; inputs in {scratch}")
    code = 0
    try:
        tools = build(options.preset, scratch, wine)
        single_system(tools, scratch, runs, wine)
        multi_system(tools, scratch, counts, runs)
        large_files(tools, scratch, MEGABYTES, 3 if options.quick else 10)
        if not named_rows(tools, scratch, 5 if options.quick else 30):
            code = 1
        slow_listing(tools, scratch, [SLOW_PARALLEL] if options.quick else [1, SLOW_PARALLEL], wine)
    finally:
        if wine:
            wine_prefix.remove(scratch / "wine-prefix")
        if not options.scratch:
            shutil.rmtree(scratch, ignore_errors=True)
    return code


if __name__ == "__main__":
    sys.exit(main())
