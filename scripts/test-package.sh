#!/usr/bin/env bash
# The Debian package as a user gets it: makes it with CPack from a build tree (default build/),
# checks its contents and runs lintian on it, installs it with apt, runs what it installed (the
# command line, the manual pages, the completion, the desktop entry's program under Xvfb),
# validates the installed desktop entry and metainfo, purges it and checks that nothing of it
# is left. It leaves the machine as it found it, also when a step fails.
# Installing needs root; without root, or with a moxon package already on the machine, the
# install steps are skipped and the script says why.
# Usage: bash scripts/test-package.sh [build dir]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
package=moxon
app_id=org.moxon.Calculator
# The installed programs must be the ones found, not a build tree's.
system_path=/usr/sbin:/usr/bin:/sbin:/bin

workdir=$(mktemp -d)
installing=
xvfb_pid=
program_pid=
new_packages=()

fail() {
    echo "test-package.sh: $*" >&2
    exit 1
}

purge() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q -o DPkg::Lock::Timeout=600 \
        "$package" "${new_packages[@]}"
}

cleanup() {
    local status=$?
    if [[ -n $program_pid ]]; then kill "$program_pid" 2>/dev/null || true; fi
    if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    if [[ -n $installing ]]; then
        echo "Removing the package after a failed step"
        if ! purge >"$workdir/cleanup.log" 2>&1; then
            cat "$workdir/cleanup.log" >&2
            echo "test-package.sh: could not remove $package; remove it with: apt-get purge $package" >&2
        fi
    fi
    rm -rf "$workdir"
    exit "$status"
}
trap cleanup EXIT
# An interrupted run cleans up as well.
trap 'exit 130' INT
trap 'exit 143' TERM

echo "== making the package =="
cmake --build "$build" >"$workdir/build.log" 2>&1 || { cat "$workdir/build.log" >&2; fail "the build failed"; }
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$workdir/out" >"$workdir/cpack.log" ||
    { cat "$workdir/cpack.log" >&2; fail "cpack failed"; }
debs=()
for file in "$workdir"/out/*.deb; do [[ -f $file ]] && debs+=("$file"); done
((${#debs[@]} == 1)) || fail "cpack made ${#debs[@]} packages, not one"
deb=${debs[0]}
echo "$(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
dpkg-deb --field "$deb" Package Version Depends Recommends

[[ $(dpkg-deb --field "$deb" Recommends) == *nec2c* ]] || fail "the package does not recommend nec2c"
[[ $(dpkg-deb --field "$deb" Depends) == *libqt6widgets6* ]] ||
    fail "Depends does not name the Qt libraries: dpkg-shlibdeps did not run"
version=$(dpkg-deb --field "$deb" Version)
version=${version%-*}

dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e 's|/$||' -e '/^$/d' >"$workdir/contents"
for path in /usr/bin/moxon /usr/bin/moxon-cli \
    /usr/share/applications/$app_id.desktop /usr/share/metainfo/$app_id.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    /usr/share/icons/hicolor/48x48/apps/$app_id.png \
    /usr/share/man/man1/moxon.1.gz /usr/share/man/man1/moxon-cli.1.gz \
    /usr/share/bash-completion/completions/moxon-cli \
    /usr/share/doc/$package/copyright /usr/share/doc/$package/changelog.Debian.gz; do
    grep -qxF "$path" "$workdir/contents" || fail "the package lacks $path"
done

echo "== lintian =="
# lintian warns when it runs as root; that says nothing about the package.
lintian --fail-on error "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
    fail "lintian reports errors"
echo "lintian: no errors"

if [[ $(id -u) -ne 0 ]]; then
    echo "SKIPPED the install test: installing and removing a package needs root."
    echo "Run it as root: bash scripts/test-package.sh"
    exit 0
fi
state=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
if [[ -n $state && $state != un* ]]; then
    echo "SKIPPED the install test: a $package package is on this machine already (dpkg state" \
        "'${state% }'), and the test would replace it and then purge it."
    echo "Remove it first with: apt-get purge $package"
    exit 0
fi

echo "== installing =="
dpkg-query -W -f='${binary:Package}\n' | sort >"$workdir/packages-before"
# Which of the package's paths exist before it comes: those (shared folders) must stay, every
# other one must go with it.
while IFS= read -r path; do
    if [[ -e $path || -L $path ]]; then echo "$path"; fi
done <"$workdir/contents" >"$workdir/existed-before"
installing=yes
DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=600 "$deb" \
    >"$workdir/install.log" 2>&1 || { cat "$workdir/install.log" >&2; fail "apt-get install failed"; }
dpkg-query -W -f='${binary:Package}\n' | sort >"$workdir/packages-installed"
# Dependencies that apt brought with the package go with it again.
mapfile -t new_packages < <(comm -13 "$workdir/packages-before" "$workdir/packages-installed" |
    grep -v -x -e "$package" -e "$package:.*" || true)
echo "installed $package $(dpkg-query -W -f='${Version}' "$package")" \
    "${new_packages[*]:+with ${new_packages[*]}}"

echo "== the installed programs =="
for program in moxon moxon-cli; do
    [[ $(PATH=$system_path command -v "$program") == /usr/bin/$program ]] ||
        fail "$program is not found as /usr/bin/$program"
    [[ $(PATH=$system_path "$program" --version) == "$program $version" ]] ||
        fail "'$program --version' does not print '$program $version'"
done
PATH=$system_path moxon-cli design --freq 146 | tee "$workdir/design.txt"
grep -qE '^ *MHz +A +B +C +D +E +unit$' "$workdir/design.txt" &&
    grep -qE '^ *146( +[0-9.]+){5} +in$' "$workdir/design.txt" ||
    fail "moxon-cli design --freq 146 did not print the design"

desktop_file=/usr/share/applications/$app_id.desktop
desktop-file-validate "$desktop_file" || fail "desktop-file-validate rejects $desktop_file"
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli rejects the installed metainfo"

for page in moxon moxon-cli; do
    [[ $(man -w "$page") == /usr/share/man/man1/$page.1.gz ]] || fail "man -w $page does not find its page"
done
echo "manual pages: $(man -w moxon) $(man -w moxon-cli)"

completed=$(bash -c 'source /usr/share/bash-completion/completions/moxon-cli
    COMP_WORDS=(moxon-cli export --format ""); COMP_CWORD=3; _moxon_cli; echo "${COMPREPLY[*]}"')
[[ $completed == "nec ez" ]] || fail "the installed completion offers '$completed' after --format"
echo "completion: --format offers $completed"

echo "== the menu entry's program on a virtual display =="
exec_line=$(sed -n 's/^Exec=//p' "$desktop_file" | head -n1)
# The entry's field codes (%f, %U, ...) stand for files handed over; a plain start has none.
read -ra command <<<"${exec_line//%[a-zA-Z]/}"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $workdir/display ]] && break
    sleep 0.1
done
[[ -s $workdir/display ]] || { cat "$workdir/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=":$(head -n1 "$workdir/display")"
env PATH=$system_path QT_QPA_PLATFORM=xcb "${command[@]}" 2>"$workdir/program.log" &
program_pid=$!
# The window counts as seen once a window of the program's class is mapped and viewable.
window=
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null ||
        { cat "$workdir/program.log" >&2; fail "'$exec_line' ended before its window showed"; }
    for id in $(xwininfo -root -tree | awk '/\("moxon" "moxon"\)/ { print $1 }'); do
        if xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
            window=$id
            break 2
        fi
    done
    sleep 0.2
done
[[ -n $window ]] || fail "no window of '$exec_line' appeared within 20 seconds"
echo "'$exec_line' shows its window: $(xwininfo -id "$window" | sed -n 's/^xwininfo: //p')"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=

echo "== removing =="
dpkg -L "$package" | sort -u >"$workdir/listed"
purge >"$workdir/purge.log" 2>&1 || { cat "$workdir/purge.log" >&2; fail "apt-get purge failed"; }
installing=
state=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
[[ -z $state || $state == un* ]] || fail "after the purge dpkg still knows $package: '$state'"
left=()
while IFS= read -r path; do
    [[ $path == /. ]] && continue
    if grep -qxF "$path" "$workdir/existed-before"; then
        [[ -e $path ]] || fail "the purge took $path, which was there before the package"
    elif [[ -e $path || -L $path ]]; then
        left+=("$path")
    fi
done <"$workdir/listed"
((${#left[@]} == 0)) || fail "left after the purge: ${left[*]}"
dpkg-query -W -f='${binary:Package}\n' | sort >"$workdir/packages-after"
cmp -s "$workdir/packages-before" "$workdir/packages-after" ||
    fail "the installed packages differ from before: $(diff "$workdir/packages-before" \
        "$workdir/packages-after" | grep '^[<>]' | tr '\n' ' ')"
echo "purged: none of the $(wc -l <"$workdir/listed") paths that dpkg listed is left," \
    "and the installed packages are those of before"
echo "package test passed"
