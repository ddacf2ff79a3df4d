"""A host's daemon for a test: started in the foreground from a scratch folder
on a free local port, waited for with a deadline, and stopped whatever
happens (a context manager), so that no daemon outlives its test."""

import contextlib
import json
import os
import signal
import socket
import subprocess
import time
import urllib.error
import urllib.request


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


@contextlib.contextmanager
def running(command, log, cwd=None, env=None):
    """The daemon's process while the block runs; its output goes to `log`."""
    with open(log, "wb") as output:
        process = subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL, stdout=output,
                                   stderr=subprocess.STDOUT, start_new_session=True)
    try:
        yield process
    finally:
        stop(process)


def stop(process, grace=10):
    if process.poll() is not None:
        return
    with contextlib.suppress(ProcessLookupError):
        os.killpg(process.pid, signal.SIGTERM)
    try:
        process.wait(grace)
    except subprocess.TimeoutExpired:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, signal.SIGKILL)
        process.wait()


def fetch(url, timeout=5):
    with urllib.request.urlopen(url, timeout=timeout) as answer:
        return answer.read().decode("utf-8")


def until(what, check, deadline_seconds, process=None, step=0.2):
    """The first true value of check() before the deadline; raises with `what` after it."""
    ends = time.monotonic() + deadline_seconds
    last = None
    while time.monotonic() < ends:
        if process is not None and process.poll() is not None:
            raise RuntimeError(f"{what}: the daemon ended with exit code {process.returncode}")
        try:
            value = check()
            if value:
                return value
        except (OSError, urllib.error.URLError, ValueError, json.JSONDecodeError) as problem:
            last = problem
        time.sleep(step)
    raise RuntimeError(f"{what}: not within {deadline_seconds} s" + (f" (last: {last})" if last else ""))
