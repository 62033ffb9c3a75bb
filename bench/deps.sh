#!/usr/bin/env bash
# Installs what `make bench` needs beyond the build: NSIS to compare with, GNU time for the
# builders' peak memory, Xlib for watching the first page. Does nothing when all is present.
set -euo pipefail

packages=(nsis time libx11-6)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "bench: missing packages: ${missing[*]}; run this script as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# A machine whose lists were never fetched knows no nsis yet.
if ! apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
