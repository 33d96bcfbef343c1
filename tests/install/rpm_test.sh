#!/usr/bin/env bash
# Builds the RPM package from BUILD into OUT with cpack and reads it back
# with rpm, without installing it.
#   rpm_test.sh BUILD OUT VERSION USES_URING
source "$(dirname "${BASH_SOURCE[0]}")/../support/package_lib.sh"
build="$1" out="$2" version="$3" uring="$4"

rpm="$(make_package RPM "$build" "$out" rpm)"
arch="$(uname -m)"
[ "$(basename "$rpm")" = "vantric-${version}-1.${arch}.rpm" ] || fail "package file is $(basename "$rpm")"
fields="$(rpm -qp --qf '%{NAME} %{VERSION} %{ARCH}' "$rpm")"
[ "$fields" = "vantric $version $arch" ] || fail "name, version, architecture: $fields"
described "$build" "$(rpm -qp --qf '%{SUMMARY}' "$rpm")" "$(rpm -qp --qf '%{DESCRIPTION}' "$rpm")"

same_files "$(rpm -qpl "$rpm")"
# Installed under another prefix, the desktop would find neither the entry
# nor the program.
[ "$(rpm -qp --qf '%{PREFIXES}' "$rpm")" = "(none)" ] || fail "the package is relocatable"

# Requires: the soname of each library the packed programs link, Qt 6's and
# liburing's among them, and nothing else but rpm's own features (a name of
# one distribution's package would not resolve on another).
mkdir "$out/unpacked"
rpm2archive - <"$rpm" | tar -xz -C "$out/unpacked"
programs=("$out/unpacked/usr/bin/vantric" "$out/unpacked/usr/bin/vantric-cli")
needed="$(needed_libraries "${programs[@]}")"
requires="$(rpm -qpR "$rpm")"
bits=""
readelf -h "${programs[0]}" | grep -q 'Class: *ELF64' && bits="(64bit)"
wanted=(libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6)
is_on "$uring" && wanted+=(liburing.so.2)
for so in "${wanted[@]}" $needed; do
  grep -qxF "$so()$bits" <<<"$requires" || fail "Requires lacks $so()$bits"
done
others="$(grep -v '^rpmlib(\|^rtld(' <<<"$requires" | sed 's/(.*//' | LC_ALL=C sort -u | comm -23 - <(echo "$needed"))"
[ -z "$others" ] || fail "Requires holds what the programs do not link: $others"

recommends="$(rpm -qp --recommends "$rpm")"
grep -q 'qt6-qtwayland' <<<"$recommends" || fail "Recommends lacks the Wayland platform plugin"
grep -qx 'font(liberationsans)' <<<"$recommends" || fail "Recommends lacks Liberation Sans"
