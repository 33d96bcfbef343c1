#!/usr/bin/env bash
# Builds the Debian package from BUILD into OUT with cpack and reads it back
# with dpkg-deb, without installing it.
#   deb_test.sh BUILD OUT VERSION USES_URING
source "$(dirname "${BASH_SOURCE[0]}")/../support/package_lib.sh"
build="$1" out="$2" version="$3" uring="$4"

deb="$(make_package DEB "$build" "$out" deb)"
arch="$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "vantric_${version}_${arch}.deb" ] || fail "package file is $(basename "$deb")"

same_files "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }')"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vantric ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
described "$build" "$(field Description | head -n 1)" "$(field Description | tail -n +2 | sed 's/^ //')"

# Depends: the package of every library the packaged program needs, the Qt
# platform plugins, liburing when the build uses it; nothing for building.
depends="$(field Depends)"
names="$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | LC_ALL=C sort)"
wanted=(libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins)
is_on "$uring" && wanted+=(liburing2)
dpkg-deb -x "$deb" "$out/unpacked"
# Each library the program needs, found where the loader finds it, and the
# package that ships that file (under /lib or /usr/lib: the two are one).
owner_of() {
  local path="$1" alt
  case "$path" in
    /usr/*) alt="${path#/usr}" ;;
    *) alt="/usr$path" ;;
  esac
  { dpkg -S "$path" 2>/dev/null || dpkg -S "$alt" 2>/dev/null || true; } | head -n 1 | sed 's/:.*//'
}
programs=("$out/unpacked/usr/bin/vantric" "$out/unpacked/usr/bin/vantric-cli")
found="$(for p in "${programs[@]}"; do ldd "$p"; done | awk '$2 == "=>" { print $1, $3 }' | sort -u)"
for soname in $(needed_libraries "${programs[@]}"); do
  path="$(awk -v so="$soname" '$1 == so { print $2 }' <<<"$found")"
  [ -n "$path" ] || fail "the loader cannot find $soname"
  owner="$(owner_of "$path")"
  [ -n "$owner" ] || fail "no package ships $soname ($path)"
  wanted+=("$owner")
done
for p in "${wanted[@]}"; do
  grep -qx "$p" <<<"$names" || fail "Depends lacks $p"
done
if grep -E -- '-dev$|^qt6-wayland$' <<<"$names"; then
  fail "Depends holds packages it should not"
fi
recommends="$(field Recommends)"
grep -qw 'qt6-wayland' <<<"$recommends" || fail "Recommends lacks qt6-wayland"
