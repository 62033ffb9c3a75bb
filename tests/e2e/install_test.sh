#!/usr/bin/env bash
# A fresh installation of installfixture's product, without pages, checked afterwards on the
# disk and in the registry: which files came (contents, sizes, dates) and which did not, the
# folders made, the shortcuts read back through the shell link interface, the registry values
# with their types, the Add/Remove Programs entry and the uninstall record read back. Then the
# same setup in maintenance mode takes one component away and adds another; the uninstaller,
# started as the entry's command starts it, takes the whole product away again;
# installed once more beside a second product that shares its library, another setup's
# UninstallApp removes it and leaves the library to the second product, whose own uninstaller
# then takes it. A run cancelled in its copying
# window ends with its own code and its temporary folder gone; a setup whose archive is in
# volume files finds the second in another folder through the next disk prompt; a setup whose memory
# requirement the machine fails ends with its message.
source "$(dirname "$0")/lib.sh"

key='HKCU\Software\VantryTests\InstallTour'
machine_key='HKLM\Software\VantryTests\InstallTour'
class_key='HKCR\VantryTests.InstallTour'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Install Tour'
registered='HKCU\Software\VantryTests\SelfRegistered'
shared='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
trap 'forget "$key"; forget "$machine_key"; forget "$class_key"; forget "$entry"; forget "$entry Two"; forget "$registered"; forget "$shared" /v "$(win "$work/target")\vnttestlib.dll"; e2e_cleanup' EXIT
# A machine without this product, its values or the uninstaller: the first install brings them.
forget 'HKCU\Software\VantryTests'
forget "$machine_key"; forget "$class_key"
drop_empty_vendor_key
forget "$entry"
rm -f "$(winepath -u 'C:\windows\vntuninst.exe' 2>/dev/null)"
# Its count too: the second product finds the first one's uninstaller as new as its own, keeps
# it, and must count it all the same, or the first one's removal takes it away.
forget "$shared" /v 'C:\windows\vntuninst.exe'

win() { printf 'Z:%s' "${1//\//\\}"; }
# Windows always has the shared-count key; a fresh prefix gets it with the first shared file.
wine reg add "$shared" /f >/dev/null 2>&1

snapshot() { prefix_snapshot; }
# Differences from the state before, without the uninstaller that all products share.
changes() { snapshot | diff "$work/before.txt" - | grep '^[<>]' | grep -v -i 'windows/vntuninst.exe$'; }
snapshot >"$work/before.txt"

"$host/installfixture" fresh "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/setup.exe"
out=$(driver start "$(win "$work/setup.exe")" -- wait-exit 60000)
expect "the setup without pages installs and ends with 0" "$out" '"exit":0'

t="$work/target"
same "the program is there as packaged" "$(cat "$t/tour.exe" 2>&1)" "MZ the tour program"
same "a file in nested folders, whole" "$(stat -c %s "$t/data/deep/big.dat" 2>&1)" 300000
same "the files carry the packaged date" "$(date -r "$t/tour.exe" '+%Y-%m-%d %H:%M:%S' 2>&1)" "2025-04-11 09:33:02"
windows=$(winepath -u 'C:\windows' 2>/dev/null)
cmp -s "$win32/vntuninst.exe" "$windows/vntuninst.exe" && pass "the uninstaller goes to the Windows folder under its name" \
  || fail "no uninstaller in $windows"
for missing in never.txt cond.txt update.txt unused VNTUNINST.DAT Links/Never.lnk; do
  [ ! -e "$t/$missing" ] && pass "not installed: $missing" || fail "installed although it must not be: $missing"
done

wine "$win32/lnkread.exe" "$(win "$work/links.txt")" "$(win "$t/Links/Tour.lnk")" "$(win "$t/Links/Uninstall Tour.lnk")" \
  >/dev/null 2>>"$err"
links=$(tr -d '\r' <"$work/links.txt" 2>/dev/null)
T=$(win "$t")
expect "the shortcut points at the installed program, in its folder" "$links" \
  "Tour.lnk|$T\\tour.exe|-demo|$T|Starts the tour|1"
expect "the uninstaller shortcut runs the uninstaller with the record" "$links" \
  "Uninstall Tour.lnk|C:\\windows\\vntuninst.exe|\"$T\\uninst.dat\"|"
# Read from the file itself (the header's show command at offset 60): Wine's shell link reads a
# stored 0 back as 1, Windows would start the program hidden.
same "a shortcut stored with show command 0 starts its program normally" \
  "$(od -An -tu4 -j60 -N4 "$t/Links/Uninstall Tour.lnk" 2>&1 | tr -d ' ')" 1

same "the library registered itself" "$(wine reg query "$registered" /v Path 2>&1 | tr -d '\r' | sed -n 's/.*REG_SZ *//p')" \
  "$T\\vnttestlib.dll"
expect "the shared library is counted once" "$(wine reg query "$shared" /v "$T\\vnttestlib.dll" 2>&1 | tr -d '\r')" \
  "REG_DWORD    0x1"

values=$(wine reg query "$key" /s 2>/dev/null | tr -d '\r')
expect "a text value, expanded" "$values" "Path    REG_SZ    $T"
expect "a number value" "$values" "Count    REG_DWORD    0x2a"
expect "a binary value" "$values" "Bytes    REG_BINARY    0102FF"
expect "a multi-text value in a subkey" "$values" 'List    REG_MULTI_SZ    a\0b\0c'
same "a value under the machine's key" \
  "$(wine reg query "$machine_key" /v Machine 2>&1 | tr -d '\r' | sed -n 's/.*REG_SZ *//p')" "$T"
same "a key under the classes root, with its default value" \
  "$(wine reg query "$class_key" /ve 2>&1 | tr -d '\r' | sed -n 's/.*REG_SZ *//p')" "Tour file"
same "neither of them under the user's key" "$(printf '%s' "$values" | grep -c 'Machine\|Tour file')" 0
differ "no value of a component not chosen or a false condition" "$(printf '%s' "$values" | grep -c 'Never\|Cond')" 1

arp=$(wine reg query "$entry" 2>/dev/null | tr -d '\r')
expect "the Add/Remove entry names the product" "$arp" "DisplayName    REG_SZ    Install Tour 1.0"
expect "its command runs the uninstaller with the record" "$arp" \
  "UninstallString    REG_SZ    \"C:\\windows\\vntuninst.exe\" \"$T\\uninst.dat\""
expect "its icon is the product icon" "$arp" "DisplayIcon    REG_SZ    $T\\Install Tour.ico"

record=$("$host/installfixture" record "$t/uninst.dat" 2>&1)
expect "the record names the product and the chosen components" "$record" \
  "names|Install Tour|Vantry Tests|Core|Extras|$T\\Install Tour.ico"
same "the record lists every item in the order made" "$(printf '%s\n' "$record" | sed 1d | head -12)" \
"4|$T
4|$T\\data
4|$T\\data\\deep
0|$T\\tour.exe
0|$T\\readme.txt
0|$T\\data\\deep\\big.dat
2|$T\\Install Tour.ico
3|C:\\windows\\vntuninst.exe
0|$T\\vnttestlib.dll
4|$T\\Links
0|$T\\Links\\Tour.lnk
0|$T\\Links\\Uninstall Tour.lnk"
same "the entry's values are items, and the record itself last" \
  "$(printf '%s\n' "$record" | grep -c '^5|2\\Software\\Microsoft')|$(printf '%s\n' "$record" | tail -1)" "12|2|$T\\uninst.dat"

# --- Replace questions: another setup's newer files over these. A box just answered may
# still be on the screen for a moment: the next one is waited for after a pause.
"$host/installfixture" update "$win32/vntsetup.exe" "$work/update.exe"
out=$(driver start "$(win "$work/update.exe")" \
      -- wait-window --class TfrmMsgBoxFiles 30000 -- get name:lblMsg -- click name:btnNo \
      -- wait-msgbox 10000 -- msgbox -- press OK \
      -- wait-window --class TfrmMsgBoxFiles 10000 -- get name:lblMsg -- click name:btnYesToAll -- sleep 500 \
      -- wait-window --class TfrmMsgBoxFiles 10000 -- get name:lblMsg -- click name:btnNo \
      -- wait-msgbox 10000 -- msgbox -- press OK \
      -- wait-window --class TfrmMsgBoxFiles 10000 -- get name:lblMsg -- click name:btnYes -- wait-exit 30000)
expect "replace: an existing file is asked about" "$out" '"text":"The file readme.txt already exists. Do you want to replace this file?"'
expect "replace: a file kept for the first time warns once" "$out" '"text":"Install Tour Update should cause errors."'
expect "replace: an older file is asked about as such" "$out" \
  '"text":"The file tour.exe already exists. Do you want to replace this file with a newer version?"'
expect "replace: a file that cannot be skipped says so" "$out" '"text":"You can not continue, you can not skip this file."'
expect "replace: the setup ends with 0" "$out" '"exit":0'
same "replace: No keeps the file" "$(cat "$t/readme.txt")" "$(printf 'Read me first.\r')"
same "replace: Yes To All replaces" "$(cat "$t/tour.exe")" "MZ the updated program"
same "replace: the file that could not be skipped is replaced" "$(cat "$t/data/deep/big.dat")" "must be replaced"
same "replace: mode 2 keeps an existing file without asking" "$(cat "$t/Install Tour.ico")" "an icon"
same "replace: the questions asked" "$(printf '%s\n' "$out" | grep -c '"name":"lblMsg"')" 4

# --- Maintenance: the earlier installation found, Extras taken away, Never added.
"$host/installfixture" maintain "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/maintain.exe"
out=$(driver start "$(win "$work/maintain.exe")" -- wait-exit 60000)
expect "maintenance: the run ends with 0" "$out" '"exit":0'
[ ! -e "$t/data" ] && pass "maintenance: the removed component's files and folders are gone" \
  || fail "maintenance: left $(find "$t/data" | paste -sd' ')"
[ -e "$t/never.txt" ] && [ -e "$t/Links/Never.lnk" ] && pass "maintenance: the added component's file and shortcut came" \
  || fail "maintenance: never.txt or Never.lnk missing"
same "maintenance: the kept component's file stays" "$(cat "$t/tour.exe" 2>&1)" "MZ the updated program"
values=$(wine reg query "$key" /s 2>/dev/null | tr -d '\r')
expect "maintenance: the added component's value" "$values" "Never    REG_SZ    x"
same "maintenance: the removed component's key is gone" "$(printf '%s' "$values" | grep -c 'Lists')" 0
record=$("$host/installfixture" record "$t/uninst.dat" 2>&1)
expect "maintenance: the record names the new choice" "$record" "names|Install Tour|Vantry Tests|Core|Never|"
items=$(printf '%s\n' "$record" | grep -v '^5|2\\Software\\Microsoft' | sed 1d | paste -sd' ')
same "maintenance: earlier items minus the removed ones, then the new ones" "${items//"$T"/T}" \
  "4|T 0|T\\tour.exe 0|T\\readme.txt 2|T\\Install Tour.ico 3|C:\\windows\\vntuninst.exe 0|T\\vnttestlib.dll 4|T\\Links 0|T\\Links\\Tour.lnk 0|T\\Links\\Uninstall Tour.lnk 5|1\\Software\\VantryTests\\InstallTour|Path|T 5|1\\Software\\VantryTests\\InstallTour|Count|42 5|1\\Software\\VantryTests\\InstallTour|Bytes|01 02 ff  5|2\\Software\\VantryTests\\InstallTour|Machine|T 5|0\\VantryTests.InstallTour||Tour file 2|T\\uninst.dat 0|T\\never.txt 0|T\\Links\\Never.lnk 5|1\\Software\\VantryTests\\InstallTour|Never|x"
same "maintenance: the entry's values are not recorded twice" "$(printf '%s\n' "$record" | grep -c '^5|2\\Software\\Microsoft')" 12

# --- The uninstaller, run as the entry's command runs it: asked once, it removes every file,
# folder and value, and the entry.
arp=$(wine reg query "$entry" 2>/dev/null | tr -d '\r')
command=$(printf '%s\n' "$arp" | sed -n 's/.*UninstallString    REG_SZ    //p')
eval "words=($command)"
out=$(driver start "${words[@]}" -- wait-msgbox 30000 -- msgbox -- press Yes \
      -- wait-window --class TfrmMsgBoxFiles 30000 -- get name:lblMsg -- click name:btnYes \
      -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000)
expect "the uninstaller asks under the product's caption" "$out" \
  '"caption":"Install Tour Uninstaller","text":"Do you want to uninstall Install Tour from Desktop?"'
expect "it asks before deleting the shared library no product uses any more" "$out" \
  "\"text\":\"${T//\\/\\\\}\\\\vnttestlib.dll is a shared file. Do you want to delete this file?\""
expect "it reports success" "$out" '"text":"Uninstall completed with success."'
expect "and ends with 0" "$out" '"exit":0'
[ ! -e "$t" ] && pass "the install folder is gone" || fail "left behind: $(find "$t" | head -5 | paste -sd' ')"
same "the product's registry keys are gone, the user's, the machine's and the class" \
  "$(wine reg query "$key" 2>&1 | grep -c InstallTour)$(wine reg query "$machine_key" 2>&1 | grep -c InstallTour)$(wine reg query "$class_key" 2>&1 | grep -c InstallTour)" 000
same "the Add/Remove entry is gone" "$(wine reg query "$entry" 2>&1 | grep -c 'Install Tour')" 0
same "the library unregistered itself and its count is gone" \
  "$(wine reg query "$registered" 2>&1 | grep -c Path)$(wine reg query "$shared" /v "$T\\vnttestlib.dll" 2>&1 | grep -c REG_)" 00
same "the prefix's files and registry are as before the install" "$(changes)" ""

# --- Installed again, a second product sharing the library, then the first removed by another
# setup's script command: the library stays for the second product, without a question.
out=$(driver start "$(win "$work/setup.exe")" -- wait-exit 60000)
expect "installed again" "$out" '"exit":0'
"$host/installfixture" second "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/second.exe"
out=$(driver start "$(win "$work/second.exe")" -- wait-exit 60000)
expect "a second product installs" "$out" '"exit":0'
count() { wine reg query "$shared" /v "$T\\vnttestlib.dll" 2>&1 | tr -d '\r' | sed -n 's/.*REG_DWORD *//p'; }
same "the library shared by two products is counted twice" "$(count)" 0x2
"$host/installfixture" remover "$win32/vntsetup.exe" "$work/remover.exe"
out=$(driver start "$(win "$work/remover.exe")" -- wait-exit 60000)
expect "the remover finishes without a question" "$out" '"exit":0'
same "UninstallApp answers 2: removed, with items" "$(tr -d '\r' <"$work/removed.txt" 2>&1)" 2
same "UninstallApp: of the install folder only the library the second product uses is left" \
  "$(cd "$t" 2>/dev/null && find . | sort | paste -sd' ')" ". ./vnttestlib.dll"
same "UninstallApp: the library is counted once now" "$(count)" 0x1
same "UninstallApp: the entry and the values are gone" \
  "$(wine reg query "$entry" 2>&1 | grep -c 'Install Tour$')$(wine reg query "$key" 2>&1 | grep -c InstallTour)" 00
second_entry="$entry Two"
command=$(wine reg query "$second_entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
eval "words=($command)"
out=$(driver start "${words[@]}" -- wait-msgbox 30000 -- press Yes -- wait-window --class TfrmMsgBoxFiles 30000 \
      -- click name:btnYes -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000)
expect "the second product's removal asks about the library it was the last to use" "$out" '"exit":0'
[ ! -e "$t/vnttestlib.dll" ] && [ ! -e "$work/target-two" ] && pass "the second product and the library are gone" \
  || fail "left: $(ls "$t" "$work/target-two" 2>&1 | paste -sd' ')"
same "the library's count and registration are gone" \
  "$(count)$(wine reg query "$registered" 2>&1 | grep -c Path)" 0
same "after UninstallApp and the second uninstaller the prefix is as before the install" "$(changes)" ""
rm -rf "$t"

# --- Cancelled while copying: message 9 answered Yes, the run stops and is rolled back: of
# what it made nothing is left, and the program it had replaced has its old content back.
"$host/installfixture" slow "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/slow.exe"
mkdir -p "$t" && printf 'my own tour' >"$t/tour.exe"
temp=$(wine_temp_folder)
before=$(ls -d "$temp"/vnt* 2>/dev/null)
out=$(driver start "$(win "$work/slow.exe")" -- wait-window --class TfrmSplashBitmapForm 30000 \
      -- wait-window --class TfrmCopyingFiles 30000 -- click name:btnCancel -- wait-msgbox 20000 -- msgbox -- press Yes \
      -- wait-exit 60000)
picture=$(printf '%s\n' "$out" | grep '"class":"TfrmSplashBitmapForm"' | sed -n 's/.*"rect":\[\([-0-9,]*\)\].*/\1/p')
copying=$(printf '%s\n' "$out" | grep '"class":"TfrmCopyingFiles"' | sed -n 's/.*"rect":\[\([-0-9,]*\)\].*/\1/p')
same "cancel: the progress picture shows 32 pixels above the copying window" \
  "$(( $(echo "$copying" | cut -d, -f2) - $(echo "$picture" | cut -d, -f4) ))" 32
expect "cancel: the copying window asks message 9" "$out" \
  '"text":"Setup is copying the files. Do you want to close the Setup?"'
expect "cancel: the setup ends with 5" "$out" '"exit":5'
same "cancel: of the install folder only the program that was there is left, as it was" \
  "$(cd "$t" 2>/dev/null && find . | sort | paste -sd' ')|$(cat "$t/tour.exe" 2>&1)" ". ./tour.exe|my own tour"
same "cancel: no record, no Add/Remove entry, no note of an unfinished run" \
  "$(wine reg query "$entry" 2>&1 | grep -c 'Install Tour')$(wine reg query 'HKLM\Software\Vantry' 2>&1 | grep -c Unfinished)" 00
same "cancel: the temporary folder is gone" "$(comm -13 <(echo "$before") <(ls -d "$temp"/vnt* 2>/dev/null))" ""
rm -rf "$t"

# --- Volume files: the first beside the setup, the others in disk2, found through Browse.
mkdir -p "$work/disk2"
"$host/installfixture" volumes "$win32/vntsetup.exe" "$work/volumes.exe" >/dev/null
out=$(driver start "$(win "$work/volumes.exe")" -- wait-window --class TfrmNeedDisk 30000 -- get name:lblMsg \
      -- click name:btnBrowse -- wait-window --class TfrmDirectorySel 10000 -- type name:txtDirectory "$(win "$work/disk2")" \
      -- click name:btnOK -- wait-window --class TfrmNeedDisk 10000 -- click name:btnOK -- wait-exit 60000)
expect "volumes: the prompt asks for disk 2" "$out" '"text":"Please insert Disk 2 and click OK.'
expect "volumes: the setup ends with 0" "$out" '"exit":0'
same "volumes: the file spread over five volumes is whole" "$(stat -c %s "$work/target2/data/deep/big.dat" 2>&1)" 300000
same "volumes: the later volumes were found where the second was" "$(printf '%s\n' "$out" | grep -c TfrmNeedDisk)" 2

# --- A requirement the machine fails: its message, then the end with code 3.
"$host/installfixture" needs-memory "$win32/vntsetup.exe" "$work/memory.exe"
out=$(driver start "$(win "$work/memory.exe")" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
expect "requirements: the memory message" "$out" '"text":"Install Tour needs more RAM memory. Setup cannot continue and will now exit."'
expect "requirements: the setup ends with 3" "$out" '"exit":3'
e2e_end
