#!/usr/bin/env bash
# The stub on setups without, with damaged and with valid packages: the right fatal message
# box (caption and text read back from the window), or a quiet load.
source "$(dirname "$0")/lib.sh"

corrupt='ERROR: corrupted setup data, please try to download this software again or contact the development company.'
# Until the setup title is read the caption is the program's own; a section damaged after
# that shows the setup's title.
for kind in nopackage:Vantry badmagic:Vantry truncated:Vantry damaged:'Rich Product'; do
  title="${kind#*:} Setup"
  kind=${kind%%:*}
  "$host/pkgfixture" "$kind" "$win32/vntsetup.exe" "$work/$kind.exe"
  out=$(driver start "$(winepath -w "$work/$kind.exe")" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
  expect "$kind: caption" "$out" "\"caption\":\"$title\""
  expect "$kind: text" "$out" "\"text\":\"$corrupt\""
  expect "$kind: ends after OK" "$out" '"exit":1'
done

for kind in valid resource-end; do
  "$host/pkgfixture" "$kind" "$win32/vntsetup.exe" "$work/$kind.exe"
  # A message box would keep the program from ending.
  out=$(driver start "$(winepath -w "$work/$kind.exe")" -- wait-exit 30000)
  expect "$kind: loads without a message" "$out" '"exit":0'
done

# A package that needs the Application Manager on a PC without it: message 8 of the default
# language, and the temporary folder is gone afterwards. Taken numbers are skipped.
temp=$(wine_temp_folder)
made=()
for n in 001 002; do
  if [ ! -d "$temp/vnt$n" ]; then mkdir -p "$temp/vnt$n"; made+=("$temp/vnt$n"); fi
done
next=3
while [ -e "$temp/vnt$(printf %03d $next)" ]; do next=$((next + 1)); done
next="$temp/vnt$(printf %03d $next)"
"$host/pkgfixture" needs-appmgr "$win32/vntsetup.exe" "$work/appmgr.exe"
out=$(driver start "$(winepath -w "$work/appmgr.exe")" -- wait-msgbox 30000 -- msgbox)
expect "needs-appmgr: message 8 of the default language" "$out" '"text":"en This setup needs Microsoft ActiveSync'
expect "needs-appmgr: caption" "$out" '"caption":"Vantry Setup"'
if [ -d "$next" ]; then during=yes; else during=no; fi
expect "needs-appmgr: first free temporary folder in use" "$during" yes
pid=$(pid_of "$out")
out=$(driver attach "$pid" -- wait-msgbox 30000 -- press OK -- wait-exit 30000)
expect "needs-appmgr: ends after OK" "$out" '"exit":1'
if [ -e "$next" ]; then after=left; else after=removed; fi
expect "needs-appmgr: temporary folder removed" "$after" removed
expect "needs-appmgr: other folders kept" "$(ls -d "$temp"/vnt001 "$temp"/vnt002 2>&1)" "vnt002"
for d in "${made[@]}"; do rmdir "$d"; done

e2e_end
