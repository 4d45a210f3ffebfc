#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
tools/link-fonts.sh
tools/configure-build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec build/game/halvex
