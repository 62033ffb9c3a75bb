#!/usr/bin/env bash
# The stub against damaged and hostile packages: damaged support data and a support file that
# cannot be written end the setup with a message and leave nothing behind; deeply nested
# blocks are a script error; a page of 300 labels appears; a value that doubles itself stops at
# the size limit of expanded text; running out of memory in a page's button is reported; a file
# whose name Windows cannot hold fails the run with its reason; support files outside the
# temporary folder leave no folder behind.
source "$(dirname "$0")/lib.sh"

corrupt='ERROR: corrupted setup data, please try to download this software again or contact the development company.'
temp=$(wine_temp_folder)
setup_of() { "$host/pkgfixture" "$1" "$win32/vntsetup.exe" "$work/$1.exe" && winepath -w "$work/$1.exe"; }
# Temporary setup folders that exist now, to tell the run's own from others'.
temp_folders() { ls -d "$temp"/vnt[0-9][0-9][0-9] 2>/dev/null | sort; }
before=$(temp_folders)
no_new_temp_folder() { same "$1: the temporary folder is gone" "$(comm -13 <(echo "$before") <(temp_folders))" ""; }

out=$(driver start "$(setup_of damaged-chunk)" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
expect "damaged chunk: the corrupted-data message" "$out" "\"text\":\"$corrupt\""
expect "damaged chunk: exit 1" "$out" '"exit":1'
no_new_temp_folder "damaged chunk"

out=$(driver start "$(setup_of long-support-name)" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
expect "unwritable support file: our message names it" "$out" '"text":"Setup cannot write the file '
expect "unwritable support file: ... with its name" "$out" "$(printf 'n%.0s' {1..300}).txt"
expect "unwritable support file: exit 1" "$out" '"exit":1'
no_new_temp_folder "unwritable support file"

out=$(driver start "$(setup_of deep-if)" -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000)
expect "10,000 nested Ifs: our script error" "$out" '"text":"Script blocks are nested more than 1000 deep."'
expect "10,000 nested Ifs: the start script stopped, exit 2" "$out" '"exit":2'
no_new_temp_folder "10,000 nested Ifs"

# Generous: before names were handed out in constant time this page took minutes.
out=$(driver start "$(setup_of many-labels)" -- wait-window --class TfrmSetupMain 60000 -- list \
      -- click text:Cancel -- wait-exit 20000)
same "300 labels: every label is built and shown" \
  "$(printf '%s\n' "$out" | grep '"name":"VN_Labels_Label' | grep -c '"visible":true')" 300
expect "300 labels: the last one is named in order" "$out" '"name":"VN_Labels_Label300"'
expect "300 labels: Cancel on the only page closes the setup" "$out" '"exit":0'

# A value that doubles itself stops at the size limit of expanded text, long before memory runs
# out: the script stops with an error naming the variable, and the setup stays usable.
out=$(driver start "$(setup_of doubling)" -- wait-msgbox 120000 -- msgbox -- press OK \
      -- wait-window --class TfrmSetupMain 10000 -- click text:Cancel -- wait-exit 30000)
expect "a doubling value: the script error names it" "$out" \
  '"text":"Expanding %X% would make the text longer than 1048576 bytes (1 MiB).'
expect "a doubling value: the page still answers and Cancel ends the setup" "$out" '"exit":0'
no_new_temp_folder "a doubling value"

# Out of memory inside a button's handler: the failure comes back past the system's window
# code to the program entry, which reports it and removes the temporary folder.
cp "$win32/exhaust.dll" "$work/"
out=$(driver start "$(setup_of memory-in-page)" -- wait-window --class TfrmSetupMain 30000 -- click text:Exhaust \
      -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000)
expect "out of memory in a page: our message" "$out" \
  '"text":"Setup ran out of memory and cannot go on. Close other programs and start the setup again."'
expect "out of memory in a page: exit 1" "$out" '"exit":1'
no_new_temp_folder "out of memory in a page"

# Names Windows cannot hold, in a hand-made package: the file fails as one that cannot be
# written, with the reason, and the run leaves nothing of itself.
for case in "CON|is the name of a device" "readme.|ends in a full stop" "control|holds a control character (1)"; do
  name=${case%%|*} reason=${case#*|}
  "$host/installfixture" bad-name "$win32/vntsetup.exe" "$work/badname.exe" "$name"
  out=$(driver start "$(winepath -w "$work/badname.exe")" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
  expect "bad name $name: the file fails to be written" "$out" '"text":"Setup cannot create the file '
  expect "bad name $name: with the reason" "$out" "$reason"
  expect "bad name $name: the run fails with 4" "$out" '"exit":4'
  same "bad name $name: nothing is left, no file, no value" \
    "$(find "$work/target-badname" 2>/dev/null)|$(wine reg query 'HKCU\Software\VantryTests\BadNameTour' 2>&1 | grep -c REG_)" "|0"
done

# The folder outside holds a file of its own: it stays, with that file only.
outside="$WINEPREFIX/drive_c/vnt-e2e-outside"
rm -rf "$outside"; mkdir -p "$outside"; echo mine > "$outside/keep.txt"
out=$(driver start "$(setup_of outside-support)" -- wait-exit 30000)
expect "support files outside: the setup ends" "$out" '"exit":0'
same "support files outside: only what was there before is left" "$(cd "$outside" && find . | sort | tr '\n' ' ')" ". ./keep.txt "
no_new_temp_folder "support files outside"
rm -rf "$outside"

e2e_end
