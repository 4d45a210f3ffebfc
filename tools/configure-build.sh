#!/usr/bin/env bash
# Configures and builds one build folder:
#   configure-build.sh FOLDER [--target TARGET]... [cmake options...]
# Builds the given targets, or everything of the folder without --target.
set -euo pipefail
folder=$1
shift
targets=()
options=()
while [ $# -gt 0 ]; do
  case "$1" in
    --target) targets+=(--target "$2"); shift 2 ;;
    *) options+=("$1"); shift ;;
  esac
done
cmake -S . -B "$folder" -G Ninja "${options[@]}" >/dev/null
cmake --build "$folder" "${targets[@]}"
