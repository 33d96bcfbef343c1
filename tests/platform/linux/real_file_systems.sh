#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Runs on real file systems, inside scripts/loop_images.sh: the gtest program watches the device during whole
# runs; here vantric-cli flags with a warning, exit 0, an old file holding bytes on forced compression, written
# without preallocation, and not on plain compression; lists a FUSE drive whose space query fails without
# figures, in a Latin-1 locale's charset; and says so when the scratch file is deleted while it is being claimed.
#   loop_images.sh real_file_systems.sh REAL_FS_TESTS VANTRIC_CLI
set -euo pipefail
fail() {
  echo "real file systems: $*" >&2
  exit 1
}
[ -n "${VANTRIC_LOOP_IMAGES:-}" ] || fail "run it through scripts/loop_images.sh"
command -v strace >/dev/null || fail "strace is missing (package strace)"
# No room kept back on ext4, so that free space made in pieces is all there is.
dev="$(findmnt -no SOURCE "$VANTRIC_LOOP_IMAGES/ext4")"
tune2fs -r 0 "$dev" >/dev/null && echo 0 >"/sys/fs/ext4/${dev##*/}/reserved_clusters" || fail "ext4 keeps its reserve"
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

# statfs answers EIO: the row has no figures, not those of the drive listed before it.
eio="$VANTRIC_LOOP_IMAGES/fuse_eio" calls="$VANTRIC_LOOP_IMAGES/statfs_calls"
mkdir "$eio" && trap 'umount "$eio" 2>/dev/null || true' EXIT
/usr/bin/python3 -c 'import errno, sys, fusepy as f
class Eio(f.Operations):
    def statfs(self, path): open(sys.argv[2], "a").write("."); raise f.FuseOSError(errno.EIO)
f.FUSE(Eio(), sys.argv[1], foreground=True, fsname="vantric-eio", subtype="vantric")' "$eio" "$calls" &
for _ in $(seq 200); do mountpoint -q "$eio" && break; sleep 0.05; done
mountpoint -q "$eio" || fail "the FUSE file system did not mount (package python3-fusepy)"
rm -f "$calls"
LC_ALL=fr_FR.ISO-8859-1 "$2" --list >"$out" 2>"$err" || fail "--list exit $?: $(cat "$err")"
[ "$(cat "$calls")" = . ] || fail "$(wc -c <"$calls") space queries for one drive"
grep -qx ' [D-Z]:- Hard Disk    ' "$out" || fail "no row without figures: $(cat "$out")"
LC_ALL=C grep -Eq $'[0-9]\xa0[0-9]{3},[0-9]{2} MB' "$out" || fail "no Latin-1 no-break space: $(od -c "$out" | head)"

# The file deleted between the claim's open and its lock (held up by a second).
ext4="$VANTRIC_LOOP_IMAGES/ext4"
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -o /dev/null -e trace=flock \
  -e inject=flock:delay_enter=1000000 "$2" --drive "$ext4" --size 1k >"$out" 2>"$err" &
for _ in $(seq 500); do [ -e "$ext4/~test.tmp" ] && break; sleep 0.01; done
rm "$ext4/~test.tmp" || fail "no scratch file was made"
wait "$!" && fail "a run on a file deleted under its claim succeeded"
grep -q "The file was deleted while the test was taking it" "$err" || fail "wrong message: $(cat "$err")"
echo "real file systems: as expected"
