#!/bin/sh
# Stands in for nec2c on the start-up design: answers the design deck and the one-slice
# 41-point sweep deck with nec2c's stored outputs.
data="$(dirname "$0")/../../data/nec2c"
if grep -q '^XQ' "$2"; then
    cp "$data/sweep41.out" "$4"
else
    cp "$data/startup.out" "$4"
fi
