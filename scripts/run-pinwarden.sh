#!/usr/bin/env bash
# The main job's part for the PIN program, run by scripts/run.sh on its Xvfb
# display: Pinwarden_QZ.exe against the simulated key service, a verification
# with one wrong PIN and then the right one, then "-setpin" with a refusal and
# the message box, then success. Screenshots land in $SHOTS; each service log
# is printed with the PIN's bytes masked. Every wait is bounded: a service or a
# program that dies or hangs fails the job with the reason.
#   BUILD_DIR=... SHOTS=... bash scripts/run-pinwarden.sh
set -euo pipefail
program=$BUILD_DIR/UI/Pinwarden_QZ/Pinwarden_QZ.exe
service=$BUILD_DIR/tests/keyservice.exe
driver() { wine "$BUILD_DIR/tests/pin_driver.exe" "$@"; }
# How long a wait may take, in tenths of a second.
limit=600

# The service's log as far as it goes, with the PIN's bytes masked.
print_service_log() {
  sed -E '/^request/ s/ [0-9A-F]{2}/ **/g; s/^/  /' "$SERVICE_LOG" 2>/dev/null || true
}

fail() {
  echo "pinwarden: $*; the service's log, PIN bytes masked:" >&2
  print_service_log >&2
  exit 1
}

# Starts the service with a script and waits until it listens.
start_service() {
  SERVICE_LOG=$BUILD_DIR/pinwarden_$1.log
  rm -f "$SERVICE_LOG"
  wine "$service" --log "$(winepath -w "$SERVICE_LOG")" --limit 60000 --script "$2" &
  SERVICE_PID=$!
  wait_service listening
}

# Waits until the service log holds a line n times, while the service runs.
wait_service() {
  local i alive
  for ((i = 0; i < limit; i++)); do
    # Whether it still ran before the log was read: a log read after its end is complete.
    alive=1
    kill -0 "$SERVICE_PID" 2>/dev/null || alive=0
    [ "$(grep -cx "$1" "$SERVICE_LOG" 2>/dev/null)" -ge "${2:-1}" ] 2>/dev/null && return 0
    [ "$alive" -eq 1 ] || fail "the key service ended before its log said \"$1\""
    sleep 0.1
  done
  fail "no \"$1\" in the key service's log after $((limit / 10)) s"
}

# Waits until a process has ended; one that has not ended in time is killed.
wait_ended() {
  local i
  for ((i = 0; i < limit; i++)); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill "$1" 2>/dev/null || true
  fail "$2 did not end within $((limit / 10)) s"
}

shot() {
  local out=$SHOTS/$1.png
  sleep 0.5
  "$(dirname "$0")/shoot-screen.sh" "$out"
  echo "screenshot: $out"
}

# Waits for the program and the service and prints what the service saw.
finish() {
  local rc=0
  wait_ended "$PROGRAM_PID" "Pinwarden_QZ $1"
  wait "$PROGRAM_PID" || rc=$?
  wait_ended "$SERVICE_PID" "the key service"
  wait "$SERVICE_PID" || true
  echo "Pinwarden_QZ $1 exited with $rc (expected 0); the service's log, PIN bytes masked:"
  print_service_log
  [ "$rc" -eq 0 ]
}

echo "== Pinwarden_QZ: verification, one wrong PIN and then the right one"
start_service verify "listen; request; reply 00 39; request; reply 01"
wine "$program" &
PROGRAM_PID=$!
driver entry
driver type 0000
driver enter
wait_service "reply 2 bytes"
shot pinwarden_verify_refused
driver retype 1234
driver enter
driver gone
finish "(verification)"

echo "== Pinwarden_QZ -setpin: a refusal in the message box, then success"
start_service setpin "listen; request; reply 00; request; reply 01"
wine "$program" -setpin &
PROGRAM_PID=$!
driver entry
shot pinwarden_setpin
driver type 246810
driver tab
driver type 246810
driver enter
driver box
shot pinwarden_setpin_failed
driver box-enter
driver type 135790
driver tab
driver type 135790
driver enter
driver gone
finish "-setpin"
