#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Drives vantric.exe under Wine on a private X server like a user would: the window " Vantric" lists the
# drives Wine maps (C:, a D: made here, Z:); a "1M" run on C: (Space) and three by clicks add five log rows
# each, Alt+S saves the log beside the program after each, Exit ends it with status 0; then a run and a save
# under a window manager. First, on
# the same display, the tests of TESTS_EXE that make windows: Wine makes none without one.
#   gui_run.sh VANTRIC_EXE OUT TESTS_EXE (a failure's screenshot goes to OUT/screenshots)
set -euo pipefail

for tool in wine wineserver xvfb-run xauth xdotool import openbox; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing" >&2; exit 1; }
done
# On a private X server of its own.
[ -n "${VANTRIC_GUI_RUN:-}" ] || exec env VANTRIC_GUI_RUN=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
exe="$1" out="$2" tests="$3"
rm -rf "$out/program" "$out/d-drive" "$out/screenshots"
mkdir -p "$out/program" "$out/d-drive" "$out/screenshots"
cp "$exe" "$out/program/vantric.exe"
program="" wm=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

# Its own prefix, started on this display: a wineserver started without one shows no window.
export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
# A new prefix is still set up after wineboot returns, rewriting the drive mappings: D: goes in after.
wineserver -w
ln -sfn "$out/d-drive" "$WINEPREFIX/dosdevices/d:"
rm -f "$WINEPREFIX/drive_c/~test.tmp"

fail() { echo "FAIL: $*" >&2; import -window root "$out/screenshots/failure.png" || true; exit 1; }
# The first shown window whose title is exactly $1, waiting up to $2 seconds.
window() {
  local id
  for _ in $(seq $(( $2 * 5 ))); do
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
# Starts a run with xdotool's arguments; 3 s later one Alt+S, as a user would, must save: the run and its wait
# windows are over by then. Dismisses the message box.
run_and_save() {
  local box
  xdotool "$@"
  sleep 3
  xdotool key alt+s
  box="$(window Vantric 5)" || fail "Alt+S 3 s after a run started by '$*' saved nothing"
  xdotool windowfocus --sync "$box"
  xdotool key Return
  for _ in $(seq 50); do xdotool search --onlyvisible --name '^Vantric$' >/dev/null 2>&1 || return 0; sleep 0.2; done
  fail "the message box did not go"
}

wine "$tests" --gtest_filter='Win32Window.*:Win32/LateInputs.*:Windows/EndedMidPass.*' || fail "the window tests failed"

(cd "$out/program" && exec wine vantric.exe) &
program=$!

# Shown once the survey is over.
main="$(window ' Vantric' 120)" || fail "no window titled \" Vantric\""
sleep 1
geometry="$(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: //p')"
# Without a window manager Wine draws no frame: the client area, 8985 by 6630 twips at 96 DPI.
[ "$geometry" = "599x442" ] || fail "client area $geometry, not 599x442"

# Before a run the save button is hidden: Alt+S does nothing. Tab takes the focus from Exit to the drive
# list, which starts no run either.
xdotool windowfocus --sync "$main"
xdotool key alt+s
! window Vantric 2 >/dev/null || fail "Alt+S saved before any run"
xdotool key Tab
sleep 1
xdotool key alt+s
! window Vantric 2 >/dev/null || fail "focus on the drive list started a run"

# Space on the focused row 1 (C:) runs a test of C: (the list's own type-ahead took it for row 2).
run_and_save key space
[ ! -e "$WINEPREFIX/drive_c/~test.tmp" ] || fail "the scratch file is left on C:"
# Clicks on rows 2 (D:) and 1, 15 pixels apart below the list's border; the keys after them go where X sends
# them: with no window manager to give the focus back, to the window under the pointer.
for row in 25 10 25; do run_and_save mousemove --window "$main" 40 "$row" click 1; done
# The newest log beside the program holds all four runs (their text and CR LF ends: benchmark_run_test,
# file_system_test).
log="$(ls "$out/program"/Vantric_Log_*.txt 2>/dev/null | tail -1)"
[ -n "$log" ] || fail "no Vantric_Log_*.txt beside the program"
tr -d '\r' < "$log" > "$out/log.txt"
[ "$(wc -l < "$out/log.txt")" = 20 ] || fail "$log: not 20 lines"
sed -n 1p "$out/log.txt" | grep -q '^ C:- Hard Disk  Free Space: .* MB  Total Size: .* MB$' || fail "row 1: $(sed -n 1p "$out/log.txt")"
sed -n 6p "$out/log.txt" | grep -q '^ D:- Hard Disk  Free Space: ' || fail "row 6: $(sed -n 6p "$out/log.txt")"
[ -z "$(ls -A "$out/d-drive")" ] || fail "the scratch file is left on D:"

# Exit ends the program with status 0.
click_exit() {
  local status=0
  xdotool mousemove --window "$main" 300 220 click 1
  wait "$program" || status=$?
  program=""
  [ "$status" = 0 ] || fail "Exit ended the program with status $status"
}
click_exit

# Again under a window manager, which frames the windows and gives the focus to the one clicked.
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
(cd "$out/program" && exec wine vantric.exe) &
program=$!
main="$(window ' Vantric' 120)" || fail "no window titled \" Vantric\" under a window manager"
sleep 1
run_and_save mousemove --window "$main" 40 10 click 1
click_exit
echo "GUI run passed: $(cat "$out/log.txt" | head -5 | tr '\n' '|')"
