#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The installed shell completions of vantric-cli: bash's function driven as
# bash calls it, fish's asked what it offers, zsh's parsed.
set -uo pipefail
share="$1/usr/share"
export PATH="$1/usr/bin:$PATH"
fail() { echo "FAIL: $*" >&2; exit 1; }
bash_completion=/usr/share/bash-completion/bash_completion
[ -r "$bash_completion" ] || fail "bash-completion is missing"
for shell in zsh fish; do command -v "$shell" >/dev/null || fail "$shell is missing"; done
work="$(mktemp -d "${TMPDIR:-/tmp}/vantric-completion.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir "$work/sub1" "$work/sub2" && touch "$work/file"
cd "$work" || exit 1

letters="$(vantric-cli --list | cut -c2)"
[ -n "$letters" ] || fail "vantric-cli --list lists no drive here"
sizes="$(vantric-cli --drive C --size none 2>&1 | sed -n 's/.*the sizes are //p' | tr -d ',' | tr ' ' '\n')"
[ "$(wc -l <<<"$sizes")" = 16 ] || fail "sizes: $sizes"
sorted() { LC_ALL=C sort; }

source "$bash_completion"
source "$share/bash-completion/completions/vantric-cli"
# offered WORD...: what the function offers for the last word, as bash would call it.
offered() {
  COMP_WORDS=(vantric-cli "$@")
  COMP_CWORD=$#
  COMP_LINE=vantric-cli
  local w last=
  for w in "$@"; do # bash splits "--size=1" into "--size" "=" "1"
    if [ "$w" = = ] || [ "$last" = = ]; then COMP_LINE+="$w"; else COMP_LINE+=" $w"; fi
    last="$w"
  done
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _vantric_cli vantric-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sorted
}
[ "$(offered --drive '')" = "$(printf '%s\nsub1\nsub2\n' "$letters" | sorted)" ] ||
  fail "bash after --drive: $(offered --drive '')"
[ "$(offered --drive s)" = "$(printf 'sub1\nsub2\n')" ] || fail "bash after --drive s: $(offered --drive s)"
[ "$(offered --size '')" = "$(sorted <<<"$sizes")" ] || fail "bash after --size: $(offered --size '')"
[ "$(offered --size = '')" = "$(sorted <<<"$sizes")" ] || fail "bash after --size=: $(offered --size = '')"
[ "$(offered --size 5)" = "$(grep '^5' <<<"$sizes" | sorted)" ] || fail "bash after --size 5: $(offered --size 5)"
[ "$(offered --dr)" = "--drive" ] || fail "bash on --dr: $(offered --dr)"

# fish_complete COMMANDLINE: the candidates fish offers, without their descriptions.
fish_complete() {
  fish --no-config -c "source '$share/fish/vendor_completions.d/vantric-cli.fish'; complete -C'$1'" | cut -f1 | sorted
}
[ "$(fish_complete 'vantric-cli --size ')" = "$(sorted <<<"$sizes")" ] || fail "fish after --size"
[ "$(fish_complete 'vantric-cli --drive ')" = "$(printf '%s\nsub1/\nsub2/\n' "$letters" | sorted)" ] ||
  fail "fish after --drive: $(fish_complete 'vantric-cli --drive ')"
zsh -n "$share/zsh/vendor-completions/_vantric-cli" || fail "zsh cannot parse its completion"
