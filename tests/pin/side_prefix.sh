#!/usr/bin/env bash
# A second Wine prefix beside the build folder's own, for tests that need a Wine
# server of their own: it copies the first prefix's registry and shares its
# drive, so it costs no second set-up.
#   side_prefix.sh MAIN_PREFIX SIDE_PREFIX
set -euo pipefail
main=$1 side=$2
[ -f "$main/system.reg" ] || { echo "side_prefix: no Wine prefix in $main" >&2; exit 1; }
mkdir -p "$side/dosdevices"
for f in system.reg user.reg userdef.reg .update-timestamp; do
  [ -e "$side/$f" ] || cp "$main/$f" "$side/$f"
done
ln -sfn "$main/drive_c" "$side/drive_c"
ln -sfn ../drive_c "$side/dosdevices/c:"
ln -sfn / "$side/dosdevices/z:"
