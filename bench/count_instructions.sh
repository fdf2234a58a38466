#!/usr/bin/env bash
# Counts the instructions of bench/'s long session (keys from bench/session.keys)
# with valgrind's callgrind, over the whole process: once with standard output
# on a 250 x 80 pseudo-terminal (drawing for a terminal) and once into a file
# (the transcript). Instruction counts do not swing with the machine's load, as
# wall times do.
# Usage: bench/count_instructions.sh [program] [profile-dir] [keys]   (default
# build/collatzperm, after make build). With a profile-dir, the callgrind files
# are kept there (pty.out, file.out) and the top functions of each are printed.
# The session's "99" runs random start values, so its count moves by about a
# million from run to run; other keys (a file) make another session.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "${1:-build/collatzperm}")
keep=${2:-}
keys=$(realpath "${3:-$here/session.keys}")
for tool in valgrind python3; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt-get install $tool)" >&2; exit 1; }
done
[ -x "$program" ] || { echo "$0: no program at $program (make build first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out_dir=${keep:-$work}
mkdir -p "$out_dir"

# valgrind with the session's keys; its own report goes to a file of its own.
count() {
    local name=$1
    shift
    "$@" valgrind --tool=callgrind --callgrind-out-file="$out_dir/$name.out" \
        --log-file="$work/$name.log" "$program" <"$keys"
}

# A pseudo-terminal of 250 x 80 for standard output, read to the end and
# thrown away; standard input and error stay as they are.
through_pty() {
    python3 -c '
import fcntl, os, pty, struct, subprocess, sys, termios
master, slave = pty.openpty()
fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 80, 250, 0, 0))
child = subprocess.Popen(sys.argv[1:], stdout=slave)
os.close(slave)
while True:
    try:
        if not os.read(master, 1 << 16):
            break
    except OSError:  # EIO: the child side is closed
        break
sys.exit(child.wait())
' "$@"
}

into_file() {
    "$@" >"$work/transcript.txt"
}

count pty through_pty
count file into_file

total() {
    callgrind_annotate "$out_dir/$1.out" 2>/dev/null | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1; exit }'
}
millions() { awk -v n="$1" 'BEGIN { printf "%.1f M", n / 1e6 }'; }
printf 'pty 250 x 80:  %s instructions\n' "$(millions "$(total pty)")"
printf 'into a file:   %s instructions\n' "$(millions "$(total file)")"
if [ -n "$keep" ]; then
    for name in pty file; do
        echo
        echo "== $name: the top functions (inclusive of nothing, exclusive counts)"
        callgrind_annotate "$out_dir/$name.out" 2>/dev/null | sed -n '/^Ir/,$p' | sed -n '3,22p'
    done
fi
