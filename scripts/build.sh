#!/usr/bin/env bash
# Configures and builds into the given folder and prepares its Wine prefix.
# Sourced by test.sh and run.sh; usable alone: scripts/build.sh [DIR]
set -euo pipefail
BUILD_DIR=${1:-build}
ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$ROOT_DIR" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
export WINEPREFIX=$(cd "$BUILD_DIR" && pwd)/wineprefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.skinlib-ready" ]; then
  echo "build: preparing the Wine prefix in $WINEPREFIX"
  wine wineboot --init >/dev/null 2>&1 || true
  # Xvfb runs no window manager: unmanaged windows spare Wine its wait for one
  # on every show and hide.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.skinlib-ready"
fi
