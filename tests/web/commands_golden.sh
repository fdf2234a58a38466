#!/usr/bin/env bash
# The commands for scripts through the node build of the program: each
# command's output byte for byte as recorded (tests/golden/commands.txt).
#   commands_golden.sh collatzperm-node.js commands.txt
set -euo pipefail
program=$1 record=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The record's blocks: a "$ collatzperm ..." line, then that command's output.
awk -v dir="$work" '
    /^\$ collatzperm / { n++; print substr($0, 15) > (dir "/" n ".command"); printf "" > (dir "/" n ".expected"); next }
    n { print > (dir "/" n ".expected") }' "$record"
status=0
for command in "$work"/*.command; do
    read -r -a arguments <"$command"
    if ! node "$program" "${arguments[@]}" | cmp -s - "${command%.command}.expected"; then
        echo "differs from its record: collatzperm ${arguments[*]}" >&2
        status=1
    fi
done
exit $status
