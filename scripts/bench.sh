#!/usr/bin/env bash
# Builds and runs the benchmark programs (all, or those named) under Wine on a
# private Xvfb display.
#   scripts/bench.sh [--build-dir DIR] [--no-setup] [bench_name ...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"
names=("${ARGS[@]}")
if [ ${#names[@]} -eq 0 ]; then
  for f in tests/bench/bench_*.cpp; do [ -e "$f" ] && names+=("$(basename "$f" .cpp)"); done
fi
for n in "${names[@]}"; do
  echo "== $n"
  on_display wine "$BUILD_DIR/tests/$n.exe"
done
