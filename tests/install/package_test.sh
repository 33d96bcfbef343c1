#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Builds the Debian or RPM package from BUILD into OUT with cpack and reads it
# back without installing it.
#   package_test.sh deb|rpm BUILD OUT VERSION USES_URING
source "$(dirname "${BASH_SOURCE[0]}")/../support/package_lib.sh"
kind="$1" build="$2" out="$3" version="$4" uring="$5"
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G "${kind^^}" -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log" >&2; fail "cpack failed"; }
pkg=("$out"/*."$kind")
[ "${#pkg[@]}" -eq 1 ] || fail "expected one package, found: ${pkg[*]}"
mkdir "$out/unpacked"
programs=("$out/unpacked/usr/bin/vantric" "$out/unpacked/usr/bin/vantric-cli")

# The default file names hold the package's name, version and architecture.
if [ "$kind" = deb ]; then
  arch="$(dpkg --print-architecture)"
  [ "$(basename "$pkg")" = "vantric_${version}_${arch}.deb" ] || fail "package file is $(basename "$pkg")"
  same_files "$(dpkg-deb -c "$pkg" | awk '$1 !~ /^d/ { print $6 }')"
  field() { dpkg-deb -f "$pkg" "$1"; }
  described "$build" "$(field Description | head -n 1)" "$(field Description | tail -n +2 | sed 's/^ //')"
  # Depends: the package shipping each library the programs need (where the
  # loader finds it, /lib or /usr/lib alike), the Qt platform plugins,
  # liburing when the build uses it; nothing for building.
  names="$(field Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//' | LC_ALL=C sort)"
  wanted=(libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins)
  [ "$uring" = 1 ] && wanted+=(liburing2)
  dpkg-deb -x "$pkg" "$out/unpacked"
  found="$(for p in "${programs[@]}"; do ldd "$p"; done | awk '$2 == "=>" { print $1, $3 }' | sort -u)"
  for soname in $(needed_libraries "${programs[@]}"); do
    path="$(awk -v so="$soname" '$1 == so { print $2 }' <<<"$found")"
    [ -n "$path" ] || fail "the loader cannot find $soname"
    owner="$({ dpkg -S "$path" || dpkg -S "${path#/usr}" || dpkg -S "/usr$path" || true; } 2>/dev/null |
      head -n 1 | sed 's/:.*//')"
    [ -n "$owner" ] || fail "no package ships $soname ($path)"
    wanted+=("$owner")
  done
  for p in "${wanted[@]}"; do
    grep -qx "$p" <<<"$names" || fail "Depends lacks $p"
  done
  ! grep -E -- '-dev$|^qt6-wayland$' <<<"$names" || fail "Depends holds packages it should not"
  grep -qw 'qt6-wayland' <<<"$(field Recommends)" || fail "Recommends lacks qt6-wayland"
  lintian --fail-on error,warning --tag-display-limit 0 "$pkg" >"$out/lint.log" 2>&1 || fail "$(cat "$out/lint.log")"
  exit 0
fi

arch="$(uname -m)"
[ "$(basename "$pkg")" = "vantric-${version}-1.${arch}.rpm" ] || fail "package file is $(basename "$pkg")"
described "$build" "$(rpm -qp --qf '%{SUMMARY}' "$pkg")" "$(rpm -qp --qf '%{DESCRIPTION}' "$pkg")"
same_files "$(rpm -qpl "$pkg")"
# Installed under another prefix, the desktop would find neither the entry
# nor the program.
[ "$(rpm -qp --qf '%{PREFIXES}' "$pkg")" = "(none)" ] || fail "the package is relocatable"
# Requires: the soname of each library the programs link, Qt 6's and
# liburing's among them, and nothing else but rpm's own features (a name of
# one distribution's package would not resolve on another).
rpm2archive - <"$pkg" | tar -xz -C "$out/unpacked"
needed="$(needed_libraries "${programs[@]}")"
requires="$(rpm -qpR "$pkg")"
bits=""
readelf -h "${programs[0]}" | grep -q 'Class: *ELF64' && bits="(64bit)"
wanted=(libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6)
[ "$uring" = 1 ] && wanted+=(liburing.so.2)
for so in "${wanted[@]}" $needed; do
  grep -qxF "$so()$bits" <<<"$requires" || fail "Requires lacks $so()$bits"
done
others="$(grep -v '^rpmlib(\|^rtld(' <<<"$requires" | sed 's/(.*//' | LC_ALL=C sort -u | comm -23 - <(echo "$needed"))"
[ -z "$others" ] || fail "Requires holds what the programs do not link: $others"
recommends="$(rpm -qp --recommends "$pkg")"
grep -q 'qt6-qtwayland' <<<"$recommends" || fail "Recommends lacks the Wayland platform plugin"
grep -qx 'font(liberationsans)' <<<"$recommends" || fail "Recommends lacks Liberation Sans"
# rpmlint set as Fedora sets it: gzipped man pages, licences by SPDX identifier (here those of LICENSES/). Any other
# message fails but the errors the build system clears and rpmlint 2.4's bugs: it finds no man page, and takes the
# systemd units in /usr/lib for misplaced data.
printf 'CompressExtension = "gz"\nFilters = ["E: no-signature$", "E: no-packager-tag$", "no-manual-page-for-binary"]\n%s\n%s\n' \
  "UsrLibBinaryException = '^/usr/lib(64)?/(systemd/|lib[^/]+\\.(so|l?a)$|\\.build-id)'" \
  "ValidLicenses = [$(printf '"%s",' $(basename -s .txt -a "$(dirname "$0")"/../../LICENSES/*))]" >"$out/rpmlint.toml"
rpmlint --strict -c "$out/rpmlint.toml" "$pkg" >"$out/lint.log" 2>&1 || fail "$(cat "$out/lint.log")"
