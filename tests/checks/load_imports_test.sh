#!/usr/bin/env bash
# The setup, the uninstaller and the builder import at load time only libraries that Windows
# always takes from its own folder (kernel32 and the C runtime). Any other, user32 above all,
# would load before the program limits the library search, and take libraries planted beside it.
set -uo pipefail
win32=${1:?usage: load_imports_test.sh WIN32_BUILD_DIR}
failures=0
for program in vntsetup.exe vntuninst.exe vntbuild.exe; do
  if ! imports=$(i686-w64-mingw32-objdump -p "$win32/$program" 2>&1); then
    echo "FAIL $program: $imports"; failures=$((failures + 1)); continue
  fi
  others=$(sed -n 's/^\s*DLL Name: //p' <<<"$imports" | tr 'A-Z' 'a-z' | grep -vx -e kernel32.dll -e msvcrt.dll | paste -sd' ')
  if [ -n "$others" ]; then echo "FAIL $program imports at load time: $others"; failures=$((failures + 1))
  else echo "ok   $program"; fi
done
[ "$failures" -eq 0 ]
