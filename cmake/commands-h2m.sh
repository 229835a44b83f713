#!/usr/bin/env bash
# Writes a help2man include file with a COMMANDS section: for each command that
# `moxon-cli --help` lists, its usage, description and options from `moxon-cli <command> --help`,
# as roff. The manual page then tells each command's options as the program itself does.
# Usage: commands-h2m.sh <moxon-cli> <output file>
set -euo pipefail

cli=$1
output=$2
export LC_ALL=C.UTF-8

# The command names: the indented lines of the "Commands:" block of the program's help.
mapfile -t commands < <("$cli" --help |
    awk '/^Commands:/ { inside = 1; next } inside && /^$/ { exit } inside { print $1 }')
if ((${#commands[@]} == 0)); then
    echo "commands-h2m.sh: '$cli --help' lists no commands" >&2
    exit 1
fi

# roff: a backslash is \e, a minus is \-, a line may not start with a control character.
to_roff='
function escape(s) {
    gsub(/\\/, "\\e", s)
    sub(/^[.\047]/, "\\\\\\&&", s)
    return s
}
function text(s) {
    s = escape(s)
    gsub(/ --/, " \\-\\-", s)
    return s
}
function flags(s,    n, parts, i, out) {
    n = split(escape(s), parts, " ")
    out = ""
    for (i = 1; i <= n; ++i) {
        word = parts[i]
        if (word ~ /^-/) {
            comma = sub(/,$/, "", word)
            gsub(/-/, "\\-", word)
            word = "\\fB" word "\\fR" (comma ? "," : "")
        } else {
            gsub(/-/, "\\-", word)
            word = "\\fI" word "\\fR"
        }
        out = out (i > 1 ? " " : "") word
    }
    return out
}
NR == 1 {
    sub(/^Usage: /, "")
    usage = $0
    gsub(/-/, "\\-", usage)
    print ".SS \"" usage "\""
    next
}
/^Options:/ { next }
/^$/ { next }
/^Named values:$/ { print ".PP"; print; next }
/^  --[a-z-]+: / {
    at = index($0, ": ")
    print ".TP"
    print flags(substr($0, 3, at - 3))
    print text(substr($0, at + 2))
    next
}
/^  -/ {
    line = substr($0, 3)
    at = match(line, /  +/)
    print ".TP"
    print flags(substr(line, 1, at - 1))
    print text(substr(line, at + RLENGTH))
    next
}
/^ +[^ ]/ { sub(/^ +/, ""); print text($0); next }
{ print text($0) }
'

{
    echo "[COMMANDS]"
    for command in "${commands[@]}"; do
        "$cli" "$command" --help | awk "$to_roff"
    done
} >"$output.tmp"
mv "$output.tmp" "$output"
