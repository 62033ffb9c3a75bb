#!/usr/bin/env bash
# The setup on a screen of 144 DPI: the default wizard of wizardfixture's product and the
# fixed windows grow by half, as the system's dialogs do, the fonts with them but only once,
# and a 96-DPI run of the same windows stays as it was. The wizard is gone through to the
# end; the next disk prompt, the replace question and the copying window are opened by
# auxwindows.exe, the loader by pagefixture's setup. Pictures at both DPIs go to
# build/e2e-dpi/. The prefix is set back to 96 DPI whatever happens.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-dpi"
mkdir -p "$pictures"
key='HKCU\Software\VantryTests\WizardTour'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Wizard Tour'
group="DPI Test $$"
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
programs() { find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' 2>/dev/null | head -1; }

# Wine 8 reads the DPI from the user's key (the machine's is its fallback) as its programs
# start under a new server: both keys, then a new server.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
    /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  (vnt_start_wineserver) </dev/null >/dev/null 2>&1 || true
}
# The usual clean-up first (it may end the script), then 96 DPI again for the tests after.
finish() {
  local clean=0
  forget "$key"
  forget "$entry"
  rm -rf "$(programs)/$group"
  (e2e_cleanup) || clean=1
  set_dpi 96
  [ $clean -eq 0 ] || exit 1
}
trap finish EXIT

win() { printf 'Z:%s' "${1//\//\\}"; }
pic() { win "$pictures/$1.png"; }
# 96-DPI pixels at 144 DPI, rounded as MulDiv rounds.
x15() { echo $(( ($1 * 144 + 48) / 96 )); }
rect_of() { printf '%s\n' "$1" | grep -F "\"name\":\"$2\"" | head -1 | sed -n 's/.*"rect":\[\([-0-9,]*\)\].*/\1/p'; }
client_of() {  # the driver's output, the window's class
  printf '%s\n' "$1" | grep '"type":"window"' | grep -F "\"class\":\"$2\"" | head -1 \
    | sed -n 's/.*"client":\[\([0-9,]*\)\].*/\1/p'
}
scaled_rect() { local IFS=,; set -- $1; echo "$(x15 "$1"),$(x15 "$2"),$(x15 "$3"),$(x15 "$4")"; }
scaled_size() { local IFS=,; set -- $1; echo "$(x15 "$1"),$(x15 "$2")"; }
height_of() { local IFS=,; set -- $1; echo $(( $4 - $2 )); }
on() { driver attach "$pid" -- wait-window --title-contains "$title" 10000 -- "$@"; }
page() { on list | grep '"class":"TVntPagePanel"' | grep '"visible":true' | sed -n 's/.*"name":"\([^"]*\)".*/\1/p'; }
aux=$(win "$win32/auxwindows.exe")
result="$work/result.txt"
open_aux() { rm -f "$result"; out=$(driver start "$aux" "$(win "$result")" "$@"); pid=""; }

for program in vntsetup vntuninst; do
  expect "$program.exe declares itself aware of the system's DPI" \
    "$(grep -ao '<dpiAware[^>]*>[a-z]*</dpiAware>' "$win32/$program.exe")" '>true</dpiAware>'
done
"$host/wizardfixture" "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/setup.exe"
title="Wizard Tour Setup"
mkdir -p "$work/disks"
head -c 2048 /dev/zero >"$work/readme.txt"

# --- 96 DPI: the places the 144-DPI run is measured against.
# By class: the loader's window, gone a moment later, carries the product's title too.
set_dpi 96
out=$(driver start "$(win "$work/setup.exe")" -- wait-window --class TfrmSetupMain 30000 -- list -- snap "$(pic welcome-96)")
pid=$(pid_of "$out")
main96=$(client_of "$out" TfrmSetupMain)
label96=$(rect_of "$out" VN_Welcome_Label1)
next96=$(rect_of "$out" VN_Welcome_Button2)
same "96 DPI: the wizard keeps the package's client size" "$main96" "497,360"
on click name:VN_Welcome_Button2 -- check name:VN_License_RadioBox1 1 -- click name:VN_License_Button2 >/dev/null
out=$(on click name:VN_Folder_Button4 -- wait-window --class TfrmDirectorySel 10000 -- list -- snap "$(pic folder-select-96)" \
      -- click text:Cancel)
dirlabel96=$(rect_of "$out" lblDirectory)
direct96=$(rect_of "$out" txtDirectory)
out=$(driver attach "$pid" -- kill)
pid=""
open_aux copying '3:200:' '2:50:' '0:0:Copying files...' '1:0:C:\Program Files\Tools\readme.txt' \
  -- wait-window --class TfrmCopyingFiles 20000 -- list -- snap "$(pic copying-96)" -- kill
copying96=$(client_of "$out" TfrmCopyingFiles)
cancel96=$(rect_of "$out" btnCancel)
same "96 DPI: the copying window as before" "$copying96|$cancel96" "297,129|110,92,185,117"

# --- 144 DPI: the wizard page by page.
set_dpi 144
out=$(driver start "$(win "$work/setup.exe")" -- wait-window --class TfrmSetupMain 30000 -- list -- snap "$(pic welcome-144)")
pid=$(pid_of "$out")
same "144 DPI: the wizard's client area is half as large again" "$(client_of "$out" TfrmSetupMain)" "$(scaled_size "$main96")"
same "144 DPI: a label's place scales by its edges" "$(rect_of "$out" VN_Welcome_Label1)" "$(scaled_rect "$label96")"
same "144 DPI: so does a button's" "$(rect_of "$out" VN_Welcome_Button2)" "$(scaled_rect "$next96")"
back=$(rect_of "$out" VN_Welcome_Button1)
next=$(rect_of "$out" VN_Welcome_Button2)
same "144 DPI: Back and Next still touch" "$(echo "$back" | cut -d, -f3)" "$(echo "$next" | cut -d, -f1)"
on click name:VN_Welcome_Button2 -- check name:VN_License_RadioBox1 1 -- snap "$(pic license-144)" >/dev/null
same "144 DPI: the licence page" "$(page)" License
on click name:VN_License_Button2 -- type name:VN_Folder_TextBox1 "$(win "$work/target")" -- snap "$(pic folder-144)" >/dev/null
out=$(on click name:VN_Folder_Button4 -- wait-window --class TfrmDirectorySel 10000 -- list -- snap "$(pic folder-select-144)" \
      -- click text:Cancel)
same "144 DPI: the folder selection's client area" "$(client_of "$out" TfrmDirectorySel)" "$(scaled_size 281,277)"
same "144 DPI: its edit box scales" "$(rect_of "$out" txtDirectory)" "$(scaled_rect "$direct96")"
# A label is as high as its text: the font follows the DPI once, not twice.
h96=$(height_of "$dirlabel96") h144=$(height_of "$(rect_of "$out" lblDirectory)")
[ $((h144 * 10)) -ge $((h96 * 13)) ] && [ $((h144 * 10)) -le $((h96 * 17)) ] \
  && pass "144 DPI: the text is half as high again ($h96 -> $h144)" || fail "text height $h96 -> $h144"
label=$(rect_of "$out" lblDirectory) edit=$(rect_of "$out" txtDirectory)
[ "$(echo "$label" | cut -d, -f4)" -le "$(echo "$edit" | cut -d, -f2)" ] \
  && pass "144 DPI: the label ends above its box" || fail "label $label overlaps box $edit"
on click name:VN_Folder_Button2 -- snap "$(pic components-144)" >/dev/null
same "144 DPI: the components page" "$(page)" Components
on click name:VN_Components_Button2 -- type name:VN_Group_TextBox1 "$group" -- snap "$(pic group-144)" \
  -- click name:VN_Group_Button2 -- snap "$(pic ready-144)" >/dev/null
same "144 DPI: the ready page" "$(page)" Ready
on click name:VN_Ready_Button2 >/dev/null
for _ in $(seq 60); do
  [ "$(on get name:VN_INSTALL_Button2 | grep -o '"enabled":true')" ] && break
  sleep 1
done
on snap "$(pic install-144)" -- click name:VN_INSTALL_Button2 -- snap "$(pic finish-144)" >/dev/null
same "144 DPI: the finish page" "$(page)" Finish
out=$(on click name:VN_Finish_Button2 -- wait-exit 30000)
expect "144 DPI: the setup installs and ends with 0" "$out" '"exit":0'
pid=""
[ -f "$work/target/tour.exe" ] && pass "144 DPI: the program's file came" || fail "tour.exe missing"

# --- 144 DPI: the fixed windows.
open_aux copying '3:200:' '2:50:' '0:0:Copying files...' '1:0:C:\Program Files\Tools\readme.txt' \
  -- wait-window --class TfrmCopyingFiles 20000 -- list -- snap "$(pic copying-144)" -- kill
same "144 DPI: the copying window's client area" "$(client_of "$out" TfrmCopyingFiles)" "$(scaled_size "$copying96")"
same "144 DPI: its Cancel button" "$(rect_of "$out" btnCancel)" "$(scaled_rect "$cancel96")"
same "144 DPI: its bar" "$(rect_of "$out" pbProgress)" "$(scaled_rect 12,60,285,76)"
open_aux needdisk 2 "$(win "$work/disks")" 'C:\media\install.exe' -- wait-window --class TfrmNeedDisk 20000 -- list \
  -- snap "$(pic needdisk-144)" -- kill
same "144 DPI: the next disk prompt's picture" "$(rect_of "$out" imgDisks)" "$(scaled_rect 8,8,56,56)"
same "144 DPI: its OK button" "$(rect_of "$out" btnOK)" "$(scaled_rect 216,137,291,162)"
open_aux replace 2 "$(win "$work/readme.txt")" -- wait-window --class TfrmMsgBoxFiles 20000 -- list \
  -- snap "$(pic replace-144)" -- kill
same "144 DPI: the replace question's client area" "$(client_of "$out" TfrmMsgBoxFiles)" "$(scaled_size 418,269)"
same "144 DPI: its Yes button, placed by the layout" "$(rect_of "$out" btnYes)" "$(scaled_rect 12,231,87,254)"

# --- 144 DPI: the loader window, its picture stretched under its labels.
"$host/pagefixture" loader "$win32/vntsetup.exe" "$work/loader.exe"
# No picture: the loader may be gone between finding it and taking one.
out=$(driver start "$(win "$work/loader.exe")" -- wait-window --class TfrmSetupLoader 30000 -- list \
  -- wait-exit 60000)
same "144 DPI: the loader's client area" "$(client_of "$out" TfrmSetupLoader)" "$(scaled_size 300,110)"
same "144 DPI: its message's place" "$(rect_of "$out" lblMessage)" "$(scaled_rect 9,32,290,99)"
expect "144 DPI: the loader's setup ends" "$out" '"exit":0'
e2e_end
