#!/usr/bin/env bash
# Runs one Windows executable under Wine in the build folder's own prefix.
# WINEPREFIX is set by ctest (or the caller); the user's own prefix is never touched.
#   wine-run.sh [--mark-exit] PROGRAM [ARG...]
# --mark-exit ends the output with "wine-run: exit code N": ctest ignores the exit
# code of a test that passes on its output, so such a test asks for "exit code 0"
# after the lines it expects, and a crash or a failure behind them does not pass.
set -e
: "${WINEPREFIX:?WINEPREFIX must name the prefix of the build folder}"
export WINEPREFIX WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ "${1:-}" != --mark-exit ]; then
  exec wine "$@"
fi
shift
rc=0
wine "$@" || rc=$?
echo "wine-run: exit code $rc"
exit "$rc"
