#!/usr/bin/env bash
# Builds the Debian package from BUILD into OUT with cpack and reads it back
# with dpkg-deb, without installing it.
#   deb_test.sh BUILD OUT VERSION USES_URING
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$1" out="$2" version="$3" uring="$4"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log") || { cat "$out/cpack.log" >&2; fail "cpack failed"; }
shopt -s nullglob
debs=("$out"/*.deb)
[ "${#debs[@]}" -eq 1 ] || fail "expected one package, found: ${debs[*]}"
deb="${debs[0]}"
arch="$(dpkg --print-architecture)"
[ "$(basename "$deb")" = "vantric_${version}_${arch}.deb" ] || fail "package file is $(basename "$deb")"

# The files: the same list as a plain install under /usr.
actual="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's:^\./usr/::' | LC_ALL=C sort)"
diff -u "$here/expected_files.txt" - <<<"$actual" || fail "packaged files differ from the expected list"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vantric ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"

# Depends: the package of every library the packaged program needs, the Qt
# platform plugins, liburing when the build uses it; nothing for building.
depends="$(field Depends)"
echo "Depends: $depends"
names="$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | LC_ALL=C sort)"
wanted=(libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins)
case "$uring" in
  ON | TRUE | 1 | YES) wanted+=(liburing2) ;;
esac
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
bin="$out/unpacked/usr/bin/vantric"
found="$(ldd "$bin" | awk '$2 == "=>" { print $1, $3 }')"
for soname in $(readelf -d "$bin" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
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
echo "Recommends: $recommends"
grep -qw 'qt6-wayland' <<<"$recommends" || fail "Recommends lacks qt6-wayland"
