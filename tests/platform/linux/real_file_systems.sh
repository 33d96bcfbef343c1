#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Runs on real file systems, inside scripts/loop_images.sh: the gtest
# program watches the device during whole runs; here vantric-cli flags with
# a warning, exit 0, an old file holding bytes on forced compression,
# written without preallocation, and not on plain compression.
#   loop_images.sh real_file_systems.sh REAL_FS_TESTS VANTRIC_CLI
set -euo pipefail
fail() {
  echo "real file systems: $*" >&2
  exit 1
}
[ -n "${VANTRIC_LOOP_IMAGES:-}" ] || fail "run it through scripts/loop_images.sh"
command -v strace >/dev/null || fail "strace is missing (package strace)"
"$1"
out="$VANTRIC_LOOP_IMAGES/out" err="$VANTRIC_LOOP_IMAGES/err"
# An old file holding bytes keeps copy-on-write: forced compression then
# compresses it, plain compression is turned off for it.
for fs in btrfs_force:true btrfs_zstd:false; do
  dir="$VANTRIC_LOOP_IMAGES/${fs%:*}" compressed="${fs#*:}"
  head -c 1048576 /dev/urandom >"$dir/~test.tmp"
  # fallocate refused; the leak checker of a sanitized build cannot run under ptrace.
  ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -o /dev/null -e trace=fallocate \
    -e inject=fallocate:error=EOPNOTSUPP "$2" --drive "$dir" --size 10M --json >"$out" 2>"$err" ||
    fail "vantric-cli exit $? on $fs: $(cat "$err")"
  grep -q "\"compressed\":$compressed" "$out" || fail "$fs: $(cat "$out")"
  if [ "$compressed" = true ]; then
    stored=$(grep -o '"stored_bytes":[0-9]*' "$out" | cut -d: -f2)
    [ "${stored:-10485760}" -lt 10485760 ] || fail "stored_bytes ${stored:-missing} for a compressed run: $(cat "$out")"
    grep -q '^Vantric: This drive compresses' "$err" || fail "no warning: $(cat "$err")"
  fi
  [ ! -e "$dir/~test.tmp" ] || fail "the scratch file was left behind on $fs"
done
echo "real file systems: as expected"
