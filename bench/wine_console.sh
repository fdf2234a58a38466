#!/usr/bin/env bash
# Times the compressed search of 2^32 (about 6,700 rows at pause 0) drawn in
# Wine's console in a tmux pane, as a person would see it: from the Enter
# after "32" to the moment the pane shows the result line and the prompt.
# Usage: bench/wine_console.sh [collatzperm.exe] [runs]   (default
# build-windows/collatzperm.exe, 3 runs); needs wine and tmux.
set -euo pipefail
exe=$(realpath "${1:-build-windows/collatzperm.exe}")
runs=${2:-3}
for tool in wine tmux; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt-get install $tool)" >&2; exit 1; }
done
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$(dirname "$exe")/wine-prefix}
session=collatzperm-bench-$$
trap 'tmux kill-session -t "$session" 2>/dev/null || true' EXIT

screen() { tmux capture-pane -p -t "$session"; }
# Waits until the pane's last two lines with text are a result line and the prompt.
wait_for_prompt() {
    local want=$1
    for _ in $(seq 1 6000); do
        local text
        text=$(screen)
        if grep -q -- "$want" <<<"$text" &&
            grep -v '^ *$' <<<"$text" | tail -2 | head -1 | grep -q 'sek *$' &&
            grep -v '^ *$' <<<"$text" | tail -1 | grep -q 'Eingabe i'; then
            return 0
        fi
        sleep 0.02
    done
    echo "$0: no prompt after $want" >&2
    return 1
}

for run in $(seq 1 "$runs"); do
    tmux new-session -d -s "$session" -x 160 -y 45 "wine '$exe'"
    for _ in $(seq 1 1500); do screen | grep -q 'Bitte' && break; sleep 0.02; done
    tmux send-keys -t "$session" Enter
    wait_for_prompt 'i.m = 17'
    tmux send-keys -t "$session" K Enter
    wait_for_prompt 'k.m = 17'
    started=$(date +%s.%N)
    tmux send-keys -t "$session" 32 Enter
    wait_for_prompt 'k.m = 32'
    ended=$(date +%s.%N)
    printf 'run %d: %.2f s\n' "$run" "$(echo "$ended - $started" | bc)"
    tmux send-keys -t "$session" Q Enter
    sleep 0.5
    tmux send-keys -t "$session" x
    sleep 1
    tmux kill-session -t "$session" 2>/dev/null || true
done
