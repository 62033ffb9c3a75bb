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

passed=0 failed=0
expect() {  # description, haystack, needle
  if printf '%s' "$2" | grep -qF -- "$3"; then
    passed=$((passed + 1)); echo "ok: $1"
  else
    failed=$((failed + 1)); echo "FAIL: $1: [$3] not in:"; printf '%s\n' "$2"
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
        -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000 2>&1)
  expect "$kind: caption" "$out" "\"caption\":\"$title\""
  expect "$kind: text" "$out" "\"text\":\"$corrupt\""
  expect "$kind: ends after OK" "$out" '"exit":1'
done

for kind in valid resource-end; do
  "$host/pkgfixture" "$kind" "$win32/vntsetup.exe" "$work/$kind.exe"
  # A message box would keep the program from ending.
  out=$(wine "$win32/wizdriver.exe" start "$(winepath -w "$work/$kind.exe")" -- wait-exit 30000 2>&1)
  expect "$kind: loads without a message" "$out" '"exit":0'
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
