#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# Fails when our libraries link in a circle, when the ground (vantric_platform), the logic or an OS
# library links one of ours but the ground, or when a library but vantric_qt links Qt Widgets or xcb.
# Reads the link graph cmake --graphviz draws for a fresh configure of the source folder $1 in the scratch
# folder $2, with the cache entries that follow; tsort finds the circles.
#   library_layers.sh symbols GROUND LOGIC OS: each built library's calls into our code end in itself or below it.
set -u
if [ "$1" = symbols ]; then
  ours() { nm -C "$@" 2>/dev/null | grep -o ' vantric::.*' | sort -u; }
  status=0
  check() { # LIBRARY [BELOW...]
    missing="$(comm -23 <(ours --undefined-only "$1") <(ours --defined-only "$@"))"
    [ -z "$missing" ] || { echo "$(basename "$1") calls what only a library above it defines:"; echo "$missing"; status=1; }
  }
  check "$2"; check "$3" "$2"; check "$4" "$2"
  exit $status
fi
source_dir=$1 scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch"
cmake -S "$source_dir" -B "$scratch" -G Ninja -DVANTRIC_BUILD_TESTS=ON -DVANTRIC_BUILD_BENCHMARKS=ON "${@:3}" \
  --graphviz="$scratch/libraries.dot" >"$scratch/configure.log" 2>&1 || { cat "$scratch/configure.log"; exit 1; }
# The graph's comments name each link as "// from -> to".
sed -n 's|.*// \(vantric[^ ]*\) -> \(vantric[^ ]*\)$|\1 \2|p' "$scratch/libraries.dot" | sort -u >"$scratch/links"
echo "Our links:"; cat "$scratch/links"
status=0
grep -q '^vantric_logic ' "$scratch/links" || { echo "no link of vantric_logic in the graph"; exit 1; }
if ! tsort "$scratch/links" >/dev/null 2>"$scratch/tsort.log"; then
  echo "Our libraries link in a circle:"; cat "$scratch/tsort.log"; status=1
fi
if above="$(grep -E '^(vantric_platform|vantric_logic|vantric_platform_[a-z]+) ' "$scratch/links" | grep -v ' vantric_platform$')"
then
  echo "The ground, the logic and the OS libraries link only the ground:"; echo "$above"; status=1
fi
if qt="$(sed -n 's/.*\/\/ \(vantric[^ ]*\) -> \(Qt6::Widgets\|PkgConfig::XCB\)$/\1 \2/p' "$scratch/libraries.dot" |
  grep -v '^vantric_qt ')"; then
  echo "Only vantric_qt links Qt Widgets and xcb:"; echo "$qt"; status=1
fi
exit $status
