#!/usr/bin/env bash
# Setups and removals without a person (and the uninstaller they share, which goes with
# the last product that used it). "Quiet Tour" (built by vntbuild: the default wizard,
# English and German, three components) installs with /SILENT into a folder of the command
# line's with two components in German and a variable of its own, and logs it; a wrong switch
# and a component the package lacks end it with 1 before anything is written; the
# Add/Remove entry's command with /SILENT takes it away again. With /VERYSILENT and no display
# at all it installs and goes again. installfixture's slow product (4,000 files): /VERYSILENT
# shows no window while it installs, its silent removal leaves the prefix as it was; run
# very silently and closed from outside (taskkill) during the copy, it ends with 5 and is undone. A
# volume file nobody brings fails the run after a minute's wait; one brought meanwhile is
# found. A setup whose requirement the machine fails ends with 3 and leaves only its log.
source "$(dirname "$0")/lib.sh"

quiet_key='HKCU\Software\VantryTests\QuietTour'
quiet_entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Quiet Tour'
tour_key='HKCU\Software\VantryTests\InstallTour'
tour_entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Install Tour'
shared='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
forget_all() {
  forget "$quiet_key"; forget "$quiet_entry"; forget "$tour_key"; forget "$tour_entry"
  forget 'HKLM\Software\VantryTests\InstallTour'; forget 'HKCR\VantryTests.InstallTour'
}
trap 'forget_all; e2e_cleanup' EXIT
forget_all
drop_empty_vendor_key
wine reg add "$shared" /f >/dev/null 2>&1
win() { printf 'Z:%s' "${1//\//\\}"; }
# The uninstaller every product shares, and its count of users: none to begin with.
uninstaller=$(winepath -u 'C:\windows\vntuninst.exe' 2>/dev/null)
rm -f "$uninstaller"
forget "$shared" /v 'C:\windows\vntuninst.exe'
users() { wine reg query "$shared" /v 'C:\windows\vntuninst.exe' 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_DWORD *0x//p'; }
files_in() { (cd "$1" 2>/dev/null && find . -type f | sort | paste -sd' '); }
entry_command() { wine reg query "$1" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p'; }
value_of() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }

# --- Quiet Tour: a project as an author writes it.
src="$work/quiet"
mkdir -p "$src/help" "$src/samples"
printf 'the program' >"$src/program.txt"
printf 'the help' >"$src/help/help.txt"
printf 'a sample' >"$src/samples/sample.txt"
cat >"$src/quiet.json" <<EOF
{
  "product": {"name": "Quiet Tour", "company": "Vantry Tests", "installDir": "%ProgramFilesDir%\\\\Quiet Tour"},
  "languages": [
    {"name": "English", "id": 1033, "default": true},
    {"name": "Deutsch", "id": 1031, "messageFile": "$root/examples/hello/deutsch.json"}
  ],
  "components": [{"name": "Program"}, {"name": "Help"}, {"name": "Samples"}],
  "setupTypes": [["Program", "Help", "Samples"], ["Program"], ["Program", "Help", "Samples"]],
  "variables": [{"name": "Edition", "default": "Standard"}],
  "files": [
    {"source": "program.txt", "components": ["Program"]},
    {"source": "help/help.txt", "destination": "%InstallDir%\\\\Help\\\\", "components": ["Help"]},
    {"source": "samples/sample.txt", "destination": "%InstallDir%\\\\Samples\\\\", "components": ["Samples"]}
  ],
  "shortcuts": [{"name": "Quiet Program", "target": "program.txt", "components": ["Program"]}],
  "registry": [
    {"root": "HKCU", "key": "Software\\\\VantryTests\\\\QuietTour", "value": "Language", "data": "%Language%"},
    {"root": "HKCU", "key": "Software\\\\VantryTests\\\\QuietTour", "value": "Edition", "data": "%Edition%"},
    {"root": "HKCU", "key": "Software\\\\VantryTests\\\\QuietTour", "value": "Log", "data": "%SetupLog%"}
  ]
}
EOF
"$host/vntbuild" build "$src/quiet.json" -o "$work/quiet.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err" \
  || fail "vntbuild cannot build the quiet tour"
q="$work/target-quiet"
Q=$(win "$q")
log="$work/quiet-setup.log"

# A wrong switch and a component the package lacks: the usage on standard error, exit 1,
# nothing made.
wine "$work/quiet.exe" /SILENT /BOGUS "/DIR=$Q" >"$work/o.txt" 2>"$work/e.txt"
same "a wrong switch ends the setup with 1" "$?" 1
expect "a wrong switch is named, with the usage" "$(cat "$work/e.txt")" "The switch /BOGUS is not known."
expect "the usage lists the switches" "$(cat "$work/e.txt")" '/COMPONENTS="a,b"'
wine "$work/quiet.exe" /SILENT /COMPONENTS=Program,Extras "/DIR=$Q" "/LOG=$(win "$work/bad.log")" >"$work/o.txt" 2>"$work/e.txt"
same "a component the package lacks ends the setup with 1" "$?" 1
expect "the missing component is named with the package's own" "$(cat "$work/e.txt")" \
  "This setup has no component Extras. Its components: Program, Help, Samples."
same "neither run made the folder or the entry" "$([ -e "$q" ] && echo folder)$(entry_command "$quiet_entry")" ""
wine "$work/quiet.exe" /? >"$work/o.txt" 2>>"$err"
same "/? ends with 0" "$?" 0
expect "/? writes the usage to standard output" "$(cat "$work/o.txt")" "/VERYSILENT"

# --- The slow product: no window at any point of a very silent run, which the prefix does
# not remember once the product is removed silently.
"$host/installfixture" slow "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/slow.exe"
t="$work/target"
prefix_snapshot >"$work/before.txt"
(timeout 180 wine "$win32/wizdriver.exe" start "$(win "$work/slow.exe")" /VERYSILENT "/LOG=$(win "$work/slow.log")" \
   -- wait-exit 150000 >"$work/very.txt" 2>>"$err"; echo done >"$work/very-done") &
looks=0 seen=""
while [ ! -e "$work/very-done" ]; do
  seen+=$(timeout 30 wine "$win32/wizdriver.exe" wait-window 300 2>/dev/null | sed 's/"hwnd":[0-9]*,//')
  looks=$((looks + 1))
done
seen=$(printf '%s' "$seen" | sed 's/}{/}\n{/g' | sort -u)
expect "very silent: the setup ends with 0" "$(cat "$work/very.txt")" '"exit":0'
same "very silent: no window showed in $looks looks" "$seen" ""
expect "very silent: the log follows the copy" "$(cat "$work/slow.log" 2>&1)" "many\\many4999.txt"
same "very silent: all the files came" "$(find "$t/many" -type f | wc -l)" 4000

# /SILENT into the chosen folder, two components, German, a variable of its own.
out=$(driver start "$(win "$work/quiet.exe")" /silent "/DIR=$Q" "/COMPONENTS=program, samples" /LANG=deutsch \
      /VAR:Edition=Pro "/LOG=$(win "$log")" "/GROUP=Quiet Group" -- wait-exit 60000)
expect "silent: the setup ends with 0" "$out" '"exit":0'
same "silent: exactly the chosen components are in the chosen folder" "$(files_in "$q")" \
  "./Samples/sample.txt ./program.txt ./uninst.dat"
same "silent: the language and the variable of the command line hold, and the log's name" \
  "$(value_of "$quiet_key" Language)|$(value_of "$quiet_key" Edition)|$(value_of "$quiet_key" Log)" "Deutsch|Pro|$(win "$log")"
L=$(cat "$log" 2>/dev/null)
for line in "command line: /silent /DIR=$Q \"/COMPONENTS=program, samples\" /LANG=deutsch /VAR:Edition=Pro" \
            "%Language% = Deutsch (command line)" "components: Program|Samples (command line)" \
            "file $Q\\program.txt" "file $Q\\Samples\\sample.txt" "Quiet Group\\Quiet Program.lnk" "value Software\\VantryTests\\QuietTour\\Edition" \
            "record $Q\\uninst.dat" "committed" "result: finished (exit code 0)"; do
  expect "silent: the log says [$line]" "$L" "$line"
done
same "silent: the log names no file of the component left out" "$(grep -c 'help.txt' "$log")" 0
same "silent: every line of the log starts with a time" "$(grep -c -v -E '^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9:.]{12}  ' "$log")" 0

# The entry's command with /SILENT: the product goes, shared questions are not asked.
eval "words=($(entry_command "$quiet_entry"))"
out=$(driver start "${words[@]}" /SILENT "/LOG=$(win "$work/quiet-uninstall.log")" -- wait-exit 60000)
expect "silent removal: the uninstaller ends with 0" "$out" '"exit":0'
same "silent removal: the folder, the entry and the values are gone" \
  "$([ -e "$q" ] && echo folder)$(entry_command "$quiet_entry")$(value_of "$quiet_key" Edition)" ""
expect "silent removal: its log lists the files removed" "$(cat "$work/quiet-uninstall.log" 2>&1)" "removed: file $Q\\program.txt"
same "silent removal: the shared uninstaller stays for the slow product, its only user now" \
  "$([ -e "$uninstaller" ] && echo there)|$(users)" "there|1"

# /VERYSILENT with no display at all: installs with the package's defaults, and goes again.
mkdir -p "$work/home"
env -u DISPLAY HOME="$work/home" wine "$work/quiet.exe" /VERYSILENT "/DIR=$Q" >/dev/null 2>>"$err"
same "no display: the setup ends with 0" "$?" 0
same "no display: Wine made no launcher in the user's home for the shortcut" "$(find "$work/home" -name '*.desktop')" ""
same "no display: type 0's components are installed" "$(files_in "$q")" \
  "./Help/help.txt ./Samples/sample.txt ./program.txt ./uninst.dat"
eval "words=($(entry_command "$quiet_entry"))"
env -u DISPLAY wine "${words[@]}" /VERYSILENT >/dev/null 2>>"$err"
same "no display: the removal ends with 0 and the folder is gone" "$?|$([ -e "$q" ] && echo folder)" "0|"

# The slow product was the uninstaller's last user: it goes once its removal has ended.
eval "words=($(entry_command "$tour_entry"))"
out=$(driver start "${words[@]}" /VERYSILENT -- wait-exit 120000)
expect "very silent removal: ends with 0" "$out" '"exit":0'
for _ in $(seq 40); do [ -e "$uninstaller" ] || break; sleep 0.25; done
same "very silent removal: the last user's uninstaller and its count are gone" \
  "$([ -e "$uninstaller" ] && echo there)|$(users)" "|"
same "very silent removal: the prefix is as before the install" \
  "$(prefix_snapshot | diff "$work/before.txt" - | grep '^[<>]' | grep -v -i 'windows/vntuninst.exe$')" ""


# Closed from outside while it copies: taskkill asks its windows to close. A very silent run
# shows none; the one it keeps for hearing such a request lives on a thread of its own, and
# the run takes the request from there: it stops, is undone and ends with 5.
out=$(driver start "$(win "$work/slow.exe")" /VERYSILENT "/LOG=$(win "$work/closed.log")" -- sleep 0)
pid=$(pid_of "$out")
for _ in $(seq 120); do grep -q "^.\{25\}file " "$work/closed.log" 2>/dev/null && break; sleep 0.25; done
expect "closed: the copy is under way" "$(cat "$work/closed.log" 2>&1)" "Copying files..."
wine taskkill /pid "$pid" >/dev/null 2>>"$err"
out=$(driver attach "$pid" -- wait-exit 60000)
pid=""
expect "closed: the setup ends with 5" "$out" '"exit":5'
same "closed: nothing of the product is left" \
  "$([ -e "$t" ] && echo folder)$(entry_command "$tour_entry")$(wine reg query 'HKLM\Software\Vantry' 2>&1 | grep -c Unfinished)" "0"
C=$(cat "$work/closed.log" 2>&1)
expect "closed: the log tells of the request" "$C" "asked to close while installing"
expect "closed: the log tells of the rollback" "$C" "rolling back"
expect "closed: the log ends with the result" "$C" "result: the installation was cancelled and undone (exit code 5)"

# Volume files: nobody can bring the second, which is in disk2: after a minute's wait the run
# fails and is undone. A second run finds it once it is moved beside the first while it waits.
mkdir -p "$work/disk2"
"$host/installfixture" volumes "$win32/vntsetup.exe" "$work/volumes.exe" >/dev/null
out=$(driver start "$(win "$work/volumes.exe")" /VERYSILENT "/LOG=$(win "$work/volumes.log")" -- wait-exit 120000)
expect "missing volume: the setup ends with 4" "$out" '"exit":4'
same "missing volume: nothing of the product is left" "$([ -e "$work/target2" ] && echo folder)" ""
V=$(cat "$work/volumes.log" 2>&1)
expect "missing volume: the log tells of the wait" "$V" "waiting up to 60 s for $(win "$work")\\volumes.002"
expect "missing volume: and of message 20" "$V" "Disk 2 data not found in selected path."
out=$(driver start "$(win "$work/volumes.exe")" /VERYSILENT "/LOG=$(win "$work/volumes2.log")")
pid=$(pid_of "$out")
for _ in $(seq 100); do grep -q 'waiting up to' "$work/volumes2.log" 2>/dev/null && break; sleep 0.2; done
mv "$work"/disk2/volumes.* "$work/"
out=$(driver attach "$pid" -- wait-exit 60000)
pid=""
expect "volume brought while waiting: the setup ends with 0" "$out" '"exit":0'
same "volume brought while waiting: the file spread over the volumes is whole" \
  "$(stat -c %s "$work/target2/data/deep/big.dat" 2>&1)" 300000

# A requirement the machine fails, message boxes suppressed: exit 3, only the log is written.
"$host/installfixture" needs-memory "$win32/vntsetup.exe" "$work/memory.exe"
prefix_snapshot >"$work/before-memory.txt"
out=$(driver start "$(win "$work/memory.exe")" /SILENT /SUPPRESSMSGBOXES "/LOG=$(win "$work/memory.log")" -- wait-exit 30000)
expect "requirement: the setup ends with 3" "$out" '"exit":3'
same "requirement: nothing is written but the log" "$(prefix_snapshot | diff "$work/before-memory.txt" - | grep -c '^[<>]')" 0
expect "requirement: the log has the message that was not shown" "$(cat "$work/memory.log" 2>&1)" \
  "message (not shown): Install Tour needs more RAM memory."
# /LOG in a run a person clicks through: the message is shown, and logged.
out=$(driver start "$(win "$work/memory.exe")" "/LOG=$(win "$work/memory-shown.log")" -- wait-msgbox 30000 -- press OK \
      -- wait-exit 30000)
expect "logged by a person's run: the setup ends with 3" "$out" '"exit":3'
M=$(cat "$work/memory-shown.log" 2>&1)
expect "logged by a person's run: the message shown" "$M" "message: Install Tour needs more RAM memory."
expect "logged by a person's run: the result" "$M" "result: a requirement was not met (exit code 3)"
e2e_end
