#!/usr/bin/env bash
# The program's answers to its arguments: exit status, what goes to stdout
# and what to stderr. Run without any display, and again on Qt's offscreen
# platform, where a window would keep the program running past the time limit.
#   command_line_test.sh PROGRAM VERSION
set -euo pipefail

program="$1" version="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
usage="usage: vantric [--help | --version]"
failures=0

# expect STATUS STDOUT_LINE STDERR ARG...: stdout holds that line (is empty
# when it is empty), stderr is exactly that.
expect() {
  local want="$1" out_pattern="$2" err_want="$3"
  shift 3
  for display in none offscreen; do
    local status=0
    if [ "$display" = none ]; then
      env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    else
      QT_QPA_PLATFORM=offscreen timeout 20 "$program" "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    fi
    local what="vantric $* (display: $display)"
    if [ "$status" != "$want" ]; then
      echo "FAIL: $what: status $status, wanted $want" >&2
      failures=$((failures + 1))
    fi
    if [ -z "$out_pattern" ] && [ -s "$tmp/out" ]; then
      echo "FAIL: $what: stdout is not empty:" >&2
      cat "$tmp/out" >&2
      failures=$((failures + 1))
    elif [ -n "$out_pattern" ] && ! grep -qxF -- "$out_pattern" "$tmp/out"; then
      echo "FAIL: $what: stdout lacks the line '$out_pattern':" >&2
      cat "$tmp/out" >&2
      failures=$((failures + 1))
    fi
    if [ "$(cat "$tmp/err")" != "$err_want" ]; then
      echo "FAIL: $what: stderr is not '$err_want':" >&2
      cat "$tmp/err" >&2
      failures=$((failures + 1))
    fi
  done
}

expect 0 "vantric $version" "" --version
expect 0 "$usage" "" --help
expect 0 "  --version  print the version and exit" "" --help
expect 2 "" "$usage" --bogus
expect 2 "" "$usage" -h
expect 2 "" "$usage" ""
expect 2 "" "$usage" --version --help
expect 2 "" "$usage" --version extra
expect 2 "" "$usage" --
expect 2 "" "$usage" --HELP
expect 2 "" "$usage" -platform offscreen

[ "$(wc -l <<<"$(QT_QPA_PLATFORM=offscreen "$program" --nope 2>&1 >/dev/null)")" -eq 1 ] ||
  { echo "FAIL: the usage is not one line" >&2; failures=$((failures + 1)); }
[ "$(QT_QPA_PLATFORM=offscreen "$program" --version | wc -l)" -eq 1 ] ||
  { echo "FAIL: the version is not one line" >&2; failures=$((failures + 1)); }

# A version that could not be written is not a success.
status=0
"$program" --version >/dev/full 2>/dev/null || status=$?
[ "$status" = 1 ] || { echo "FAIL: --version into a full device: status $status" >&2; failures=$((failures + 1)); }

[ "$failures" -eq 0 ]
