#!/usr/bin/env python3
"""A scratch Wine prefix for the Windows build's tests, and Wine's loader for them.

    wine_prefix.py create PREFIX    remove any old prefix, make a new one
    wine_prefix.py remove PREFIX    stop its Wine server and delete it
    wine_prefix.py probe            does this machine run 32-bit programs? (exit 0 yes, 77 no, 1 no loader)
    wine_prefix.py run PROGRAM...   runs PROGRAM under the loader of WINEARCH's word size

Cases hold the prefix's lock (PREFIX.lock) while they run, so one prefix serves
one case at a time; run_case.py --wine makes the prefix itself when it is missing.

Wine's loaders are started directly, never through Debian's `wine` script: once
wine32:i386 is installed, that script starts every program, 64-bit ones too,
through the 32-bit loader, which a kernel without 32-bit support refuses. The
64-bit build runs under the 64-bit loader on every machine; the 32-bit build
(WINEARCH=win32) runs under the 32-bit loader where the kernel runs it, and its
tests are skipped (exit code SKIPPED) with REFUSED where the kernel refuses it.
"""

import contextlib
import errno
import fcntl
import os
import shutil
import subprocess
import sys
from pathlib import Path

READY = "spacewarden-ready"  # written once wineboot has finished
BOOT_TIMEOUT_SECONDS = 300
SERVER_STAYS_SECONDS = 30

LOADER_32 = "/usr/lib/wine/wine"     # Debian's wine32:i386
LOADER_64 = "/usr/lib/wine/wine64"   # Debian's wine64
SKIPPED = 77                         # ctest's SKIP_RETURN_CODE of the Windows builds' tests
KERNEL_REFUSES = "this kernel refuses 32-bit programs (Exec format error)"
REFUSED = KERNEL_REFUSES + ": the x86 suite did not run"
MISSING_32 = ("Wine's 32-bit loader (/usr/lib/wine/wine, Debian's wine32:i386) is missing: the 32-bit build's "
              "tests need it. As root: dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386")


def is_32bit(env=None):
    """Whether the environment's prefix is one of Wine's 32-bit loader (WINEARCH=win32)."""
    return (os.environ if env is None else env).get("WINEARCH") == "win32"


def loader(env=None):
    """Wine's loader for the environment's word size: Debian's loader of that word size;
    for 32-bit programs SPACEWARDEN_WINE32_LOADER when set (a test of the probe lends its own)."""
    if is_32bit(env):
        return (os.environ if env is None else env).get("SPACEWARDEN_WINE32_LOADER") or LOADER_32
    if os.access(LOADER_64, os.X_OK):
        return LOADER_64
    return shutil.which("wine64") or LOADER_64


def refusal(loader_path=None):
    """Runs the 32-bit loader once. None when it runs; KERNEL_REFUSES when the kernel refuses to
    execute it (ENOEXEC, "Exec format error"); RuntimeError when the loader is missing.
    Any other failure of the loader is no refusal: the tests then run and show it."""
    loader_path = loader_path or loader({**os.environ, "WINEARCH": "win32"})
    if not os.path.isfile(loader_path):
        raise RuntimeError(MISSING_32)
    try:
        subprocess.run([loader_path, "--version"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=False)
    except OSError as problem:
        if problem.errno == errno.ENOEXEC:
            return KERNEL_REFUSES
        raise RuntimeError(f"Wine's 32-bit loader {loader_path} cannot be started: {problem}") from problem
    return None


def skip_if_refused():
    """In a 32-bit prefix on a kernel that refuses 32-bit programs: prints REFUSED and
    ends the process with SKIPPED; a missing loader ends it with 1, naming the packages."""
    if not is_32bit():
        return
    try:
        reason = refusal()
    except RuntimeError as problem:
        print(problem, file=sys.stderr)
        sys.exit(1)
    if reason:
        print(REFUSED)
        sys.exit(SKIPPED)


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


def _server():
    return shutil.which("wineserver") or "wineserver"


def _stop_server(prefix):
    if prefix.is_dir():
        subprocess.run([_server(), "-k"], env=wine_environment(prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        subprocess.run([_server(), "-w"], env=wine_environment(prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)


def _make(prefix):
    _stop_server(prefix)
    shutil.rmtree(prefix, ignore_errors=True)
    env = wine_environment(prefix)
    boot = subprocess.run([loader(env), "wineboot", "--init"], env=env, capture_output=True,
                          timeout=BOOT_TIMEOUT_SECONDS, check=False)
    subprocess.run([_server(), "-w"], env=env, timeout=BOOT_TIMEOUT_SECONDS, check=False)
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
    started = subprocess.run([_server(), f"-p{SERVER_STAYS_SECONDS}"], env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    if started.returncode == 0:  # it was not running
        subprocess.run([loader(env), "cmd", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
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


def run(arguments):
    """Replaces this process by PROGRAM under the loader (the tests' emulator)."""
    skip_if_refused()
    chosen = loader()
    os.execv(chosen, [chosen] + arguments)


def probe():
    try:
        reason = refusal()
    except RuntimeError as problem:
        print(problem, file=sys.stderr)
        return 1
    print(REFUSED if reason else "this kernel runs 32-bit programs: Wine's 32-bit loader runs")
    return SKIPPED if reason else 0


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "run":
        run(sys.argv[2:])
    if len(sys.argv) == 2 and sys.argv[1] == "probe":
        return probe()
    if len(sys.argv) != 3 or sys.argv[1] not in ("create", "remove"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    if sys.argv[1] == "create":
        skip_if_refused()
    try:
        (create if sys.argv[1] == "create" else remove)(sys.argv[2])
    except (OSError, RuntimeError, subprocess.TimeoutExpired) as problem:
        print(f"wine_prefix.py {sys.argv[1]}: {problem}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
