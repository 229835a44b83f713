#!/bin/sh
# Stands in for nec2c where the order in which the check's runs end matters. Each run notes
# its process id in $MOXON_STANDIN_PIDS. The runs of the kind $MOXON_STANDIN_WAITS names
# ("figures", the deck with patterns, or "sweep", a slice's) wait until the file
# $MOXON_STANDIN_RELEASE exists, for at most a minute. Then a slice crashes, and the figures
# deck answers as nec2c does on the start-up design or, with MOXON_STANDIN_FIGURES=degenerate,
# with a feed point of no resistance.
echo "$$" >> "$MOXON_STANDIN_PIDS"
kind=figures
if grep -q '^XQ' "$2"; then
    kind=sweep
fi
if [ "$kind" = "$MOXON_STANDIN_WAITS" ]; then
    tries=0
    while [ ! -e "$MOXON_STANDIN_RELEASE" ] && [ "$tries" -lt 600 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
fi
if [ "$kind" = sweep ]; then
    kill -SEGV $$
fi
if [ "$MOXON_STANDIN_FIGURES" = degenerate ]; then
    exec "$(dirname "$0")/degenerate.sh" "$@"
fi
cp "$(dirname "$0")/../../data/nec2c/startup.out" "$4"
