#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Runs a command in a private mount namespace beside four small file systems
# on loop devices: btrfs compressing with zstd:1 (the default of several
# desktops), btrfs forcing compression, xfs and ext4. The command starts in
# the folder holding their mount points, named btrfs_zstd, btrfs_force, xfs
# and ext4, which VANTRIC_LOOP_IMAGES also names. Everything goes when the
# command ends. Needs root and loop devices; says what is missing otherwise.
#   loop_images.sh COMMAND [ARG]...
set -euo pipefail
fail() {
  echo "loop images: $*" >&2
  exit 1
}
(($#)) || fail "usage: loop_images.sh COMMAND [ARG]..."

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

work="$(mktemp -d "${TMPDIR:-/var/tmp}/vantric-images.XXXXXX")"
mounts=()
cleanup() {
  for m in "${mounts[@]}"; do umount "$m" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# name, mount options, mkfs command...
make_fs() {
  local name="$1" options="$2"
  shift 2
  truncate -s 1G "$work/$name.img"
  "$@" "$work/$name.img" >/dev/null 2>&1 || fail "$* could not make an image"
  mkdir "$work/$name"
  mount -o "loop,$options" "$work/$name.img" "$work/$name" || fail "cannot mount a $name image on a loop device"
  mounts+=("$work/$name")
}
make_fs btrfs_zstd compress=zstd:1 mkfs.btrfs -f
make_fs btrfs_force compress-force=zstd mkfs.btrfs -f
make_fs xfs defaults mkfs.xfs -f
make_fs ext4 defaults mkfs.ext4 -F -q

cd "$work"
VANTRIC_LOOP_IMAGES="$work" "$@"
