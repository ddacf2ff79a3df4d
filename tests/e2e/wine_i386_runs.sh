#!/usr/bin/env bash
# Whether this machine runs 32-bit Windows programs under the 64-bit Wine in
# its WoW64 mode. Some kernels refuse 32-bit code altogether (IA-32 emulation
# turned off), and then Wine cannot run it either: Wine only says
# "Application could not be started". Runs the x86 build's SpaceWarden.exe
# without arguments in a scratch prefix; it must answer with its Error 1001.
#
#   tests/e2e/wine_i386_runs.sh DLLDIR EXE     DLLDIR from tests/e2e/wine_i386.sh
#
# Exit code 0 when it runs; 1, with the reason, when it does not.
set -uo pipefail
dlls=$(realpath -m "$1")
program=$(realpath -m "$2")
prefix=$(mktemp -d "${TMPDIR:-/tmp}/spacewarden-wow64.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEDLLPATH="$dlls" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 300 wineboot -i >/dev/null 2>&1
answer=$(timeout 120 wine "$program" 2>&1)
case "$answer" in
  *"Error 1001: "*) exit 0 ;;
esac
echo "This machine does not run 32-bit Windows programs under Wine's WoW64 mode (Wine answered:" \
  "$(printf '%s' "$answer" | tr '\r\n' '  ' | cut -c1-160))."
exit 1
