#!/usr/bin/env python3
"""The example configurations the Debian package ships, as the real hosts read
them: the Nagios command and services with "nagios4 -v" beside a minimal host,
template and contact; the Icinga 2 CheckCommand and services with
"icinga2 daemon -C" and Icinga's template library. A host that is not
installed is left out (exit 77 when neither is).
"""

import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

EXAMPLES = Path(__file__).resolve().parents[2] / "packaging" / "deb" / "examples"
NAGIOS = "/usr/sbin/nagios4"
ICINGA = "/usr/sbin/icinga2"
SKIPPED = 77

NAGIOS_SURROUNDINGS = """
define timeperiod {
    timeperiod_name 24x7
    alias           always
    monday          00:00-24:00
}
define command {
    command_name    nothing
    command_line    /bin/true
}
define contact {
    contact_name                    admin
    host_notification_period        24x7
    service_notification_period     24x7
    host_notification_commands      nothing
    service_notification_commands   nothing
}
define service {
    name                    generic-service
    register                0
    max_check_attempts      1
    check_interval          5
    retry_interval          1
    check_period            24x7
    notification_period     24x7
    contacts                admin
}
define host {
    host_name               sapprd01
    address                 127.0.0.1
    max_check_attempts      1
    check_period            24x7
    notification_period     24x7
    contacts                admin
}
"""

ICINGA_MAIN = """const PluginDir = "/usr/lib/nagios/plugins"
include <itl>
include <plugins>
object Host "sapprd01" {
  check_command = "dummy"
  vars.sap_sid = "PRD"
  vars.sap_user = "sapmon"
  vars.sap_password = "kept in Icinga's configuration"
}
include "{example}"
"""


def check_nagios(scratch):
    (scratch / "surroundings.cfg").write_text(NAGIOS_SURROUNDINGS)
    config = scratch / "nagios.cfg"
    config.write_text(f"cfg_file={scratch}/surroundings.cfg\ncfg_file={EXAMPLES}/nagios-spacewarden.cfg\n"
                      f"lock_file={scratch}/nagios.lock\ncheck_result_path={scratch}\n"
                      f"temp_path={scratch}\nuse_syslog=0\nlog_file={scratch}/nagios.log\n"
                      "illegal_macro_output_chars=`~$&|'\"<>\n")
    done = subprocess.run([NAGIOS, "-v", str(config)], capture_output=True, text=True)
    return None if done.returncode == 0 else "nagios4 -v:\n" + done.stdout + done.stderr


def check_icinga(scratch):
    main = scratch / "icinga2.conf"
    main.write_text(ICINGA_MAIN.replace("{example}", str(EXAMPLES / "icinga2-spacewarden.conf")))
    done = subprocess.run([ICINGA, "daemon", "-C", "-c", str(main)], capture_output=True, text=True,
                          env={**os.environ, "ICINGA2_STATE_DIR": str(scratch)})
    if done.returncode != 0 or "Instantiated 2 Services" not in done.stdout:
        return "icinga2 daemon -C:\n" + done.stdout + done.stderr
    return None


def main():
    checks = [(name, check) for name, path, check in
              (("nagios", NAGIOS, check_nagios), ("icinga2", ICINGA, check_icinga)) if os.access(path, os.X_OK)]
    if not checks:
        print("SKIP: neither nagios4 (nagios4-core) nor icinga2 (icinga2-bin) is installed")
        return SKIPPED
    failed = 0
    for name, check in checks:
        scratch = Path(tempfile.mkdtemp(prefix=f"spacewarden-{name}-"))
        scratch.chmod(0o777)  # both hosts use their files as a user of their own
        try:
            problem = check(scratch)
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
        print(f"FAIL  {name}: {problem}" if problem else f"PASS  {name}: the example configuration is accepted")
        failed += problem is not None
    print(f"{len(checks) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
