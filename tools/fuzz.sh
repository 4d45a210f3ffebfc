#!/usr/bin/env bash
# Builds the fuzz targets (in the sanitizer build folder, build-asan/: clang
# with libFuzzer, ASan and UBSan) and runs each for a chosen time, starting
# from its seeds and the inputs of faults found before (tests/fuzz/<target>/)
# and from what earlier runs of this build folder learned
# (build-asan/corpus/<target>/). Prints, per target, the inputs tried, the
# coverage reached and any failure, and ends with status 1 when a target
# failed; the failing input is kept in build-asan/failures/<target>/ and the
# target's log in build-asan/logs/.
#
#   tools/fuzz.sh [--seconds S] [--jobs J] [--no-build] [TARGET...]
#
# --seconds  run time of each target (default 60)
# --jobs     targets run at once (default: half the cores, at least 1)
# TARGET     run only these (default: every target of fuzz/CMakeLists.txt)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
jobs=$(( $(nproc) / 2 ))
[ "$jobs" -ge 1 ] || jobs=1
build=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done

folder=build-asan
if [ "$build" = 1 ]; then
  tools/configure-sanitizer-build.sh --target fuzz_targets
fi
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < "$folder/fuzz-targets.txt"
mkdir -p "$folder/logs" "$folder/corpus" "$folder/failures"

# Runs one target; its summary line goes to logs/<target>.summary.
run_target() {
  local target=$1 seconds=$2 folder=$3
  local log="$folder/logs/$target.log" corpus="$folder/corpus/$target" failures="$folder/failures/$target/"
  local seeds=()
  [ -d "tests/fuzz/$target" ] && seeds=("tests/fuzz/$target")
  mkdir -p "$corpus" "$failures"
  local status=0
  # Standard streams closed: the game's own reports would flood the log; the
  # sanitizers' and libFuzzer's reports still reach it.
  UBSAN_OPTIONS=print_stacktrace=1 "$folder/fuzz/$target" "$corpus" "${seeds[@]}" \
    -max_total_time="$seconds" -max_len=20000 -timeout=10 -rss_limit_mb=2048 \
    -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$failures" \
    > "$log" 2>&1 || status=$?
  local execs pcs cov features
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  pcs=$(sed -n 's/.*PC tables (\([0-9]*\) PCs).*/\1/p' "$log" | head -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  local result=ok
  if [ "$status" -ne 0 ]; then
    result="FAILED: $(grep -o -m1 -E 'fuzz check failed: .{0,70}|runtime error: .{0,70}|SUMMARY: .{0,90}' "$log" | head -1); input in $failures"
  fi
  printf '%-34s %12s %14s %8s  %s\n' "$target" "${execs:-?}" "${cov:-?}/${pcs:-?}" "${features:-?}" "$result" \
    > "$folder/logs/$target.summary"
  [ "$status" -eq 0 ]
}
export -f run_target

echo "Fuzzing ${#targets[@]} targets for ${seconds} s each, ${jobs} at a time."
failed=0
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_target "$@"' _ {} "$seconds" "$folder" || failed=1
printf '%-34s %12s %14s %8s  %s\n' target "inputs tried" "coverage/PCs" features result
for target in "${targets[@]}"; do
  cat "$folder/logs/$target.summary" 2>/dev/null || printf '%-34s did not run\n' "$target"
done | tee "$folder/logs/all.summary"
awk '$2 ~ /^[0-9]+$/ { total += $2 } END { printf "In all: %d inputs tried by %d targets.\n", total, NR }' \
  "$folder/logs/all.summary"
exit "$failed"
