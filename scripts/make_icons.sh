#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Renders the icon drawing into the PNGs that get installed and into the
# 16-colour window icon compiled into the program. Run it after changing the
# drawing and commit what it writes; tests/install/icons_test.sh checks that
# the committed images still match the drawing.
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
id=io.github.vantric.Vantric
svg="$here/data/icons/$id.svg"
sizes=(16 22 24 32 48 64 128 256)

for n in "${sizes[@]}"; do
  out="$here/data/icons/hicolor/${n}x${n}/apps/$id.png"
  mkdir -p "$(dirname "$out")"
  rsvg-convert -w "$n" -h "$n" "$svg" -o "$out"
done

# The window icon: the 32 pixel rendering with every pixel moved to the
# nearest colour of the drawing (no dithering), transparency kept as is.
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
palette=()
for c in $(grep -o '\(fill\|stroke\)="#[0-9a-fA-F]\{6\}"' "$svg" | cut -d'"' -f2 | sort -u); do
  palette+=("xc:$c")
done
convert -size 1x1 "${palette[@]}" +append "$tmp/palette.png"
png32="$here/data/icons/hicolor/32x32/apps/$id.png"
convert \( "$png32" -alpha off +dither -remap "$tmp/palette.png" \) \
        \( "$png32" -alpha extract -threshold 50% \) \
        -alpha off -compose CopyOpacity -composite "$tmp/icon.xpm"
# ImageMagick writes X11 colour names where it knows one; spell every colour
# out so that no reader needs the names table.
names=()
for name in $(sed -n 's/^"[^"]* c \([A-Za-z][A-Za-z0-9]*\)",$/\1/p' "$tmp/icon.xpm" | grep -v '^None$' | sort -u); do
  names+=(-e "s/ c $name\",\$/ c #$(convert xc:"$name" -depth 8 -format '%[hex:u]' info:)\",/")
done
sed -e 's/^static const char \*.*\[\] = {$/static const char* const vantric_icon_xpm[] = {/' \
    "${names[@]}" "$tmp/icon.xpm" > "$here/src/ui/qt/vantric_icon.xpm"
grep -q 'vantric_icon_xpm\[\]' "$here/src/ui/qt/vantric_icon.xpm"

# The Windows program's icon resource: the same 16-colour picture.
convert "$here/src/ui/qt/vantric_icon.xpm" "$here/src/app/win32/vantric.ico"
