#!/bin/sh
# Stands in for an engine that never answers. It starts a child of its own, as a script
# would, and notes both process ids in $MOXON_STANDIN_PIDS so that a test can check that
# ending the run ended them.
sleep 30 &
echo "$$ $!" >> "$MOXON_STANDIN_PIDS"
wait
