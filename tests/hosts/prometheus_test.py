#!/usr/bin/env python3
"""SpaceWarden's textfile as the real Prometheus reads it, with the installed
package and its simulated systems: the job of docs/host-prometheus.md writes
the file; Debian's node_exporter serves it (node_textfile_scrape_error 0, the
series in /metrics) and promtool has nothing to say about it; a Prometheus
server scrapes node_exporter with the page's configuration and the package's
alerting rules, and its query API answers spacewarden_up for each system; a
file cut short shows as node_textfile_scrape_error 1. The page's marked
examples are used with only their paths and ports changed.

    prometheus_test.py [--doc /usr/share/doc/spacewarden]

Exit 77 (skipped) when prometheus, promtool or prometheus-node-exporter is
missing, unless CI=true, where that is a failure.
"""

import argparse
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import daemons  # noqa: E402
from page_examples import example, substituted  # noqa: E402

SKIPPED = 77
PROGRAMS = ("prometheus", "promtool", "prometheus-node-exporter")
RULES = "/usr/share/doc/spacewarden/examples/spacewarden.rules.yml"
SYSTEMS = {"PRD": "1", "QAS": "1", "DEV": "0"}  # the demo's systems: DEV is not on Oracle


def check(condition, text):
    if not condition:
        raise AssertionError(text)


def job_command(page, work, etc, textfile):
    """The command of the page's cron line, and the job's interval in seconds."""
    cron = example(page, "cron")
    line = next(line for line in cron.splitlines() if "SpaceWarden " in line)
    fields = line.split(None, 6)
    check(fields[0].startswith("*/") and fields[5] == "root", f"a cron line of another form: {line}")
    command = substituted(fields[6], [("/var/tmp", str(work)),
                                      ("/usr/lib/spacewarden/libspacewarden_nwrfc.so", "/usr/lib/spacewarden/librfcsim.so"),
                                      ("/etc/spacewarden/", f"{etc}/"),
                                      ("/var/lib/prometheus/node-exporter", str(textfile))])
    return command, int(fields[0][2:]) * 60


def node_exporter_command(page, textfile, port):
    shown = example(page, "node-exporter").split("&\n")[0].replace("\\\n", " ")
    return shlex.split(substituted(shown, [("/var/lib/prometheus/node-exporter", str(textfile)),
                                           ("127.0.0.1:9101", f"127.0.0.1:{port}")]))


def metrics_lines(port):
    return daemons.fetch(f"http://127.0.0.1:{port}/metrics").splitlines()


def query(port, expression):
    answer = json.loads(daemons.fetch(f"http://127.0.0.1:{port}/api/v1/query?" +
                                      urllib.parse.urlencode({"query": expression})))
    check(answer["status"] == "success", f"the query {expression} failed: {answer}")
    return answer["data"]["result"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--doc", type=Path, default=Path("/usr/share/doc/spacewarden"))
    options = parser.parse_args()
    missing = [program for program in PROGRAMS if not shutil.which(program)]
    if missing:
        print(f"prometheus: {', '.join(missing)} missing (Debian packages prometheus, prometheus-node-exporter)")
        return 1 if os.environ.get("CI") == "true" else SKIPPED
    page = options.doc / "host-prometheus.md"
    scratch = Path(tempfile.mkdtemp(prefix="spacewarden-prometheus-"))
    times = {}
    try:
        etc, work, textfile = scratch / "etc", scratch / "work", scratch / "node-exporter"
        for folder in (etc, work, textfile):
            folder.mkdir()
        for name in ("PRD.P00", "QAS.P00", "DEV.P00", "SAP Overseer.Gbl"):
            shutil.copy(options.doc / "examples" / name, etc / name)
            if name.endswith(".P00"):
                (etc / name).chmod(0o600)

        # The job, as the cron line runs it.
        started = time.monotonic()
        command, interval = job_command(page, work, etc, textfile)
        rules = Path(RULES).read_text()
        check(f"3 * {interval}" in rules, f"the rules do not count three of the job's intervals of {interval} s")
        check(example(page, "alert-rules") == rules, f"the page's alerting rules differ from {RULES}")
        done = subprocess.run(["bash", "-c", command], cwd=work, capture_output=True,
                              env=dict(os.environ, RFCSIM_SCENARIO=str(options.doc / "examples" / "systems.scenario")))
        check(done.returncode == 0, f"the job ended with {done.returncode}: {done.stderr!r}")
        prom = textfile / "spacewarden.prom"
        text = prom.read_text(encoding="utf-8")
        linted = subprocess.run(["promtool", "check", "metrics"], input=text, capture_output=True, text=True)
        check(linted.returncode == 0 and not (linted.stdout + linted.stderr).strip(),
              f"promtool check metrics says: {linted.stdout}{linted.stderr}")
        checked = subprocess.run(["promtool", "check", "rules", RULES], capture_output=True, text=True)
        check(checked.returncode == 0, f"promtool check rules: {checked.stdout}{checked.stderr}")
        times["job and promtool"] = time.monotonic() - started

        # node_exporter, started as the page shows, on a free port.
        started = time.monotonic()
        exporter_port = daemons.free_port()
        with daemons.running(node_exporter_command(page, textfile, exporter_port), scratch / "node_exporter.log",
                             cwd=scratch) as exporter:
            lines = daemons.until("node_exporter serving the textfile",
                                  lambda: (lambda got: got if any(l.startswith("spacewarden_up{") for l in got) else None)(
                                      metrics_lines(exporter_port)), 30, exporter)
            check("node_textfile_scrape_error 0" in lines, "node_textfile_scrape_error is not 0")
            for system, up in SYSTEMS.items():
                check(f'spacewarden_up{{system="{system}"}} {up}' in lines, f"no spacewarden_up of {system} = {up}")
            check(any(l.startswith('spacewarden_critical_tablespace_maxblkfree{system="PRD",tablespace="PSAPSR3"}')
                      for l in lines), "no series of PRD's critical tablespace PSAPSR3")
            check(f'node_textfile_mtime_seconds{{file="{prom}"}}' in " ".join(l.split(" ")[0] for l in lines),
                  "no node_textfile_mtime_seconds of the file")
            times["node_exporter"] = time.monotonic() - started

            # A Prometheus server with the page's configuration, scraping every second.
            started = time.monotonic()
            server_port = daemons.free_port()
            config = scratch / "prometheus.yml"
            config.write_text("global:\n  scrape_interval: 1s\n  evaluation_interval: 1s\n" +
                              substituted(example(page, "prometheus-config"),
                                          [("localhost:9100", f"127.0.0.1:{exporter_port}")]))
            with daemons.running(["prometheus", f"--config.file={config}", f"--storage.tsdb.path={scratch / 'tsdb'}",
                                  f"--web.listen-address=127.0.0.1:{server_port}"], scratch / "prometheus.log",
                                 cwd=scratch) as server:
                result = daemons.until("Prometheus answering spacewarden_up for each system",
                                       lambda: (lambda got: got if len(got) == len(SYSTEMS) else None)(
                                           query(server_port, "spacewarden_up")), 60, server)
                answered = {r["metric"]["system"]: r["value"][1] for r in result}
                check(answered == SYSTEMS, f"spacewarden_up answered {answered}, expected {SYSTEMS}")
                alerts = daemons.until(
                    "the failed system's and the critical objects' alerts firing",
                    lambda: (lambda got: got if {("SpaceWardenSystemFailed", "DEV"), ("SpaceWardenCriticalObjects", "PRD")}
                             <= got else None)({(a["labels"]["alertname"], a["labels"].get("system")) for a in
                                                json.loads(daemons.fetch(f"http://127.0.0.1:{server_port}/api/v1/alerts"))
                                                ["data"]["alerts"] if a["state"] == "firing"}), 30, server)
                check(("SpaceWardenRunFailed", None) not in alerts, "SpaceWardenRunFailed fires for a run that ended well")
                times["prometheus"] = time.monotonic() - started

            # A file cut short: node_exporter says so, and serves none of its series.
            started = time.monotonic()
            prom.write_text(text[:300], encoding="utf-8")
            lines = daemons.until("node_textfile_scrape_error 1 for a file cut short",
                                  lambda: (lambda got: got if "node_textfile_scrape_error 1" in got else None)(
                                      metrics_lines(exporter_port)), 30, exporter)
            check(not any(l.startswith("spacewarden_") for l in lines), "a broken file's series are still served")
            times["broken file"] = time.monotonic() - started
    except (AssertionError, RuntimeError, ValueError, OSError) as fault:
        print(f"prometheus: FAILED: {fault}\n  scratch kept: {scratch}")
        for log in sorted(scratch.glob("*.log")):
            print(f"  {log.name}:\n    " + "\n    ".join(log.read_text(errors="replace").splitlines()[-15:]))
        return 1
    shutil.rmtree(scratch, ignore_errors=True)
    print("prometheus: the page's job, node_exporter " + subprocess.run(
        ["prometheus-node-exporter", "--version"], capture_output=True, text=True).stdout.split("\n")[0].split(" (")[0].split()[-1]
          + " and Prometheus read the textfile as the page says; " +
          ", ".join(f"{name} {seconds:.1f} s" for name, seconds in times.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
