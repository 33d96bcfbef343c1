#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# What a screen reader finds through AT-SPI on a private X server and session
# bus: the program's window and the wait windows' announcements.
#   atspi_test.sh PROGRAM WINDOW_CHILD
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
launcher=/usr/libexec/at-spi-bus-launcher
for tool in xvfb-run xauth dbus-launch "$launcher"; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/vantric.sh installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "FAIL: python3-pyatspi is missing" >&2; exit 1; }

# On a private X server of its own, as gui_run.sh.
[ -n "${VANTRIC_ATSPI_X:-}" ] || exec env VANTRIC_ATSPI_X=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
eval "$(dbus-launch --sh-syntax)"
trap 'kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true' EXIT
"$launcher" --launch-immediately >/dev/null 2>&1 &
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
status=0
/usr/bin/python3 "$here/atspi_probe.py" tree "$1" || status=1
/usr/bin/python3 "$here/atspi_probe.py" alerts "$2" waits || status=1
exit $status
