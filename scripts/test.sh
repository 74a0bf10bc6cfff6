#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a private Xvfb display.
#   scripts/test.sh [--build-dir DIR] [--no-setup] [-- extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"
cd "$BUILD_DIR"
on_display ctest --output-on-failure -j "$(nproc)" "${ARGS[@]}"
