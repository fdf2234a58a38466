#!/usr/bin/env bash
# The golden tour through the node build of the program: its transcript byte
# for byte as recorded, the run times aside (the record has them as "T").
#   golden_tour.sh collatzperm-node.js tour.keys tour.transcript [argument...]
set -euo pipefail
program=$1 keys=$2 record=$3
shift 3
out=$(mktemp)
trap 'rm -f "$out"' EXIT
node "$program" "$@" <"$keys" >"$out"
LC_ALL=C sed -E -e 's/ -?[0-9.E+-]+ (sek|sec)$/ T \1/' -e 's/^ -?[0-9.E+-]+ (Sek|sec)\. / T \1. /' "$out" |
    cmp - "$record"
