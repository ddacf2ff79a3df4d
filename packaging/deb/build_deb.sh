#!/bin/sh
# Builds the Debian package spacewarden_VERSION_ARCH.deb from a build of the
# sensor (cmake --build --preset default --target deb runs it):
#
#   build_deb.sh OUTPUT_DIR VERSION SENSOR PROFILE_TOOL ADAPTER SIMULATOR
#
#   /usr/bin/SpaceWarden, /usr/bin/SpaceWardenProfile
#   /usr/lib/nagios/plugins/check_spacewarden       a link to the sensor
#   /usr/lib/spacewarden/libspacewarden_nwrfc.so    the NetWeaver RFC adapter
#   /usr/lib/spacewarden/librfcsim.so               the simulated SAP systems, to try
#                                                   the plugin before SAP's library is there
#   /usr/share/man/man1/SpaceWarden.1.gz, SpaceWardenProfile.1.gz
#   /usr/share/doc/spacewarden/                     copyright, changelog, the pages the
#                                                   installation page links to, examples
#                                                   (configurations, profiles, listing,
#                                                   the simulator's scenario)
# Needs dpkg-deb and dpkg-shlibdeps (Debian's dpkg-dev).
set -eu
output=$1 version=$2 sensor=$3 tool=$4 adapter=$5 simulator=$6
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
for command in dpkg-deb dpkg-shlibdeps strip gzip; do
  command -v "$command" >/dev/null || { echo "build_deb.sh: $command is missing (Debian package dpkg-dev)" >&2; exit 2; }
done
arch=$(dpkg --print-architecture)
work="$output/deb"
root="$work/root"
rm -rf "$work"
install -d "$root/DEBIAN" "$root/usr/bin" "$root/usr/lib/nagios/plugins" "$root/usr/lib/spacewarden" \
  "$root/usr/share/man/man1" "$root/usr/share/doc/spacewarden/examples"

# Programs and the adapter, without their debugging sections.
install -m 0755 "$sensor" "$root/usr/bin/SpaceWarden"
install -m 0755 "$tool" "$root/usr/bin/SpaceWardenProfile"
install -m 0644 "$adapter" "$root/usr/lib/spacewarden/libspacewarden_nwrfc.so"
install -m 0644 "$simulator" "$root/usr/lib/spacewarden/librfcsim.so"
strip --strip-unneeded --remove-section=.comment --remove-section=.note \
  "$root/usr/bin/SpaceWarden" "$root/usr/bin/SpaceWardenProfile" "$root/usr/lib/spacewarden/libspacewarden_nwrfc.so" \
  "$root/usr/lib/spacewarden/librfcsim.so"
ln -s ../../../bin/SpaceWarden "$root/usr/lib/nagios/plugins/check_spacewarden"

# Manual pages and documentation, compressed as Debian's policy asks.
for page in SpaceWarden.1 SpaceWardenProfile.1; do
  gzip -9n < "$here/$page" > "$root/usr/share/man/man1/$page.gz"
done
doc="$root/usr/share/doc/spacewarden"
install -m 0644 "$here/copyright" "$doc/copyright"
gzip -9n < "$here/changelog" > "$doc/changelog.gz"
# The installation page and every page it leads to, the READMEs of the adapter
# and the simulator under names of their own, the links among them made to fit.
for page in "docs/install-monitoring-plugins.md" "docs/flavours-and-exit-codes.md" "docs/profiles-listings-options.md" \
            "docs/credentials.md" "docs/host-checkmk.md" "docs/host-prtg-script-v2.md" "docs/host-prometheus.md" "docs/critical-names.md" \
            "nwrfc/README.md:nwrfc.md" "rfcsim/README.md:rfcsim.md"; do
  from=${page%%:*} to=${page#*:}
  [ "$to" != "$page" ] || to=$(basename "$from")
  sed -e 's#](\.\./nwrfc/README\.md#](nwrfc.md#g' -e 's#](\.\./rfcsim/README\.md#](rfcsim.md#g' \
    "$source/$from" > "$doc/$to"
  chmod 0644 "$doc/$to"
done
for page in "$doc"/*.md; do
  for link in $(grep -o '](\([^)#:]*\)' "$page" | sed 's/^](//' | sort -u); do
    [ -f "$doc/$link" ] || { echo "build_deb.sh: $(basename "$page") links to $link, which the package does not install" >&2; exit 2; }
  done
done
install -m 0644 "$here/examples/PRD.P00" "$here/examples/nagios-spacewarden.cfg" \
  "$here/examples/icinga2-spacewarden.conf" "$here/examples/spacewarden.rules.yml" "$source/examples/QAS.P00" "$source/examples/DEV.P00" \
  "$source/examples/SAP Overseer.Gbl" "$source/examples/systems.scenario" "$doc/examples/"

# The libraries the programs need, as dpkg-shlibdeps finds them.
mkdir -p "$work/debian"
printf 'Source: spacewarden\n\nPackage: spacewarden\nArchitecture: any\n' > "$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O -e"root/usr/bin/SpaceWarden" -e"root/usr/bin/SpaceWardenProfile" \
  -e"root/usr/lib/spacewarden/libspacewarden_nwrfc.so" -e"root/usr/lib/spacewarden/librfcsim.so" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "build_deb.sh: dpkg-shlibdeps found no dependencies" >&2; exit 2; }

size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" \
  "$here/control.in" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
find "$root" -type d -exec chmod 0755 {} +
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

package="$output/spacewarden_${version}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$package" >/dev/null
echo "$package"
