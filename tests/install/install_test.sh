#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Checks on an install into a staging folder.
#   install_test.sh stage BUILD STAGE        install BUILD into STAGE with prefix /usr
#   install_test.sh CHECK STAGE [ARG...]     one check on the staged files
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../support/package_lib.sh"
id=io.github.vantric.Vantric
check="$1"
shift

case "$check" in
  stage)
    build="$1" stage="$2"
    rm -rf "$stage"
    DESTDIR="$stage" cmake --install "$build" --prefix /usr
    ;;

  desktop)
    desktop-file-validate "$1/usr/share/applications/$id.desktop"
    ;;

  metainfo)
    file="$1/usr/share/metainfo/$id.metainfo.xml" version="$2"
    appstreamcli validate --no-net "$file"
    # The release is the version CMake builds.
    grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"/>" "$file" ||
      fail "no release $version in the metainfo"
    ;;

  names)
    # The desktop entry, its icon and the metainfo name each other by the one id.
    share="$1/usr/share"
    entry="$share/applications/$id.desktop" meta="$share/metainfo/$id.metainfo.xml"
    grep -qx "Icon=$id" "$entry" || fail "desktop entry names another icon"
    grep -qx "Exec=vantric" "$entry" || fail "desktop entry starts another program"
    grep -qx "StartupWMClass=vantric" "$entry" || fail "desktop entry expects another X11 window class"
    grep -q "<id>$id</id>" "$meta" || fail "metainfo has another id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta" || fail "metainfo launches another entry"
    grep -q "<binary>vantric</binary>" "$meta" || fail "metainfo provides another program"
    shot="$(sed -n 's:.*<image>https\://raw.githubusercontent.com/vantric/vantric/main/\(.*\)</image>.*:\1:p' "$meta")"
    [ -n "$shot" ] && [ -f "$here/../../$shot" ] || fail "screenshot '$shot' is not in the repository"
    ;;

  manpages)
    # Each page renders without a warning and has every option its program's --help names.
    for p in vantric vantric-cli; do
      page="$1/usr/share/man/man1/$p.1.gz" help="$("$1/usr/bin/$p" --help)"
      warned="$(zcat "$page" | groff -ww -z -man 2>&1)$(man --warnings -l "$page" 2>&1 >/dev/null)" || fail "$p.1"
      [ -z "$warned" ] || fail "$p.1: $warned"
      for o in $(grep -o -- '--[a-z][a-z-]*' <<<"$help"); do zgrep -qF -- "\\-\\-${o#--}" "$page" || fail "$p.1 lacks $o"; done
    done
    ;;

  start)
    # With no arguments, on Qt's offscreen platform, it runs until told to end.
    QT_QPA_PLATFORM=offscreen "$1/usr/bin/vantric" &
    pid=$!
    sleep 3
    status=0
    kill -0 "$pid" 2>/dev/null || { wait "$pid" || status=$?; fail "the program ended by itself with status $status"; }
    kill -TERM "$pid"
    wait "$pid" || status=$?
    [ "$status" -eq 143 ] || fail "the program ended with status $status on SIGTERM"
    ;;

  systemd)
    # The units for a folder, as an instance, with the staged program in ExecStart.
    units="$(mktemp -d)" && trap 'rm -rf "$units"' EXIT
    for unit in service timer; do
      sed "s:^ExecStart=/usr/bin/:ExecStart=$1/usr/bin/:" "$1/usr/lib/systemd/system/vantric-cli@.$unit" >"$units/vantric-cli@srv.$unit"
    done
    grep -q "^ExecStart=$1/usr/bin/vantric-cli " "$units/vantric-cli@srv.service" || fail "ExecStart: not /usr/bin"
    # The manual page has its own test; verify would look for it among the installed ones.
    said="$(systemd-analyze verify --man=no "$units"/* 2>&1)" && [ -z "$said" ] || fail "systemd-analyze verify: $said"
    ;;

  *) fail "unknown check: $check" ;;
esac
