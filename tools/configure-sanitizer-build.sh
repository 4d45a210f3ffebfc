#!/usr/bin/env bash
# Configures and builds the sanitizer build folder, build-asan/: clang with
# AddressSanitizer, UBSan and libFuzzer's coverage, for the unit and network
# tests and the fuzz targets, which share its libraries.
#   configure-sanitizer-build.sh [--target TARGET]...
set -euo pipefail
cd "$(dirname "$0")/.."
exec tools/configure-build.sh build-asan "$@" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQEL_FUZZ=ON -DQEL_BENCH=OFF "-DQEL_TEST_LABELS=unit;net"
