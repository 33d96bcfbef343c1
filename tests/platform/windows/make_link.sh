#!/usr/bin/env bash
# Puts a symbolic link to a host folder at the top of the Wine prefix's drive
# C:, named $1; Wine shows it as a reparse point.
set -euo pipefail
: "${WINEPREFIX:?the Windows tests run in a private WINEPREFIX}"
drive_c="$WINEPREFIX/drive_c"
[ -d "$drive_c" ] || { echo "no drive_c in $WINEPREFIX" >&2; exit 1; }
target="$WINEPREFIX/link-target"
mkdir -p "$target"
ln -sfn "$target" "$drive_c/$1"
