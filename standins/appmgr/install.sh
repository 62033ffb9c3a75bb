#!/usr/bin/env bash
# Installs the Application Manager stand-in into a Wine prefix where ActiveSync puts the real
# one, and registers it the same way: its full path as the default value of the App Paths key.
#   install.sh [--remove] [CEAPPMGR.EXE]
# The prefix is $WINEPREFIX, else the project's build/wine; the program defaults to the
# Win32 build's standins/CEAPPMGR.EXE. --remove takes both away again.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine}
export WINEDEBUG=-all
key='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\CEAPPMGR.EXE'
folder="$WINEPREFIX/drive_c/Program Files/Microsoft ActiveSync"
if [ "${1:-}" = "--remove" ]; then
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  rm -f "$folder/CEAPPMGR.EXE" "$folder/ceappmgr.log"
  exit 0
fi
program=${1:-$root/build/win32/standins/CEAPPMGR.EXE}
[ -f "$program" ] || { echo "install.sh: $program is not built" >&2; exit 1; }
mkdir -p "$folder"
cp "$program" "$folder/CEAPPMGR.EXE"
wine reg add "$key" /ve /d 'C:\Program Files\Microsoft ActiveSync\CEAPPMGR.EXE' /f >/dev/null
