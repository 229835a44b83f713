#!/usr/bin/env bash
# Start-up: time from process start to the window first shown, and peak memory, for an empty
# Qt window, a bare window with the calculator's captions in its face (the floor: all the font
# work, none of the logic) and the calculator, run in turn on the same display. Prints each
# median, the calculator's ratios of medians and, steadier on a machine whose speed drifts,
# the median of the ratios of the runs side by side.
# Usage: bash bench/startup.sh [runs] [build dir]   (default 15 runs, build/)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-15}
build=${2:-build}
programs=(bench_startup_empty bench_startup_captions bench_startup_moxon)
cmake --build "$build" --target "${programs[@]}" >/dev/null
if [[ ! -x /usr/bin/time ]]; then
    echo "startup.sh: /usr/bin/time is missing (Debian package time); run scripts/install-deps.sh" >&2
    exit 1
fi

xvfb_pid=
workdir=$(mktemp -d)
cleanup() {
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$workdir"
}
trap cleanup EXIT
if [[ -z "${DISPLAY:-}" ]]; then
    # A display of our own; -displayfd picks a free display number.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$workdir/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [[ -s "$workdir/display" ]] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$workdir/display")"
fi
export QT_QPA_PLATFORM=xcb
# Without a session bus (a bare virtual display) every start would have D-Bus autolaunch a bus
# daemon, tens of milliseconds that are none of the programs' own and that a desktop session
# never pays: point them at no bus instead.
if [[ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]]; then
    export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/moxon-bench-bus
fi

# Microseconds from just before exec to the first expose the program reports.
measure_time() {
    local start end
    start=$(date +%s%N)
    end=$("$build/bench/$1" 2>/dev/null)
    echo $(((end - start) / 1000))
}

# Peak resident memory in KiB, from a run of its own: GNU time's fork and wait would otherwise
# count in the time.
measure_memory() {
    /usr/bin/time -f %M -o "$workdir/rss" "$build/bench/$1" >/dev/null 2>&1
    cat "$workdir/rss"
}

median() { sort -n | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); if (NR % 2) print v[m]; else print (v[m] + v[m + 1]) / 2 }'; }

# One unmeasured run of each warms the file cache.
for program in "${programs[@]}"; do
    measure_time "$program" >/dev/null
done

declare -A times memories
for _ in $(seq "$runs"); do
    for program in "${programs[@]}"; do
        times[$program]+="$(measure_time "$program") "
        memories[$program]+="$(measure_memory "$program") "
    done
done

# The median of the ratios a_i / b_i of two lists of figures taken side by side.
paired() {
    paste -d' ' <(printf '%s\n' $1) <(printf '%s\n' $2) | awk '{ print $1 / $2 }' | median
}

declare -A time_median memory_median
for program in "${programs[@]}"; do
    time_median[$program]=$(printf '%s\n' ${times[$program]} | median)
    memory_median[$program]=$(printf '%s\n' ${memories[$program]} | median)
done

row() {
    awk -v label="$1" -v t="${time_median[$2]}" -v m="${memory_median[$2]}" \
        'BEGIN { printf "%-22s %8.1f ms %8.1f MiB\n", label, t / 1000, m / 1024 }'
}
ratio() {
    awk -v label="$1" -v a="$2" -v b="$3" -v c="$4" -v d="$5" -v goal="$6" \
        'BEGIN { printf "%-22s %8.2f    %8.2f     %s\n", label, a / b, c / d, goal }'
}
echo "runs: $runs each, alternated, display $DISPLAY; medians of time to first paint and peak RSS"
row "empty Qt window" bench_startup_empty
row "bare captions window" bench_startup_captions
row "moxon window" bench_startup_moxon
ratio "moxon / bare captions" "${time_median[bench_startup_moxon]}" \
    "${time_median[bench_startup_captions]}" "${memory_median[bench_startup_moxon]}" \
    "${memory_median[bench_startup_captions]}" "(goal: at most 1.10 in both)"
ratio "  run by run" "$(paired "${times[bench_startup_moxon]}" "${times[bench_startup_captions]}")" 1 \
    "$(paired "${memories[bench_startup_moxon]}" "${memories[bench_startup_captions]}")" 1 \
    "(median of the runs' ratios)"
ratio "moxon / empty" "${time_median[bench_startup_moxon]}" \
    "${time_median[bench_startup_empty]}" "${memory_median[bench_startup_moxon]}" \
    "${memory_median[bench_startup_empty]}" ""
