#!/bin/sh
# Stands in for an engine that takes a moment: while it runs it holds a file of its own in
# $MOXON_STANDIN_RUNS and notes how many engines were running then, so that a test can see
# the most that ever ran at once. Then it answers as nec2c would on the start-up design.
mark="$MOXON_STANDIN_RUNS/run.$$"
: > "$mark"
ls "$MOXON_STANDIN_RUNS" | grep -c '^run\.' >> "$MOXON_STANDIN_RUNS/counts"
sleep 0.2
rm -f "$mark"
cp "$(dirname "$0")/../../data/nec2c/startup.out" "$4"
