#!/usr/bin/env bash
# The stress gate: runs the whole test set of the build folders that
# ./test.sh makes (build/ and build-asan/, those that exist), with twice as
# many test jobs as the machine has cores, while a CPU hog keeps every core
# busy; three times in a row. Every run must be green: a test that fails
# only under load waits on the clock for something it could wait for.
#
#   tools/stress-tests.sh [--runs N] [BUILD_FOLDER...]
#
# --runs  how many runs in a row (default 3)
# Prints each run's result and ends with status 1 when any run failed; the
# output of the failed tests is in <folder>/stress-logs/run-<n>.log.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=3
folders=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "stress-tests.sh: unknown option $1" >&2; exit 2 ;;
    *) folders+=("$1"); shift ;;
  esac
done
if [ ${#folders[@]} -eq 0 ]; then
  for folder in build build-asan; do
    [ -f "$folder/CTestTestfile.cmake" ] && folders+=("$folder")
  done
fi
if [ ${#folders[@]} -eq 0 ]; then
  echo "stress-tests.sh: no build folder with tests; run ./test.sh first" >&2
  exit 2
fi

cores=$(nproc)
jobs=$((2 * cores))

# The hog: one busy loop a core, at the tests' own priority, each ended by
# its id when the script ends.
hogs=()
stop_hogs() {
  for pid in "${hogs[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${hogs[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}
trap stop_hogs EXIT
for _ in $(seq "$cores"); do
  bash -c 'while :; do :; done' &
  hogs+=($!)
done

echo "Stress gate: ${runs} runs of ${folders[*]}, ${jobs} test jobs, ${cores} cores kept busy by a hog."
failed=0
for run in $(seq "$runs"); do
  for folder in "${folders[@]}"; do
    mkdir -p "$folder/stress-logs"
    log="$folder/stress-logs/run-$run.log"
    start=$SECONDS
    if ctest --test-dir "$folder" --output-on-failure --no-tests=error -j "$jobs" > "$log" 2>&1; then
      result="all passed"
    else
      result="FAILED: $(grep -c '\*\*\*Failed\|\*\*\*Timeout\|\*\*\*Exception' "$log" || true) failing; see $log"
      failed=1
    fi
    summary=$(grep -E '^[0-9]+% tests passed' "$log" || echo "no summary")
    printf 'run %d of %d, %-11s %4d s  %s (%s)\n' "$run" "$runs" "$folder:" $((SECONDS - start)) "$result" "$summary"
  done
done
exit "$failed"
