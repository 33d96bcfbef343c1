#!/usr/bin/env bash
# Runs on real file systems: small images on loop devices, mounted in a
# private mount namespace (btrfs compressing with zstd, btrfs forcing
# compression, xfs, ext4). The gtest program watches the device during whole
# runs; vantric-cli's report of a file that could not be kept from
# compressing is checked here.
#   real_file_systems.sh REAL_FS_TESTS VANTRIC_CLI
set -euo pipefail
tests="$1"
cli="$2"
fail() {
  echo "real file systems: $*" >&2
  exit 1
}

[ "$(id -u)" -eq 0 ] || fail "must run as root to make loop devices and mount them"
for tool in unshare losetup mount mkfs.btrfs mkfs.xfs mkfs.ext4; do
  command -v "$tool" >/dev/null || fail "$tool is missing (packages btrfs-progs, xfsprogs, e2fsprogs, util-linux)"
done
[ -e /dev/loop-control ] || fail "no loop device support (/dev/loop-control is missing)"
for fs in btrfs xfs ext4; do
  grep -qw "$fs" /proc/filesystems || modprobe "$fs" 2>/dev/null || fail "the kernel has no $fs"
done

if [ -z "${VANTRIC_IN_NAMESPACE:-}" ]; then
  exec unshare -m --propagation private env VANTRIC_IN_NAMESPACE=1 bash "$0" "$@"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/vantric-realfs.XXXXXX")"
mounts=()
cleanup() {
  for m in "${mounts[@]}"; do umount "$m" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# name, mkfs command, mount options
make_fs() {
  local name="$1" mkfs="$2" options="$3"
  truncate -s 1G "$work/$name.img"
  $mkfs "$work/$name.img" >/dev/null 2>&1 || fail "$mkfs could not make an image"
  mkdir "$work/$name"
  mount -o "loop,$options" "$work/$name.img" "$work/$name" || fail "cannot mount a $name image on a loop device"
  mounts+=("$work/$name")
}
make_fs btrfs_zstd "mkfs.btrfs -f" compress=zstd:1
make_fs btrfs_force "mkfs.btrfs -f" compress-force=zstd
make_fs xfs "mkfs.xfs -f" defaults
make_fs ext4 "mkfs.ext4 -F -q" defaults

export VANTRIC_REAL_FS="btrfs_zstd=$work/btrfs_zstd;btrfs_force=$work/btrfs_force;xfs=$work/xfs;ext4=$work/ext4"
"$tests"

# vantric-cli: a kept file is reported stored in full; an old file that
# holds bytes on forced compression is flagged, with a warning, exit 0.
force="$work/btrfs_force"
"$cli" --drive "$force" --size 1M --json >"$work/out" 2>"$work/err" || fail "vantric-cli failed: $(cat "$work/err")"
grep -q '"stored_bytes":1048576,"compressed":false' "$work/out" || fail "a kept file: $(cat "$work/out")"
[ ! -s "$work/err" ] || fail "a warning for a kept file: $(cat "$work/err")"
head -c 1048576 /dev/urandom >"$force/~test.tmp"
set +e
"$cli" --drive "$force" --size 10M --json >"$work/out" 2>"$work/err"
rc=$?
set -e
[ "$rc" -eq 0 ] || fail "vantric-cli exit $rc for a compressed run: $(cat "$work/err")"
grep -q '"compressed":true' "$work/out" || fail "no flag: $(cat "$work/out")"
grep -q '^Vantric: This drive compresses' "$work/err" || fail "no warning: $(cat "$work/err")"
[ ! -e "$force/~test.tmp" ] || fail "the scratch file was left behind"
echo "real file systems: as expected"
