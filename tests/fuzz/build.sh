#!/usr/bin/env bash
# Builds the archive fuzz target with clang and libFuzzer into build/fuzz/archive_fuzz.
# Run: build/fuzz/archive_fuzz -max_total_time=60 build/fuzz/corpus
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build/fuzz"
mkdir -p "$out/corpus"
sources=(
  "$root/tests/fuzz/archive_fuzz.cpp"
  "$root/src/archive/ArchiveProgress.cpp" "$root/src/archive/ArchiveWriter.cpp"
  "$root/src/archive/ChunkCodec.cpp" "$root/src/archive/MemoryFileSystem.cpp"
  "$root/src/archive/SetupVNTZip.cpp" "$root/src/archive/VolumeNames.cpp"
  "$root/src/package/PackageStream.cpp" "$root/src/package/PackagePrimitives.cpp"
)
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root/src" "${sources[@]}" -lz -o "$out/archive_fuzz"
echo "built $out/archive_fuzz"
