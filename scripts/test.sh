#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a private Xvfb display.
#   scripts/test.sh [--build-dir DIR] [--no-setup] [-- extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build
SETUP=1
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) BUILD=$2; shift 2 ;;
    --no-setup) SETUP=0; shift ;;
    --) shift; break ;;
    *) echo "usage: scripts/test.sh [--build-dir DIR] [--no-setup] [-- ctest args]" >&2; exit 2 ;;
  esac
done
[ "$SETUP" -eq 0 ] || bash scripts/setup.sh
source scripts/build.sh "$BUILD"
cd "$BUILD"
# One display for every test that makes windows; -a picks a free server number.
# Wine's helper processes are ended before the display goes away.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'ctest --output-on-failure -j "$(nproc)" "$@"; rc=$?; wineserver -k 2>/dev/null; exit $rc' ctest "$@"
