#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# vantric-cli --metrics: what promtool says of the file of a good and of a
# failed run, and the file when the writer is stopped or killed before its
# rename (strace stops it at the call).
set -uo pipefail
cli="$1"
for tool in promtool strace unshare; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (packages prometheus, strace, util-linux)" >&2; exit 1; }
done
work="$(mktemp -d "${TMPDIR:-/tmp}/vantric-cli-metrics.XXXXXX")"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
prom="$work/out/vantric.prom"
checked() { promtool check metrics <"$prom" || fail "promtool on $1: $(cat "$prom")"; }
series() { grep -c "^vantric_" "$prom"; }
only_prom() { [ "$(ls -A "$work/out")" = vantric.prom ] || fail "$1: beside the file: $(ls -A "$work/out")"; }

# A good run in a folder whose name needs escaping (quote, backslash, newline, a byte that is not UTF-8).
odd="$work/a\"b\\c"$'\n'$'\xff'
mkdir "$odd" "$work/out" "$work/ro"
before="$(date +%s)"
"$cli" --drive "$odd" --size 1k --metrics "$prom" >/dev/null 2>"$work/err" || fail "good run: $(cat "$work/err")"
after="$(date +%s)"
checked "a good run"
only_prom "good run"
[ -z "$(ls -A "$odd")" ] || fail "good run left $(ls -A "$odd")"
[ "$(series)" = 8 ] || fail "good run: $(series) series"
for name in write_bytes_per_second read_bytes_per_second write_duration_seconds read_duration_seconds \
  write_bytes read_bytes success end_timestamp_seconds; do
  grep -q "^# TYPE vantric_$name gauge\$" "$prom" || fail "no gauge vantric_$name"
  grep -qF "vantric_$name{mountpoint=\"" "$prom" || fail "no series vantric_$name"
done
grep -qF "folder=\"$work/a\\\"b\\\\c\\n"$'\xef\xbf\xbd'"\"}" "$prom" || fail "folder label: $(grep success "$prom")"
grep -q '^vantric_write_bytes{.*} 1024$' "$prom" || fail "bytes written: $(grep write_bytes "$prom")"
grep -q '^vantric_success{.*} 1$' "$prom" || fail "success: $(grep success "$prom")"
ended="$(sed -n 's/^vantric_end_timestamp_seconds{.*} \([0-9]*\).*/\1/p' "$prom")"
[ "$before" -le "$ended" ] && [ "$ended" -le "$after" ] || fail "ended at $ended, not in [$before, $after]"
cp "$prom" "$work/good"

# A failed run (a read-only folder): exit 1, success 0 and no figures.
unshare -rm sh -c 'mount -t tmpfs -o ro tmpfs "$1" && exec "$2" --drive "$1" --size 1k --metrics "$3"' sh \
  "$work/ro" "$cli" "$prom" >/dev/null 2>&1
rc=$?
[ "$rc" -eq 1 ] || fail "failed run: exit $rc, wanted 1"
checked "a failed run"
only_prom "failed run"
[ "$(series)" = 2 ] && grep -q '^vantric_success{mountpoint="[^"]*",fstype="tmpfs",.*} 0$' "$prom" ||
  fail "failed run: $(cat "$prom")"

# Killed before its rename: the old file, whole.
cp "$work/good" "$prom"
strace -f -o /dev/null -e trace=rename -e inject=rename:signal=SIGKILL \
  "$cli" --drive "$work/ro" --size 1k --metrics "$prom" >/dev/null 2>&1
rc=$?
[ "$rc" -eq 137 ] || fail "SIGKILL at the rename: exit $rc, wanted 137"
cmp -s "$prom" "$work/good" || fail "SIGKILL at the rename changed the file: $(cat "$prom")"
rm -f "$work/out/vantric.prom."*

# Told to stop between the temporary file's write and its rename: one file, whole, nothing beside it.
strace -f -o /dev/null -e trace=fchmod -e inject=fchmod:signal=SIGTERM \
  "$cli" --drive "$work/ro" --size 1k --metrics "$prom" >/dev/null 2>&1
rc=$?
[ "$rc" -eq 143 ] || fail "SIGTERM before the rename: exit $rc, wanted 143"
checked "a run stopped before the rename"
only_prom "SIGTERM before the rename"
grep -q '^vantric_success{.*} 1$' "$prom" || cmp -s "$prom" "$work/good" || fail "stopped: $(cat "$prom")"
exit 0
