#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `songloader --demo` ended by SIGTERM, SIGINT, SIGHUP (or even SIGKILL) leaves no demo folder, and
# a new demo sweeps the folders of windows that no longer exist.
#   demo_signals.sh SONGLOADER
set -euo pipefail
gui=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export TMPDIR=$tmp/tmp XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR" && mkdir -m 700 "$XDG_RUNTIME_DIR"

# Starts the demo; sets pid and demo (the demo folder).
start_demo() {
  # The last run's output must be gone before the loop below reads: the background start may
  # truncate it only after the first look.
  rm -f "$tmp/out" "$tmp/err"
  "$gui" --demo >"$tmp/out" 2>"$tmp/err" &
  pid=$!
  for _ in $(seq 200); do
    grep -q '^demo cloud: ' "$tmp/out" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "songloader --demo ended: $(cat "$tmp/err")"
    sleep 0.1
  done
  device=$(sed -n 's/^demo device: //p' "$tmp/out")
  [ -d "$device" ] || fail "no demo device in: $(cat "$tmp/out")"
  demo=$(dirname "$device")
}

# A window that no longer exists left its folder; a live process's folder stays.
dead=$(sh -c 'echo $$')
mkdir -p "$TMPDIR/songloader-demo-$dead-abcdef/device" "$TMPDIR/songloader-demo-$$-ghijkl"
start_demo
[ ! -e "$TMPDIR/songloader-demo-$dead-abcdef" ] || fail "the dead window's demo folder was not swept"
[ -d "$TMPDIR/songloader-demo-$$-ghijkl" ] || fail "a live process's demo folder was swept"
kill -TERM "$pid"; wait "$pid" || true
rmdir "$TMPDIR/songloader-demo-$$-ghijkl"

for signal in TERM INT HUP KILL; do
  start_demo
  kill "-$signal" "$pid"
  set +e; wait "$pid" 2>/dev/null; status=$?; set -e
  number=$(kill -l "$signal")
  [ "$status" = $((128 + number)) ] || fail "SIG$signal: exit status $status"
  # After SIGKILL the demo cloud's helper removes it as soon as it sees the window gone.
  for _ in $(seq 50); do [ -e "$demo" ] || break; sleep 0.1; done
  [ ! -e "$demo" ] || fail "SIG$signal left $demo"
  echo "SIG$signal: demo folder removed"
done
leftovers=$(ls "$TMPDIR")
[ -z "$leftovers" ] || fail "left in the temporary folder: $leftovers"
