#!/usr/bin/env bash
# The main job: builds everything and runs the window program under Wine on a
# private Xvfb display, saving a screenshot of it in <build>/screenshots/.
#   scripts/run.sh [--build-dir DIR] [--no-setup]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"
export SHOTS=$BUILD_DIR/screenshots BUILD_DIR
mkdir -p "$SHOTS"
on_display bash -c '
  # The program closes itself after 4 s with result 7 (a posted Close(7)).
  wine "$BUILD_DIR/tests/modal_window_demo.exe" 7 4000 &
  pid=$!
  sleep 3
  xwd -root -silent | convert xwd:- "$SHOTS/modal_window_demo.png"
  wait $pid; rc=$?
  echo "modal_window_demo exited with $rc (expected 7); screenshot: $SHOTS/modal_window_demo.png"
  [ $rc -eq 7 ]
'
