#!/usr/bin/env bash
# The PIN program's window tests run under a Wine server and an X display of
# their own. Its dialog takes the foreground window as owner and disables it,
# and its entry closes when the window loses the keyboard focus: on the shared
# display another test's window could be that owner, or take the focus away
# mid-test. The Wine prefix copies the build folder's registry and shares its
# drive, so it costs no second set-up. scripts/fuzz.sh runs its long runs
# the same way, beside a test run that ends the build prefix's server.
#   pin_display.sh start MAIN_PREFIX SIDE_PREFIX   prefix and X display
#   pin_display.sh run SIDE_PREFIX PROGRAM [ARG...] a program under them
#   pin_display.sh stop SIDE_PREFIX                 ends both
set -euo pipefail
command=$1
shift
case "$command" in
start)
  main=$1 side=$2
  [ -f "$main/system.reg" ] || { echo "pin_display: no Wine prefix in $main" >&2; exit 1; }
  mkdir -p "$side/dosdevices"
  for f in system.reg user.reg userdef.reg .update-timestamp; do
    [ -e "$side/$f" ] || cp "$main/$f" "$side/$f"
  done
  ln -sfn "$main/drive_c" "$side/drive_c"
  ln -sfn ../drive_c "$side/dosdevices/c:"
  ln -sfn / "$side/dosdevices/z:"
  [ -f "$side/xvfb.pid" ] && kill "$(cat "$side/xvfb.pid")" 2>/dev/null || true
  rm -f "$side/display" "$side/xvfb.pid"
  # The server picks a free display number and writes it once it is ready (on
  # a loaded machine that may take a while).
  setsid -f sh -c 'echo $$ > "$0/xvfb.pid"; exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$0/display"' \
    "$side" </dev/null >/dev/null 2>&1
  for _ in $(seq 600); do
    [ -s "$side/display" ] && exit 0
    sleep 0.1
  done
  echo "pin_display: Xvfb did not start within 60 s" >&2
  exit 1
  ;;
run)
  side=$1
  shift
  export WINEPREFIX=$side DISPLAY=:$(cat "$side/display") WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  exec wine "$@"
  ;;
stop)
  side=$1
  WINEPREFIX=$side wineserver -k 2>/dev/null || true
  [ -f "$side/xvfb.pid" ] && kill "$(cat "$side/xvfb.pid")" 2>/dev/null || true
  rm -f "$side/display" "$side/xvfb.pid"
  ;;
*)
  echo "usage: pin_display.sh start MAIN SIDE | run SIDE PROGRAM [ARG...] | stop SIDE" >&2
  exit 2
  ;;
esac
