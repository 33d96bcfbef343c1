#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# vantric-cli on real file systems: --metrics checked by promtool after a good
# run and after a run in a read-only folder (a read-only tmpfs in a private
# mount namespace), the metrics' writer stopped or killed before its rename
# (strace stops it at the call), output that cannot be written, and the
# scratch file's opens. A stop during a run is tried in scratch_file_test.cpp.
set -uo pipefail
cli="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }
for t in promtool strace; do command -v "$t" >/dev/null || fail "$t is missing (packages prometheus, strace)"; done
work="$(mktemp -d "${TMPDIR:-/tmp}/vantric-cli-real.XXXXXX")"
trap 'rm -rf "$work"' EXIT
prom="$work/out/vantric.prom"
checked() { promtool check metrics <"$prom" || fail "promtool on $1: $(cat "$prom")"; }
alone() { [ "$(ls -A "$work/out")" = vantric.prom ] || fail "$1: beside the metrics: $(ls -A "$work/out")"; }

# A good run in a folder whose name needs escaping (quote, backslash, newline, a byte that is not UTF-8).
odd="$work/a\"b\\c"$'\n'$'\xff'
mkdir "$odd" "$work/out" "$work/ro" "$work/run"
before="$(date +%s)"
"$cli" --drive "$odd" --size 1k --metrics "$prom" >/dev/null 2>"$work/err" || fail "good run: $(cat "$work/err")"
after="$(date +%s)"
checked "a good run" && alone "good run"
[ -z "$(ls -A "$odd")" ] || fail "good run left $(ls -A "$odd")"
for name in write_bytes_per_second read_bytes_per_second write_duration_seconds read_duration_seconds \
  write_bytes read_bytes success end_timestamp_seconds; do
  grep -q "^# TYPE vantric_$name gauge\$" "$prom" && [ "$(grep -c "^vantric_$name{mountpoint=\"" "$prom")" = 1 ] ||
    fail "no gauge vantric_$name"
done
grep -qF "folder=\"$work/a\\\"b\\\\c\\n"$'\xef\xbf\xbd'"\"}" "$prom" || fail "folder label: $(grep success "$prom")"
grep -q '^vantric_write_bytes{.*} 1024$' "$prom" && grep -q '^vantric_success{.*} 1$' "$prom" || fail "$(cat "$prom")"
ended="$(sed -n 's/^vantric_end_timestamp_seconds{.*} \([0-9]*\).*/\1/p' "$prom")"
[ "$before" -le "$ended" ] && [ "$ended" -le "$after" ] || fail "ended at $ended, not in [$before, $after]"
cp "$prom" "$work/good"

# Read-only: exit 1, the window's message on stderr, nothing on stdout; the metrics say success 0 and no figure.
unshare -rm sh -c 'mount -t tmpfs -o ro tmpfs "$1" && exec "$2" --drive "$1" --size 1k --metrics "$3"' sh \
  "$work/ro" "$cli" "$prom" >"$work/out.txt" 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] || fail "read-only folder: exit $rc, wanted 1: $(cat "$work/err")"
grep -q "You may not create files on this drive" "$work/err" || fail "no message: $(cat "$work/err")"
[ ! -s "$work/out.txt" ] || fail "rows printed for a failed test"
checked "a failed run" && alone "failed run"
[ "$(grep -c '^vantric_' "$prom")" = 2 ] && grep -q '^vantric_success{mountpoint="[^"]*",fstype="tmpfs",.*} 0$' "$prom" ||
  fail "failed run: $(cat "$prom")"

# Killed before its rename: the old file, whole.
cp "$work/good" "$prom"
strace -f -o /dev/null -e inject=rename:signal=SIGKILL "$cli" --drive "$work/run" --size 1k --metrics "$prom" >/dev/null 2>&1
rc=$?
[ "$rc" -eq 137 ] && cmp -s "$prom" "$work/good" || fail "SIGKILL at the rename: exit $rc, wanted 137: $(cat "$prom")"
rm -f "$work/out/vantric.prom."*
# Told to stop between the temporary file's write and its rename: one file, whole, nothing beside it.
strace -f -o /dev/null -e inject=fchmod:signal=SIGTERM "$cli" --drive "$work/run" --size 1k --metrics "$prom" >/dev/null 2>&1
rc=$?
[ "$rc" -eq 143 ] || fail "SIGTERM before the rename: exit $rc, wanted 143"
checked "a run stopped before the rename" && alone "SIGTERM before the rename"

# Output that cannot be written: exit 1, a message, nothing left.
"$cli" --drive "$work/run" --size 1k --json >/dev/full 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] && grep -q "cannot write the output: No space left on device" "$work/err" ||
  fail "/dev/full: exit $rc: $(cat "$work/err")"
mkfifo "$work/pipe"
exec 3<>"$work/pipe" 4>"$work/pipe" 3<&- # a pipe whose reader is gone
"$cli" --drive "$work/run" --size 1k >&4 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] && grep -q "cannot write the output: Broken pipe" "$work/err" ||
  fail "closed pipe: exit $rc: $(cat "$work/err")"
[ -z "$(ls -A "$work/run")" ] || fail "left behind: $(ls -A "$work/run")"

# Every open of the scratch file refuses a link: the look before it cannot
# see a swap. The leak checker of a sanitized build cannot run under ptrace.
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -qq -e trace=open,openat -o "$work/opens" \
  "$cli" --drive "$work/run" --size 1k >/dev/null || fail "a run under strace failed"
opens="$(grep -F '/~test.tmp"' "$work/opens")"
[ "$(wc -l <<<"$opens")" -ge 3 ] && ! grep -v O_NOFOLLOW <<<"$opens" || fail "opened following links: $opens"
