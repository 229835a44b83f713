#!/usr/bin/env bash
# Start-up time: from process start to the window first shown, for the calculator and for an
# empty Qt window, run in turn on the same display. Prints each median and their ratio.
# Usage: bash bench/startup.sh [runs] [build dir]   (default 15 runs, build/)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-15}
build=${2:-build}
cmake --build "$build" --target bench_startup_moxon bench_startup_empty >/dev/null

xvfb_pid=
cleanup() { [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [[ -z "${DISPLAY:-}" ]]; then
    # A display of our own; -displayfd picks a free display number.
    displayfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [[ -s "$displayfile" ]] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$displayfile")"
    rm -f "$displayfile"
fi
export QT_QPA_PLATFORM=xcb

# Milliseconds from just before exec to the first expose the program reports.
measure() {
    local start end
    start=$(date +%s%N)
    end=$("$build/bench/$1" 2>/dev/null)
    echo $(((end - start) / 1000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else print (v[m] + v[m + 1]) / 2 }'; }

# One unmeasured run of each warms the file cache.
measure bench_startup_empty >/dev/null
measure bench_startup_moxon >/dev/null

empty=()
moxon=()
for _ in $(seq "$runs"); do
    empty+=("$(measure bench_startup_empty)")
    moxon+=("$(measure bench_startup_moxon)")
done

empty_median=$(printf '%s\n' "${empty[@]}" | median)
moxon_median=$(printf '%s\n' "${moxon[@]}" | median)
echo "runs: $runs each, display $DISPLAY"
echo "empty Qt window:  median $(awk -v v="$empty_median" 'BEGIN { printf "%.1f", v / 1000 }') ms"
echo "moxon window:     median $(awk -v v="$moxon_median" 'BEGIN { printf "%.1f", v / 1000 }') ms"
echo "ratio:            $(awk -v a="$moxon_median" -v b="$empty_median" 'BEGIN { printf "%.2f", a / b }') (goal: at most 1.30)"
