#!/usr/bin/env bash
# The start script runs after the support files are restored; a cancel in it ends the setup
# and leaves no temporary folder behind. A starting setup clears away the folders of runs that
# died and keeps a live run's folder, a new folder without lock, folders of other names and
# links to elsewhere.
source "$(dirname "$0")/lib.sh"

"$host/pkgfixture" start-script "$win32/vntsetup.exe" "$work/setup.exe"
setup=$(winepath -w "$work/setup.exe")

# Planted before the first run: a dead run's folder (its lock held by no one), a live one's
# (held by another program), lockless folders three days old and new, folders of other names
# with a free lock, and a link to a folder outside with a free lock.
temp=$(wine_temp_folder)
planted=(vnt951 vnt952 vnt953 vnt954 vntx01 vnt0001 vnt955)
second=""
end_second() { [ -n "$second" ] && timeout 30 wine "$win32/wizdriver.exe" attach "$second" -- kill >/dev/null 2>&1; }
trap 'rm -f "$work/held"; end_second; for d in "${planted[@]}"; do rm -rf "${temp:?}/$d"; done; e2e_cleanup' EXIT
for d in "${planted[@]}"; do rm -rf "${temp:?}/$d"; done
for d in vnt951 vnt952 vntx01 vnt0001; do
  mkdir "$temp/$d" && : >"$temp/$d/vntrun.lock" && : >"$temp/$d/restored.txt"
done
mkdir "$temp/vnt953" "$temp/vnt954" && touch -d '3 days ago' "$temp/vnt953"
mkdir "$work/outside" && : >"$work/outside/vntrun.lock" && ln -s "$work/outside" "$temp/vnt955"
(wine "$win32/holdfile.exe" "$(winepath -w "$temp/vnt952/vntrun.lock")" "$(winepath -w "$work/held")" >/dev/null 2>&1 &)
for _ in $(seq 100); do [ -e "$work/held" ] && break; sleep 0.1; done
remaining() { for d in "${planted[@]}"; do [ -e "$temp/$d" ] && printf '%s ' "$d"; done; }

# Two runs at once: the second starts while the first waits in its start script, and clears
# the temporary folder as it starts. The first is answered No, the second Yes.
declare -A run_pid run_folder
for answer in No Yes; do
  out=$(driver start "$setup" -- wait-msgbox 30000 -- msgbox)
  expect "$answer: the start script shows its message" "$out" '"caption":"Start"'
  run_pid[$answer]=$(pid_of "$out")
  [ "$answer" = No ] && pid=${run_pid[No]} || second=${run_pid[Yes]}
  run_folder[$answer]=$(winepath -u "$(field "$(printf '%s\n' "$out" | grep '"caption"')" text | sed 's/\\\\/\\/g')")
  if [ "$answer" = No ]; then
    same "dead runs' folders gone, the others kept" "$(remaining)" "vnt952 vnt954 vntx01 vnt0001 vnt955 "
    expect "the link was not followed" "$(ls "$work/outside")" vntrun.lock
  fi
done
differ "the second run has a folder of its own" "${run_folder[Yes]}" "${run_folder[No]}"

for answer in No Yes; do
  listing=$(ls "${run_folder[$answer]}" 2>&1)
  expect "$answer: the live run's lock, after the second start" "$listing" "vntrun.lock"
  expect "$answer: splash picture restored before the script" "$listing" "splash.bmp"
  expect "$answer: other support files restored before the script" "$listing" "readme.txt"
  out=$(driver attach "${run_pid[$answer]}" -- wait-msgbox 30000 -- press OK -- wait-msgbox 30000 -- msgbox \
        -- press "$answer" -- wait-exit 30000)
  expect "$answer: the question is expanded" "$out" '"text":"Continue with Rich Product?"'
  if [ "$answer" = No ]; then
    expect "No: a cancel in the start script ends the setup" "$out" '"exit":2'
    pid=""
  else
    expect "Yes: the setup goes on and ends normally" "$out" '"exit":0'
    second=""
  fi
  if [ -e "${run_folder[$answer]}" ]; then left=yes; else left=no; fi
  expect "$answer: temporary folder removed" "$left" no
done

e2e_end
