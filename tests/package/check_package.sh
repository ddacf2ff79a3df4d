#!/bin/sh
# Checks the Debian package as an administrator meets it: lintian's verdict
# (no error), then the package installed with dpkg, the installed plugin run
# by hand (also the trial its installation page shows, with the installed
# simulator) and by a Nagios 4 core against rfcsim's systems, its textfile by a
# real node_exporter and Prometheus (with the package's alerting rules), its
# plugin by a real Icinga 2 daemon, and the package removed again, leaving
# nothing of its files behind. Needs root, lintian, man-db, nagios4-core,
# prometheus, prometheus-node-exporter and icinga2-bin (CI=true: each a must).
#
#   tests/package/check_package.sh build/default/spacewarden_4.3_amd64.deb build/default/rfcsim/librfcsim.so
set -eu
package=$(realpath "$1")
rfcsim=$(realpath "$2")
examples=$(cd "$(dirname "$0")/../../examples" && pwd)
fail() { echo "package: $*" >&2; exit 1; }

echo "package: lintian $package"
lintian --fail-on error --display-info "$package" || fail "lintian reports errors"

dpkg -i "$package" >/dev/null || fail "dpkg -i failed"
trap 'dpkg -r spacewarden >/dev/null 2>&1 || true' EXIT
plugin=/usr/lib/nagios/plugins/check_spacewarden
[ -L "$plugin" ] && [ -x "$plugin" ] || fail "$plugin is not an executable link"
for page in SpaceWarden SpaceWardenProfile; do
  man -w "$page" >/dev/null 2>&1 || fail "no manual page $page(1)"
done
[ -f /usr/lib/spacewarden/libspacewarden_nwrfc.so ] || fail "the NetWeaver RFC adapter is missing"

# The installed plugin, by its name, with a profile named by a path of the machine.
work=$(mktemp -d)
cp "$examples/PRD.P00" "$work/"
run() {
  (cd "$work" && SPACEWARDEN_RFC_LIBRARY="$rfcsim" RFCSIM_SCENARIO="$examples/systems.scenario" "$plugin" "$@")
}
set +e
output=$(run "$work/PRD" "CH=2,WARN=1000,CRIT=2000,NAMES=1"); code=$?
set -e
expected="SPACEWARDEN WARNING - Critical_Objects=1234 above 1000 - (PRD) Oracle: Critical_Spaces=4, Critical_Objects=1234 | Critical_Objects=1234;1000;2000
TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=2560 CRITICALS1=1 CRITICALS2=0 CRITICALS3=0
and 3 more critical tablespaces
ON=/BIC/AZSALES00~0 TN=/BIC/AZSALES00 TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=2560 CRITICALS1=1 CRITICALS2=0
and 1233 more critical objects"
[ "$output" = "$expected" ] && [ "$code" = 1 ] || fail "the installed plugin answered '$output' (exit $code), expected '$expected' (exit 1)"
set +e
output=$(run "$work/QAS"); code=$?
set -e
expected="SPACEWARDEN UNKNOWN - Error 1002: Profile $work/QAS.P00 is missing..."
[ "$output" = "$expected" ] && [ "$code" = 3 ] || fail "the installed plugin answered '$output' (exit $code), expected '$expected' (exit 3)"
rm -rf "$work"
echo "package: the installed check_spacewarden answers as a monitoring plugin"

# What docs/install-monitoring-plugins.md shows an admin, with nothing but the package.
doc=/usr/share/doc/spacewarden
for file in librfcsim.so; do [ -f "/usr/lib/spacewarden/$file" ] || fail "/usr/lib/spacewarden/$file is missing"; done
for page in install-monitoring-plugins.md flavours-and-exit-codes.md profiles-listings-options.md credentials.md \
            host-checkmk.md host-prtg-script-v2.md host-prometheus.md nwrfc.md rfcsim.md; do
  [ -f "$doc/$page" ] || fail "$doc/$page is missing"
done
trial() {
  (cd /tmp && SPACEWARDEN_RFC_LIBRARY=/usr/lib/spacewarden/librfcsim.so \
    RFCSIM_SCENARIO=$doc/examples/systems.scenario "$plugin" "$@")
}
set +e
output=$(trial -p $doc/examples/PRD -C 2 -w 1000 -c 2000 --names 2); code=$?
set -e
expected="SPACEWARDEN WARNING - Critical_Objects=1234 above 1000 - (PRD) Oracle: Critical_Spaces=4, Critical_Objects=1234 | Critical_Objects=1234;1000;2000
TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=2560 CRITICALS1=1 CRITICALS2=0 CRITICALS3=0
TS=PSAPSR3700 MAXBLKFREE=640 ANZBLKFREE=3 TOTBLKFREE=1200 MAXNEXTEXT=1280 CRITICALS1=1 CRITICALS2=1 CRITICALS3=0
and 2 more critical tablespaces
ON=/BIC/AZSALES00~0 TN=/BIC/AZSALES00 TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=2560 CRITICALS1=1 CRITICALS2=0
ON=BALDAT TN=BALDAT TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=5120 CRITICALS1=1 CRITICALS2=0
and 1232 more critical objects"
[ "$output" = "$expected" ] && [ "$code" = 1 ] || fail "the documented trial answered '$output' (exit $code), expected '$expected' (exit 1)"
shows() { python3 -c 'import sys; sys.exit(sys.argv[1] not in open(sys.argv[2], encoding="utf-8").read())' "$1" "$2"; }
shows "$expected" $doc/install-monitoring-plugins.md || fail "the installed page does not show '$expected'"
set +e
output=$(trial -p $doc/examples/GLOBAL -l SAPALL --names 1); code=$?
set -e
expected="SPACEWARDEN CRITICAL - DEV: Error 1018: DataBase mismatch ! - (***) Critical_Objects: NoSystems=3, Processed=2, Failed=1 | PRD=1234 QAS=0
PRD: OK - Critical_Objects=1234
  TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=2560 CRITICALS1=1 CRITICALS2=0 CRITICALS3=0
  and 3 more critical tablespaces
  ON=/BIC/AZSALES00~0 TN=/BIC/AZSALES00 TS=PSAPSR3 MAXBLKFREE=1280 ANZBLKFREE=14 TOTBLKFREE=9600 MAXNEXTEXT=2560 CRITICALS1=1 CRITICALS2=0
  and 1233 more critical objects
QAS: OK - Critical_Objects=0
DEV: CRITICAL - Error 1018: DataBase mismatch !"
[ "$output" = "$expected" ] && [ "$code" = 2 ] || fail "the documented listing trial answered '$output' (exit $code), expected '$expected' (exit 2)"
shows "$expected" $doc/install-monitoring-plugins.md || fail "the installed page does not show '$expected'"
echo "package: the trial of the installation page runs as it shows, against the installed simulator"
python3 "$(dirname "$0")/check_host_pages.py" "$doc" || fail "the host pages' trials (above)"

# The installed plugin as a Nagios 4 core runs it.
python3 "$(dirname "$0")/../nagios/nagios_core_test.py" --plugin "$plugin" --rfcsim "$rfcsim" ||
  fail "the installed plugin under Nagios 4 (above)"

# The real Prometheus (with node_exporter) and Icinga 2, each daemon in the
# foreground on a free port from a scratch folder, stopped whatever happens;
# the pages' marked examples with only their paths and ports changed.
real_host() {
  set +e
  python3 "$(dirname "$0")/../hosts/$1" --doc "$doc"
  code=$?
  set -e
  [ "$code" = 0 ] || [ "$code" = 77 ] || fail "$1 (above)"
}
real_host prometheus_test.py
real_host icinga2_test.py

dpkg -r spacewarden >/dev/null || fail "dpkg -r failed"
trap - EXIT
for file in /usr/bin/SpaceWarden /usr/bin/SpaceWardenProfile "$plugin" /usr/lib/spacewarden; do
  [ ! -e "$file" ] && [ ! -L "$file" ] || fail "$file is left after dpkg -r"
done
echo "package: installed, run and removed"
