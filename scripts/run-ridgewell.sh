#!/usr/bin/env bash
# The fingerprint manager's part of the main job, run by scripts/run.sh on its display:
# Ridgewell_QZ.exe under Wine against the simulated sensor beside it, an enrollment and
# then a deletion, clicked as a user would. A screenshot of the window at each stage goes
# to $SHOTS/ridgewell/; then it prints the status texts the window painted, in order, and
# the sensor's call log. Needs BUILD_DIR, SHOTS and the Wine prefix from scripts/build.sh.
set -euo pipefail
: "${BUILD_DIR:?}" "${SHOTS:?}" "${WINEPREFIX:?}"

exe=$BUILD_DIR/UI/Ridgewell_QZ/Ridgewell_QZ.exe
driver=$BUILD_DIR/tests/window_driver.exe
title="Quorvel FIDO2 Manager"
# Client points of the buttons with the shipped skin (tests/ridgewell/SkinPoints.h, which the
# window tests check against the laid-out skin).
close_at="335 17" enroll_at="125 364" delete_at="235 364"

out=$SHOTS/ridgewell
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log
sensor_log=$out/sensor.log wine_log=$out/wine.log

# The key's unit; a new finger, then three samples that ask for more (one of them a bad
# capture) before the template is complete; then a touch for the deletion. The delays
# stand for the user's touches.
vendor=$(sed -n 's/^RIDGEWELL_VENDOR_ID:STRING=//p' "$BUILD_DIR/CMakeCache.txt")
export WINBIO_DOUBLE_SCRIPT="unit 5 USB\\VID_${vendor}&PID_0101\\QZ0001;identify UNKNOWN_ID delay=1500;\
capture MORE_DATA delay=1200;capture BAD_CAPTURE delay=1200;capture MORE_DATA delay=1200;capture S_OK delay=1200;\
locate S_OK delay=1500"
export WINBIO_DOUBLE_LOG
WINBIO_DOUBLE_LOG=$(winepath -w "$sensor_log" 2>/dev/null)

# Wine shows narrow debug lines on its debugstr channel, wide ones on seh, painted texts on text.
WINEDEBUG=warn+debugstr,warn+seh,trace+text wine "$exe" 2>"$wine_log" &
pid=$!
geometry=$(wine "$driver" wait "$title" 20000 | tr -d '\r')

shot() {
  sleep 0.4
  xwd -root -silent | convert xwd:- -crop "$geometry" +repage "$out/$1.png"
  echo "ridgewell: $2 -> $out/$1.png"
}
click() { wine "$driver" click "$title" $1; }
# Waits until the sensor's log holds at least $2 (default 1) lines with $1.
calls() {
  local n
  for _ in $(seq 600); do
    n=$(grep -c -- "$1" "$sensor_log" 2>/dev/null || true)
    [ "${n:-0}" -ge "${2:-1}" ] && return 0
    sleep 0.05
  done
  echo "ridgewell: no $1 in the sensor's log" >&2
  return 1
}

shot 1-start "started"
click "$enroll_at"
calls WinBioLockUnit;              shot 2-identify "Enroll clicked, waiting for the finger"
calls WinBioEnrollCapture;         shot 3-capture "first sample taken, more asked for"
calls WinBioCloseSession;          shot 4-enrolled "finger enrolled"
click "$delete_at"
calls WinBioOpenSession 2;         shot 5-delete "Delete clicked, waiting for the touch"
calls WinBioCloseSession 2;        shot 6-deleted "fingerprints deleted"
click "$close_at"
rc=0
wait $pid || rc=$?
echo "ridgewell: Ridgewell_QZ.exe exited with $rc (expected 0)"

# The status label's texts as painted: every text drawn in the rectangle where the first
# status text was drawn, a repeat of the one before left out.
echo "ridgewell: status texts painted, in order:"
awk '
  /trace:text:DrawTextExW L"/ {
    line = $0
    sub(/.*DrawTextExW L"/, "", line)
    rect = line; sub(/.*", -?[0-9]+, /, "", rect); sub(/ .*/, "", rect)
    sub(/", -?[0-9]+, \[.*/, "", line)
    if (status == "" && line == "Touch the fingerprint sensor") status = rect
    if (status != "" && rect == status && line != last) { print "  " line; last = line }
  }' "$wine_log"
sed -n 's/^.*:OutputDebugStringA "\(.*\)"$/\1/p' "$wine_log" >"$out/debug.log"
echo "ridgewell: $(wc -l <"$out/debug.log") debug lines in $out/debug.log"
echo "ridgewell: the sensor's call log:"
sed 's/\r$//; s/^/  /' "$sensor_log"
[ $rc -eq 0 ]
