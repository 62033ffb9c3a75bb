#!/usr/bin/env bash
# Builds the Win32 benchmarks against the libraries of build/win32 (run `make build` first)
# and runs them under Wine:  bash bench/win32/build.sh [name ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in "$root"/bench/win32/*.cpp; do names+=("$(basename "$source" .cpp)"); done
fi
for name in "${names[@]}"; do
  out="$root/build/win32/$name.exe"
  i686-w64-mingw32-g++-posix -std=c++20 -O2 -static -static-libgcc -static-libstdc++ -I"$root/src" \
    "$root/bench/win32/$name.cpp" "$root/build/win32/libvnt_win32.a" "$root/build/win32/libvnt_pure.a" \
    /usr/i686-w64-mingw32/lib/libz.a -lgdi32 -lcomctl32 -lcomdlg32 -lole32 -loleaut32 -luuid -o "$out"
  "$root/scripts/wine-run.sh" "$out"
done
