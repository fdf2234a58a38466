#!/usr/bin/env bash
# Remakes docs/screenshot.png from a real session of the program in tmux: the
# search for 2^12 with its highlighted rows, its listing (G) and the sequence of 7.
# Needs tmux, Pillow and DejaVu Sans Mono (Debian: tmux python3-pil fonts-dejavu-core).
# Usage: docs/make_screenshot.sh [BINARY]   (default build/collatzperm)
set -euo pipefail
cd "$(dirname "$0")/.."
binary=$(realpath "${1:-build/collatzperm}")
python=${PYTHON:-/usr/bin/python3}

# Say all that is missing at once, and how to get it, before starting anything.
missing=()
command -v tmux >/dev/null 2>&1 || missing+=(tmux)
"$python" -c 'import PIL' >/dev/null 2>&1 || missing+=(python3-pil)
for font in DejaVuSansMono DejaVuSansMono-Bold; do
    [[ -f /usr/share/fonts/truetype/dejavu/$font.ttf ]] || { missing+=(fonts-dejavu-core); break; }
done
if ((${#missing[@]})); then
    echo "make_screenshot.sh needs ${missing[*]}: apt-get install ${missing[*]}" >&2
    exit 1
fi
if [[ ! -x $binary ]]; then
    echo "no program at $binary: make build first" >&2
    exit 1
fi
socket=collatzperm-screenshot-$$
capture=$(mktemp)

tmux -L "$socket" -f /dev/null new-session -d -x 104 -y 42 "$binary; sleep 60"
trap 'tmux -L "$socket" kill-server 2>/dev/null; rm -f "$capture"' EXIT
tmux -L "$socket" set-option -g status off
type_keys() {
    tmux -L "$socket" send-keys -t 0 "$@"
    sleep 1
}
sleep 1
type_keys Enter      # past the start table: the text screen and the search for 17
type_keys 12 Enter   # the search for 2^12
type_keys G Enter    # its listing, every term as a number
type_keys 007 Enter  # the explorer: the sequence of 7
tmux -L "$socket" capture-pane -t 0 -e -p >"$capture"
"$python" docs/ansi_to_png.py "$capture" docs/screenshot.png
echo "docs/screenshot.png made from $binary"
