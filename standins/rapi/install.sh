#!/usr/bin/env bash
# Puts the stand-in rapi.dll where the synchronisation software puts the real one: the system
# folder of the Wine prefix (syswow64 in a 64-bit prefix, where 32-bit programs find it).
# usage: install.sh <folder with rapi.dll, e.g. build/win32> [prefix; default $WINEPREFIX]
set -eu
from=${1:?usage: install.sh <folder with rapi.dll> [prefix]}
prefix=${2:-${WINEPREFIX:?no prefix given and WINEPREFIX unset}}
target="$prefix/drive_c/windows/system32"
[ -d "$prefix/drive_c/windows/syswow64" ] && target="$prefix/drive_c/windows/syswow64"
[ -d "$target" ] || { echo "install.sh: no system folder in $prefix" >&2; exit 1; }
cp "$from/rapi.dll" "$target/rapi.dll"
