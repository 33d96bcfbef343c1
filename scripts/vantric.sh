#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Installs what is missing, builds, then runs the program ("run"), every
# test and the fuzz targets ("test"), the fuzz targets alone ("fuzz"), or
# every test built with the address and undefined-behaviour sanitizers
# ("asan"); "windows" cross-builds the Windows program vantric.exe
# into build-windows/ and runs its tests under Wine; "deb" and "rpm" make the
# Debian or RPM package in build/. Every build goes through a preset of
# CMakePresets.json: "ci" (into build/), "asan", "windows", and the package
# presets "deb" and "rpm". Safe to run again: it installs and rebuilds only
# what is needed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev liburing-dev
  libcli11-dev              # vantric-cli's arguments
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev rpm file librsvg2-bin imagemagick
  libxcb1-dev qt6-wayland   # the display check asks the X server itself; Wayland sessions
  locales xvfb xauth        # tests: number formats under real locales, a private X server
  btrfs-progs xfsprogs strace # tests: runs on compressing btrfs and xfs images, refused fallocate
  at-spi2-core python3-pyatspi dbus-x11   # tests: what a screen reader finds
  weston                    # tests: a Wayland compositor without a screen
  libgl1-mesa-dri           # tests: the windows with a desktop's GPU driver stack loaded
  lintian rpmlint reuse groff-base man-db # tests: the packages', licences' and manual pages' checkers
  prometheus                # tests: promtool checks vantric-cli's metrics
  bash-completion zsh fish systemd # tests: the completions offer, parse; the units verify
  clang-14 libclang-rt-14-dev # tests: the fuzz targets (libFuzzer)
  python3-fusepy            # tests: a file system whose space queries fail
)

# The Windows program: cross-built with mingw-w64, GoogleTest built from its
# sources, tested under Wine, the windows on a private X server, without and
# with a window manager.
windows_packages=(
  cmake ninja-build g++-mingw-w64-x86-64-posix googletest libcli11-dev
  wine wine64 xvfb xauth xdotool openbox imagemagick locales
)

# The number formatting tests run under these C-library locales, and under
# two whose charsets are not UTF-8 and whose separators are not ASCII.
test_locales=(en_US de_DE de_CH en_IN)
charset_locales=(fr_FR.ISO-8859-1 ru_RU.KOI8-R)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the packages named (all of `packages` when none are).
install_missing() {
  local wanted=("$@") missing=()
  ((${#wanted[@]})) || wanted=("${packages[@]}")
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

generate_locales() {
  local have missing=()
  have="$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')"
  for l in "${test_locales[@]}"; do
    grep -qx "$(echo "$l" | tr 'A-Z' 'a-z').utf8" <<<"$have" || missing+=("$l")
  done
  ((${#missing[@]})) || return 0
  echo "Generating locales: ${missing[*]}"
  for l in "${missing[@]}"; do
    as_root sed -i -E "s/^# *(${l}\.UTF-8 UTF-8)\$/\1/" /etc/locale.gen
    grep -qx "${l}.UTF-8 UTF-8" /etc/locale.gen || echo "${l}.UTF-8 UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  done
  as_root locale-gen
}

# After locale-gen, which rebuilds the archive from /etc/locale.gen.
generate_charset_locales() {
  local l have
  have="$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | tr -d '_-')"
  for l in "${charset_locales[@]}"; do
    grep -qx "$(echo "$l" | tr 'A-Z' 'a-z' | tr -d '_-')" <<<"$have" && continue
    echo "Generating locale: $l"
    as_root localedef -i "${l%%.*}" -f "${l#*.}" "$l"
  done
}

# Configures and builds the preset named.
configure_and_build() {
  cd "$here"
  cmake --preset "$1"
  cmake --build --preset "$1" -j "$(nproc)"
}

# Each fuzz target for a fixed number of runs from its seeds (the mount
# table and sysfs tree of tests/data, tests/fuzz/corpus/ for the others),
# left as they are: what a run adds goes to build-fuzz/.
run_fuzzers() {
  local t name seeds out="$here/build-fuzz"
  [ -d /dev/shm ] && export TMPDIR=/dev/shm # the mounts target makes a sysfs tree per input
  for t in mounts:3000 cli:20000 size:20000 number:20000; do
    name="${t%:*}" seeds="$here/tests/fuzz/corpus/${t%:*}"
    [ "$name" != mounts ] || seeds="$here/tests/data"
    rm -rf "$out/corpus/$name" && mkdir -p "$out/corpus/$name"
    "$out/tests/fuzz/${name}_fuzz" -runs="${t#*:}" -artifact_prefix="$out/" "$out/corpus/$name" "$seeds" \
      2>"$out/$name.log" ||
      { tail -n 40 "$out/$name.log" >&2; echo "fuzz target $name failed: $out/$name.log" >&2; return 1; }
    echo "fuzz target $name: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$out/$name.log")"
  done
}

# A private Wine prefix for the headless tests, kept in the build folder;
# its wineserver stays up while ctest runs (else every test waits for it).
windows_tests() {
  export WINEPREFIX="$here/build-windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY
  wineboot -i >/dev/null 2>&1
  # A persistent server in place of the one wineboot left behind, and the
  # services Wine starts on demand started now, not by a test: ctest would
  # wait for them to let go of its output pipe.
  wineserver -k 2>/dev/null || true
  wineserver -p
  trap 'wineserver -k 2>/dev/null || true' EXIT
  wineboot >/dev/null 2>&1
  # Windows without a display: the window tests post their own input.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  ctest --preset windows -j "$(nproc)"
}

case "${1:-}" in
  run)
    install_missing
    configure_and_build ci
    exec "$here/build/src/vantric"
    ;;
  test)
    install_missing
    generate_locales
    generate_charset_locales
    configure_and_build ci
    ctest --preset ci -j "$(nproc)"
    configure_and_build fuzz
    run_fuzzers
    ;;
  fuzz)
    install_missing
    configure_and_build fuzz
    run_fuzzers
    ;;
  asan)
    install_missing
    generate_locales
    generate_charset_locales
    configure_and_build asan
    exec ctest --preset asan -j "$(nproc)"
    ;;
  deb | rpm)
    install_missing
    configure_and_build ci
    exec cpack --preset "$1"
    ;;
  windows)
    install_missing "${windows_packages[@]}"
    generate_locales
    configure_and_build windows
    windows_tests
    ;;
  *)
    echo "usage: $0 run|test|fuzz|asan|windows|deb|rpm" >&2
    exit 64
    ;;
esac
