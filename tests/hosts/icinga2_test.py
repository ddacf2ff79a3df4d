#!/usr/bin/env python3
"""The installed plugin as a real Icinga 2 daemon runs it: the CheckCommand
and services of the package's example configuration (which
docs/install-monitoring-plugins.md and docs/credentials.md show: the
credentials through `env` from custom variables), with only their paths
changed, against the package's simulated systems. The daemon runs in the
foreground from a scratch folder, as the user nagios (Debian's user of the
monitoring hosts, who owns the scratch folder and the profiles, mode 0600),
and its perfdata writer records each check's state, output and performance
data, which are compared with what a monitoring user must see: OK, CRITICAL
for a system over its range and for a failing listed system, UNKNOWN for a
mistyped option, and the plugin's own deadline, shorter than Icinga's
command timeout.

    icinga2_test.py [--doc /usr/share/doc/spacewarden]

Exit 77 (skipped) when icinga2 is missing, unless CI=true.
"""

import argparse
import os
import pwd
import re
import shutil
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import daemons  # noqa: E402
from page_examples import example, substituted  # noqa: E402

SKIPPED = 77
ICINGA = "/usr/sbin/icinga2"
USER = "nagios"
PLUGINS = "/usr/lib/nagios/plugins"

# The perfdata writer's record of a check: one per check, the output keeping its line ends.
RECORD = re.compile(r"SERVICE::(.*?)\tSTATE::(.*?)\tOUTPUT::(.*?)\tPERF::(.*?)\tEND::\n", re.DOTALL)

SURROUNDINGS = """
const PluginDir = "{plugins}"
include <itl>
// Every service checked each second, so that the test does not wait for the examples' five minutes.
template Service "checked at once" default {{ check_interval = 1s; retry_interval = 1s }}
object CheckerComponent "checker" {{ }}
object PerfdataWriter "results" {{
  service_perfdata_path = "{scratch}/perfdata/services"
  service_temp_path = "{scratch}/perfdata/services.tmp"
  host_perfdata_path = "{scratch}/perfdata/hosts"
  host_temp_path = "{scratch}/perfdata/hosts.tmp"
  service_format_template = "SERVICE::$service.name$\\tSTATE::$service.state$\\tOUTPUT::$service.output$\\tPERF::$service.perfdata$\\tEND::"
  rotation_interval = 1s
}}
object Host "sap-prd" {{
  check_command = "dummy"
  vars.sap_sid = "PRD"
  vars.sap_user = "monitor"
  vars.sap_password = "prdMon24"
}}
object Host "sap-slow" {{
  check_command = "dummy"
  vars.sap_slow = "SLOW"
}}
// With the docs' CheckCommand: a listing whose DEV is not on Oracle, a mistyped
// option, and a system that never answers, with the plugin's deadline below Icinga's timeout.
object Service "sap-listing" {{
  host_name = "sap-prd"
  check_command = "spacewarden"
  vars.spacewarden_profile = "{etc}/GLOBAL"
  vars.spacewarden_options = "SAPALL"
}}
object Service "sap-mistyped" {{
  host_name = "sap-prd"
  check_command = "spacewarden"
  vars.spacewarden_profile = "{etc}/PRD"
  vars.spacewarden_options = "CH=2,CRTI=1000"
}}
object Service "sap-silent" {{
  host_name = "sap-slow"
  check_command = "spacewarden"
  vars.spacewarden_profile = "{etc}/SLOW"
  vars.spacewarden_options = "TIMEOUT=3"
}}
"""

SILENT_SYSTEM = "\n[system SLOW]\nhost = sapslow\nwait.logon = 60\n"

# Service: state, the output's first line, performance data.
EXPECTED = {
    "sap-critical-spaces": ("OK", "SPACEWARDEN OK - (PRD) Oracle: Critical_Spaces=4, Critical_Objects=1234",
                            "Critical_Spaces=4;~:4;~:9"),
    "sap-critical-objects": ("CRITICAL", "SPACEWARDEN CRITICAL - Critical_Objects=1234 above 1000 - (PRD) Oracle: "
                             "Critical_Spaces=4, Critical_Objects=1234", "Critical_Objects=1234;;1000"),
    "sap-listing": ("CRITICAL", "SPACEWARDEN CRITICAL - DEV: Error 1018: DataBase mismatch ! - (***) Critical_Objects: "
                    "NoSystems=3, Processed=2, Failed=1", "PRD=1234 QAS=0"),
    "sap-mistyped": ("UNKNOWN", "SPACEWARDEN UNKNOWN - Error 1009: Unknown option CRTI=1000 !", ""),
    "sap-silent": ("CRITICAL", "SPACEWARDEN CRITICAL - Error 1019: RFC-Timeout for SLOW after 3 s !", ""),
}
# Lines of the long output that must be there: the critical rows named under the status.
LONG_OUTPUT = {
    "sap-critical-objects": "TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=2560",
    "sap-listing": "  ON=/BIC/AZSALES00~0 TN=/BIC/AZSALES00 TS=PSAPSR3",
}


def check(condition, text):
    if not condition:
        raise AssertionError(text)


def configuration(doc, scratch, etc):
    """The package's example with its paths changed, in the test's surroundings."""
    shown = (doc / "examples" / "icinga2-spacewarden.conf").read_text()
    # The docs show the same CheckCommand and service: each line of their fragment, in order.
    at = 0
    for line in example(doc / "credentials.md", "icinga2-env").splitlines():
        if line.strip() in ("", "..."):
            continue
        found = shown.find(line, at)
        check(found >= 0, f"credentials.md shows {line!r}, which the example configuration lacks (in this order)")
        at = found + len(line)
    used = substituted(shown, [("/usr/lib/spacewarden/libspacewarden_nwrfc.so", "/usr/lib/spacewarden/librfcsim.so"),
                               ('"/etc/spacewarden/"', f'"{etc}/"')])
    return SURROUNDINGS.format(plugins=PLUGINS, scratch=scratch, etc=etc) + used


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--doc", type=Path, default=Path("/usr/share/doc/spacewarden"))
    options = parser.parse_args()
    if not os.path.exists(ICINGA):
        print("icinga2: /usr/sbin/icinga2 missing (Debian package icinga2-bin)")
        return 1 if os.environ.get("CI") == "true" else SKIPPED
    if os.getuid() != 0:
        print("icinga2: needs root, to run the daemon as the user nagios")
        return 1 if os.environ.get("CI") == "true" else SKIPPED
    scratch = Path(tempfile.mkdtemp(prefix="spacewarden-icinga2-"))
    started = time.monotonic()
    try:
        etc = scratch / "etc"
        for folder in ("etc", "work", "perfdata", "data", "log", "cache", "spool", "run"):
            (scratch / folder).mkdir()
        examples = options.doc / "examples"
        for name in ("PRD.P00", "QAS.P00", "DEV.P00", "SAP Overseer.Gbl"):
            shutil.copy(examples / name, etc / name)
        (etc / "SLOW.P00").write_text((examples / "PRD.P00").read_text().replace("Destination: PRD", "Destination: SLOW"))
        scenario = scratch / "systems.scenario"
        scenario.write_text((examples / "systems.scenario").read_text() + SILENT_SYSTEM)
        (scratch / "icinga2.conf").write_text(configuration(options.doc, scratch, etc))
        account = pwd.getpwnam(USER)
        for path in [scratch, *scratch.rglob("*")]:
            os.chown(path, account.pw_uid, account.pw_gid)
        for profile in etc.glob("*.P00"):
            profile.chmod(0o600)  # the monitoring user's alone, as the docs ask

        command = [ICINGA, "daemon", "-c", str(scratch / "icinga2.conf"), f"-DRunAsUser={USER}", f"-DRunAsGroup={USER}"]
        for constant, folder in (("DataDir", "data"), ("LogDir", "log"), ("CacheDir", "cache"), ("SpoolDir", "spool"),
                                 ("InitRunDir", "run")):
            command.append(f"-D{constant}={scratch / folder}")
        environment = dict(os.environ, RFCSIM_SCENARIO=str(scenario))
        records = {}
        with daemons.running(command, scratch / "icinga2.log", cwd=scratch / "work", env=environment) as daemon:
            def all_checked():
                for path in sorted((scratch / "perfdata").glob("services*")):
                    for name, *result in RECORD.findall(path.read_text(errors="replace")):
                        records[name] = result
                return set(EXPECTED) <= set(records)
            daemons.until("Icinga 2 recording every service's check", all_checked, 60, daemon, step=0.5)
        for name, (state, status, performance) in EXPECTED.items():
            got_state, output, got_performance = records[name]
            check(got_state == state, f"{name}: state {got_state}, expected {state} ({output!r})")
            check(output.split("\n")[0].rstrip() == status, f"{name}: output {output!r}, expected {status!r}")
            check(got_performance == performance, f"{name}: performance data {got_performance!r}, expected {performance!r}")
            if name in LONG_OUTPUT:
                check(LONG_OUTPUT[name] in output.split("\n", 1)[-1], f"{name}: the long output lacks {LONG_OUTPUT[name]!r}")
    except (AssertionError, RuntimeError, ValueError, OSError, KeyError) as fault:
        print(f"icinga2: FAILED: {fault}\n  scratch kept: {scratch}")
        log = scratch / "icinga2.log"
        if log.exists():
            print("    " + "\n    ".join(log.read_text(errors="replace").splitlines()[-20:]))
        return 1
    shutil.rmtree(scratch, ignore_errors=True)
    print(f"icinga2: the daemon (as {USER}) ran the docs' CheckCommand: OK, CRITICAL, a failing listed system, "
          f"UNKNOWN and the plugin's deadline as a monitoring user must see them, in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
