#!/usr/bin/env bash
# Runs one fuzz target for a bounded time: run.sh <name> <seconds>, name as in
# tests/fuzz/<name>_fuzz.cpp. It starts from the seeds in tests/fuzz/<name>/ (and, for the
# package target, the written ones) and keeps what it finds new in build/fuzz/corpus/<name>;
# a crash, leak, timeout or memory overrun fails it and leaves its input in
# build/fuzz/findings/<name>/. The last line sums up: target, seconds, executions, corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
name=$1
seconds=$2
out="$root/build/fuzz"
[ -x "$out/${name}_fuzz" ] || bash "$root/tests/fuzz/build.sh" "${name}_fuzz"
corpus="$out/corpus/$name"
findings="$out/findings/$name"
mkdir -p "$corpus" "$findings"
seeds=()
[ -d "$root/tests/fuzz/$name" ] && seeds+=("$root/tests/fuzz/$name")
[ -d "$out/seeds/$name" ] && seeds+=("$out/seeds/$name")
log="$out/$name.log"
status=0
nice -n 19 "$out/${name}_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=2048 \
  -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
size=$(find "$corpus" -type f | wc -l)
if [ $status -ne 0 ]; then
  grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" >&2 || tail -20 "$log" >&2
  echo "fuzz $name: FAILED after ${runs:-?} executions; see $log and $findings" >&2
fi
echo "fuzz $name: ${time:-?} s, ${runs:-?} executions, corpus $size new inputs"
exit $status
