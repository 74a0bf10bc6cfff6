#!/usr/bin/env bash
# The shared start of every script: options, set-up, build and the Wine prefix.
#   source scripts/build.sh "$@"   leaves the other arguments in ARGS
#   scripts/build.sh [--build-dir DIR] [--no-setup]
# Options: --build-dir DIR (default build), --no-setup (skip scripts/setup.sh);
# everything after "--" goes to ARGS as it is.
set -euo pipefail
ROOT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=build
SETUP=1
ARGS=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) BUILD_DIR=$2; shift 2 ;;
    --no-setup) SETUP=0; shift ;;
    --) shift; ARGS+=("$@"); break ;;
    *) ARGS+=("$1"); shift ;;
  esac
done
[ "$SETUP" -eq 0 ] || bash "$ROOT_DIR/scripts/setup.sh"
mkdir -p "$BUILD_DIR"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
# Configure's progress lines are left out; its warnings and errors are not.
cmake -S "$ROOT_DIR" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$ROOT_DIR/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release --log-level=WARNING >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
export WINEPREFIX=$BUILD_DIR/wineprefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# The prefix is marked ready only once every step of its set-up succeeded; a
# failed one is set up again by the next run.
prepare_wine_prefix() {
  local log=$BUILD_DIR/wineboot.log
  # wineboot talks a lot (32-bit Wine, Mono, Gecko): its output is shown when it fails.
  # The registry files appear only once the server has written them out.
  if ! wine wineboot --init >"$log" 2>&1 || ! wineserver -w || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "build: wineboot could not set up $WINEPREFIX; its output:" >&2
    cat "$log" >&2
    return 1
  fi
  # Xvfb runs no window manager: unmanaged windows spare Wine its wait for one
  # on every show and hide.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null || return 1
  wineserver -w
}
if [ ! -f "$WINEPREFIX/.skinlib-ready" ]; then
  echo "build: preparing the Wine prefix in $WINEPREFIX"
  prepare_wine_prefix || { echo "build: the Wine prefix in $WINEPREFIX is not ready" >&2; exit 1; }
  touch "$WINEPREFIX/.skinlib-ready"
fi

# Runs a command on a private Xvfb display (-a picks a free server number) and
# ends Wine's helper processes before the display goes away.
on_display() {
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c '"$@"; rc=$?; wineserver -k 2>/dev/null; exit $rc' on_display "$@"
}
