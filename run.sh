#!/usr/bin/env bash
# Installs what is missing, builds the game (the game itself, the headless
# server and the generated assets; not the tests or benchmarks) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/link-fonts.sh
tools/configure-build.sh build --target game_and_assets -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec build/game/halvex
