#!/usr/bin/env bash
# The bash completion of moxon-cli, called as bash calls it: COMP_WORDS and COMP_CWORD set,
# COMPREPLY read back. The options it offers for each command are checked against that
# command's own --help, and so are the names it offers for --ground, --conductor, --insulation, --feedline
# and --goal, so that an option or a name added to the program and not to the completion fails
# here.
# Usage: test_completion.sh <completion script> <moxon-cli>
set -euo pipefail
export LC_ALL=C # the sort order of the expected words

completion=$1
cli=$2
# shellcheck source=/dev/null
source "$completion"

failures=0

# complete <expected words, sorted, space-separated> <words of the command line...>
# The last word is the one being completed; "" completes an empty word.
complete_words() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _moxon_cli || true
    local actual
    actual=$(printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ')
    actual=${actual% }
    if [[ $actual != "$expected" ]]; then
        echo "FAIL: '$*' completed to '$actual', expected '$expected'"
        failures=$((failures + 1))
    fi
}

# The long options a command's --help lists, sorted; Qt's own --help-all left out.
help_options() {
    "$cli" "$@" --help | grep -o -E '(^|[ ,])--[a-z-]+' | sed 's/^[ ,]*//' |
        grep -v -x -- '--help-all' | sort -u | tr '\n' ' ' | sed 's/ $//'
}

for command in design export check tune tolerance trim diagnose sheet; do
    complete_words "$(help_options "$command")" moxon-cli "$command" --
done

# The names an option takes, sorted, as the command's --help lists them under "Named values:",
# one option a line: "  --goal: match front-to-back".
named_values() {
    "$cli" "$1" --help | sed -n '/^Named values:$/,/^$/p' | sed -n "s/^  $2: //p" |
        tr ' ' '\n' | sed '/^$/d' | sort | tr '\n' ' ' | sed 's/ $//'
}

for case in 'check --ground' 'check --conductor' 'tune --ground' 'tune --conductor' \
    'tune --goal' 'tolerance --ground' 'tolerance --conductor' 'trim --ground' \
    'trim --conductor' 'sheet --ground' 'sheet --conductor' 'sheet --language' \
    'check --insulation' 'tune --insulation' 'tolerance --insulation' 'trim --insulation' \
    'sheet --insulation' 'check --feedline' 'tune --feedline' 'tolerance --feedline' \
    'trim --feedline' 'sheet --feedline' 'diagnose --ground' 'diagnose --feedline'; do
    read -r command option <<<"$case"
    names=$(named_values "$command" "$option")
    if [[ -z $names ]]; then
        echo "FAIL: '$command --help' lists no names for $option"
        failures=$((failures + 1))
        continue
    fi
    complete_words "$names" moxon-cli "$command" "$option" ''
done
complete_words '--help --version check design diagnose export sheet tolerance trim tune' moxon-cli ''
complete_words 'design diagnose' moxon-cli d
complete_words '--fit-gap' moxon-cli diagnose --fi
complete_words 'check' moxon-cli ch
complete_words 'sheet' moxon-cli sh
complete_words '' moxon-cli sheet --wrap-allowance ''
complete_words 'en' moxon-cli sheet --language e
complete_words 'tolerance trim tune' moxon-cli t
complete_words '' moxon-cli trim --dip ''
complete_words '--format --freq' moxon-cli export --f
complete_words '' moxon-cli check --fo
complete_words 'AWG in mm' moxon-cli check --freq 435 --wire-unit ''
complete_words 'ft in m mm' moxon-cli design --units ''
complete_words 'm mm' moxon-cli design -u m
complete_words 'm mm' moxon-cli export --units = m
complete_words 'ez nec' moxon-cli export --format = ''
complete_words 'h v' moxon-cli check --pol ''
complete_words 'very-good very-poor' moxon-cli check --ground very
complete_words 'copper' moxon-cli check --conductor c
complete_words 'polyethylene' moxon-cli tune --insulation po
complete_words '' moxon-cli check --insulation-thickness ''
complete_words 'RG-213 RG-58 RG-8X' moxon-cli check --feedline R
complete_words 'radio' moxon-cli trim --measured-at r
complete_words '' moxon-cli trim --feedline-length ''
complete_words 'front-to-back' moxon-cli tune --goal f
complete_words 'x y' moxon-cli export --axis ''
complete_words '' moxon-cli design --freq ''
complete_words '' moxon-cli frobnicate --

# -o completes file names.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/20m.nec" "$scratch/20m.ez" "$scratch/2m.nec"
cd "$scratch"
complete_words '20m.ez 20m.nec' moxon-cli export -o 20
complete_words '20m.ez 20m.nec 2m.nec' moxon-cli export --output ''
touch "$scratch/20m.s1p"
complete_words '20m.s1p' moxon-cli trim --measured 20m.s
touch "$scratch/20m-sheet.pdf"
complete_words '20m-sheet.pdf' moxon-cli sheet --pdf 20m-

if ((failures > 0)); then
    echo "$failures completion case(s) failed"
    exit 1
fi
echo "all completion cases passed"
