#!/usr/bin/env bash
# Process-level timing of the pack and of `railscen compile` on long lines, each against a plain
# `cp -r` of its own outputs, run alternately in one loop. Prints medians, the ratio to the
# copy and the peak resident memory (from /usr/bin/time).
#
#   bench/process_bench.sh [BIN_DIR] [RUNS]     (default: build/bin, 21)
#
# BIN_DIR holds scenario-pack and railscen; the long lines come from make_long_scenario in
# BIN_DIR, or from GENERATOR when set (for timing an older build that has none).
set -euo pipefail

bin=$(cd "${1:-build/bin}" && pwd)
runs=${2:-21}
generator=${GENERATOR:-$bin/make_long_scenario}
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (scripts/install-deps)" >&2; exit 2; }
[ "$runs" -ge 1 ] || { echo "RUNS must be at least 1" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
line="VELARO-CUSTRA _linea.txt"
train="VELARO-CUSTRA _R 40817-.txt"
wrap=()  # set to /usr/bin/time for the one run that reads the peak memory

# The clock in microseconds, read without a subshell (a fork would be timed with the work).
now_us() { now=${EPOCHREALTIME/./}; now=${now#0}; }

# The median of the numbers on standard input.
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# The pack in an empty folder; copying the program in is not timed.
prep_pack() { rm -rf "$work/pack"; mkdir "$work/pack"; cp "$bin/scenario-pack" "$work/pack/"; }
run_pack() { "${wrap[@]}" "$work/pack/scenario-pack" >/dev/null 2>&1 || true; }

# railscen compile of a long line into an empty folder. Every timed command is started straight
# from this shell, as cp is: a subshell around it would add its own fork to the time.
compile_line() {
    "${wrap[@]}" "$bin/railscen" compile "$work/line$1/$line" "$work/line$1/$train" \
        -o "$work/out$1" >/dev/null 2>&1
}
prep_100k() { rm -rf "$work/out100000"; mkdir "$work/out100000"; }
run_100k() { compile_line 100000; }
prep_1m() { rm -rf "$work/out1000000"; mkdir "$work/out1000000"; }
run_1m() { compile_line 1000000; }

# The stored scenario's sources, checked, and compiled into an empty folder.
run_check() { "${wrap[@]}" "$bin/railscen" check "$work/stored/$line" "$work/stored/$train" >/dev/null 2>&1; }
prep_stored() { rm -rf "$work/out_stored"; mkdir "$work/out_stored"; }
run_compile_stored() {
    "$bin/railscen" compile "$work/stored/$line" "$work/stored/$train" -o "$work/out_stored" \
        >/dev/null 2>&1
}

# What a work is compared with, when not a copy of its outputs; each sets t0 and now around the
# timed command. The compile without writing is check with its warnings turned off.
compare_compile_stored() { prep_stored; now_us; t0=$now; run_compile_stored; now_us; }
compare_quiet_check() {
    now_us; t0=$now
    "$bin/railscen" check -w "$work/stored/$line" "$work/stored/$train" >/dev/null 2>&1
    now_us
}
compare_quiet_check_1m() {
    now_us; t0=$now
    "$bin/railscen" check -w "$work/line1000000/$line" "$work/line1000000/$train" >/dev/null 2>&1
    now_us
}

# measure NAME PREPARE RUN COMPARE: alternates the work and what it is compared with: a copy of
# the folder COMPARE, or the function COMPARE.
measure() {
    local name=$1 prepare=$2 run=$3 source=$4 i t0
    : >"$work/t_work"
    : >"$work/t_copy"
    for ((i = 0; i < runs; i++)); do
        $prepare
        now_us; t0=$now; $run; now_us
        echo $((now - t0)) >>"$work/t_work"
        rm -rf "$work/copy"
        if declare -F "$source" >/dev/null; then
            $source
        else
            now_us; t0=$now; cp -r "$source" "$work/copy"; now_us
        fi
        echo $((now - t0)) >>"$work/t_copy"
    done
    $prepare
    wrap=(/usr/bin/time -f '%M' -o "$work/peak")
    $run
    wrap=()
    local w c p
    w=$(median <"$work/t_work")
    c=$(median <"$work/t_copy")
    p=$(tail -1 "$work/peak")
    echo "$w" >"$work/median_$run"
    awk -v n="$name" -v w="$w" -v c="$c" -v p="$p" \
        'BEGIN {printf "%-36s %8.2f %8.2f %6.2f %8.1f\n", n, w/1000, c/1000, w/c, p/1024}'
}

# The pack's six outputs, for its copy.
prep_pack
run_pack
mkdir "$work/pack_outputs"
(cd "$work/pack" && cp ./*.sim ./*.dat ./*.txt "$work/pack_outputs/")

for len in 100000 1000000; do
    mkdir "$work/line$len" "$work/out$len"
    "$generator" "$len" "$work/line$len"
    compile_line "$len" || { echo "the $len m line does not compile cleanly" >&2; exit 1; }
    cp -r "$work/out$len" "$work/outputs$len"
done

mkdir "$work/stored"
"$bin/railscen" sources "$work/stored" >/dev/null

echo "cores: $(nproc)   runs: $runs   load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf "%-36s %8s %8s %6s %8s\n" "work" "ms" "copy ms" "ratio" "peak MB"
measure "the pack in an empty folder" prep_pack run_pack "$work/pack_outputs"
measure "railscen compile, 100,000 m line" prep_100k run_100k "$work/outputs100000"
measure "railscen compile, 1,000,000 m line" prep_1m run_1m "$work/outputs1000000"
awk -v a="$(cat "$work/median_run_1m")" -v b="$(cat "$work/median_run_100k")" \
    'BEGIN {printf "1,000,000 m line / 100,000 m line: %.2f\n", a/b}'
printf "%-36s %8s %8s %6s %8s\n" "" "" "check -w" "" ""
measure "railscen compile, 1,000,000 m line" prep_1m run_1m compare_quiet_check_1m
printf "%-36s %8s %8s %6s %8s\n" "" "" "compile" "" ""
measure "railscen check, stored scenario" prep_stored run_check compare_compile_stored
printf "%-36s %8s %8s %6s %8s\n" "" "" "check -w" "" ""
measure "railscen check, stored scenario" prep_stored run_check compare_quiet_check
