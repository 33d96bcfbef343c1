# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Vantric developers
# fish completion for vantric-cli.

complete -c vantric-cli -f
complete -c vantric-cli -s h -l help -d 'Show the options'
complete -c vantric-cli -l version -d 'Show the version'
complete -c vantric-cli -l list -d 'Print the drive list'
complete -c vantric-cli -l json -d 'Print one JSON object a line'
# The letters the drive list shows, then folders.
complete -c vantric-cli -l drive -x -d 'Drive letter or folder to test' \
    -a '(vantric-cli --list 2>/dev/null | string sub -s 2 -l 1) (__fish_complete_directories (commandline -ct))'
complete -c vantric-cli -l size -x -k -d 'Test size' -a '1k 2k 5k 10k 25k 50k 100k 500k 1000k 1M 2M 5M 10M 25M 50M 100M'
complete -c vantric-cli -l repeat -x -d 'Run the test N times'
complete -c vantric-cli -l metrics -r -F -d 'Write the figures for Prometheus to a file'
