#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, in two
# build folders that between them compile each source once for each way it
# is tested:
# - the release build (build/): the game, the headless server, the assets,
#   the benchmarks, and the tests that draw offscreen (gl) or run whole
#   programs (e2e), which want the optimised game;
# - the sanitizer build (build-asan/: clang with AddressSanitizer, UBSan and
#   libFuzzer's coverage): the unit and loopback network tests, and the fuzz
#   targets, which share its libraries and each run for a few seconds from
#   their seeds and the inputs of faults found before.
# Everything is built before any test runs. Every test works in a data folder
# of its own; the game's data folder (tracked, untracked and ignored files
# alike) must hold the same files with the same content after the tests as
# before them. Every test stage runs even when an earlier one failed; the
# script ends with status 1 naming those that did. Each stage's wall-clock
# and processor time is printed as it ends.
set -euo pipefail
cd "$(dirname "$0")"

# stage NAME COMMAND...: runs one stage and prints how long it took.
stage() {
  local name=$1 start=$SECONDS before status=0
  shift
  before=$(children_cpu_seconds)
  "$@" || status=$?
  printf '== %s: %d s wall-clock, %d s processor time (user + sys)%s\n' "$name" $((SECONDS - start)) \
    $(($(children_cpu_seconds) - before)) "$([ "$status" -eq 0 ] || echo ", FAILED")"
  return "$status"
}

# The processor time of this script's finished child processes so far, in
# seconds: the kernel's count for the script's own process, as a command
# substitution runs in a subshell whose own children are none of them.
children_cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{ printf "%d\n", ($16 + $17) / hz }' "/proc/$$/stat"
}

# Every file of the data folder, with its checksum (a link by what it points at).
data_checksums() {
  (cd data && find . -type f -print0 | sort -z | xargs -0 sha256sum
   find . -type l -printf '%p -> %l\n' | sort)
}

stage "set-up" bash -c 'tools/install-deps.sh && tools/link-fonts.sh'
jobs=$(nproc)

stage "release build" tools/configure-build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DQEL_TEST_LABELS=gl;e2e"
stage "sanitizer build" tools/configure-sanitizer-build.sh
stage "fuzz build" tools/configure-sanitizer-build.sh --target fuzz_targets

before=$(mktemp)
after=$(mktemp)
trap 'rm -f "$before" "$after"' EXIT
data_checksums > "$before"

# The names of the tests that failed in the last ctest run of a build folder,
# so the script's last lines say which they were.
failed_tests() {
  sed 's/^[0-9]*://' "$1/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | paste -sd ' ' -
}

failed=()
stage "release tests (gl, e2e)" ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs" \
  || failed+=("release tests: $(failed_tests build)")
stage "sanitizer tests (unit, net)" ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$jobs" \
  || failed+=("sanitizer tests: $(failed_tests build-asan)")
stage "fuzz run" tools/fuzz.sh --no-build --seconds 3 --jobs "$jobs" || failed+=("fuzz run")

data_checksums > "$after"
if ! diff -q "$before" "$after" >/dev/null; then
  echo "The tests changed the game's data folder, which they must never write:"
  diff "$before" "$after" | sed -n 's/^[<>] [0-9a-f]*  \(.*\)/  \1/p; s/^[<>] \(.* -> .*\)/  \1/p' | sort -u
  failed+=("data folder check")
fi

if [ ${#failed[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed[@]}"
  exit 1
fi
echo "All tests passed; the data folder is as it was."
