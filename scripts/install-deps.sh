#!/usr/bin/env bash
# Installs the Debian packages that are missing for building and running (`run`), for building
# the Debian package (`package`) or for building and testing (`test`). Does nothing, and needs
# no root, when everything is there; otherwise it needs root, and asks sudo where that works
# without a password.
set -euo pipefail

mode=${1:-run}

# The window's caption face is committed (ui/resources/fonts/): the build needs neither
# fontTools nor fonts-noto-cjk. scripts/make-caption-face.py, run by hand when a caption
# changes, needs python3-fonttools and fonts-noto-cjk; install them yourself for that.
# Qt Charts' CMake package needs the Qt OpenGL one, which qt6-charts-dev does not pull in.
# libfontconfig-dev: the window calls fontconfig itself to read its configuration early.
# libeigen3-dev: the least squares and SVD of the rational fit of the SWR sweep.
# qt6-tools-dev, qt6-tools-dev-tools, qt6-l10n-tools: Qt's Linguist tools, which make the
# English translation's .qm at build time.
build_packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-charts-dev libqt6opengl6-dev libfontconfig-dev help2man libeigen3-dev qt6-tools-dev
    qt6-tools-dev-tools qt6-l10n-tools)
# `time` reports the peak memory of each start in bench/startup.sh.
run_packages=(xvfb xauth imagemagick time)
# CPack's Depends come from dpkg-shlibdeps (dpkg-dev), which it runs on the files that `file`
# finds to be programs.
package_packages=(dpkg-dev file)
# fonts-noto-cjk: the caption-face test compares the window on this machine's fonts with the
# window on DejaVu alone (fonts-dejavu-core).
test_packages=(xvfb xauth imagemagick nec2c cups printer-driver-cups-pdf poppler-utils
    appstream desktop-file-utils fonts-noto-cjk fonts-dejavu-core time
    "${package_packages[@]}" lintian man-db x11-utils)

case "$mode" in
    run) wanted=("${build_packages[@]}" "${run_packages[@]}") ;;
    package) wanted=("${build_packages[@]}" "${package_packages[@]}") ;;
    test) wanted=("${build_packages[@]}" "${test_packages[@]}") ;;
    *) echo "usage: $0 run|package|test" >&2; exit 2 ;;
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
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        exec sudo -n bash "$0" "$@"
    fi
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Run this as root, or install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
