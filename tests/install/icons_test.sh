#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The committed PNG icons are renderings of the SVG drawing at their sizes,
# as scripts/make_icons.sh makes them.
#   icons_test.sh SOURCE_DIR
set -euo pipefail

src="$1"
id=io.github.vantric.Vantric
svg="$src/data/icons/$id.svg"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

status=0
for n in 16 22 24 32 48 64 128 256; do
  png="$src/data/icons/hicolor/${n}x${n}/apps/$id.png"
  rsvg-convert -w "$n" -h "$n" "$svg" -o "$tmp/$n.png"
  # Count of pixels that differ by more than rounding.
  diff="$(compare -metric AE -fuzz 1% "$png" "$tmp/$n.png" null: 2>&1)" || true
  if [ "$diff" != 0 ]; then
    echo "FAIL: ${n}x${n}: $diff pixels differ from the drawing; run scripts/make_icons.sh" >&2
    status=1
  fi
done

# The window icon is the 32 pixel icon in at most 16 colours of its own, each
# pixel the nearest of them, transparent where that is; the Windows icon
# resource holds the same picture.
xpm="$src/src/ui/qt/vantric_icon.xpm"
convert "$src/data/icons/hicolor/32x32/apps/$id.png" -channel A -threshold 50% +channel \
  +dither -remap "$xpm" "$tmp/near.png"
for picture in "$tmp/near.png" "ico:$src/src/app/win32/vantric.ico"; do
  diff="$(compare -metric AE "$xpm" "$picture" null: 2>&1)" || true
  if [ "$diff" != 0 ] || [ "$(identify -format %k "$xpm")" -gt 16 ]; then
    echo "FAIL: $picture: $diff pixels differ from the window icon; run scripts/make_icons.sh" >&2
    status=1
  fi
done
exit "$status"
