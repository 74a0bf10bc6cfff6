#!/usr/bin/env bash
# Runs one Windows executable under Wine in the build folder's own prefix.
# WINEPREFIX is set by ctest (or the caller); the user's own prefix is never touched.
set -e
: "${WINEPREFIX:?WINEPREFIX must name the prefix of the build folder}"
export WINEPREFIX WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
