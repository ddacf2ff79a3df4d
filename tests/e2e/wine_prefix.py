#!/usr/bin/env python3
"""A scratch Wine prefix for the Windows build's tests.

    wine_prefix.py create PREFIX    remove any old prefix, make a new one
    wine_prefix.py remove PREFIX    stop its Wine server and delete it

Cases hold the prefix's lock (PREFIX.lock) while they run, so one prefix serves
one case at a time; run_case.py --wine makes the prefix itself when it is missing.
"""

import contextlib
import fcntl
import os
import shutil
import subprocess
import sys
from pathlib import Path

READY = "spacewarden-ready"  # written once wineboot has finished
BOOT_TIMEOUT_SECONDS = 300
SERVER_STAYS_SECONDS = 30


def wine_environment(prefix, base=None):
    """The environment for Wine in PREFIX: no debug output, no Mono or Gecko installers."""
    env = dict(os.environ if base is None else base)
    env.update({"WINEPREFIX": str(prefix), "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="})
    if "WINEARCH" in os.environ:  # win32: a prefix of Wine's 32-bit loader, for the 32-bit build
        env["WINEARCH"] = os.environ["WINEARCH"]
    return env


@contextlib.contextmanager
def locked(prefix):
    """Holds the prefix's lock: one case, or the making of the prefix, at a time."""
    prefix = Path(prefix)
    prefix.parent.mkdir(parents=True, exist_ok=True)
    with open(prefix.parent / (prefix.name + ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            yield
        finally:
            fcntl.flock(lock, fcntl.LOCK_UN)


def _stop_server(prefix):
    if prefix.is_dir():
        subprocess.run(["wineserver", "-k"], env=wine_environment(prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        subprocess.run(["wineserver", "-w"], env=wine_environment(prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


def _make(prefix):
    _stop_server(prefix)
    shutil.rmtree(prefix, ignore_errors=True)
    env = wine_environment(prefix)
    boot = subprocess.run(["wine", "wineboot", "--init"], env=env, capture_output=True,
                          timeout=BOOT_TIMEOUT_SECONDS, check=False)
    subprocess.run(["wineserver", "-w"], env=env, timeout=BOOT_TIMEOUT_SECONDS, check=False)
    if boot.returncode != 0 or not (prefix / "drive_c" / "windows").is_dir():
        hint = ""
        if env.get("WINEARCH") == "win32":
            hint = ("a 32-bit prefix needs Wine's 32-bit loader (Debian's wine32:i386) on a machine that runs "
                    "32-bit code; ")
        raise RuntimeError(f"wineboot failed in {prefix} (exit {boot.returncode}): {hint}"
                           + boot.stderr.decode(errors="replace"))
    (prefix / READY).write_text("")


def ensure(prefix):
    """Makes the prefix unless it is ready. The caller holds its lock."""
    prefix = Path(prefix)
    if not (prefix / READY).exists():
        _make(prefix)


def keep_server(prefix):
    """Starts the prefix's Wine server unless it runs, to stay a while after the last
    program, and lets its first program start Wine's services: that costs seconds,
    a program in a running session a tenth of one. The caller holds the lock."""
    env = wine_environment(prefix)
    started = subprocess.run(["wineserver", f"-p{SERVER_STAYS_SECONDS}"], env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    if started.returncode == 0:  # it was not running
        subprocess.run(["wine", "cmd", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=BOOT_TIMEOUT_SECONDS, check=False)


def create(prefix):
    prefix = Path(prefix).absolute()
    with locked(prefix):
        _make(prefix)
        keep_server(prefix)  # so that the first test does not wait for Wine's services


def remove(prefix):
    prefix = Path(prefix).absolute()
    with locked(prefix):
        _stop_server(prefix)
        shutil.rmtree(prefix, ignore_errors=True)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("create", "remove"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        (create if sys.argv[1] == "create" else remove)(sys.argv[2])
    except (OSError, RuntimeError, subprocess.TimeoutExpired) as problem:
        print(f"wine_prefix.py {sys.argv[1]}: {problem}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
