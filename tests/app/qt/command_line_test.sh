#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The program's answers to its arguments, with no display and on Qt's
# offscreen platform, where a window would outlast the time limit.
#   command_line_test.sh PROGRAM VERSION
set -uo pipefail
program="$1" version="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
usage="usage: vantric [--help | --version]"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect STATUS STDOUT STDERR ARG...: stdout holds each line of STDOUT (is
# empty when that is), stderr is exactly STDERR.
expect() {
  local want="$1" out="$2" err="$3" run status line
  shift 3
  for run in "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM" "env QT_QPA_PLATFORM=offscreen"; do
    status=0
    $run timeout 20 "$program" "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    local what="vantric $* ($run)"
    [ "$status" = "$want" ] || fail "$what: status $status, wanted $want"
    [ "$(cat "$tmp/err")" = "$err" ] || fail "$what: stderr is '$(cat "$tmp/err")', not '$err'"
    if [ -z "$out" ]; then
      [ ! -s "$tmp/out" ] || fail "$what: stdout is not empty: $(cat "$tmp/out")"
    fi
    while IFS= read -r line; do
      [ -z "$line" ] || grep -qxF -- "$line" "$tmp/out" || fail "$what: stdout lacks '$line': $(cat "$tmp/out")"
    done <<<"$out"
  done
}

expect 0 "vantric $version" "" --version
[ "$(QT_QPA_PLATFORM=offscreen "$program" --version | wc -l)" -eq 1 ] || fail "the version is not one line"
expect 0 "$usage"$'\n'"  --version  print the version and exit" "" --help
expect 2 "" "$usage" ""
for args in --bogus -h -- --HELP "--version --help" "--version extra" "-platform offscreen"; do
  # shellcheck disable=SC2086 # each entry is the words of one command line
  expect 2 "" "$usage" $args
done

# A version that could not be written is not a success.
status=0
"$program" --version >/dev/full 2>/dev/null || status=$?
[ "$status" = 1 ] || fail "--version into a full device: status $status"
[ "$failures" -eq 0 ]
