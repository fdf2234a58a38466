#!/usr/bin/env bash
# The man page must render without a single groff warning and carry the
# version being built. Usage: man_page_check.sh PAGE VERSION
set -euo pipefail
page=$1
version=$2

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
