#!/usr/bin/env bash
# The man page must render without a single groff warning and carry the
# version being built. Given the program as well, the examples of the README
# and of the man page must be what the program writes: the README's session
# byte for byte, the screens they show, and the output of their commands.
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
program=$(realpath "$1")
shift
readme=$(dirname "$page")/../README.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "$1"
    status=1
}
# Run times depend on the machine: the number before "sek", "Sek.", "sec" and
# "sec." is left out on every side.
without_times() { sed -E 's/ -?[.0-9]+(E[-+][0-9]+)? (sek|Sek\.|sec\.?)/ _ \2/g'; }

# The examples' commands name collatzperm: the program being built, under its
# emulator if it has one.
mkdir "$work/bin" "$work/run"
printf '#!/usr/bin/env bash\nexec %s "$@"\n' "$(printf '%q ' "$@" "$program")" >"$work/bin/collatzperm"
chmod +x "$work/bin/collatzperm"
export PATH="$work/bin:$PATH"

# The README's example session: the keys of its printf line, and the fenced
# block after it byte for byte, from the prompt of its first search on.
keys=$(sed -n "s/^    printf '\\(.*\\)' | build\\/collatzperm > session.txt\$/\\1/p" "$readme")
[[ -n $keys ]] || { echo "$readme: no example session (printf ... | build/collatzperm > session.txt)"; exit 1; }
awk 'index($0, "| build/collatzperm > session.txt") { after = 1 }
     after && /^```/ { if (inside) exit; inside = 1; next }
     inside' "$readme" | without_times >"$work/expected"
# shellcheck disable=SC2059 # the keys are a printf format, as in the README
printf "$keys" | collatzperm >"$work/session" ||
    { echo "the program ended with status $? on the README's example keys"; exit 1; }
awk -v first="$(head -n 1 "$work/expected")" '$0 == first { found = 1 } found' \
    "$work/session" | without_times >"$work/actual"
if cmp -s "$work/expected" "$work/actual"; then
    echo "$readme: the example session is what the program writes"
else
    fail "$readme: the example session differs from what the program writes:"
    diff "$work/expected" "$work/actual" | head -n 20 || true
fi

# Screens shown elsewhere (the README's ```text blocks, the man page's .EX
# lines that are no command) must stand in a line of what the program writes
# for these keys, in either language: 8 after 17, its listing, 7 plain,
# compact and compressed, 16 compressed; from the text screen's start value
# 24 in 3n-1, 88 and 10's loop. A pipe never opens the run-time prompt, so
# its lines must be the program's own texts. An example may end in " ..."
# where it leaves the rest out.
screen_keys=$'\n8\nG\n007\n0\n667\n6616\nT\nM\n88\n0010\nQ\n\n'
for language in de en; do
    printf '%s' "$screen_keys" | collatzperm --language=$language
done | without_times >"$work/screens"
check_screens() {
    local source=$1 line shown=0
    while IFS= read -r line; do
        line=$(sed -E 's/ *$//; s/ \.\.\.$//' <<<"$line" | without_times)
        [[ -n $line ]] || continue
        shown=$((shown + 1))
        grep -qF -- "$line" "$work/screens" || grep -qaF -- "$line" "$program" ||
            fail "$source: \"$line\" is not what the program shows"
    done
    echo "$source: $shown lines of screens checked"
}
check_screens "$readme" < <(awk '/^```/ { inside = ($0 == "```text"); next } inside' "$readme")
# The man page's own escapes, for the few its examples use.
unescape() { sed -e "s/\\\\(aq/'/g" -e 's/\\-/-/g' -e 's/\\e/\\/g' -e 's/\\&//g'; }
awk '/^\.EE/ { inside = 0 } inside; /^\.EX/ { inside = 1 }' "$page" | unescape >"$work/man_examples"
check_screens "$page" < <(grep -v collatzperm "$work/man_examples")

# Commands: the README's ```console blocks ("$ ", continued with "> ") must
# write exactly the lines under each command; the man page's must succeed. A
# block that needs jq or GNU parallel is skipped where the tool is missing.
missing_tool() {
    local tool
    for tool in jq parallel; do
        if grep -qw "$tool" <<<"$1" && ! command -v "$tool" >/dev/null; then
            echo "$tool"
            return
        fi
    done
}
run_command() {
    (cd "$work/run" && bash -c "$1") 2>"$work/stderr"
}
check_commands() {
    local command=$1 expected=$2
    [[ -n $command ]] || return 0
    run_command "$command" >"$work/got" || fail "$readme: \"$command\" ended with status $?: $(head -c 300 "$work/stderr")"
    if [[ $(<"$work/got") != "$expected" ]]; then
        fail "$readme: \"$command\" writes something else:"
        diff <(echo "$expected") "$work/got" | head -n 10 || true
    fi
}
awk '/^```console$/ { block++; inside = 1; next } /^```/ { inside = 0 } inside { print block "\t" $0 }' \
    "$readme" >"$work/console"
for block in $(cut -f1 "$work/console" | uniq); do
    lines=$(awk -F'\t' -v block="$block" '$1 == block { sub(/^[^\t]*\t/, ""); print }' "$work/console")
    tool=$(missing_tool "$lines")
    if [[ -n $tool ]]; then
        echo "$readme: $tool is missing: the example block $block is not checked"
        continue
    fi
    command='' expected=''
    while IFS= read -r line; do
        if [[ $line == '$ '* ]]; then
            check_commands "$command" "$expected"
            command=${line#\$ } expected=''
        elif [[ $line == '> '* && -z $expected ]]; then
            command+=$'\n'${line#> }
        else
            expected+=${expected:+$'\n'}$line
        fi
    done <<<"$lines"
    check_commands "$command" "$expected"
done
echo "$readme: the commands' examples checked"
while IFS= read -r command; do
    tool=$(missing_tool "$command")
    if [[ -n $tool ]]; then
        echo "$page: $tool is missing: \"$command\" is not checked"
    else
        run_command "$command" >/dev/null ||
            fail "$page: \"$command\" ended with status $?: $(head -c 300 "$work/stderr")"
    fi
done < <(grep collatzperm "$work/man_examples")
echo "$page: its commands run"
exit $status
