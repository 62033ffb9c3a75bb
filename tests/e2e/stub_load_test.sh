#!/usr/bin/env bash
# The stub on setups without, with damaged and with valid packages: the right fatal message
# box (caption and text read back from the window), or a quiet load.
set -u
win32=$(cd "$1" && pwd)
host=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
work=$(mktemp -d "$root/build/e2e-stub.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Programs started through the driver keep its stderr open while they run: never capture it
# with the output, or a check waits for a program that waits for us.

passed=0 failed=0
expect() {  # description, haystack, needle
  if printf '%s' "$2" | grep -qF -- "$3"; then
    passed=$((passed + 1)); echo "ok: $1"
  else
    failed=$((failed + 1)); echo "FAIL: $1: [$3] not in:"; printf '%s\n' "$2"
    cat "$work/stderr.txt" 2>/dev/null
  fi
}

corrupt='ERROR: corrupted setup data, please try to download this software again or contact the development company.'
# Until the setup title is read the caption is the program's own; a section damaged after
# that shows the setup's title.
for kind in nopackage:Vantry badmagic:Vantry truncated:Vantry damaged:'Rich Product'; do
  title="${kind#*:} Setup"
  kind=${kind%%:*}
  "$host/pkgfixture" "$kind" "$win32/vntsetup.exe" "$work/$kind.exe"
  out=$(wine "$win32/wizdriver.exe" start "$(winepath -w "$work/$kind.exe")" \
        -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000 2>>"$work/stderr.txt")
  expect "$kind: caption" "$out" "\"caption\":\"$title\""
  expect "$kind: text" "$out" "\"text\":\"$corrupt\""
  expect "$kind: ends after OK" "$out" '"exit":1'
done

for kind in valid resource-end; do
  "$host/pkgfixture" "$kind" "$win32/vntsetup.exe" "$work/$kind.exe"
  # A message box would keep the program from ending.
  out=$(wine "$win32/wizdriver.exe" start "$(winepath -w "$work/$kind.exe")" -- wait-exit 30000 2>>"$work/stderr.txt")
  expect "$kind: loads without a message" "$out" '"exit":0'
done

# A package that needs the Application Manager on a PC without it: message 8 of the default
# language, and the temporary folder is gone afterwards. Taken numbers are skipped.
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
made=()
for n in 001 002; do
  if [ ! -d "$temp/vnt$n" ]; then mkdir -p "$temp/vnt$n"; made+=("$temp/vnt$n"); fi
done
next=3
while [ -e "$temp/vnt$(printf %03d $next)" ]; do next=$((next + 1)); done
next="$temp/vnt$(printf %03d $next)"
"$host/pkgfixture" needs-appmgr "$win32/vntsetup.exe" "$work/appmgr.exe"
out=$(wine "$win32/wizdriver.exe" start "$(winepath -w "$work/appmgr.exe")" -- wait-msgbox 30000 -- msgbox 2>>"$work/stderr.txt")
expect "needs-appmgr: message 8 of the default language" "$out" '"text":"en This setup needs Microsoft ActiveSync'
expect "needs-appmgr: caption" "$out" '"caption":"Vantry Setup"'
if [ -d "$next" ]; then during=yes; else during=no; fi
expect "needs-appmgr: first free temporary folder in use" "$during" yes
pid=$(printf '%s\n' "$out" | sed -n 's/.*"pid":\([0-9]*\).*/\1/p' | head -1)
out=$(wine "$win32/wizdriver.exe" attach "$pid" -- wait-msgbox 30000 -- press OK -- wait-exit 30000 2>>"$work/stderr.txt")
expect "needs-appmgr: ends after OK" "$out" '"exit":1'
if [ -e "$next" ]; then after=left; else after=removed; fi
expect "needs-appmgr: temporary folder removed" "$after" removed
expect "needs-appmgr: other folders kept" "$(ls -d "$temp"/vnt001 "$temp"/vnt002 2>&1)" "vnt002"
for d in "${made[@]}"; do rmdir "$d"; done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
