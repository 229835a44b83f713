#!/usr/bin/env bash
# The README stays a newcomer's page: at most 200 lines, and every picture and file it links
# to is in the repository (a picture a PNG that is not empty).
# Usage: test_readme.sh <source dir>
set -euo pipefail
cd "$1"

failures=0
lines=$(wc -l <README.md)
if ((lines > 200)); then
    echo "FAIL: README.md has $lines lines, more than 200"
    failures=$((failures + 1))
fi

# The targets of Markdown links and pictures that are paths in the repository.
mapfile -t targets < <(grep -o '](\([^)#]*\))' README.md | sed -E 's/^\]\(([^)]*)\)$/\1/' |
    grep -v '://' | sort -u)
if ((${#targets[@]} < 4)); then
    echo "FAIL: README.md shows ${#targets[@]} pictures or files, not the four screenshots"
    failures=$((failures + 1))
fi
for target in "${targets[@]}"; do
    if [[ ! -s $target ]]; then
        echo "FAIL: README.md links to $target, which is missing or empty"
        failures=$((failures + 1))
    elif [[ $target == *.png && $(head -c 8 "$target" | od -An -tx1 | tr -d ' \n') != 89504e470d0a1a0a ]]; then
        echo "FAIL: $target is not a PNG file"
        failures=$((failures + 1))
    fi
done

if ((failures > 0)); then
    echo "$failures failures"
    exit 1
fi
echo "README.md: $lines lines, ${#targets[@]} linked files present"
