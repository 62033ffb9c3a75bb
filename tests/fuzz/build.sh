#!/usr/bin/env bash
# Builds the fuzz targets (every tests/fuzz/*_fuzz.cpp) with clang, libFuzzer and the
# sanitizers into build/fuzz, and writes the package target's seeds, whole setup programs,
# into build/fuzz/seeds/package. Names given as arguments build only those targets.
# Runs niced with one job unless JOBS says otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build/fuzz"
# Configured every time, so that a target just added is known.
CC=clang CXX=clang++ cmake -S "$root" -B "$out" -DVNT_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG= -DCMAKE_C_FLAGS_DEBUG= >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(package_seeds)
  for f in "$root"/tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
nice -n 19 cmake --build "$out" -j"${JOBS:-1}" --target "${targets[@]}"
if [ -x "$out/package_seeds" ]; then "$out/package_seeds" "$out/seeds/package" >/dev/null; fi
