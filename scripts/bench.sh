#!/usr/bin/env bash
# Builds and runs every benchmark program under Wine on a private Xvfb display.
#   scripts/bench.sh [--build-dir DIR] [bench_name ...]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build
if [ "${1:-}" = --build-dir ]; then BUILD=$2; shift 2; fi
source scripts/build.sh "$BUILD"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/bench/bench_*.cpp; do [ -e "$f" ] && names+=("$(basename "$f" .cpp)"); done
fi
for n in "${names[@]}"; do
  echo "== $n"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'wine "$1"; rc=$?; wineserver -k 2>/dev/null; exit $rc' bench "$BUILD/tests/$n.exe"
done
