#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer into build/fuzz: archive_fuzz, http_fuzz
# (a server's answer to the web client), and package_fuzz with its seeds written into
# build/fuzz/package-corpus.
# Run: build/fuzz/archive_fuzz -max_total_time=60 build/fuzz/corpus
#      build/fuzz/http_fuzz -max_total_time=60
#      build/fuzz/package_fuzz -max_total_time=60 build/fuzz/package-corpus
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build/fuzz"
mkdir -p "$out/corpus"
flags=(-std=c++20 -g -O1 -fsanitize=address,undefined -fno-sanitize-recover=all -I"$root/src")

sources=(
  "$root/tests/fuzz/archive_fuzz.cpp"
  "$root/src/archive/ArchiveProgress.cpp" "$root/src/archive/ArchiveWriter.cpp"
  "$root/src/archive/ChunkCodec.cpp" "$root/src/archive/MemoryFileSystem.cpp"
  "$root/src/archive/SetupVNTZip.cpp" "$root/src/archive/VolumeNames.cpp"
  "$root/src/package/PackageStream.cpp" "$root/src/package/PackagePrimitives.cpp"
)
clang++ "${flags[@]}" -fsanitize=fuzzer "${sources[@]}" -lz -o "$out/archive_fuzz"
echo "built $out/archive_fuzz"

clang++ "${flags[@]}" -fsanitize=fuzzer "$root/tests/fuzz/http_fuzz.cpp" "$root/src/net/HttpResponse.cpp" \
  -o "$out/http_fuzz"
echo "built $out/http_fuzz"

# The package target reads with all of package/ and runs scripts with the script commands
# that need no system.
package_sources=(
  "$root"/src/package/*.cpp
  "$root/src/script/ListCommands.cpp" "$root/src/script/ScriptInterpretor.cpp"
  "$root/src/script/ValueCommands.cpp" "$root/src/script/VariableNames.cpp"
)
clang++ "${flags[@]}" -fsanitize=fuzzer -I"$root/tests/support" "$root/tests/fuzz/package_fuzz.cpp" \
  "${package_sources[@]}" -lz -o "$out/package_fuzz"
echo "built $out/package_fuzz"
clang++ "${flags[@]}" -I"$root/tests/support" "$root/tests/fuzz/package_seeds.cpp" \
  "$root/tests/support/TestPackages.cpp" "${package_sources[@]}" -lz -o "$out/package_seeds"
"$out/package_seeds" "$out/package-corpus"
