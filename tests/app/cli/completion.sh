#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# The installed shell completions of vantric-cli: bash's function driven as
# bash calls it, fish's asked what it offers, zsh's parsed.
set -uo pipefail
share="$1/usr/share"
export PATH="$1/usr/bin:$PATH"
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -r /usr/share/bash-completion/bash_completion ] || fail "bash-completion is missing"
for shell in zsh fish; do command -v "$shell" >/dev/null || fail "$shell is missing"; done
work="$(mktemp -d "${TMPDIR:-/tmp}/vantric-completion.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir "$work/sub1" "$work/sub2" && touch "$work/file" && cd "$work" || exit 1
sorted() { LC_ALL=C sort; }
letters="$(vantric-cli --list | cut -c2)"
[ -n "$letters" ] || fail "vantric-cli --list lists no drive here"
ladder="$(vantric-cli --drive C --size none 2>&1 | sed -n 's/.*the sizes are //p' | tr -d ',' | tr ' ' '\n')"
sizes="$(sorted <<<"$ladder")"
[ "$(wc -l <<<"$sizes")" = 16 ] || fail "sizes: $sizes"

source /usr/share/bash-completion/bash_completion
source "$share/bash-completion/completions/vantric-cli"
# offered LINE WORD...: what the function offers for the last of the words bash split LINE into.
offered() {
  COMP_LINE="$1" COMP_POINT=${#1} COMP_WORDS=(vantric-cli "${@:2}") COMP_CWORD=$(($# - 1)) COMPREPLY=()
  _vantric_cli vantric-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sorted
}
[ "$(offered 'vantric-cli --drive ' --drive '')" = "$(printf '%s\nsub1\nsub2\n' "$letters" | sorted)" ] ||
  fail "bash after --drive: $(offered 'vantric-cli --drive ' --drive '')"
[ "$(offered 'vantric-cli --drive s' --drive s)" = "$(printf 'sub1\nsub2\n')" ] || fail "bash after --drive s"
[ "$(offered 'vantric-cli --size ' --size '')" = "$sizes" ] || fail "bash after --size"
[ "$(offered 'vantric-cli --size=' --size = '')" = "$sizes" ] || fail "bash after --size="
[ "$(offered 'vantric-cli --size 5' --size 5)" = "$(grep '^5' <<<"$sizes")" ] || fail "bash after --size 5"
[ "$(offered 'vantric-cli --dr' --dr)" = "--drive" ] || fail "bash on --dr"
compopt() { asked+="$* "; } && asked= && offered 'vantric-cli --size ' --size '' >/dev/null # bash's needs a completion
[[ $asked == *"-o nosort"* ]] || fail "bash shows the sizes out of the ladder's order"

fish_offers() { # without the descriptions
  fish --no-config -c "source '$share/fish/vendor_completions.d/vantric-cli.fish'; complete -C'$1'" | cut -f1 | ${2:-sorted}
}
[ "$(fish_offers 'vantric-cli --size ' cat)" = "$ladder" ] || fail "fish after --size, out of the ladder's order"
[ "$(fish_offers 'vantric-cli --drive ')" = "$(printf '%s\nsub1/\nsub2/\n' "$letters" | sorted)" ] ||
  fail "fish after --drive: $(fish_offers 'vantric-cli --drive ')"
zsh -n "$share/zsh/vendor-completions/_vantric-cli" || fail "zsh cannot parse its completion"
