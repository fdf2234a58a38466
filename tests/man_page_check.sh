#!/usr/bin/env bash
# The man page must render without a single groff warning and carry the
# version being built. Given the program as well, the README's example session
# must be what the program writes, byte for byte.
# Usage: man_page_check.sh PAGE VERSION [PROGRAM [EMULATOR...]]
set -euo pipefail
page=$1
version=$2
shift 2

if ! command -v groff >/dev/null 2>&1; then
    echo "groff is not installed: man page not checked"
    exit 77
fi

warnings=$(groff -ww -man -z "$page" 2>&1 >/dev/null) || {
    echo "groff failed on $page:"
    echo "$warnings"
    exit 1
}
if [[ -n $warnings ]]; then
    echo "groff warns about $page:"
    echo "$warnings"
    exit 1
fi

if ! grep -q "^\.TH COLLATZPERM 1 .*\"collatzperm $version\"" "$page"; then
    echo "$page: the .TH line does not name collatzperm $version:"
    grep '^\.TH' "$page" || echo "(no .TH line)"
    exit 1
fi
echo "$page renders cleanly for collatzperm $version"

(($#)) || exit 0
program=$1
shift
readme=$(dirname "$page")/../README.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The keys are those of the README's printf line; its first fenced block is
# the transcript from the prompt of its first search on.
keys=$(sed -n "s/^    printf '\\(.*\\)' | build\\/collatzperm > session.txt\$/\\1/p" "$readme")
[[ -n $keys ]] || { echo "$readme: no example session (printf ... | build/collatzperm > session.txt)"; exit 1; }
awk '/^```/ { fences++; next } fences == 1' "$readme" >"$work/expected"
# shellcheck disable=SC2059 # the keys are a printf format, as in the README
printf "$keys" | "$@" "$program" >"$work/session" ||
    { echo "the program ended with status $? on the README's example keys"; exit 1; }
awk -v first="$(head -n 1 "$work/expected")" '$0 == first { found = 1 } found' \
    "$work/session" >"$work/actual"
# Run times depend on the machine: the number before "sek" and "Sek." is
# left out on both sides.
for side in expected actual; do
    sed -E -i 's/ -?[.0-9]+(E[-+][0-9]+)? (sek|Sek\.)/ _ \2/g' "$work/$side"
done
if ! cmp -s "$work/expected" "$work/actual"; then
    echo "$readme: the example session differs from what the program writes:"
    diff "$work/expected" "$work/actual" | head -n 20
    exit 1
fi
echo "$readme: the example session is what the program writes"
