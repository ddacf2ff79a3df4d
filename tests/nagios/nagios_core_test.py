#!/usr/bin/env python3
"""SpaceWarden as a monitoring plugin under a real Nagios 4 core (Debian's
nagios4-core): a scratch configuration with one host and a service check per
situation, each running check_spacewarden against rfcsim's systems; the core
runs every check once, and the test reads back what the core recorded in its
status.dat (current_state, plugin_output, performance_data, and for some the
long_plugin_output of the lines after the status line).

    nagios_core_test.py --plugin build/ci/SpaceWarden --rfcsim build/ci/rfcsim/librfcsim.so

Exit code 0 when the core recorded what each service expects, 1 when not,
77 (skipped) when nagios4 is not installed.
"""

import argparse
import grp
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SKIPPED = 77
NAGIOS = "/usr/sbin/nagios4"
EXAMPLES = Path(__file__).resolve().parents[2] / "examples"

SCENARIO = """
[system PRD]
host = sapprd
row.TS_CHECK = PSAPTEMP|0|0|0|128|0|0|1
rows.TS_CHECK = 2
rows.CRITOBJ = 1234
NR_CRIT_OBJ.NR_TS = 6
[system QAS]
host = sapqas
outcome.DB02_ORA_FILL_TS_CHECK__CRITOB = 3
[system STO]
host = sapsto
client = 100
user = SAPMON
password = Store-Pw.42
rows.TS_CHECK = 1
"""

# A profile without User and Password lines: the core's resource file keeps
# them ($USER3$, $USER4$) and the command hands them over in the environment.
STORE_PROFILE = """Extcompany.: Acme Manufacturing
Destination: STO
Client.....: 100
Language...: EN
Mode.......: R/3
Hostname...: sapsto
Sysnr......: 00
Gwhost.....: sapsto
Gwservice..: sapgw00
"""
RESOURCES = "$USER3$=sapmon\n$USER4$=Store-Pw.42\n"
# The long output the core keeps of a service (the lines after the status line;
# status.dat writes their line ends as "\n").
LONG_OUTPUT = {
    "listing": "PRD: OK - Critical_Spaces=1\\n"
               "  TS=PSAPTEMP MAXBLKFREE=0 ANZBLKFREE=0 TOTBLKFREE=0 MAXNEXTEXT=128 CRITICALS1=0 CRITICALS2=0 "
               "CRITICALS3=1\\n"
               "  ON=ON_1 TN=TN_1 TS=TS_1 MAXBLKFREE=1 ANZBLKFREE=1 TOTBLKFREE=1 MAXNEXTEXT=1 CRITICALS1=1 "
               "CRITICALS2=1\\n"
               "  and 1232 more critical objects\\n  2 rows left out (EXCLUDE=)\\n"
               "QAS: CRITICAL - Error 1013: Sys-Exception raised ! - Look for Trace-File",
}

# The command of a service, when not check_spacewarden: with the credentials of
# the resource file, or with the standard options as separate words.
COMMANDS = {"store": "check_spacewarden_store", "standard options": "check_spacewarden_options",
            "verbose": "check_spacewarden_options"}

LISTING = """# GSNG: SAPCORE   : PRD.P00#QAS.P00#
# GSNX: SAPCORE   :Sensor="SAP SpaceWarden",Item=Critical_Spaces,Alias
"""

# Service, the plugin's arguments (after the profile), and what the core must record:
# current_state, plugin_output, performance_data.
SERVICES = [
    ("spaces", "{etc}/PRD", "CH=1,WARN=1,CRIT=5",
     "1", "SPACEWARDEN WARNING - Critical_Spaces=2 above 1 - (PRD) Oracle: Critical_Spaces=2, Critical_Objects=1234",
     "Critical_Spaces=2;1;5"),
    ("objects", "{etc}/PRD", "CH=2,CRIT=2000",
     "0", "SPACEWARDEN OK - (PRD) Oracle: Critical_Spaces=2, Critical_Objects=1234",
     "Critical_Objects=1234;;2000"),
    ("all", "{etc}/PRD", "WARN=~:1000",
     "1", "SPACEWARDEN WARNING - Critical_Objects=1234 above 1000 - (PRD) Oracle: Critical_Spaces=2, "
     "Critical_Objects=1234",
     "Critical_Spaces=2;~:1000 Critical_Objects=1234;~:1000 Critical_TableSpc=6;~:1000 "
     "Critical_Tables=0;~:1000 Critical_Indexes=0;~:1000"),
    ("listing", "{etc}/GLOBAL", "SAPCORE NAMES=1,EXCLUDE=ts_2",
     "2", "SPACEWARDEN CRITICAL - QAS: Error 1013: Sys-Exception raised ! - Look for Trace-File - "
     "(***) Critical_Spaces: NoSystems=2, Processed=1, Failed=1", "PRD=1"),
    ("missing", "{etc}/DEV", "",
     "3", "SPACEWARDEN UNKNOWN - Error 1002: Profile {etc}/DEV.P00 is missing...", ""),
    ("thresholds", "{etc}/PRD", "WARN=@5",
     "3", "SPACEWARDEN UNKNOWN - Error 1009: Invalid WARN=@5 !", ""),
    ("standard options", "-p {etc}/PRD", "-C Critical_Objects -w 1000 -c 2000 -t 50",
     "1", "SPACEWARDEN WARNING - Critical_Objects=1234 above 1000 - (PRD) Oracle: Critical_Spaces=2, "
     "Critical_Objects=1234", "Critical_Objects=1234;1000;2000"),
    ("verbose", "-p {etc}/PRD", "-v -C 2",
     "0", "SPACEWARDEN OK - (PRD) Oracle: Critical_Spaces=2, Critical_Objects=1234", "Critical_Objects=1234"),
    ("mistyped threshold", "{etc}/PRD", "CH=2,CRTI=1000",
     "3", "SPACEWARDEN UNKNOWN - Error 1009: Unknown option CRTI=1000 !", ""),
    ("unreadable", "{etc}/SECRET", "",
     "3", "SPACEWARDEN UNKNOWN - Error 1002: Profile {etc}/SECRET.P00 cannot be read: Permission denied...", ""),
    ("store", "{etc}/STORE", "CH=1,CRIT=5,CREDENTIALS=ENV",
     "0", "SPACEWARDEN OK - (STO) Oracle: Critical_Spaces=1, Critical_Objects=0", "Critical_Spaces=1;;5"),
]


def nagios_config(scratch, user, group):
    return f"""log_file={scratch}/nagios.log
cfg_file={scratch}/objects.cfg
resource_file={scratch}/resource.cfg
object_cache_file={scratch}/objects.cache
precached_object_file={scratch}/objects.precache
status_file={scratch}/status.dat
status_update_interval=1
nagios_user={user}
nagios_group={group}
check_external_commands=0
command_file={scratch}/nagios.cmd
lock_file={scratch}/nagios.lock
temp_file={scratch}/nagios.tmp
temp_path={scratch}
check_result_path={scratch}/checkresults
check_result_reaper_frequency=1
interval_length=1
service_inter_check_delay_method=n
host_inter_check_delay_method=n
max_service_check_spread=1
retain_state_information=0
use_syslog=0
enable_notifications=0
execute_host_checks=0
enable_flap_detection=0
process_performance_data=0
illegal_macro_output_chars=`~$&|'"<>
"""


def objects_config(scratch, plugin, rfcsim):
    services = "".join(f"""
define service {{
    host_name               sap
    service_description     {name}
    check_command           {COMMANDS.get(name, "check_spacewarden")}!{profile.format(etc=scratch / 'etc')}!{options}
    max_check_attempts      1
    check_interval          600
    retry_interval          600
    check_period            always
    notification_period     always
    contacts                nobody
}}
""" for name, profile, options, *_ in SERVICES)
    return f"""define timeperiod {{
    timeperiod_name always
    alias           always
    sunday          00:00-24:00
    monday          00:00-24:00
    tuesday         00:00-24:00
    wednesday       00:00-24:00
    thursday        00:00-24:00
    friday          00:00-24:00
    saturday        00:00-24:00
}}
define command {{
    command_name    nothing
    command_line    /bin/true
}}
define command {{
    command_name    check_spacewarden
    command_line    /usr/bin/env SPACEWARDEN_RFC_LIBRARY={rfcsim} RFCSIM_SCENARIO={scratch}/etc/systems.scenario {plugin} '$ARG1$' '$ARG2$'
}}
define command {{
    command_name    check_spacewarden_options
    command_line    /usr/bin/env SPACEWARDEN_RFC_LIBRARY={rfcsim} RFCSIM_SCENARIO={scratch}/etc/systems.scenario {plugin} $ARG1$ $ARG2$
}}
define command {{
    command_name    check_spacewarden_store
    command_line    /usr/bin/env SPACEWARDEN_USER=$USER3$ SPACEWARDEN_PASSWORD=$USER4$ SPACEWARDEN_RFC_LIBRARY={rfcsim} RFCSIM_SCENARIO={scratch}/etc/systems.scenario {plugin} '$ARG1$' '$ARG2$'
}}
define contact {{
    contact_name                    nobody
    host_notifications_enabled      0
    service_notifications_enabled   0
    host_notification_period        always
    service_notification_period     always
    host_notification_commands      nothing
    service_notification_commands   nothing
}}
define host {{
    host_name               sap
    address                 127.0.0.1
    max_check_attempts      1
    check_period            always
    notification_period     always
    contacts                nobody
    active_checks_enabled   0
}}
{services}"""


def read_status(path):
    """The servicestatus blocks of status.dat, by service description."""
    services = {}
    block = None
    for line in path.read_text(errors="replace").splitlines():
        line = line.strip()
        if line == "servicestatus {":
            block = {}
        elif line == "}" and block is not None:
            services[block.get("service_description")] = block
            block = None
        elif block is not None and "=" in line:
            key, _, value = line.partition("=")
            block[key] = value
    return services


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--plugin", required=True, help="the SpaceWarden executable")
    parser.add_argument("--rfcsim", required=True, help="the simulator library")
    parser.add_argument("--keep", action="store_true", help="keep the scratch configuration")
    options = parser.parse_args()
    if not os.access(NAGIOS, os.X_OK):
        print(f"SKIP: {NAGIOS} is missing (Debian package nagios4-core)")
        return SKIPPED

    # As root the core runs its checks as the user nagios; otherwise as the caller.
    user = "nagios" if os.geteuid() == 0 else pwd.getpwuid(os.geteuid()).pw_name
    if user != "nagios":  # not root: the core runs as the caller, who can read its own files
        SERVICES[:] = [service for service in SERVICES if service[0] != "unreadable"]
    entry = pwd.getpwnam(user)
    scratch = Path(tempfile.mkdtemp(prefix="spacewarden-nagios-"))
    failures = []
    core = None
    try:
        etc = scratch / "etc"
        etc.mkdir()
        (scratch / "checkresults").mkdir()
        # The plugin as Debian's package installs it: a link named check_spacewarden.
        plugin = scratch / "check_spacewarden"
        plugin.symlink_to(Path(options.plugin).resolve())
        rfcsim = Path(options.rfcsim).resolve()
        for name in ("PRD.P00", "QAS.P00"):
            shutil.copyfile(EXAMPLES / name, etc / name)
        (etc / "SAP Overseer.Gbl").write_text(LISTING)
        (etc / "STORE.P00").write_text(STORE_PROFILE)
        resources = scratch / "resource.cfg"
        resources.write_text(RESOURCES)
        (etc / "systems.scenario").write_text(SCENARIO)
        config = scratch / "nagios.cfg"
        config.write_text(nagios_config(scratch, user, grp.getgrgid(entry.pw_gid).gr_name))
        (scratch / "objects.cfg").write_text(objects_config(scratch, plugin, rfcsim))
        for path in [scratch, *scratch.rglob("*")]:
            if path.name != "SECRET.P00":
                os.lchown(path, entry.pw_uid, entry.pw_gid)
        resources.chmod(0o600)  # the monitoring user's secrets
        # A profile the monitoring user may not read: root's own, mode 0600.
        secret = etc / "SECRET.P00"
        shutil.copyfile(EXAMPLES / "PRD.P00", secret)
        secret.chmod(0o600)

        verified = subprocess.run([NAGIOS, "-v", str(config)], capture_output=True, text=True)
        if verified.returncode != 0:
            failures.append("nagios4 -v refused the configuration:\n" + verified.stdout + verified.stderr)
            return 1

        # The checks run in the core's working directory, where the plugin
        # writes Dev_Rfc.Trc: the scratch directory.
        core = subprocess.Popen([NAGIOS, str(config)], cwd=scratch, stdout=subprocess.DEVNULL,
                                stderr=subprocess.STDOUT)
        status = scratch / "status.dat"
        deadline = time.monotonic() + 90
        recorded = {}
        while time.monotonic() < deadline:
            time.sleep(1)
            if status.exists():
                recorded = read_status(status)
                if len(recorded) == len(SERVICES) and all(s.get("has_been_checked") == "1" for s in recorded.values()):
                    break
        for name, profile, arguments, state, output, performance in SERVICES:
            service = recorded.get(name)
            if service is None or service.get("has_been_checked") != "1":
                failures.append(f"{name}: the core recorded no check")
                continue
            wanted = {"current_state": state, "plugin_output": output.format(etc=etc),
                      "performance_data": performance}
            if name in LONG_OUTPUT:
                wanted["long_plugin_output"] = LONG_OUTPUT[name]
            for key, value in wanted.items():
                if service.get(key) != value:
                    failures.append(f"{name}: {key} is {service.get(key)!r}, expected {value!r}")
            if not failures:
                print(f"PASS  {name}: state {state}, {output.format(etc=etc)!r} | {performance!r}")
    finally:
        if core is not None:
            core.send_signal(signal.SIGTERM)
            try:
                core.wait(timeout=30)
            except subprocess.TimeoutExpired:
                core.kill()
        if failures:
            print(f"scratch: {scratch}")
            log = scratch / "nagios.log"
            if log.exists():
                print("nagios.log:\n" + log.read_text(errors="replace")[-3000:])
        if not failures and not options.keep:
            shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print("FAIL  " + failure)
    print(f"{len(SERVICES) - len(failures)} passed, {len(failures)} failed" if failures else
          f"{len(SERVICES)} passed, 0 failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
