#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# A session with only a Wayland display, under a headless Weston: the program
# starts there; every title is exactly its own (Qt would add the program's
# name); the run's wait windows are popups, since a new top-level window would
# take the keyboard focus and leave it with no one when closed; a maximize
# asked of the main window does not end the program.
#   wayland_test.sh PROGRAM WINDOW_CHILD
set -euo pipefail
command -v weston >/dev/null || { echo "FAIL: weston is missing (scripts/vantric.sh installs it)" >&2; exit 1; }
runtime="$(mktemp -d)"
chmod 700 "$runtime"
socket="vantric-test-$$"
XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket="$socket" --no-config >"$runtime/weston.log" 2>&1 &
weston=$!
program=""
cleanup() {
  [ -z "$program" ] || kill "$program" 2>/dev/null || true
  kill "$weston" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -S "$runtime/$socket" ] && break; sleep 0.2; done
[ -S "$runtime/$socket" ] || { echo "FAIL: Weston did not start: $(cat "$runtime/weston.log")" >&2; exit 1; }

on_wayland() {
  env -u DISPLAY -u XDG_SESSION_TYPE -u QT_QPA_PLATFORM -u WAYLAND_SOCKET XDG_RUNTIME_DIR="$runtime" \
    WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=1 "$@"
}
# The titles a log asks for, one a line, in quotes.
titles() { sed -n 's/.*xdg_toplevel@[0-9]*\.set_title(\(".*"\))$/\1/p' "$1" | sort -u; }
fail() { echo "FAIL: $*" >&2; exit 1; }

on_wayland "$1" 2>"$runtime/program.log" >/dev/null &
program=$!
for _ in $(seq 150); do
  grep -q 'set_title(" Vantric")' "$runtime/program.log" && break
  kill -0 "$program" 2>/dev/null || fail "the program ended: $(grep -v '^\[' "$runtime/program.log" | head -5)"
  sleep 0.2
done
grep -q 'set_title(" Vantric")' "$runtime/program.log" || fail "no main window on Wayland"
sleep 1
kill -0 "$program" 2>/dev/null || fail "the program ended after showing its window"
grep -q 'set_app_id("io.github.vantric.Vantric")' "$runtime/program.log" || fail "no app id"

on_wayland "$2" waits 2>"$runtime/child.log" >/dev/null || fail "the wait windows' child failed"
[ "$(titles "$runtime/child.log")" = "$(printf '"           "\n" Vantric"')" ] ||
  fail "titles: $(titles "$runtime/child.log" | tr '\n' '|')"
[ "$(grep -c 'get_popup' "$runtime/child.log")" = 2 ] || fail "the run's wait windows are not popups"
