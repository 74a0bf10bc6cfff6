#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a private Xvfb display.
#   scripts/test.sh [--build-dir DIR] [--no-setup] [-- extra ctest arguments]
# Every test program shuffles its cases; one seed serves the whole run and is
# printed first, with the versions of the tools the tests' expectations depend
# on. SKINLIB_TEST_SEED=N runs the cases in a printed run's order again.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/build.sh "$@"

# GoogleTest takes seeds from 1 to 99999 (0 would be the clock's).
seed=${SKINLIB_TEST_SEED:-$(( (RANDOM * 32768 + RANDOM) % 99999 + 1 ))}
[[ $seed =~ ^[1-9][0-9]{0,4}$ ]] || { echo "test: SKINLIB_TEST_SEED is a number from 1 to 99999" >&2; exit 2; }
export GTEST_RANDOM_SEED=$seed
echo "test: shuffle seed $seed (again: SKINLIB_TEST_SEED=$seed bash scripts/test.sh)"
# Some expectations are Wine's own output; the target's zlib and minizip come from these.
package() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo "not installed"; }
echo "test: $(wine --version 2>/dev/null); mingw-w64 $(package mingw-w64-common)," \
     "$(x86_64-w64-mingw32-g++-posix --version | head -n1)"
zlib=$(sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p' .deps/zlib/debian/changelog 2>/dev/null || true)
echo "test: zlib source ${zlib:-of unknown version} (minizip), libz-mingw-w64-dev $(package libz-mingw-w64-dev)"
cd "$BUILD_DIR"
on_display ctest --output-on-failure -j "$(nproc)" "${ARGS[@]}"
