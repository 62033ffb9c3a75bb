#!/usr/bin/env bash
# Installs what the build, the tests (the fuzz targets: clang and its libFuzzer runtime, which
# clang only recommends) and the demo need, or the packages named as arguments.
# Does nothing when all is present.
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev zlib1g-dev nlohmann-json3-dev
  g++-mingw-w64-i686 libz-mingw-w64-dev
  wine wine32:i386 xvfb xauth fonts-dejavu-core
  osslsigncode openssl python3
  clang libclang-rt-14-dev
)
[ $# -gt 0 ] && packages=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "deps: missing packages: ${missing[*]}; run this script as root to install them" >&2
  exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
