#!/bin/sh
# tests/run.sh as a fresh machine sees it: the package database, the user, apt-get
# and the build tools are stand-ins on PATH that record what the script asks of them.
# Usage: run_sh_test.sh REPOSITORY
set -u
script="$1/tests/run.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fake="$scratch/bin"
mkdir "$fake"
for tool in grep dirname; do ln -s "$(command -v "$tool")" "$fake/$tool"; done
cat > "$fake/dpkg-query" <<'FAKE'
#!/bin/sh
for package; do :; done
case " $MISSING " in *" $package "*) printf 'not-installed' ;; *) printf 'installed' ;; esac
FAKE
printf '#!/bin/sh\necho "$USER_ID"\n' > "$fake/id"
for tool in apt-get cmake ctest; do printf '#!/bin/sh\necho "%s $*" >> "$LOG"\n' "$tool" > "$fake/$tool"; done
chmod +x "$fake"/*

failures=0
# check NAME USER_ID MISSING DPKG(yes/no) EXPECTED_EXIT EXPECTED_LOG [ARGS...]
check() {
  name=$1 user=$2 missing=$3 dpkg=$4 exit_wanted=$5 log_wanted=$6
  shift 6
  [ "$dpkg" = yes ] || mv "$fake/dpkg-query" "$scratch/dpkg-query"
  : > "$scratch/log"
  PATH="$fake" USER_ID="$user" MISSING="$missing" LOG="$scratch/log" CTEST_PARALLEL_LEVEL= \
    "$script" "$@" > "$scratch/out" 2>&1
  code=$?
  [ "$dpkg" = yes ] || mv "$scratch/dpkg-query" "$fake/dpkg-query"
  log=$(cat "$scratch/log")
  if [ "$code" != "$exit_wanted" ] || [ "$log" != "$log_wanted" ]; then
    echo "FAIL $name: exit $code (wanted $exit_wanted)"; echo "  calls: $log"; echo "  wanted: $log_wanted"
    sed 's/^/  output: /' "$scratch/out"
    failures=$((failures + 1))
  elif [ "$name" = "not root" ] && ! grep -q "missing Debian packages: make doctest-dev$" "$scratch/out"; then
    echo "FAIL $name: the message does not name the missing packages"; sed 's/^/  output: /' "$scratch/out"
    failures=$((failures + 1))
  else
    echo "PASS $name"
  fi
}

build="cmake --preset ci
cmake --build --preset ci
ctest --preset ci -j 2"
check "not root" 1000 "make doctest-dev" yes 1 ""
check "root installs what is missing" 0 "make doctest-dev" yes 0 "apt-get update -qq
apt-get install -y -qq --no-install-recommends make doctest-dev
$build -R unit"  -R unit
check "nothing missing" 1000 "" yes 0 "$build"
check "no package database" 1000 "" no 0 "$build"
exit "$((failures > 0))"
