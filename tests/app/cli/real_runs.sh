#!/usr/bin/env bash
# vantric-cli on real file systems: a read-only folder (a read-only tmpfs in
# a private mount namespace) and Ctrl+C in the middle of a run.
set -euo pipefail
cli="$1"
work="$(mktemp -d "${TMPDIR:-/tmp}/vantric-cli-real.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Read-only: exit 1, the window's message on stderr, nothing on stdout.
mkdir "$work/ro"
set +e
unshare -rm sh -c 'mount -t tmpfs -o ro tmpfs "$1" && exec "$2" --drive "$1" --size 1k' sh "$work/ro" "$cli" \
  >"$work/out" 2>"$work/err"
rc=$?
set -e
[ "$rc" -eq 1 ] || { echo "read-only folder: exit $rc, wanted 1"; cat "$work/err"; exit 1; }
grep -q "You may not create files on this drive" "$work/err" || { echo "no message:"; cat "$work/err"; exit 1; }
[ ! -s "$work/out" ] || { echo "rows printed for a failed test"; exit 1; }

# Ctrl+C during a run: the scratch file goes, the exit status is 130.
mkdir "$work/run"
"$cli" --drive "$work/run" --size 100M --repeat 1000 >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 500); do
  [ -e "$work/run/~test.tmp" ] && break
  sleep 0.01
done
[ -e "$work/run/~test.tmp" ] || { echo "no run started"; kill "$pid"; exit 1; }
kill -INT "$pid"
set +e
wait "$pid"
rc=$?
set -e
[ "$rc" -eq 130 ] || { echo "Ctrl+C: exit $rc, wanted 130"; exit 1; }
[ -z "$(ls -A "$work/run")" ] || { echo "left behind:"; ls -la "$work/run"; exit 1; }
echo "read-only folder and Ctrl+C: as expected"
