#!/usr/bin/env bash
# A count split into pieces and run by GNU parallel, as on a cluster, summed
# and compared with the whole count. Skips (77) without parallel.
#   split_count_check.sh collatzperm [emulator...]
set -euo pipefail
program=$1
shift
command -v parallel >/dev/null || { echo "GNU parallel is missing: skipped"; exit 77; }
count() { "$@" "$program" count 1..40 --compressed --format=csv; }
whole=$(count "${@}")
# Each piece lists every exponent; only piece 1 has the header line.
split=$(parallel --will-cite -k "${*:+${*} }$program count 1..40 --compressed --format=csv --part={}/4" ::: 1 2 3 4 |
    awk -F, 'NR == 1 { print; next } { sum[$1] += $2; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
             END { for (i = 1; i <= n; i++) print order[i] "," sum[order[i]] }')
if [ "$split" != "$whole" ]; then
    echo "the pieces sum to something else than the whole:" >&2
    diff <(echo "$whole") <(echo "$split") >&2 || true
    exit 1
fi
