#!/usr/bin/env bash
# The page tour of pagefixture: every control kind and role a wizard page can hold, driven as a
# user would (Next, Back, Cancel, typing, choosing), with the texts and states of the controls
# read through the UI driver and the variables the pages stored read back from pages-out.txt,
# which the pages' LeaveScripts append to next to the setup. Then the start-up around the
# wizard: a start script that answers No, where the loader window sits with and without a
# splash picture, and the Application Manager message in the default language.
# Pictures of the pages go to build/e2e-pages/.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-pages"
mkdir -p "$pictures"

win() { printf 'Z:%s' "${1//\//\\}"; }  # a Unix path as Wine sees it
pic() { win "$pictures/$1.png"; }
drive() { driver attach "$pid" -- "$@"; }
on() { local title=$1; shift; drive wait-window --title "$title" 20000 -- "$@"; }
ctl() { line_of "$out" "$1" | head -1; }                                # a control's line in $out
nth() { line_of "$out" "$1" | sed -n "$2p"; }                           # its n-th line, after several gets
saved="$work/pages-out.txt"
stored() { tr -d '\r' <"$saved" 2>/dev/null | grep "^$1|" | sed -n "${2:-\$}p"; }  # a page's n-th (last) line
# The colour "B G R" of a pixel of the client area in a .bmp picture of a window.
pixel() {  # file, client width, client height, x, y
  local w h left top row
  w=$(od -An -tu4 -j18 -N4 "$1" | tr -d ' ')
  h=$(od -An -tu4 -j22 -N4 "$1" | tr -d ' ')
  left=$(( (w - $2) / 2 )); top=$(( h - $3 - left ))
  row=$(( (w * 3 + 3) / 4 * 4 ))
  od -An -tu1 -j$(( 54 + (h - 1 - top - $5) * row + (left + $4) * 3 )) -N3 "$1" | xargs
}

# A program folder of our own among the existing ones, for the program-group list.
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
group=""
if [ -d "$appdata" ]; then
  group="$appdata/Microsoft/Windows/Start Menu/Programs/Page Tour Test Group"
  mkdir -p "$group"
else
  fail "no application data folder in the Wine prefix: [$appdata]"
fi
trap '[ -n "$group" ] && rm -rf "$group"; e2e_cleanup' EXIT

"$host/pagefixture" pages "$win32/vntsetup.exe" "$work/setup.exe"
setup=$(win "$work/setup.exe")

# --- Welcome: texts from its BeforeBuildScript, the setup picture over the page's shape.
out=$(driver start "$setup" -- wait-window --class TfrmSetupMain 30000 -- list -- snap "$(pic welcome)" \
      -- snap "$(win "$work/welcome.bmp")")
pid=$(pid_of "$out")
expect "welcome: the page has its client size" "$out" '"client":[495,325]'
expect "welcome: the heading its BeforeBuildScript set" "$(ctl VN_Welcome_Label1)" \
  '"text":"Welcome to the Page Tour Setup Wizard"'
expect "welcome: the second text too" "$(ctl VN_Welcome_Label2)" '"text":"This wizard installs Page Tour on your computer.'
expect "welcome: the setup picture (role 9)" "$(ctl VN_Welcome_Image1)" '"rect":[12,12,104,110]'
expect "welcome: the program icon (role 8)" "$(ctl VN_Welcome_Image2)" '"visible":true'
expect "welcome: the picture button" "$(ctl VN_Welcome_ImageButton1)" '"class":"TVNImageButton"'
if [ -s "$work/welcome.bmp" ]; then
  shape=$(pixel "$work/welcome.bmp" 495 325 300 240)
  same "welcome: the transparent picture shows the shape at its corner" "$(pixel "$work/welcome.bmp" 495 325 14 14)" "$shape"
  same "welcome: the picture's centre is drawn" "$(pixel "$work/welcome.bmp" 495 325 58 61)" "0 220 255"
  differ "welcome: the disc is drawn" "$(pixel "$work/welcome.bmp" 495 325 28 61)" "$shape"
else
  fail "welcome: no picture of the page"
fi

out=$(on "Page Tour Setup" click name:VN_Welcome_Button1 -- sleep 300 -- get name:VN_Welcome_Label1 \
      -- click name:VN_Welcome_ImageButton1 -- wait-msgbox 10000 -- msgbox -- press OK)
expect "welcome: Back on the first page stays there" "$(ctl VN_Welcome_Label1)" '"visible":true'
expect "welcome: the picture button runs its script" "$out" '"caption":"Picture button","text":"Hello from Page Tour."'

# --- Licence, framed by the style dialog: the agreement file, the radio pair enabling Next.
out=$(on "Page Tour Setup" click name:VN_Welcome_Button2 -- wait-window --title "License Agreement" 10000 -- list \
      -- snap "$(pic license)")
style=$(printf '%s\n' "$out" | grep -F '"name":"Style_Frame"')
expect "license: the style panel frames the page" "$style" '"visible":true'
style_hwnd=$(printf '%s' "$style" | sed -n 's/.*"hwnd":\([0-9]*\).*/\1/p')
panel=$(printf '%s\n' "$out" | grep -F '"name":"License"')
expect "license: the page panel lies in the style panel" "$panel" "\"parent\":$style_hwnd,"
expect "license: the page panel fills the style space" "$panel" '"rect":[0,62,495,325]'
expect "license: the style's heading shows the page's variable" "$(ctl VN_Style_Frame_Label1)" '"text":"License Agreement"'
expect "license: the welcome page is hidden" "$(printf '%s\n' "$out" | grep -F '"name":"Welcome"')" '"visible":false'
expect "license: the agreement file shows (role 1)" "$(ctl VN_License_License1)" '"text":"LICENSE AGREEMENT\r\n'
expect "license: as rich text, with its link" "$(ctl VN_License_License1)" \
  'Read the full terms at http://www.example.com/license before you go on.'
expect "license: %Agreement% 0 checks the second radio" "$(ctl VN_License_RadioBox2)" '"checked":1'
expect "license: ... not the first" "$(ctl VN_License_RadioBox1)" '"checked":0'
expect "license: Next starts disabled" "$(ctl VN_License_Button2)" '"enabled":false'

out=$(on "License Agreement" check name:VN_License_RadioBox1 1 -- get name:VN_License_Button2 \
      -- check name:VN_License_RadioBox2 1 -- get name:VN_License_Button2 -- check name:VN_License_RadioBox1 1 \
      -- get name:VN_License_Button2)
expect "license: accepting enables Next" "$(nth VN_License_Button2 1)" '"enabled":true'
expect "license: declining disables it again" "$(nth VN_License_Button2 2)" '"enabled":false'
expect "license: accepting once more enables it" "$(nth VN_License_Button2 3)" '"enabled":true'

# --- Folder: install folder box, folder list, drive list, sizes.
out=$(on "License Agreement" click name:VN_License_Button2 -- wait-window --title "Destination Folder" 10000 -- list \
      -- snap "$(pic folder)")
same "license: its LeaveScript stored the radio's value" "$(stored License)" "License|Agreement=1"
expect "folder: the style's heading follows the page" "$(ctl VN_Style_Frame_Label1)" '"text":"Choose Destination Location"'
expect "folder: the licence page is hidden" "$(printf '%s\n' "$out" | grep -F '"name":"License"')" '"visible":false'
expect "folder: the install folder (role 7)" "$(ctl VN_Folder_TextBox1)" '"text":"C:\\Program Files\\Page Tour"'
expect "folder: the required space of the chosen files (role 5)" "$(ctl VN_Folder_Label3)" '"text":"2.5 MB"'
free=$(field "$(ctl VN_Folder_Label5)" text)
if printf '%s' "$free" | grep -Eq '^[0-9]+(\.[0-9])? (KB|MB|GB)$'; then pass "folder: the free space (role 6): $free"
else fail "folder: the free space (role 6) reads [$free]"; fi
expect "folder: the drive list shows the folder's drive (role 16)" "$(ctl VN_Folder_DriveCombo1)" '"text":"C:"'
expect "folder: the folder list (role 15)" "$(ctl VN_Folder_DirList1)" '"class":"ListBox"'
expect "folder: the frame's caption" "$(ctl VN_Folder_Frame1)" '"text":"Disk space"'

out=$(on "Destination Folder" click name:VN_Folder_Button4 -- wait-msgbox 10000 -- msgbox -- press No \
      -- wait-window --title "Destination Folder" 10000 -- get name:VN_Folder_TextBox1)
expect "folder: Cancel on a middle page asks" "$out" '"text":"Do you want to close the Setup?"'
expect "folder: No keeps the page" "$(ctl VN_Folder_TextBox1)" '"visible":true'

# Another drive in the drive list puts its root into the folder box and the folder list.
out=$(on "Destination Folder" select name:VN_Folder_DriveCombo1 "Z:" -- get name:VN_Folder_TextBox1 \
      -- select name:VN_Folder_DriveCombo1 "C:" -- get name:VN_Folder_TextBox1 \
      -- type name:VN_Folder_TextBox1 'C:\windows\Fonts' \
      -- type name:VN_Folder_TextBox1 'C:\Apps\Page Tour' -- get name:VN_Folder_TextBox1 -- get name:VN_Folder_Label5 \
      -- select name:VN_Folder_DirList1 users -- get name:VN_Folder_TextBox1)
expect "folder: drive Z: sets the box to its root" "$(nth VN_Folder_TextBox1 1)" '"text":"Z:\\"'
expect "folder: drive C: sets it back" "$(nth VN_Folder_TextBox1 2)" '"text":"C:\\"'
expect "folder: typing is kept as typed" "$(nth VN_Folder_TextBox1 3)" '"text":"C:\\Apps\\Page Tour"'
differ "folder: the free space still shows" "$(field "$(ctl VN_Folder_Label5)" text)" ""
# C:\Apps does not exist: the folder list goes from C:\windows\Fonts to the nearest folder
# that does, C:\, whose subfolders hold "users" (under C:\windows\Fonts it is not there).
expect "folder: the folder list moved to the nearest existing folder" "$out" '"ok":"select"'
expect "folder: picking in the folder list without opening keeps the box" "$(nth VN_Folder_TextBox1 4)" \
  '"text":"C:\\Apps\\Page Tour"'

# Browse: the directory selection starts on the box's folder; OK puts the chosen one back.
out=$(on "Destination Folder" click name:VN_Folder_Button1 -- wait-window --title "Directory Selection" 10000 -- list \
      -- snap "$(pic browse)" -- type class:Edit 'C:\windows\Fonts' -- press OK \
      -- wait-window --title "Destination Folder" 10000 -- get name:VN_Folder_TextBox1)
expect "browse: the selection window opens" "$out" '"class":"TfrmDirectorySel"'
expect "browse: its edit shows the variable" "$out" '"class":"Edit","text":"C:\\Apps\\Page Tour"'
expect "browse: OK sets the folder" "$(ctl VN_Folder_TextBox1)" '"text":"C:\\windows\\Fonts"'

# --- Program folder: the group box and the list of existing groups.
out=$(on "Destination Folder" type name:VN_Folder_TextBox1 'C:\Apps\Page Tour' -- click name:VN_Folder_Button3 \
      -- wait-window --title "Program Folder" 10000 -- list -- snap "$(pic group)")
same "folder: its LeaveScript stored the typed folder" "$(stored Folder)" 'Folder|InstallDir=C:\Apps\Page Tour'
expect "group: the group box shows %ProgramGroup% (role 3)" "$(ctl VN_Group_TextBox1)" '"text":"Page Tour"'
expect "group: the list of groups (role 2)" "$(ctl VN_Group_ListBox1)" '"visible":true'
out=$(on "Program Folder" select name:VN_Group_ListBox1 "Page Tour Test Group" -- get name:VN_Group_TextBox1 \
      -- type name:VN_Group_TextBox1 'My Tools\Page Tour' -- click name:VN_Group_Button2 \
      -- wait-window --title "Options" 10000 -- list -- snap "$(pic options)")
expect "group: choosing an existing group fills the box" "$(nth VN_Group_TextBox1 1)" '"text":"Page Tour Test Group"'
same "group: its LeaveScript stored the typed group" "$(stored Group)" 'Group|ProgramGroup=My Tools\Page Tour'

# --- Options: check box, combo and lists filled by the page's AfterBuildScript.
expect "options: the check box shows %Desktop% no" "$(ctl VN_Options_CheckBox1)" '"checked":0'
expect "options: the combo shows %Colour%" "$(ctl VN_Options_ComboBox1)" '"text":"Green"'
expect "options: the memo list, added to and sorted" "$(ctl VN_Options_MemoList1)" \
  '"text":"A note added by the page\r\nKeep the defaults\r\nRead the notes'
expect "options: the component description is empty (role 11)" "$(ctl VN_Options_Label3)" '"text":""'
expect "options: the progress bar" "$(ctl VN_Options_Progress1)" '"class":"msctls_progress32"'
expect "options: the frame" "$(ctl VN_Options_Frame1)" '"text":"Options"'

# Cancel in the secondary dialog closes only the dialog; OK stores its values.
out=$(on "Options" click name:VN_Options_Button1 -- wait-window --title "Details" 10000 -- list \
      -- type name:VN_Details_TextBox1 Acme -- click name:VN_Details_Button2 -- wait-window --title "Options" 10000 \
      -- sleep 500 -- get name:VN_Options_CheckBox1)
expect "details: the dialog opens with its size" "$out" '"class":"TfrmSecondaryDialog","text":"Details"'
expect "details: ... the dialog's client size" "$(printf '%s\n' "$out" | grep -F '"class":"TfrmSecondaryDialog"' | head -1)" '"client":[320,150]'
expect "details: its box shows %Company%" "$(ctl VN_Details_TextBox1)" '"text":"Vantry Tests"'
expect "details: its check box shows %Reports%" "$(ctl VN_Details_CheckBox1)" '"checked":0'
expect "details: Cancel leaves the wizard on its page" "$(ctl VN_Options_CheckBox1)" '"visible":true'
driver_status attach "$pid" -- wait-msgbox 1500 >/dev/null
same "details: Cancel asks nothing (no message box)" "$?" 2
if driver_status attach "$pid" -- wait-window --title "Details" 1500 >/dev/null; then
  fail "details: the dialog is still open after Cancel"
else
  pass "details: Cancel closed the dialog"
fi
out=$(on "Options" click name:VN_Options_Button1 -- wait-window --title "Details" 10000 -- get name:VN_Details_TextBox1 \
      -- type name:VN_Details_TextBox1 'Vantry Ltd' -- check name:VN_Details_CheckBox1 1 -- snap "$(pic details)" \
      -- click name:VN_Details_Button1 -- wait-window --title "Options" 10000 -- sleep 300 -- get name:VN_Options_CheckBox1)
echo "info: after Cancel the dialog opened again with $(field "$(nth VN_Details_TextBox1 1)" text)"
expect "details: OK returns to the page" "$(ctl VN_Options_CheckBox1)" '"visible":true'

out=$(on "Options" check name:VN_Options_CheckBox1 1 -- select name:VN_Options_ComboBox1 Yellow \
      -- select name:VN_Options_ListBox1 "alpha docs" -- select name:VN_Options_ListBox2 Deutsch \
      -- click name:VN_Options_Button3 -- wait-window --title "Ready to Install" 10000 -- list -- snap "$(pic ready)")
same "options: its LeaveScript read the lists back" "$(stored Options)" \
  'Options|Desktop=yes|Colour=Yellow|Extras=alpha docs|AllExtras=alpha docs, Mu samples, Zeta tools|Language=Deutsch'

# --- Ready: the stored values as its labels show them.
for pair in 2:'Destination: C:\\Apps\\Page Tour' 3:'Program folder: My Tools\\Page Tour' 4:'Desktop icon: yes' \
            5:'Colour: Yellow' 6:'Extras: alpha docs' 7:'Language: Deutsch' 8:'Company: Vantry Ltd' 9:'Reports: 1'; do
  expect "ready: label ${pair#*:}" "$(ctl "VN_Ready_Label${pair%%:*}")" "\"text\":\"${pair#*:}\""
done
# The language chosen on the options page speaks from now on.
out=$(on "Ready to Install" click name:VN_Ready_Button3 -- wait-msgbox 10000 -- msgbox -- press No \
      -- wait-window --title "Ready to Install" 10000 -- click name:VN_Ready_ImageButton1 -- wait-msgbox 10000 -- msgbox \
      -- press OK)
expect "ready: Cancel asks in the chosen language" "$out" '"text":"de Do you want to close the Setup?"'
expect "ready: the program-icon button runs its script" "$out" '"caption":"About","text":"Page Tour 1.0"'

# --- Back through the pages: each shows what the user left in it.
out=$(on "Ready to Install" click name:VN_Ready_Button1 -- wait-window --title "Options" 10000 \
      -- get name:VN_Options_CheckBox1 -- get name:VN_Options_ComboBox1 \
      -- click name:VN_Options_Button2 -- wait-window --title "Program Folder" 10000 -- get name:VN_Group_TextBox1 \
      -- click name:VN_Group_Button1 -- wait-window --title "Destination Folder" 10000 -- get name:VN_Folder_TextBox1 \
      -- get name:VN_Style_Frame_Label1 \
      -- click name:VN_Folder_Button2 -- wait-window --title "License Agreement" 10000 -- get name:VN_License_RadioBox1 \
      -- get name:VN_License_Button2 -- get name:VN_Style_Frame_Label1)
expect "back: the check box is still checked" "$(ctl VN_Options_CheckBox1)" '"checked":1'
expect "back: the combo still shows the choice" "$(ctl VN_Options_ComboBox1)" '"text":"Yellow"'
expect "back: the group box keeps the typed group" "$(ctl VN_Group_TextBox1)" '"text":"My Tools\\Page Tour"'
expect "back: the folder box keeps the typed folder" "$(ctl VN_Folder_TextBox1)" '"text":"C:\\Apps\\Page Tour"'
expect "back: the style heading of the folder page" "$(nth VN_Style_Frame_Label1 1)" '"text":"Choose Destination Location"'
expect "back: the accepted radio is still checked" "$(ctl VN_License_RadioBox1)" '"checked":1'
expect "back: Next stays enabled once accepted" "$(ctl VN_License_Button2)" '"enabled":true'
expect "back: the style heading of the licence page" "$(nth VN_Style_Frame_Label1 2)" '"text":"License Agreement"'

out=$(on "License Agreement" click name:VN_License_Button2 -- wait-window --title "Destination Folder" 10000 \
      -- click name:VN_Folder_Button3 -- wait-window --title "Program Folder" 10000 \
      -- click name:VN_Group_Button2 -- wait-window --title "Options" 10000 \
      -- click name:VN_Options_Button3 -- wait-window --title "Ready to Install" 10000 -- list)
same "again: the options page shows the user's extras again" "$(stored Options)" \
  'Options|Desktop=yes|Colour=Yellow|Extras=alpha docs|AllExtras=alpha docs, Mu samples, Zeta tools|Language=Deutsch'
expect "again: the ready page" "$(ctl VN_Ready_Label6)" '"text":"Extras: alpha docs"'
same "again: every page was built once (no name twice)" \
  "$(printf '%s\n' "$out" | sed -n 's/.*"name":"\([^"]*\)".*/\1/p' | sort | uniq -d | paste -sd' ')" ""
same "again: all pages and the style panel are there" \
  "$(printf '%s\n' "$out" | grep -c '"class":"TVntPagePanel"')" 7

# --- Install: "INSTALL" is reached by Next and left by the return rule (nothing is installed
# yet); the ready page then goes on to the finish page.
out=$(on "Ready to Install" click name:VN_Ready_Button2 -- wait-window --title "Setup Complete" 20000 -- list \
      -- snap "$(pic finish)")
same "install: INSTALL was reached, left for the page before it, which went on" \
  "$(tr -d '\r' <"$saved" 2>/dev/null | tail -3 | paste -sd' ')" "INSTALL|before INSTALL|left Ready|shown|Installed=1"
expect "finish: the page shows" "$(ctl VN_Finish_Label1)" '"text":"Completing the Page Tour Setup"'
expect "finish: the text file (role 10)" "$(ctl VN_Finish_License1)" '"text":"Release notes\r\n'
expect "finish: the not-deleted list (role 12) is empty" "$(ctl VN_Finish_NotDeleted1)" '"text":""'
expect "finish: the stretched picture" "$(ctl VN_Finish_Image1)" '"rect":[12,12,104,110]'

out=$(on "Setup Complete" click name:VN_Finish_Button2 -- wait-exit 20000)
pid=""
expect "finish: Finish ends the setup with exit 0" "$out" '"exit":0'
same "finish: the LeaveScript at closing saw every value" "$(stored Finish)" \
  'Finish|InstallDir=C:\Apps\Page Tour|ProgramGroup=My Tools\Page Tour|Agreement=1|Desktop=yes|Colour=Yellow|Extras=alpha docs|Language=Deutsch|Company=Vantry Ltd|Reports=1'
same "details: each close of the dialog ran its LeaveScript" "$(tr -d '\r' <"$saved" | grep -c '^Details|left$')" 2

# --- Cancel answered Yes on a middle page: the setup ends as cancelled, after the page's
# LeaveScript.
mkdir -p "$work/cancel"
cp "$work/setup.exe" "$work/cancel/setup.exe"
saved="$work/cancel/pages-out.txt"
out=$(driver start "$(win "$work/cancel/setup.exe")" -- wait-window --class TfrmSetupMain 30000 \
      -- click name:VN_Welcome_Button2 -- wait-window --title "License Agreement" 10000 -- click name:VN_License_Button3 \
      -- wait-msgbox 10000 -- press Yes -- wait-exit 20000)
expect "cancel: Yes ends the setup with exit 2" "$out" '"exit":2'
same "cancel: the page's LeaveScript ran at closing" "$(stored License)" "License|Agreement=0"

# --- Start-up: a start script answering No ends without a window and leaves no folder.
temp=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
before=$(ls -d "$temp"/vnt* 2>/dev/null)
"$host/pagefixture" start-no "$win32/vntsetup.exe" "$work/start-no.exe"
out=$(driver start "$(win "$work/start-no.exe")" -- wait-msgbox 30000 -- msgbox)
pid=$(pid_of "$out")
expect "start-no: the start script asks" "$out" '"text":"Continue with Page Tour?"'
expect "start-no: No ends the setup by itself, with no wizard" "$(driver attach "$pid" -- wait-msgbox 1000 -- press No -- wait-exit 20000)" \
  '"exit":2'
pid=""
same "start-no: the temporary folder is gone" "$(comm -13 <(echo "$before") <(ls -d "$temp"/vnt* 2>/dev/null))" ""

# --- The loader window: lower right with a splash picture, centred without.
read -r screen_w screen_h < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
rect_of() { printf '%s\n' "$1" | grep -F "\"class\":\"$2\"" | head -1 | sed -n 's/.*"rect":\[\([-0-9,]*\)\].*/\1/p' | tr ',' ' '; }
"$host/pkgfixture" splash "$win32/vntsetup.exe" "$work/splash.exe"
# The splash picture keeps the loader up for half a second, the program answering nothing;
# the support files after it keep it up, answering, long enough to be found.
out=$(driver start "$(win "$work/splash.exe")" -- wait-window --class TfrmSetupLoader 30000 -- wait-exit 30000)
read -r l t r b < <(rect_of "$out" TfrmSetupLoader)
same "loader with splash: 32 from the right edge" "$((screen_w - ${r:-0}))" 32
same "loader with splash: 48 from the bottom" "$((screen_h - ${b:-0}))" 48
expect "loader with splash: the setup ends" "$out" '"exit":0'
"$host/pagefixture" loader "$win32/vntsetup.exe" "$work/loader.exe"
out=$(driver start "$(win "$work/loader.exe")" -- wait-window --class TfrmSetupLoader 30000 -- wait-exit 60000)
read -r l t r b < <(rect_of "$out" TfrmSetupLoader)
same "loader without splash: centred across" "$(( ${l:-0} - (screen_w - (${r:-0} - ${l:-0})) / 2 ))" 0
same "loader without splash: centred down" "$(( ${t:-0} - (screen_h - (${b:-0} - ${t:-0})) / 2 ))" 0
expect "loader without splash: the setup ends" "$out" '"exit":0'

# --- The Application Manager message in the default language, which is not the first one.
"$host/pagefixture" appmgr-default "$win32/vntsetup.exe" "$work/appmgr.exe"
out=$(driver start "$(win "$work/appmgr.exe")" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
expect "appmgr: message 8 of the default language" "$out" '"text":"de This setup needs Microsoft ActiveSync'
expect "appmgr: the program's own caption" "$out" '"caption":"Vantry Setup"'
expect "appmgr: ends after OK" "$out" '"exit":1'

e2e_end
