# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Shared by the install and package tests, which source it.
set -euo pipefail
shopt -s nullglob

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

installed_files="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../cmake" && pwd)/installed_files.txt"

# same_files LISTING: the paths, one a line, are exactly the installed files
# under the prefix /usr: nothing missing, no extra file or folder, nothing
# elsewhere.
same_files() {
  sed 's:^\./::; s:^/\?usr/::' <<<"$1" | LC_ALL=C sort | diff -u <(grep -v '^#' "$installed_files") - ||
    fail "files differ from the installed list"
}

# described BUILD SUMMARY DESCRIPTION: the package says what the program does
# in the project's words, not in CPack's placeholder.
described() {
  local config="$1/CPackConfig.cmake"
  setting() { perl -0ne 'print $1 if /^set\('"$1"' "([^"]*)"\)$/m' "$config"; }
  [ "$2" = "$(setting CPACK_PACKAGE_DESCRIPTION_SUMMARY)" ] || fail "summary: $2"
  [ "$3" = "$(setting CPACK_PACKAGE_DESCRIPTION)" ] || fail "description: $3"
}

# needed_libraries ELF...: the sonames the files link, sorted.
needed_libraries() {
  local f
  for f in "$@"; do
    readelf -d "$f" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
  done | LC_ALL=C sort -u
}
