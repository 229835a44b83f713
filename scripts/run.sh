#!/usr/bin/env bash
# Opens the calculator: installs the Debian packages that are missing, builds the program in
# the default preset (build/) and starts it. Without a display it says so, starts the window
# on a virtual display (Xvfb) only to take a screenshot of it, and prints the screenshot's path.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default --target moxon

program=$PWD/build/moxon
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$program"
fi

screenshot=$PWD/build/moxon-window.png
echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the window cannot be shown here."
echo "Starting it on a virtual display (Xvfb) to take a screenshot instead..."

xvfb_pid=
program_pid=
workdir=$(mktemp -d)
cleanup() {
    [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$workdir"
}
trap cleanup EXIT

# -displayfd writes the number of a free display once the server is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s "$workdir/display" ]] && break
    sleep 0.1
done
if [[ ! -s "$workdir/display" ]]; then
    echo "The virtual display did not start:" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$workdir/display")"

QT_QPA_PLATFORM=xcb "$program" 2>"$workdir/moxon.log" &
program_pid=$!

# The screen is black until the window is mapped and painted; wait for anything else.
shown=
for _ in $(seq 100); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
        echo "The program ended before its window was shown:" >&2
        cat "$workdir/moxon.log" >&2
        exit 1
    fi
    if [[ $(import -silent -window root png:- | convert png:- -format '%[fx:maxima]' info:) != 0 ]]; then
        shown=yes
        break
    fi
    sleep 0.2
done
if [[ -z "$shown" ]]; then
    echo "The window did not appear within 20 seconds." >&2
    exit 1
fi
sleep 0.5 # let the first paint settle
# No window manager runs on the virtual display: the window is all there is, so trimming the
# black screen around it leaves the window.
import -silent -window root png:- | convert png:- -trim +repage "$screenshot"
echo "Screenshot of the window: $screenshot"
echo "To use the window, run this command in a desktop session (or over ssh -X):"
echo "    bash scripts/run.sh"
