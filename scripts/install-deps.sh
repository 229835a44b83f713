#!/usr/bin/env bash
# Installs the Debian packages that are missing for building and running (`run`) or for
# building and testing (`test`). Needs root; does nothing when everything is there.
set -euo pipefail

mode=${1:-run}

# The window's caption face is committed (ui/resources/fonts/): the build needs neither
# fontTools nor fonts-noto-cjk. scripts/make-caption-face.py, run by hand when a caption
# changes, needs python3-fonttools and fonts-noto-cjk; install them yourself for that.
build_packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev)
# `time` reports the peak memory of each start in bench/startup.sh.
run_packages=(xvfb xauth imagemagick time)
# fonts-noto-cjk: the caption-face test compares the window on this machine's fonts with the
# window on DejaVu alone (fonts-dejavu-core).
test_packages=(xvfb xauth imagemagick nec2c cups printer-driver-cups-pdf poppler-utils
    appstream desktop-file-utils fonts-noto-cjk fonts-dejavu-core time)

case "$mode" in
    run) wanted=("${build_packages[@]}" "${run_packages[@]}") ;;
    test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Run this as root, or install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
