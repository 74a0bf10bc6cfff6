#!/usr/bin/env bash
# The main job: builds everything and runs the window program under Wine on a
# private Xvfb display, saving a screenshot of it in <build>/screenshots/.
#   scripts/run.sh [--build-dir DIR] [--no-setup]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=build
SETUP=1
while [ $# -gt 0 ]; do
  case "$1" in
    --build-dir) BUILD=$2; shift 2 ;;
    --no-setup) SETUP=0; shift ;;
    *) echo "usage: scripts/run.sh [--build-dir DIR] [--no-setup]" >&2; exit 2 ;;
  esac
done
[ "$SETUP" -eq 0 ] || bash scripts/setup.sh
source scripts/build.sh "$BUILD"
SHOTS="$(cd "$BUILD" && pwd)/screenshots"
mkdir -p "$SHOTS"
export SHOTS BUILD_ABS="$(cd "$BUILD" && pwd)"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -u
  # The program closes itself after 4 s with result 7 (a posted Close(7)).
  wine "$BUILD_ABS/tests/modal_window_demo.exe" 7 4000 &
  pid=$!
  sleep 3
  xwd -root -silent | convert xwd:- "$SHOTS/modal_window_demo.png"
  wait $pid; rc=$?
  wineserver -k 2>/dev/null
  echo "modal_window_demo exited with $rc (expected 7); screenshot: $SHOTS/modal_window_demo.png"
  [ $rc -eq 7 ]
'
