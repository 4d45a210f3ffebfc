#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then builds
# the headless tests again with AddressSanitizer and UBSan and runs them; then
# builds the fuzz targets and runs each for a few seconds from its seeds and
# the inputs of faults found before.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/link-fonts.sh

jobs=$(nproc)

tools/configure-build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs"

tools/configure-build.sh build-asan -DCMAKE_BUILD_TYPE=Debug \
  -DQEL_SANITIZE=ON -DQEL_HEADLESS=ON -DQEL_BENCH=OFF
ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$jobs" -L 'unit|net'

tools/fuzz.sh --seconds 3 --jobs "$jobs"
