#!/usr/bin/env bash
# `make install DESTDIR=... PREFIX=...` must stage the binary and the man page
# under DESTDIR and nothing outside it. Usage: install_check.sh BUILD_DIR
set -euo pipefail
build_dir=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build_dir" --prefix /opt/collatzperm-check >"$stage.log" 2>&1 || {
    cat "$stage.log"; rm -f "$stage.log"; exit 1
}
rm -f "$stage.log"

failed=0
for file in bin/collatzperm share/man/man1/collatzperm.1.gz; do
    if [[ ! -f $stage/opt/collatzperm-check/$file ]]; then
        echo "missing after install: $file"
        failed=1
    fi
done
if [[ ! -x $stage/opt/collatzperm-check/bin/collatzperm ]]; then
    echo "installed binary is not executable"
    failed=1
fi
unexpected=$(cd "$stage" && find . -type f ! -path './opt/collatzperm-check/*')
if [[ -n $unexpected ]]; then
    echo "installed outside the prefix: $unexpected"
    failed=1
fi
if [[ -e /opt/collatzperm-check ]]; then
    echo "DESTDIR was ignored: /opt/collatzperm-check exists"
    failed=1
fi
exit $failed
