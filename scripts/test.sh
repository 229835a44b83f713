#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build and once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then makes the Debian package from the normal
# build and tests it (installing it only as root).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test
# The print tests send real jobs to a PDF printer: start the spooler and make it the default.
bash scripts/setup-printer.sh

for preset in default asan; do
    echo "== $preset build =="
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    echo "== $preset tests =="
    # Most tests wait on nec2c or on a display: one a core keeps the cores busy.
    ctest --preset "$preset" --parallel "$(nproc)"
done

echo "== Debian package =="
bash scripts/test-package.sh build
