#!/usr/bin/env bash
# The manual pages as built: they render without a warning of man or groff (as lintian reads
# them), and moxon-cli(1) names every JSON field and failure name that the program writes, so
# that a field added to the program and not to the reference fails here. The names come from
# the sources that write the JSON: report/machineformats.cpp and report/diagnosisreport.cpp, and
# the objects and failure names the commands in cli/ add themselves.
# Usage: test_manual.sh <source dir> <moxon.1> <moxon-cli.1>
set -euo pipefail
export LC_ALL=C.UTF-8

source_dir=$1
pages=("$2" "$3")
cli_page=$3
failures=0

for page in "${pages[@]}"; do
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null || true)
    if [[ -n $warnings ]]; then
        echo "FAIL: $page renders with warnings:"
        echo "$warnings"
        failures=$((failures + 1))
    fi
done

# Every snake_case or lower-case name in the JSON writer; the object keys and the failure names
# (words with an underscore) of the commands. Single letters (a to e, the dimensions) are left
# out: they would be found in any prose.
mapfile -t names < <({
    grep -ho 'QStringLiteral("[a-z_0-9]*")' "$source_dir/report/machineformats.cpp" \
        "$source_dir/report/diagnosisreport.cpp"
    grep -ho 'insert(QStringLiteral("[A-Za-z_0-9]*")' "$source_dir"/cli/*.cpp
    grep -ho 'QStringLiteral("[a-z0-9]*_[a-z_0-9]*")' "$source_dir"/cli/*.cpp
} | sed -E 's/.*QStringLiteral\("([^"]*)"\).*/\1/' | awk 'length($0) > 1' | sort -u)
if ((${#names[@]} < 50)); then
    echo "FAIL: only ${#names[@]} JSON names found in the sources; has the writer moved?"
    failures=$((failures + 1))
fi

# The page's text with its font changes taken out, so that \fBname\fR reads as name.
text=$(sed -E 's/\\f[BIRP]/ /g' "$cli_page")
for name in "${names[@]}"; do
    if ! grep -Eq "(^|[^A-Za-z0-9_])${name}([^A-Za-z0-9_]|\$)" <<<"$text"; then
        echo "FAIL: moxon-cli(1) does not name the JSON field or failure '$name'"
        failures=$((failures + 1))
    fi
done

if ((failures > 0)); then
    echo "$failures failures"
    exit 1
fi
echo "manual pages: ${#names[@]} JSON names documented, no rendering warnings"
