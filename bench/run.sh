#!/usr/bin/env bash
# Builds the benchmarks without sanitizers, optimised, and runs them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DVNT_SANITIZE=OFF >/dev/null
for source in bench/*.cpp; do
  name=$(basename "$source" .cpp)
  cmake --build build/bench --target "$name" -j2 >/dev/null
  "build/bench/$name"
done
