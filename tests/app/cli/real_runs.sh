#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# vantric-cli on real file systems: a read-only folder (a read-only tmpfs in
# a private mount namespace) and the scratch file's opens. A stop during a
# run is tried in scratch_file_test.cpp.
set -uo pipefail
cli="$1"
work="$(mktemp -d "${TMPDIR:-/tmp}/vantric-cli-real.XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Read-only: exit 1, the window's message on stderr, nothing on stdout.
mkdir "$work/ro" "$work/run"
unshare -rm sh -c 'mount -t tmpfs -o ro tmpfs "$1" && exec "$2" --drive "$1" --size 1k' sh "$work/ro" "$cli" \
  >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] || fail "read-only folder: exit $rc, wanted 1: $(cat "$work/err")"
grep -q "You may not create files on this drive" "$work/err" || fail "no message: $(cat "$work/err")"
[ ! -s "$work/out" ] || fail "rows printed for a failed test"

# Every open of the scratch file refuses a link: the look before it cannot
# see a swap. The leak checker of a sanitized build cannot run under ptrace.
command -v strace >/dev/null || fail "strace is missing (package strace)"
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -qq -e trace=open,openat -o "$work/opens" \
  "$cli" --drive "$work/run" --size 1k >/dev/null || fail "a run under strace failed"
opens="$(grep -F '/~test.tmp"' "$work/opens")"
[ "$(wc -l <<<"$opens")" -ge 3 ] && ! grep -v O_NOFOLLOW <<<"$opens" || fail "opened following links: $opens"
