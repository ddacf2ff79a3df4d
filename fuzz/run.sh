#!/usr/bin/env bash
# Builds the fuzzing harnesses (preset fuzz: clang-14, libFuzzer, ASan+UBSan)
# and runs each of them, starting from its seed corpus in fuzz/corpus/<harness>.
#
#   fuzz/run.sh                        every harness for 15 s (the regression run of CI)
#   fuzz/run.sh --time 600 profile     one harness for ten minutes
#   fuzz/run.sh --runs 10000000        every harness for ten million executions (a long run)
#   fuzz/run.sh --runs N --time S      whichever comes first
#   fuzz/run.sh --corpus DIR ...       keep what the runs find in DIR/<harness> and start from it next time
#
# The seed corpora are only read. An input that makes a harness fail is kept in
# build/fuzz/artifacts/<harness>/; the script then ends with exit code 1.
# A line per harness tells its executions, its coverage and its outcome.
set -euo pipefail
cd "$(dirname "$0")/.."

harnesses_all=(profile listing discovery trace_hint password startup channel report rows)
limit=()
corpus_root=""
harnesses=()
while [ $# -gt 0 ]; do
  case "$1" in
    --time) limit+=(-max_total_time="$2"); shift 2 ;;
    --runs) limit+=(-runs="$2"); shift 2 ;;
    --corpus) corpus_root="$2"; shift 2 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    -*) echo "fuzz/run.sh: unknown option $1" >&2; exit 2 ;;
    *) harnesses+=("$1"); shift ;;
  esac
done
[ ${#harnesses[@]} -gt 0 ] || harnesses=("${harnesses_all[@]}")
[ ${#limit[@]} -gt 0 ] || limit=(-max_total_time=15)
for harness in "${harnesses[@]}"; do
  [ -d "fuzz/corpus/$harness" ] || { echo "fuzz/run.sh: no harness $harness (${harnesses_all[*]})" >&2; exit 2; }
done

for tool in clang++-14 cmake; do
  command -v "$tool" >/dev/null || { echo "fuzz/run.sh: $tool is missing: install the Debian packages clang-14, libclang-rt-14-dev and cmake" >&2; exit 2; }
done
scratch="$(mktemp -d "${TMPDIR:-/tmp}/spacewarden-fuzz-run.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
if ! { [ -f build/fuzz/CMakeCache.txt ] || cmake --preset fuzz; } >"$scratch/build.log" 2>&1 ||
   ! cmake --build --preset fuzz >>"$scratch/build.log" 2>&1; then
  cat "$scratch/build.log"
  echo "fuzz/run.sh: the build of the harnesses failed (output above)" >&2
  exit 2
fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=0
for harness in "${harnesses[@]}"; do
  work="${corpus_root:+$corpus_root/$harness}"
  work="${work:-$scratch/corpus/$harness}"
  artifacts="build/fuzz/artifacts/$harness/"
  mkdir -p "$work" "$artifacts"
  log="$scratch/$harness.log"
  started=$SECONDS
  code=0
  "build/fuzz/fuzz/${harness}_fuzzer" "${limit[@]}" -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$work" "fuzz/corpus/$harness" >"$log" 2>&1 || code=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1 || true)"
  coverage="$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true)"
  if [ "$code" = 0 ]; then
    printf '%-11s %12s executions in %5s s, %s: no fault\n' "$harness" "${runs:-?}" "$((SECONDS - started))" "${coverage:-cov: ?}"
  else
    failed=1
    printf '%-11s FAILED (exit %s) after %s s; the input is in %s\n' "$harness" "$code" "$((SECONDS - started))" "$artifacts"
    grep -E 'ERROR|SUMMARY|expectation failed|runtime error' "$log" | head -20 || tail -40 "$log"
  fi
done
exit "$failed"
