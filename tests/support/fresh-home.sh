#!/bin/sh
# Runs a test in a home of its own, made empty for this run and removed after it: the settings
# a test reads (Qt's test location under ~/.qttest, or ~/.config where a window stores its
# language and installation), caches and temporary folders then never come from an earlier
# run or from the user's own use of the program, and tests that run at the same time share
# none of them.
set -eu
home=$(mktemp -d "${TMPDIR:-/tmp}/moxon-test-home.XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/tmp" "$home/runtime"
chmod 700 "$home/runtime"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
    XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/runtime TMPDIR=$home/tmp "$@"
