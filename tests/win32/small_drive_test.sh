#!/usr/bin/env bash
# The free-space query on a drive of fewer than 1024 free clusters: a 1 MB tmpfs mapped as a
# drive of the prefix for the Win32 unit tests that need one. Mounting needs root; elsewhere
# the case is skipped.
set -u
win32=${1:-"$(dirname "$0")/../../build/win32"}
source "$(dirname "$0")/../../scripts/wine-env.sh"
if [ "$(id -u)" != 0 ]; then
  echo "skip: a small drive needs a tmpfs mount, which needs root"
  exit 0
fi
letter=q
drive=$(mktemp -d) || exit 1
undo() {
  rm -f "$WINEPREFIX/dosdevices/$letter:"
  umount "$drive" 2>/dev/null
  rmdir "$drive"
}
trap undo EXIT
mount -t tmpfs -o size=1m tmpfs "$drive" || { echo "skip: tmpfs cannot be mounted here"; exit 0; }
ln -sfn "$drive" "$WINEPREFIX/dosdevices/$letter:"
VNT_SMALL_DRIVE=$letter wine "$win32/vnt_win32_tests.exe" --gtest_filter='SystemSmallDrive*'
