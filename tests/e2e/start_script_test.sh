#!/usr/bin/env bash
# The start script runs after the support files are restored; a cancel in it ends the setup
# and leaves no temporary folder behind.
set -u
win32=$(cd "$1" && pwd)
host=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
work=$(mktemp -d "$root/build/e2e-start.XXXXXX")
trap 'rm -rf "$work"' EXIT
err="$work/stderr.txt"

passed=0 failed=0
expect() {  # description, haystack, needle
  if printf '%s' "$2" | grep -qF -- "$3"; then
    passed=$((passed + 1)); echo "ok: $1"
  else
    failed=$((failed + 1)); echo "FAIL: $1: [$3] not in:"; printf '%s\n' "$2"; cat "$err" 2>/dev/null
  fi
}
# The setup started by the driver inherits its output too: read results from a file, as a
# pipe would stay open until the setup ends.
driver() {
  wine "$win32/wizdriver.exe" "$@" >"$work/out.txt" 2>>"$err"
  cat "$work/out.txt"
}
field() { printf '%s\n' "$1" | sed -n "s/.*\"$2\":\"\\([^\"]*\\)\".*/\\1/p" | head -1; }
pid_of() { printf '%s\n' "$1" | sed -n 's/.*"pid":\([0-9]*\).*/\1/p' | head -1; }

"$host/pkgfixture" start-script "$win32/vntsetup.exe" "$work/setup.exe"
setup=$(winepath -w "$work/setup.exe")

for answer in No Yes; do
  out=$(driver start "$setup" -- wait-msgbox 30000 -- msgbox)
  expect "$answer: the start script shows its message" "$out" '"caption":"Start"'
  temp=$(field "$(printf '%s\n' "$out" | grep '"caption"')" text)
  unix=$(winepath -u "$(printf '%s' "$temp" | sed 's/\\\\/\\/g')")
  listing=$(ls "$unix" 2>&1)
  expect "$answer: splash picture restored before the script" "$listing" "splash.bmp"
  expect "$answer: other support files restored before the script" "$listing" "readme.txt"
  pid=$(pid_of "$out")
  out=$(driver attach "$pid" -- wait-msgbox 30000 -- press OK -- wait-msgbox 30000 -- msgbox -- press "$answer" -- wait-exit 30000)
  expect "$answer: the question is expanded" "$out" '"text":"Continue with Rich Product?"'
  if [ "$answer" = No ]; then
    expect "No: a cancel in the start script ends the setup" "$out" '"exit":2'
  else
    expect "Yes: the setup goes on and ends normally" "$out" '"exit":0'
  fi
  if [ -e "$unix" ]; then left=yes; else left=no; fi
  expect "$answer: temporary folder removed" "$left" no
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
