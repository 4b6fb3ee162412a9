#!/bin/sh
# completion_test.sh RAILSCEN COMPLETION_SCRIPT
# Loads the bash completion that the build wrote from railscen's command table into bash and
# completes command lines as a user's Tab would: every command railscen --help lists, the hidden
# completion command left out, a command's options, an option's values, and file names with
# blanks as single words.
set -eu
tool=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
touch "$work/VELARO-CUSTRA _linea.txt" "$work/VELARO-CUSTRA _R 40817-.txt" "$work/other.txt"
# The commands railscen --help lists, in its order, after "help".
listed=$("$tool" --help | sed -n '/^Subcommands:/,$p' | sed -n 's/^  \([a-z]*\) .*/\1/p' | tr '\n' ' ')
cd "$work"
bash --norc --noprofile -c '
set -eu
. "$1"
expected_commands=$2
complete_line() {  # WORD...: the completions of the last word
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _railscen
    printf "%s|" "${COMPREPLY[@]}"
}
fail=0
expect() {  # WHAT EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: expected \"$2\", got \"$3\""
        fail=1
    else
        echo "ok   $1: $3"
    fi
}
expect "commands" "help|$(echo $expected_commands | tr " " "|")|" "$(complete_line railscen "")"
expect "commands after --color" "compile|check|" "$(complete_line railscen --color never c)" 
expect "--color values" "auto|always|never|" "$(complete_line railscen --color "")"
expect "check options" "--format|--from-utf8|" "$(complete_line railscen check --f)"
expect "--format values" "json|" "$(complete_line railscen check x y --format j)"
expect "sources options" "-h|--help|--force|--color|" "$(complete_line railscen sources -)"
expect "names with blanks" "VELARO-CUSTRA _R 40817-.txt|VELARO-CUSTRA _linea.txt|" \
    "$(complete_line railscen check VEL | tr "|" "\n" | sort | tr "\n" "|" | sed "s/^|//")"
expect "an option value then files" "other.txt|" "$(complete_line railscen compile -o . o)"
exit $fail
' completion_test "$script" "$listed"
