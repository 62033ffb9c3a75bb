#!/usr/bin/env bash
# `make bench`: our setup against NSIS on the same payloads under one Wine prefix; prints the
# table and writes it to build/bench-data/result.txt. BENCH_QUICK=1 for small payloads,
# BENCH_RUNS=n for the number of rounds (3 quick, 5 otherwise), BENCH_PAYLOADS="small big" for
# some payloads only (the empty one is always measured).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/bench/deps.sh"
source "$root/scripts/wine-env.sh"
mode=full
[ -n "${BENCH_QUICK:-}" ] && [ "${BENCH_QUICK}" != 0 ] && mode=quick
data="$root/build/bench-data"
mkdir -p "$data/$mode"
python3 "$root/bench/harness/setupbench.py"
python3 "$root/bench/harness/table.py" "$data/$mode/result.json" > "$data/$mode/result.txt"
cp "$data/$mode/result.txt" "$data/result.txt"
cat "$data/result.txt"
