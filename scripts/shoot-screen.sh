#!/usr/bin/env bash
# Saves the X screen as a PNG, with every viewable top-level window laid over
# it from its own contents, bottom first: Xvfb's picture of the root leaves out
# a window that lies wholly over another one (a message box over its dialog, a
# drop-down over its window).
#   scripts/shoot-screen.sh <out.png>
set -euo pipefail
out=$1
xwd -root -silent | convert xwd:- "$out"
for id in $(xwininfo -root -children | awk '/^ +0x/ {print $1}' | tac); do
  info=$(xwininfo -id "$id" 2>/dev/null) || continue  # gone meanwhile
  grep -q "Map State: IsViewable" <<<"$info" || continue
  x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
  xwd -id "$id" -silent 2>/dev/null | convert "$out" xwd:- -geometry "+$x+$y" -composite "$out" || true
done
