#!/usr/bin/env bash
# The generated long scenarios are valid: each compiles with no code and no warning.
#   bench/check_long_scenarios.sh MAKE_LONG_SCENARIO RAILSCEN
set -euo pipefail
generator=$1
railscen=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for length in 10000 105000 250000 1000000; do
    mkdir "$work/$length"
    "$generator" "$length" "$work/$length"
    "$railscen" check --warnings-as-errors "$work/$length/VELARO-CUSTRA _linea.txt" \
        "$work/$length/VELARO-CUSTRA _R 40817-.txt" || {
        echo "the $length m scenario does not check clean" >&2
        exit 1
    }
done
