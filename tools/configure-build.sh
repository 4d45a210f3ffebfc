#!/usr/bin/env bash
# Configures and builds one build folder: configure-build.sh FOLDER [cmake options...]
set -euo pipefail
folder=$1
shift
cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
cmake --build "$folder"
