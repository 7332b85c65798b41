#!/bin/bash
# Runs the benchmarks and adds up their verdicts. Each prints its figures
# against their targets and ends with "N ok, M missed"; this ends with that
# line for all of them, and fails when a target was missed or a benchmark
# failed in another way (it ended early, or a case did not do what it should).
#
#   scripts/bench.sh DIR           every benchmark in DIR, at 100k
#   scripts/bench.sh --scale DIR   those that take a size, at 100k and at 1M,
#                                  then how much each figure grew between them
set -u

scale=false
if [ "${1:-}" = --scale ]; then
    scale=true
    shift
fi
dir=${1:?usage: scripts/bench.sh [--scale] BENCH_DIR}
sources=$(dirname "$0")/../bench
figures=$(mktemp -d)
trap 'rm -rf "$figures"' EXIT

# Ten times the names may take at most 12 times as long (or as much memory):
# growth close to linear.
growth_target=12
ok=0 missed=0 failed=0

tally() {
    ok=$((ok + $1))
    missed=$((missed + $2))
}

# run BENCHMARK SIZE: its output shown and kept, its figures in $figures.
run() {
    local name out verdicts status
    name=$(basename "$1")
    out="$figures/$name.$2.out"
    echo "== $name $2"
    DUN2_BENCH_FIGURES="$figures/$name.$2" "$1" "$2" | tee "$out"
    status=${PIPESTATUS[0]}
    verdicts=$(sed -nE 's/^([0-9]+) ok, ([0-9]+) missed$/\1 \2/p' "$out" | tail -n 1)
    if [ -n "$verdicts" ]; then
        tally $verdicts
    fi
    if [ -z "$verdicts" ] || { [ "$status" -ne 0 ] && [ "${verdicts#* }" = 0 ]; }; then
        echo "$name $2 failed (exit status $status)"
        failed=$((failed + 1))
    fi
}

# grow NAME: each figure at 1M against the same at 100k, with how much its
# floor grew beside it, which tells the program's growth from the machine's.
grow() {
    local lines
    [ -f "$figures/$1.100k" ] && [ -f "$figures/$1.1M" ] || return
    echo "== $1, from 100k to 1M (target <= ${growth_target}x)"
    lines=$(awk -F '\t' -v target="$growth_target" '
        NR == FNR { small[$1] = $2; smallFloor[$1] = $4; next }
        $1 in small {
            ratio = small[$1] > 0 ? $2 / small[$1] : -1
            floor = smallFloor[$1] > 0 && $4 > 0 ? sprintf("floor %.2fx", $4 / smallFloor[$1]) : "no floor"
            verdict = (ratio >= 0 && ratio <= target) ? "ok" : "MISSED"
            printf "%-34s %10.2f %s at 100k %10.2f %s at 1M   %6.2fx (%s)   %s\n", $1, small[$1], $3, $2, $3, ratio,
                   floor, verdict
        }' "$figures/$1.100k" "$figures/$1.1M")
    [ -n "$lines" ] || return
    echo "$lines"
    tally "$(grep -c ' ok$' <<<"$lines")" "$(grep -c ' MISSED$' <<<"$lines")"
}

for bench in "$dir"/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    name=$(basename "$bench")
    if ! $scale; then
        run "$bench" 100k
    elif grep -q 'benchSize(' "$sources/$name.cpp" 2>/dev/null; then # it takes a size
        run "$bench" 100k
        run "$bench" 1M
        grow "$name"
    fi
done

echo "$ok ok, $missed missed"
if [ "$failed" -gt 0 ]; then
    echo "$failed benchmark runs failed besides"
fi
[ "$missed" -eq 0 ] && [ "$failed" -eq 0 ]
