#!/usr/bin/env bash
# Builds and runs the fuzz test of the skin parsers and the dialog builder under Wine with N cases
# each (default 100000) from SEED (default: a new one each run, so that long runs explore cases
# no earlier run tried; CI's run of the test sets none and keeps its fixed cases). The seed is
# printed first: the same N and SEED make the same cases again.
#   scripts/fuzz.sh [--build-dir DIR] [--no-setup] [N [SEED]]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"
export SKINLIB_FUZZ_ITERATIONS=${ARGS[0]:-100000}
export SKINLIB_FUZZ_SEED=${ARGS[1]:-$(( $(od -An -N4 -tu4 /dev/urandom) + 1 ))}
for n in "$SKINLIB_FUZZ_ITERATIONS" "$SKINLIB_FUZZ_SEED"; do
  [[ $n =~ ^[1-9][0-9]{0,17}$ ]] || { echo "fuzz: N and SEED are positive whole numbers, not '$n'" >&2; exit 2; }
done
echo "fuzz: $SKINLIB_FUZZ_ITERATIONS cases per parser from seed $SKINLIB_FUZZ_SEED" \
     "(again: scripts/fuzz.sh $SKINLIB_FUZZ_ITERATIONS $SKINLIB_FUZZ_SEED)"
# A Wine server and display of its own: a test run beside a long fuzz run ends the
# build prefix's server when it is done, which would end this run with it.
own=$BUILD_DIR/wineprefix_fuzz
bash tests/pin/pin_display.sh start "$WINEPREFIX" "$own"
trap 'bash tests/pin/pin_display.sh stop "$own"' EXIT
bash tests/pin/pin_display.sh run "$own" "$BUILD_DIR/tests/test_fuzz_parsers.exe"
