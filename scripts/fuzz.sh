#!/usr/bin/env bash
# Builds and runs the parser fuzz test under Wine with N cases per parser (default 100000).
#   scripts/fuzz.sh [--build-dir DIR] [N]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build
if [ "${1:-}" = --build-dir ]; then BUILD=$2; shift 2; fi
ITERATIONS=${1:-100000}
source scripts/build.sh "$BUILD"
export SKINLIB_FUZZ_ITERATIONS=$ITERATIONS
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'wine "$1"; rc=$?; wineserver -k 2>/dev/null; exit $rc' fuzz "$BUILD/tests/test_fuzz_parsers.exe"
