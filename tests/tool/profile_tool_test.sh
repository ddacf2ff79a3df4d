#!/bin/sh
# The profile tool end to end: what it writes, the sensor's reader accepts;
# what the sensor would reject, it refuses.
# Usage: profile_tool_test.sh TOOL [EMULATOR...], e.g. SpaceWardenProfile.exe /usr/lib/wine/wine64
set -u
tool=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
emulator="$*"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1  # files are named relative to it, the same on every platform
failures=0

run_tool() {
    $emulator "$tool" "$@"
}

# The 32-bit build's emulator ends with 77 and says why where the kernel refuses
# 32-bit programs: so does this test, skipped.
if [ -n "$emulator" ]; then
    said=$(run_tool --help 2>/dev/null)
    [ $? -ne 77 ] || { printf '%s\n' "$said"; exit 77; }
fi

capture() {  # capture ARGS...: the tool's output in $out, without the CRs of a Windows console
    out=$(run_tool "$@")
    status=$?
    [ -z "$emulator" ] || out=$(printf '%s' "$out" | tr -d '\r')
    return $status
}

expect() {  # expect WHAT WANTED_EXIT ACTUAL_EXIT
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1 (exit $3, wanted $2)"
        failures=$((failures + 1))
    fi
}

write_profile() {  # write_profile FILE PASSWORD [more options]
    file=$1 password=$2
    shift 2
    run_tool write "$file" --destination PRD --client 100 --user ddic --password "$password" --language E \
        --mode R/3 --hostname sapprd01 --sysnr 00 --gwhost sapgw01 --gwservice sapgw00 \
        --extcompany "Example Trading" "$@" 2>/dev/null
}

write_profile PRD.P00 'Se cret~12'
expect "write a sound profile" 0 $?
capture check PRD.P00
expect "check the written profile" 0 $?
[ "$out" = "OK" ] || { echo "FAIL: check printed '$out'"; failures=$((failures + 1)); }

# A profile holds a password: readable by its owner only. Windows leaves it
# to the folder's access list, so this is for POSIX builds.
if [ -z "$emulator" ]; then
    [ "$(stat -c %a PRD.P00)" = 600 ] || { echo "FAIL: written with mode $(stat -c %a PRD.P00)"; failures=$((failures + 1)); }
    chmod 644 PRD.P00
    warned=$(run_tool check PRD.P00 2>&1 >/dev/null)
    [ "$warned" = "SpaceWardenProfile: warning: PRD.P00 holds a password and is readable by group or others (mode 0644): chmod 600 it" ] ||
        { echo "FAIL: check of a readable profile warned '$warned'"; failures=$((failures + 1)); }
    chmod 600 PRD.P00
    warned=$(run_tool check PRD.P00 2>&1 >/dev/null)
    [ -z "$warned" ] || { echo "FAIL: check of an owner-only profile warned '$warned'"; failures=$((failures + 1)); }
fi

write_profile PRD.P00 'Other123'
expect "no overwrite without --force" 1 $?
[ -n "$emulator" ] || chmod 644 PRD.P00
write_profile PRD.P00 'Other123' --force
expect "overwrite with --force" 0 $?
[ -n "$emulator" ] || [ "$(stat -c %a PRD.P00)" = 600 ] ||
    { echo "FAIL: overwritten with mode $(stat -c %a PRD.P00)"; failures=$((failures + 1)); }

printf 'from stdin\n' | write_profile STDIN.P00 -
expect "password from standard input" 0 $?
run_tool check STDIN.P00 >/dev/null
expect "check the profile written from standard input" 0 $?

write_profile ONE.P00 'S'
expect "a password of one character is refused" 1 $?
[ ! -e ONE.P00 ] || { echo "FAIL: refused profile was written"; failures=$((failures + 1)); }

grep -v '^User' PRD.P00 >NOUSER.P00
capture check NOUSER.P00
expect "check a profile without user" 2 $?
[ "$out" = "Error 1006: Username in Profile NOUSER.P00 is missing..." ] ||
    { echo "FAIL: check printed '$out'"; failures=$((failures + 1)); }

for password in '' 123456789012345678901; do
    run_tool scramble "$password" 2>/dev/null
    expect "scramble refuses '$password'" 1 $?
done
capture scramble 'abc' --offset 5
expect "scramble at a fixed offset" 0 $?
[ ${#out} -eq 24 ] || { echo "FAIL: stored value '$out'"; failures=$((failures + 1)); }
run_tool scramble abc --offset 10 2>/dev/null
expect "offset out of range" 2 $?
run_tool frobnicate 2>/dev/null
expect "unknown command" 2 $?
usage=$(run_tool frobnicate 2>&1 >/dev/null)
case $usage in *"usage: SpaceWardenProfile scramble"*) ;; *) echo "FAIL: no usage after a usage error"; failures=$((failures + 1)) ;; esac

# As the sensor looks for a profile: ".P00" unless the name has an extension.
capture check PRD
expect "check a name without extension" 0 $?
[ "$out" = "OK" ] || { echo "FAIL: check PRD printed '$out'"; failures=$((failures + 1)); }
capture check NOWHERE
expect "check a missing profile" 2 $?
[ "$out" = "Error 1002: Profile NOWHERE.P00 is missing..." ] || { echo "FAIL: check NOWHERE printed '$out'"; failures=$((failures + 1)); }
mkdir DIR.P00
capture check DIR
expect "check a directory" 2 $?
[ "$out" = "Error 1002: Profile DIR.P00 is a directory..." ] || { echo "FAIL: check DIR printed '$out'"; failures=$((failures + 1)); }
write_profile NEW 'Secret12'
expect "write a name without extension" 0 $?
[ -f NEW.P00 ] || { echo "FAIL: write NEW made no NEW.P00"; failures=$((failures + 1)); }

for help in --help -h; do
    capture $help
    expect "$help" 0 $?
    case $out in "usage: SpaceWardenProfile scramble"*) ;; *) echo "FAIL: $help printed '$out'"; failures=$((failures + 1)) ;; esac
done

[ $failures -eq 0 ] && echo "profile tool: all passed"
[ $failures -eq 0 ]
