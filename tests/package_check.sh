#!/usr/bin/env bash
# Builds the Debian package from a build tree, checks its control fields and
# contents (and lintian's verdict, where it is installed), installs it into a
# scratch dpkg root, runs the installed program there and purges it again.
# Nothing outside a temporary folder is touched.
# Usage: package_check.sh BUILD_DIR [EMULATOR...]
# A cross build's package is installed all the same and its program run
# through the emulator that runs its tests.
set -euo pipefail
build_dir=$1
shift
emulator=("$@")

for tool in cpack dpkg-deb dpkg dpkg-query; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$tool is not installed: package not checked"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "$*"
    exit 1
}

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/out/*.deb)
[[ ${#debs[@]} -eq 1 && -f ${debs[0]} ]] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == collatzperm ]] || fail "Package: $(field Package)"
for name in Version Maintainer Section Description Architecture; do
    [[ -n $(field "$name") ]] || fail "control field $name is empty"
done
depends=$(field Depends)
[[ $depends == *libc6* ]] || fail "Depends lacks libc6: $depends"

dpkg-deb --extract "$deb" "$work/unpacked"
[[ -x $work/unpacked/usr/bin/collatzperm ]] || fail "package lacks usr/bin/collatzperm"
[[ -f $work/unpacked/usr/share/man/man1/collatzperm.1.gz ]] || fail "package lacks the man page"
gzip -t "$work/unpacked/usr/share/man/man1/collatzperm.1.gz" || fail "the packed man page is not gzip"
# The doc folder Debian expects: a README, the copyright, and a changelog whose
# latest entry is this version.
doc=usr/share/doc/collatzperm
for file in README copyright changelog.gz; do
    [[ -s $work/unpacked/$doc/$file ]] || fail "package lacks $doc/$file"
done
changes=$(gzip -dc "$work/unpacked/$doc/changelog.gz") || fail "the packed changelog is not gzip"
[[ ${changes%%$'\n'*} == "collatzperm ($(field Version)) "* ]] ||
    fail "the changelog's latest entry is not version $(field Version): ${changes%%$'\n'*}"
if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian finds faults in the package"; }
fi
if command -v readelf >/dev/null 2>&1 &&
    readelf -d "$work/unpacked/usr/bin/collatzperm" | grep -q 'NEEDED.*libstdc++'; then
    [[ $depends == *libstdc++6* ]] || fail "binary needs libstdc++ but Depends is: $depends"
fi

# A scratch dpkg database: the machine's own package list is never read or written.
root=$work/root
admin=$root/var/lib/dpkg
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers"
touch "$admin/status" "$admin/available"
run_dpkg=(dpkg "--root=$root" "--admindir=$admin" --log=/dev/null --force-depends)
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || run_dpkg+=(--force-architecture)
if [[ $(id -u) -ne 0 ]]; then
    if command -v fakeroot >/dev/null 2>&1; then
        run_dpkg=(fakeroot "${run_dpkg[@]}" --force-not-root)
    else
        echo "not root and no fakeroot: package contents checked, dpkg install skipped"
        exit 0
    fi
fi

"${run_dpkg[@]}" --install "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --install failed"; }
status=$(dpkg-query "--admindir=$admin" --show --showformat='${Status}' collatzperm)
[[ $status == "install ok installed" ]] || fail "after install the status is: $status"
[[ -x $root/usr/bin/collatzperm ]] || fail "dpkg did not install usr/bin/collatzperm"
[[ -f $root/usr/share/man/man1/collatzperm.1.gz ]] || fail "dpkg did not install the man page"
[[ -f $root/$doc/copyright ]] || fail "dpkg did not install the doc folder"

# The installed program runs: Enter after the start table, then Q and one key.
printf '\nQ\n\n' | "${emulator[@]}" "$root/usr/bin/collatzperm" >"$work/session.txt" ||
    fail "the installed program exited with status $?"

"${run_dpkg[@]}" --purge collatzperm >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --purge failed"; }
left=$(cd "$root" && find . -path ./var -prune -o ! -type d -print)
[[ -z $left ]] || fail "files left after purge: $left"
if dpkg-query "--admindir=$admin" --show collatzperm >/dev/null 2>&1; then
    fail "dpkg still knows collatzperm after purge"
fi
echo "$(basename "$deb") installs into a scratch root, runs and purges cleanly"
