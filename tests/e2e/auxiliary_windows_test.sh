#!/usr/bin/env bash
# The small fixed windows, each opened by auxwindows.exe over a stand-in wizard and driven as
# a user would: the next disk prompt refusing a folder without the volume file and accepting
# the right one, Browse from a vanished folder and from a missing drive; the replace question
# in its three modes, for a file the shell cannot describe and without Cancel; the copying
# window's texts, bar and Cancel; the device connection window refusing to close. Texts are
# read back in English and in the second language; every button's result comes back through
# the program's result file. Pictures of the windows go to build/e2e-aux/.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-aux"
mkdir -p "$pictures"

win() { printf 'Z:%s' "${1//\//\\}"; }  # a Unix path as Wine sees it
pic() { win "$pictures/$1.png"; }
aux=$(win "$win32/auxwindows.exe")
result="$work/result.txt"
# Starts the program on a window (arguments up to "--"), then runs the driver commands.
open_window() { rm -f "$result"; out=$(driver start "$aux" "$(win "$result")" "$@"); pid=$(pid_of "$out"); }
drive() { driver attach "$pid" -- "$@"; }
on() { local class=$1; shift; drive wait-window --class "$class" 20000 -- "$@"; }  # on a window: commands
ctl() { line_of "$out" "$1" | head -1; }
nth() { line_of "$out" "$1" | sed -n "$2p"; }
# The last driver call ended the program with wait-exit: it ended well.
ended() { expect "$1: the program ends" "$out" '"exit":0'; pid=""; }
res() { tr -d '\r' <"$result" 2>/dev/null | sed -n "s/^$1=//p"; }
json() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }  # a text as the driver's JSON writes it
at() { printf '%s\n' "$out" | grep -F "\"rect\":[$1]" | head -1; }  # the control at a place

mkdir -p "$work/disks" "$work/wrong" "$work/files"
: >"$work/disks/install.012"
: >"$work/wrong/install.12"
: >"$work/wrong/setup.012"
: >"$work/wrong/install.002"
mkdir -p "$work/wrong/install.012"  # a folder of that name is no volume file
head -c 3072 /dev/zero >"$work/files/readme.txt"
: >"$work/files/R&D notes.txt"
touch -d '2020-01-02 12:04:05' "$work/files/readme.txt"
program='C:\media\install.exe'

# --- Next disk prompt: texts, places, a folder without the volume file, Browse twice.
open_window needdisk 12 "$(win "$work/wrong")" "$program" -- wait-window --class TfrmNeedDisk 20000 -- list \
  -- snap "$(pic needdisk)"
expect "need disk: the caption" "$out" '"class":"TfrmNeedDisk","text":"Setup Needs the Next Disk"'
expect "need disk: its client size" "$out" '"client":[377,169]'
expect "need disk: the message names disk 12" "$(ctl lblMsg)" '"text":"Please insert Disk 12 and click OK. If the files'
expect "need disk: the message wraps in its box" "$(ctl lblMsg)" '"rect":[72,8,369,80]'
expect "need disk: the path label" "$(ctl lblPath)" '"text":"Path","id":'
expect "need disk: the folder with a trailing backslash" "$(ctl txtPath)" "\"text\":\"$(json "$(win "$work/wrong")\\")\""
expect "need disk: the path box" "$(ctl txtPath)" '"rect":[8,96,289,117]'
expect "need disk: the picture" "$(ctl imgDisks)" '"rect":[8,8,56,56],"enabled":true,"visible":true'
expect "need disk: Browse" "$(ctl btnBrowse)" '"text":"Browse","id":'
expect "need disk: Browse beside the path" "$(ctl btnBrowse)" '"rect":[296,95,371,120]'
expect "need disk: OK" "$(ctl btnOK)" '"text":"OK","id":'
expect "need disk: OK's place" "$(ctl btnOK)" '"rect":[216,137,291,162]'
expect "need disk: Cancel's place" "$(ctl btnCancel)" '"text":"Cancel","id":'

out=$(on TfrmNeedDisk click name:btnOK -- wait-msgbox 10000 -- msgbox -- press OK \
  -- wait-window --class TfrmNeedDisk 5000 -- get name:txtPath)
expect "need disk: near misses of install.012 are refused" "$out" \
  '{"caption":"Aux Test Setup","text":"Disk 12 data not found in selected path.","buttons":["OK"]}'
expect "need disk: the prompt stays after the error" "$out" '"class":"TfrmNeedDisk"'

# Browse shows the path in its edit; a folder typed there becomes the path.
gone=$(win "$work/gone/deeper")
out=$(on TfrmNeedDisk click name:btnBrowse -- wait-window --class TfrmDirectorySel 10000 -- get name:txtDirectory \
  -- type name:txtDirectory "$gone" -- click text:OK -- wait-window --class TfrmNeedDisk 10000 -- get name:txtPath)
expect "browse: its edit shows the path" "$(ctl txtDirectory)" "\"text\":\"$(json "$(win "$work/wrong")\\")\""
expect "browse: the typed folder becomes the path" "$(ctl txtPath)" "\"text\":\"$(json "$gone\\")\""
# From the vanished folder, Browse starts at its nearest existing parent: its subfolder
# "disks" is in the list (no complaint about the folder comes first).
out=$(on TfrmNeedDisk click name:btnBrowse -- wait-window --class TfrmDirectorySel 10000 -- select name:lstDirectories disks \
  -- snap "$(pic needdisk-browse)" -- get name:txtDirectory -- type name:txtDirectory "$(win "$work/disks")" \
  -- click text:OK -- wait-window --class TfrmNeedDisk 10000 -- get name:txtPath -- click name:btnOK -- wait-exit 20000)
expect "browse: from a vanished folder the list shows its nearest parent" "$out" '"ok":"select"'
expect "browse: the edit still shows the vanished path" "$(ctl txtDirectory)" "deeper"
expect "browse: the chosen folder becomes the path" "$(ctl txtPath)" "\"text\":\"$(json "$(win "$work/disks")\\")\""
ended "need disk"
same "need disk: OK with install.012 there closes with OK" "$(res result)" 1
same "need disk: the folder the caller goes on with" "$(res folder)" "$(win "$work/disks")\\"

# In the second language, from a drive that does not exist: Browse starts in the Windows
# folder; Cancel there keeps the path, Cancel on the prompt answers Cancel.
open_window --language Deutsch needdisk 3 'Q:\nowhere\at all' "$program" -- wait-window --class TfrmNeedDisk 20000 \
  -- list -- click name:btnBrowse -- wait-window --class TfrmDirectorySel 10000 -- list \
  -- select name:lstDirectories system32 -- snap "$(pic needdisk-browse-de)" -- click text:Abbrechen \
  -- wait-window --class TfrmNeedDisk 10000 -- get name:txtPath -- snap "$(pic needdisk-de)" -- click name:btnCancel -- wait-exit 20000
expect "need disk (de): the caption" "$out" '"text":"Naechste Diskette"'
expect "need disk (de): the message in caption mode, disk 3" "$(ctl lblMsg)" '"text":"Bitte Diskette 3 von Tools && Co einlegen."'
expect "need disk (de): Browse" "$(ctl btnBrowse)" '"text":"Suchen"'
expect "need disk (de): Cancel" "$(ctl btnCancel)" '"text":"Abbrechen"'
expect "browse (de): the caption" "$out" '"class":"TfrmDirectorySel","text":"Ordnerwahl"'
expect "browse (de): its labels" "$(ctl lblDrives)" '"text":"Laufwerke"'
expect "browse (de): the prompt's Cancel caption" "$(at 196,244,271,269)" '"text":"Abbrechen"'
expect "browse: from a missing drive the list shows the Windows folder" "$out" '"ok":"select"'
expect "browse: Cancel keeps the path" "$(nth txtPath 2)" '"text":"Q:\\nowhere\\at all\\"'
ended "need disk (de)"
same "need disk: Cancel closes with Cancel" "$(res result)" 2
same "need disk: no folder after Cancel" "$(res folder)" ""

# --- Replace question: mode 0, 1 and 2, a file the shell cannot describe, no Cancel.
readme=$(win "$work/files/readme.txt")
open_window replace 0 "$readme" -- wait-window --class TfrmMsgBoxFiles 20000 -- list -- snap "$(pic replace-mode0)" \
  -- click name:btnYes -- wait-exit 20000
expect "replace 0: the caption is the application title" "$out" '"class":"TfrmMsgBoxFiles","text":"Aux Test Setup"'
expect "replace 0: the question names the file" "$(ctl lblMsg)" \
  '"text":"The file readme.txt already exists. Do you want to replace this file?"'
expect "replace 0: the short window" "$out" '"client":[418,106]'
expect "replace 0: buttons at 64" "$(ctl btnYes)" '"text":"Yes","id":'
expect "replace 0: Yes's place" "$(ctl btnYes)" '"rect":[12,64,87,87]'
expect "replace 0: Cancel's place" "$(ctl btnCancel)" '"rect":[331,64,406,87],"enabled":true,"visible":true'
expect "replace 0: the question icon" "$(ctl imgInfo)" '"rect":[15,16,47,48],"enabled":true,"visible":true'
expect "replace 0: no file line" "$(ctl lblFile1)" '"visible":false'
expect "replace 0: no file label" "$(ctl lblExistent)" '"visible":false'
ended "replace 0"
same "replace: Yes answers 6" "$(res result)" 6

open_window replace 1 "$readme" -- wait-window --class TfrmMsgBoxFiles 20000 -- list -- snap "$(pic replace-mode1)" \
  -- click name:btnNoToAll -- wait-exit 20000
expect "replace 1: the window" "$out" '"client":[418,177]'
expect "replace 1: buttons at 139" "$(ctl btnNoToAll)" '"text":"No To All","id":'
expect "replace 1: No To All's place" "$(ctl btnNoToAll)" '"rect":[251,139,326,162]'
expect "replace 1: the existing file's label" "$(ctl lblExistent)" '"text":"Existent File"'
expect "replace 1: its size, a line break, its date" "$(ctl lblFile1)" '"text":"3 KB\r\n'
expect "replace 1: its year" "$(ctl lblFile1)" '2020   '
expect "replace 1: the line beside the icon" "$(ctl lblFile1)" '"rect":[120,88,405,120]'
expect "replace 1: the file type's icon" "$(ctl imgFile1)" '"rect":[76,88,108,120],"enabled":true,"visible":true'
expect "replace 1: no second line" "$(ctl lblFile2)" '"visible":false'
expect "replace 1: no destination label" "$(ctl lblDestination)" '"visible":false'
ended "replace 1"
same "replace: No To All answers 9" "$(res result)" 9

open_window --language Deutsch replace 2 "$readme" -- wait-window --class TfrmMsgBoxFiles 20000 -- list \
  -- snap "$(pic replace-mode2-de)" -- click name:btnCancel -- wait-exit 20000
expect "replace 2: the tall window" "$out" '"client":[418,269]'
expect "replace 2 (de): the question" "$(ctl lblMsg)" '"text":"Die Datei readme.txt gibt es schon. Ersetzen?"'
expect "replace 2 (de): Yes" "$(ctl btnYes)" '"text":"Ja","id":'
expect "replace 2 (de): Yes To All" "$(ctl btnYesToAll)" '"text":"Ja, alle","id":'
expect "replace 2 (de): No" "$(ctl btnNo)" '"text":"Nein","id":'
expect "replace 2 (de): No To All" "$(ctl btnNoToAll)" '"text":"Nein, keine","id":'
expect "replace 2 (de): Cancel" "$(ctl btnCancel)" '"text":"Abbrechen","id":'
expect "replace 2: Cancel at 231" "$(ctl btnCancel)" '"rect":[331,231,406,254]'
expect "replace 2 (de): the file labels" "$(ctl lblExistent)" '"text":"Vorhandene Datei"'
expect "replace 2 (de): the new file's label" "$(ctl lblDestination)" '"text":"Neue Datei"'
expect "replace 2: the new file's size and date" "$(ctl lblFile2)" '"text":"1.5 KB\r\n'
expect "replace 2: the new file's year and time" "$(ctl lblFile2)" '2021   '
expect "replace 2: the second icon" "$(ctl imgFile2)" '"rect":[76,164,108,196],"enabled":true,"visible":true'
ended "replace 2"
same "replace: Cancel answers 2" "$(res result)" 2

# A file gone since the question was asked: the shell has no icon, the texts move left.
open_window replace 2 "$(win "$work/files/gone.txt")" -- wait-window --class TfrmMsgBoxFiles 20000 -- list \
  -- snap "$(pic replace-noicon)" -- click name:btnYesToAll -- wait-exit 20000
expect "replace, no icon: no first picture" "$(ctl imgFile1)" '"visible":false'
expect "replace, no icon: no second picture" "$(ctl imgFile2)" '"visible":false'
expect "replace, no icon: the first line at the picture's place" "$(ctl lblFile1)" '"rect":[76,88,405,120]'
expect "replace, no icon: the second line too" "$(ctl lblFile2)" '"rect":[76,164,405,196]'
expect "replace, no icon: the new file still shows" "$(ctl lblFile2)" '"text":"1.5 KB\r\n'
ended "replace, no icon"
same "replace: Yes To All answers 10" "$(res result)" 10

open_window replace-nocancel "$(win "$work/files/R&D notes.txt")" -- wait-window --class TfrmMsgBoxFiles 20000 -- list \
  -- snap "$(pic replace-nocancel)" -- click name:btnNo -- wait-exit 20000
expect "replace, no Cancel: one file line" "$out" '"client":[418,177]'
expect "replace: an ampersand in the name is no mnemonic" "$(ctl lblMsg)" '"text":"The file R&&D notes.txt already exists.'
expect "replace, no Cancel: Cancel hidden" "$(ctl btnCancel)" '"visible":false'
expect "replace, no Cancel: Yes at 51" "$(ctl btnYes)" '"rect":[51,139,126,162]'
expect "replace, no Cancel: Yes To All at 131" "$(ctl btnYesToAll)" '"rect":[131,139,206,162]'
expect "replace, no Cancel: No at 211" "$(ctl btnNo)" '"rect":[211,139,286,162]'
expect "replace, no Cancel: No To All at 291" "$(ctl btnNoToAll)" '"rect":[291,139,366,162]'
ended "replace, no Cancel"
same "replace: No answers 7" "$(res result)" 7

# --- Copying window: the progress calls, Cancel asking its owner each time.
open_window copying '3:200:' '2:50:' '0:0:Copying files...' '1:0:first detail' '1:0:C:\Program Files\Tools\readme.txt' \
  -- wait-window --class TfrmCopyingFiles 20000 -- list -- snap "$(pic copying)" -- click name:btnCancel \
  -- wait-msgbox 10000 -- msgbox -- press No -- wait-window --class TfrmCopyingFiles 5000 -- get name:lblCopying
expect "copying: the caption the owner set" "$out" '"class":"TfrmCopyingFiles","text":"Aux Test Setup"'
expect "copying: its client size" "$out" '"client":[297,129]'
expect "copying: placed by its owner" "$out" '"rect":[360,40,'
expect "copying: kind 0 sets the bold line" "$(ctl lblCopying)" '"text":"Copying files...","id":'
expect "copying: kind 1 sets the second line, the last call wins" "$(ctl lblProc)" \
  '"text":"C:\\Program Files\\Tools\\readme.txt","id":'
expect "copying: the bar" "$(ctl pbProgress)" '"rect":[12,60,285,76]'
expect "copying: Cancel with the owner's caption" "$(ctl btnCancel)" '"text":"Cancel","id":'
expect "copying: Cancel's place" "$(ctl btnCancel)" '"rect":[110,92,185,117]'
expect "copying: Cancel asks the owner" "$out" '"text":"Stop copying?"'
expect "copying: the window stays when the owner says no" "$(nth lblCopying 2)" '"visible":true'
out=$(on TAuxHarness click name:btnCloseRequest -- wait-msgbox 10000 -- press Yes -- wait-exit 20000)
expect "copying: its close box asks the owner too" "$out" '"ok":"press"'
ended "copying"
same "copying: the owner was asked twice" "$(res cancels)" 2
same "copying: kind 2 set the position" "$(res position)" 50
same "copying: kind 3 set the maximum" "$(res maximum)" 200
same "copying: shown without taking the activation" "$(res activated)" 0

# --- Device connection window: shown at once, refuses WM_CLOSE (which gives the wait up),
# freed by the callback.
open_window --language Deutsch connect -- wait-window --class TfrmStartCEConnection 20000 -- list \
  -- snap "$(pic connection-de)"
expect "connection: the caption is the software name" "$out" '"class":"TfrmStartCEConnection","text":"Tools & Co"'
expect "connection: its client size" "$out" '"client":[301,45]'
expect "connection: the message in caption mode" "$(ctl lblMsg)" '"text":"Verbinde Tools && Co mit dem Geraet..."'
expect "connection: the message's place" "$(ctl lblMsg)" '"rect":[15,15,287,'
out=$(on TAuxHarness click name:btnCloseRequest -- sleep 500 \
  -- wait-window --class TfrmStartCEConnection 3000 -- get name:lblMsg -- wait-window --class TAuxHarness 5000 \
  -- click name:btnDone -- wait-exit 20000)
expect "connection: still shown after WM_CLOSE" "$(ctl lblMsg)" '"visible":true'
ended "connection"
same "connection: shown" "$(res shown)" 1
same "connection: owned by the active window" "$(res owner_is_harness)" 1
same "connection: not activated" "$(res activated)" 0
same "connection: the hourglass while connecting" "$(res cursor_while)" wait
same "connection: the close request was refused" "$(res alive_at_done)" 1
same "connection: ... and gives the wait for the device up" "$(res cancel_asked)" 1
same "connection: done frees the window" "$(res freed)" 1
same "connection: the normal cursor after" "$(res cursor_after)" arrow

open_window connect -- wait-window --class TfrmStartCEConnection 20000 -- get name:lblMsg -- snap "$(pic connection)" \
  -- wait-window --class TAuxHarness 5000 -- click name:btnDone -- wait-exit 20000
expect "connection: the start-up copy of the message in English" "$(ctl lblMsg)" \
  '"text":"Connecting to Windows CE device..."'
ended "connection (en)"

e2e_end
