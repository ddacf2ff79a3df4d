#!/bin/sh
# Checks the Debian package as an administrator meets it: lintian's verdict
# (no error), then the package installed with dpkg, the installed plugin run
# by hand and by a Nagios 4 core against rfcsim's systems, and the package
# removed again, leaving nothing of its files behind. Needs root, lintian,
# man-db and nagios4-core.
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
output=$(run "$work/PRD" "CH=2,WARN=1000,CRIT=2000"); code=$?
set -e
expected="SPACEWARDEN WARNING - (PRD) Oracle: Critical_Spaces=2, Critical_Objects=1.234 | Critical_Objects=1234;1000;2000"
[ "$output" = "$expected" ] && [ "$code" = 1 ] || fail "the installed plugin answered '$output' (exit $code), expected '$expected' (exit 1)"
set +e
output=$(run "$work/QAS"); code=$?
set -e
expected="SPACEWARDEN UNKNOWN - Error 1002: Profile $work/QAS.P00 is missing..."
[ "$output" = "$expected" ] && [ "$code" = 3 ] || fail "the installed plugin answered '$output' (exit $code), expected '$expected' (exit 3)"
rm -rf "$work"
echo "package: the installed check_spacewarden answers as a monitoring plugin"

# The installed plugin as a Nagios 4 core runs it.
python3 "$(dirname "$0")/../nagios/nagios_core_test.py" --plugin "$plugin" --rfcsim "$rfcsim" ||
  fail "the installed plugin under Nagios 4 (above)"

dpkg -r spacewarden >/dev/null || fail "dpkg -r failed"
trap - EXIT
for file in /usr/bin/SpaceWarden /usr/bin/SpaceWardenProfile "$plugin" /usr/lib/spacewarden; do
  [ ! -e "$file" ] && [ ! -L "$file" ] || fail "$file is left after dpkg -r"
done
echo "package: installed, run and removed"
