#!/bin/sh
# Stands in for an engine that ends normally but prints no NEC-2 output.
echo "not an engine" > "$4"
