#!/usr/bin/env bash
# Builds SpaceWarden (if needed) and runs it against the simulated SAP systems
# of this directory, the way PRTG runs an EXE/XML custom sensor: the profiles
# lie in PRTG's "Custom Sensors\ExeXml" directory, which the hint file
# C:\PRTG_Path.Txt leads to. Everything happens in a scratch directory, so the
# repository is left as it was. See examples/README.md.
set -euo pipefail

examples="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$examples")"
build="$root/build/default"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/spacewarden-demo.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

# --- build -------------------------------------------------------------------
echo "Building SpaceWarden, SpaceWardenProfile, rfcsim, the NetWeaver RFC adapter and nwrfcsim in build/default ..."
if ! (
    cd "$root"
    # Only the programs and libraries are needed, so the test suite (and what it needs) is left out.
    if [ ! -f "$build/CMakeCache.txt" ]; then cmake --preset default -DBUILD_TESTING=OFF; fi
    cmake --build --preset default --target SpaceWarden SpaceWardenProfile rfcsim spacewarden_nwrfc nwrfcsim
) >"$scratch/build.log" 2>&1; then
    cat "$scratch/build.log"
    echo "The build failed (output above)." >&2
    exit 1
fi

sensor="$build/SpaceWarden"
profile_tool="$build/SpaceWardenProfile"
rfcsim="$build/rfcsim/librfcsim.so"
adapter="$build/nwrfc/libspacewarden_nwrfc.so"
nwrfcsim="$build/nwrfcsim/libnwrfcsim.so"

# --- a PRTG installation on simulated Windows drives --------------------------
# The sensor maps a Windows path X:\a\b to $SPACEWARDEN_DRIVES/x/a/b.
drives="$scratch/drives"
sensor_dir="$drives/d/Apps/PRTG Network Monitor/Custom Sensors/ExeXml"
mkdir -p "$drives/c" "$sensor_dir"
printf 'D:\\Apps\\\r\n' >"$drives/c/PRTG_Path.Txt"
cp "$examples"/*.P00 "$examples/SAP Overseer.Gbl" "$examples/Overseer.Prf" "$sensor_dir/"
# Readable by their owner only, as SpaceWardenProfile writes a profile: they hold passwords.
chmod 600 "$sensor_dir"/*.P00

export SPACEWARDEN_DRIVES="$drives"
export SPACEWARDEN_RFC_LIBRARY="$rfcsim"
export RFCSIM_SCENARIO="$examples/systems.scenario"
unset RFCSIM_JOURNAL NWRFCSIM_JOURNAL SPACEWARDEN_NWRFC_LIBRARY

# Runs the sensor in the sensor directory, as PRTG does, and shows its exit code.
run() {
    local heading="$1"
    shift
    printf '\n==== %s\n' "$heading"
    local shown="$ SpaceWarden" argument
    for argument in "$@"; do
        if [[ "$argument" =~ ^[A-Za-z0-9_=.,-]+$ ]]; then shown+=" $argument"; else shown+=" '$argument'"; fi
    done
    printf '%s\n' "$shown"
    local code=0
    (cd "$sensor_dir" && "$sensor" "$@") || code=$?
    printf -- '---- exit code %s\n' "$code"
}

printf '\n==== The bundled profiles, read back by the sensor'"'"'s own reader\n'
for profile in PRD QAS DEV; do
    printf '%s.P00: %s\n' "$profile" "$(cd "$sensor_dir" && "$profile_tool" check "$profile.P00")"
done

run "(1) Single-system run of PRD (Oracle, critical tablespaces and objects), as PRTG calls it" PRD
run "(1) The same, verbose ('#'): progress lines around the document" PRD '#'
run "(1) With NAMES=3: the text line names the critical tablespaces and objects, three of each" PRD NAMES=3
run "(2) The same for a plain-text host: FLAVOUR=Juniper" PRD FLAVOUR=Juniper
run "(2) Juniper with CH=2: only the second channel's value (Critical_Objects)" PRD 'FLAVOUR=Juniper CH=2'
run "(3) Multi-system run, listing mode: sensor key SAPCORE of 'SAP Overseer.Gbl' (PRD, QAS)" GLOBAL SAPCORE
run "(3) Listing mode, key SAPALL: DEV is not on Oracle, so the run ends with an error after the streamed channels" GLOBAL SAPALL
run "(4) Multi-system run, item mode: Critical_Objects for the systems of Overseer.Prf" Overseer ITEM=Critical_Objects

# The NetWeaver RFC adapter in place of the classic library, nwrfcsim in place
# of SAP's NetWeaver RFC library; both read the same simulated systems.
SPACEWARDEN_RFC_LIBRARY="$adapter" SPACEWARDEN_NWRFC_LIBRARY="$nwrfcsim" \
    run "(5) PRD again, through the NetWeaver RFC adapter (nwrfcsim standing in for SAP's library): the same document" PRD

# The same sensor as a monitoring plugin, as Nagios or Icinga run it: called
# check_spacewarden (a link, as the Debian package installs it), the profiles
# named by paths of this machine, thresholds in the monitoring-plugins syntax.
plugin_dir="$scratch/plugins"
mkdir -p "$plugin_dir"
ln -s "$sensor" "$plugin_dir/check_spacewarden"
plugin() {
    local heading="$1"
    shift
    printf '\n==== %s\n$ check_spacewarden' "$heading"
    printf " '%s'" "$@"
    printf '\n'
    local code=0
    (cd "$scratch" && "$plugin_dir/check_spacewarden" "$@") || code=$?
    printf -- '---- exit code %s\n' "$code"
}
plugin "(6) A monitoring plugin: PRD's critical objects, WARNING above 1000, CRITICAL above 2000; the long output names three of each kind, PSAPTEMP left out" \
    -p "$sensor_dir/PRD" -C Critical_Objects -w 1000 -c 2000 --names 3 --exclude psaptemp
plugin "(6) Every channel of QAS in the keyword form of older service definitions, CRITICAL above 0: all OK" \
    "$sensor_dir/QAS" "CRIT=0"
plugin "(6) The listing SAPALL: DEV is not on Oracle, CRITICAL, and the plugin goes on to the other systems" \
    -p "$sensor_dir/GLOBAL" -l SAPALL --names 4
plugin "(6) A mistyped threshold is UNKNOWN, never a silent OK" "$sensor_dir/PRD" "CH=2,CRTI=1000"

# The hosts that read the whole run at its end: Checkmk's agent, PRTG's
# Multi-Platform Probe (Script v2) and Prometheus' textfile collector.
run "(7) Checkmk local check: a service per system of SAPALL, DEV its own CRITICAL service, the names in the long output" \
    GLOBAL 'SAPALL FLAVOUR=Checkmk NAMES=2'
run "(7) PRTG Script v2 (its Linux probe): PRD as one JSON object, WARN=1000, the names in the message" PRD 'FLAVOUR=ScriptV2,WARN=1000,NAMES=3'
printf '\n==== (7) Prometheus: the listing SAPALL into a textfile collector'"'"'s folder\n'
printf '$ SpaceWarden GLOBAL '"'"'SAPALL NAMES=2'"'"' --textfile %s && cat %s/spacewarden.prom\n' "$scratch" "$scratch"
code=0
(cd "$sensor_dir" && "$sensor" GLOBAL 'SAPALL NAMES=2' --textfile "$scratch") || code=$?
cat "$scratch/spacewarden.prom"
printf -- '---- exit code %s\n' "$code"
