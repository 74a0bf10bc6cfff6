#!/usr/bin/env bash
# The main job: builds everything and runs the two programs under Wine on a
# private Xvfb display, against the simulated sensor and the simulated key
# service, saving screenshots in <build>/screenshots/.
#   scripts/run.sh [--build-dir DIR] [--no-setup]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"
export SHOTS=$BUILD_DIR/screenshots BUILD_DIR
mkdir -p "$SHOTS"

# The fingerprint manager: an enrollment and a deletion against the simulated sensor.
on_display bash scripts/run-ridgewell.sh

# The PIN program against the simulated key service.
on_display bash scripts/run-pinwarden.sh
