#!/bin/sh
# Stands in for an engine that crashes.
kill -SEGV $$
