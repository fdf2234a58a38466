#!/bin/sh
# Runs each fuzz target for FUZZ_SECONDS over its seed corpus and prints, per
# target, the executions and what was found. New inputs go to corpus-work/, so
# the committed seeds stay as they are; crash inputs are kept there too.
#   fuzz/run.sh BUILD_DIR [TARGET...]
set -u
build=${1:?build directory}
shift
seconds=${FUZZ_SECONDS:-60}
targets=${*:-"parse_number input_field format_using key_decoder whole_program real_ops"}
here=$(cd "$(dirname "$0")" && pwd)
work=${FUZZ_WORK:-$here/../corpus-work}
failed=0
for t in $targets; do
    mkdir -p "$work/$t"
    log="$work/$t.log"
    # A run of the whole program may take a while on a slow input; others must be quick.
    timeout=10
    [ "$t" = whole_program ] && timeout=20
    "$build/fuzz_$t" "$work/$t" "$here/corpus/$t" -max_total_time="$seconds" \
        -timeout="$timeout" -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$work/$t-" >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        printf '%-14s %10s executions in %ss, nothing found\n' "$t" "${runs:-?}" "$seconds"
    else
        failed=1
        printf '%-14s %10s executions: FOUND a fault (exit %s), see %s\n' "$t" "${runs:-?}" \
            "$status" "$log"
        find "$work" -maxdepth 1 -name "$t-*" -type f | sed 's/^/    input: /'
        grep -m 3 -E 'ERROR|SUMMARY|runtime error|deadly signal|timeout' "$log" | sed 's/^/    /'
    fi
done
exit $failed
