#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Fails when a program given loads Qt, xcb or Xlib.
status=0
for program in "$@"; do
  libs="$(ldd "$program")" || { echo "ldd failed on $program"; exit 1; }
  if found="$(grep -E 'libQt6|libxcb|libX11' <<<"$libs")"; then
    echo "$program loads a window system:"; echo "$found"; status=1
  fi
done
exit $status
