#!/bin/bash
# Runs the benchmarks and adds up their verdicts. Each prints its figures
# against their targets and ends with "N ok, M missed"; this ends with that
# line for all of them, and fails when a target was missed or a benchmark
# failed in another way (it ended early, or a case did not do what it should).
#
#   scripts/bench.sh DIR           every benchmark in DIR, at 100k
set -u

dir=${1:?usage: scripts/bench.sh BENCH_DIR}
outputs=$(mktemp -d)
trap 'rm -rf "$outputs"' EXIT

ok=0 missed=0 failed=0

tally() {
    ok=$((ok + $1))
    missed=$((missed + $2))
}

# run BENCHMARK SIZE: its output shown, and its verdicts counted.
run() {
    local name out verdicts status
    name=$(basename "$1")
    out="$outputs/$name.$2.out"
    echo "== $name $2"
    "$1" "$2" | tee "$out"
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

for bench in "$dir"/bench_*; do
    [ -f "$bench" ] && [ -x "$bench" ] || continue
    run "$bench" 100k
done

echo "$ok ok, $missed missed"
if [ "$failed" -gt 0 ]; then
    echo "$failed benchmark runs failed besides"
fi
[ "$missed" -eq 0 ] && [ "$failed" -eq 0 ]
