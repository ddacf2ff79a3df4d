#!/bin/sh
# The tests, from a fresh clone on a fresh Debian machine: installs the packages
# the native test build needs when they are missing (as root, with apt-get), then
# configures, builds (warnings are errors) and runs every test (the ci preset).
# Without root it names the missing packages and stops. Arguments go to ctest:
#   tests/run.sh                 every test
#   tests/run.sh -R e2e/multi    some of them
set -eu
cd "$(dirname "$0")/.."

PACKAGES="cmake g++ make python3 doctest-dev strace python3-prometheus-client"

installed() {
  dpkg-query -W -f '${db:Status-Status}' "$1" 2>/dev/null | grep -qx installed
}

if command -v dpkg-query >/dev/null 2>&1; then
  missing=""
  for package in $PACKAGES; do
    installed "$package" || missing="$missing $package"
  done
  if [ -n "$missing" ]; then
    if [ "$(id -u)" != 0 ]; then
      echo "tests/run.sh: missing Debian packages:$missing" >&2
      echo "  install them as root (apt-get install$missing) or run tests/run.sh as root" >&2
      exit 1
    fi
    echo "tests/run.sh: installing$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086 # one word per package
    apt-get install -y -qq --no-install-recommends $missing
  fi
else
  echo "tests/run.sh: not a Debian machine; the build needs: $PACKAGES (or their equivalents)"
fi

cmake --preset ci
cmake --build --preset ci
ctest --preset ci -j "${CTEST_PARALLEL_LEVEL:-2}" "$@"
