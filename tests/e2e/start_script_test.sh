#!/usr/bin/env bash
# The start script runs after the support files are restored; a cancel in it ends the setup
# and leaves no temporary folder behind.
source "$(dirname "$0")/lib.sh"

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

e2e_end
