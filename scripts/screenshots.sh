#!/usr/bin/env bash
# Takes the README's pictures of the real program on a virtual display (Xvfb), in Chinese and
# in English: the main window with a 28.4 MHz design, and its design check window 10 m over
# average ground with the trim of tests/data/touchstone/moxon28.s1p drawn; and, of the 20 m
# design there fed through 30 m of RG-58 and built with errors (its analyser's file made by
# nec2c), the check window's Smith chart with the model, the measurement and the trim, and its
# diagnosis. Run it after a change that shows in the windows and commit the pictures it writes.
# Usage: screenshots.sh [FOLDER]   (by default doc/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."

out=$(realpath -m "${1:-doc/screenshots}")
bash scripts/install-deps.sh test
cmake --preset default >/dev/null
cmake --build --preset default --target take_screenshots moxon_check_module

mkdir -p "$out"
measured=(--measured "$PWD/tests/data/touchstone/moxon28.s1p")
smith=(--smith)
diagnosis=(--diagnosis)
for language in zh en; do
    for picture in measured smith diagnosis; do
        declare -n options=$picture
        # A home of its own each time: the settings the pictures need never touch the user's,
        # and one picture's installation is not the next one's.
        QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 sh tests/support/fresh-home.sh \
            xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" \
            build/tests/ui/take_screenshots --language "$language" "${options[@]}" --out "$out"
        unset -n options
    done
done
