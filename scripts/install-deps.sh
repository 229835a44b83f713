#!/usr/bin/env bash
# Installs the Debian packages that are missing for building and running (`run`) or for
# building and testing (`test`). Needs root; does nothing when everything is there.
set -euo pipefail

mode=${1:-run}

# Qt Charts' CMake package needs the Qt OpenGL one, which qt6-charts-dev does not pull in.
build_packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-charts-dev libqt6opengl6-dev fonts-noto-cjk)
run_packages=(xvfb xauth imagemagick)
test_packages=(xvfb xauth imagemagick nec2c cups printer-driver-cups-pdf poppler-utils
    appstream desktop-file-utils)

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
