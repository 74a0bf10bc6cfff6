#!/usr/bin/env bash
# The library's own window programs: builds everything and runs each under Wine
# on a private Xvfb display, saving a screenshot of each in <build>/screenshots/.
#   scripts/demos.sh [--build-dir DIR] [--no-setup]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"
export SHOTS=$BUILD_DIR/screenshots BUILD_DIR
mkdir -p "$SHOTS"
on_display bash -c '
  # Starts a program, screenshots it after 3 s into <shot>.png and checks its exit code.
  shoot_as() {
    local shot=$1 name=$2 expected=$3; shift 3
    wine "$BUILD_DIR/tests/$name.exe" "$@" &
    local pid=$!
    sleep 3
    scripts/shoot-screen.sh "$SHOTS/$shot.png"
    local rc=0
    wait $pid || rc=$?
    echo "$name $* exited with $rc (expected $expected); screenshot: $SHOTS/$shot.png"
    [ $rc -eq $expected ]
  }
  shoot() { shoot_as "$1" "$@"; }
  # Each closes itself after 4 s; the first returns the result of its posted Close(7).
  shoot modal_window_demo 7 7 4000
  shoot render_demo 0 4000
  shoot skinned_window_demo 0 4000
  shoot controls_demo 0 4000
  shoot layouts_demo 0 4000
  # The extended controls demo, once per page.
  for page in list tree combo datetime richedit activex browser flash; do shoot_as "extended_demo_$page" extended_demo 0 4000 "$page"; done
'
