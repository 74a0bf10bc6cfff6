#!/usr/bin/env bash
# Builds and runs the fuzz test of the skin parsers and the dialog builder under Wine with N cases
# each (default 100000).
#   scripts/fuzz.sh [--build-dir DIR] [--no-setup] [N]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"
export SKINLIB_FUZZ_ITERATIONS=${ARGS[0]:-100000}
on_display wine "$BUILD_DIR/tests/test_fuzz_parsers.exe"
