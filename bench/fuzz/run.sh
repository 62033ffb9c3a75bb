#!/usr/bin/env bash
# Runs the fuzz targets long, one after the other: bench/fuzz/run.sh <seconds per target>
# [names...] (default: every tests/fuzz/*_fuzz.cpp). What each finds new stays in
# build/fuzz/corpus/<name>, its findings in build/fuzz/findings/<name>/. Prints per target
# the time, executions, corpus size (new inputs) and findings.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:?usage: bench/fuzz/run.sh <seconds per target> [names...]}
shift
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in "$root"/tests/fuzz/*_fuzz.cpp; do n=$(basename "$f" .cpp); names+=("${n%_fuzz}"); done
fi
bash "$root/tests/fuzz/build.sh" || exit 1
printf '%-12s %8s %12s %8s %9s\n' target seconds executions corpus findings
for name in "${names[@]}"; do
  line=$(bash "$root/tests/fuzz/run.sh" "$name" "$seconds" 2>/dev/null | tail -1)
  findings=$(find "$root/build/fuzz/findings/$name" -type f 2>/dev/null | wc -l)
  read -r time runs corpus < <(sed -E 's/.*: ([0-9?]+) s, ([0-9?]+) executions, corpus ([0-9]+).*/\1 \2 \3/' <<<"$line")
  printf '%-12s %8s %12s %8s %9s\n' "$name" "$time" "$runs" "$corpus" "$findings"
done
