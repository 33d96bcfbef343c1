# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# bash completion for vantric-cli (loaded by bash-completion).

_vantric_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --drive)
            # The letters the drive list shows, then folders.
            local letters
            letters=$("$1" --list 2>/dev/null | cut -c2)
            COMPREPLY=($(compgen -W "$letters" -- "$cur"))
            _filedir -d
            return
            ;;
        --size)
            # As the ladder climbs, not sorted as text (1000k before 100k).
            compopt -o nosort
            COMPREPLY=($(compgen -W "1k 2k 5k 10k 25k 50k 100k 500k 1000k 1M 2M 5M 10M 25M 50M 100M" -- "$cur"))
            return
            ;;
        --metrics)
            _filedir
            return
            ;;
        --repeat)
            return
            ;;
    esac
    $split && return

    COMPREPLY=($(compgen -W "--list --drive --size --repeat --json --metrics --help --version" -- "$cur"))
} &&
    complete -F _vantric_cli vantric-cli
