#!/usr/bin/env bash
# Builds the Win32 archive benchmark against the libraries of build/win32 (run `make build`
# first) and runs it under Wine:  bash bench/win32/build.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/build/win32/archive_files_bench.exe"
i686-w64-mingw32-g++-posix -std=c++20 -O2 -static -static-libgcc -static-libstdc++ \
  -I"$root/src" \
  "$root/bench/win32/archive_files_bench.cpp" "$root/build/win32/libvnt_win32.a" "$root/build/win32/libvnt_pure.a" \
  /usr/i686-w64-mingw32/lib/libz.a -o "$out"
"$root/scripts/wine-run.sh" "$out"
