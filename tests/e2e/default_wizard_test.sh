#!/usr/bin/env bash
# The builder's default wizard on wizardfixture's product (licence, three components, a
# program-group shortcut, English and Deutsch), gone through as a user would: the licence
# accepted, another folder typed, a component unchecked, a group named; then the installation
# on its progress page, Next to the finish page and Finish. Afterwards the chosen components'
# files are in the chosen folder and only they, the shortcut is in the named group, and the
# registry value names the folder. A second run with /de shows the German texts and the
# German message table's words and is cancelled. Pictures of every page go to
# build/e2e-default-wizard/.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-default-wizard"
mkdir -p "$pictures"
key='HKCU\Software\VantryTests\WizardTour'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Wizard Tour'
group="Wizard Tour Test $$"
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
programs() { find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' 2>/dev/null | head -1; }
trap 'forget "$key"; forget "$entry"; rm -rf "$(programs)/$group"; e2e_cleanup' EXIT

win() { printf 'Z:%s' "${1//\//\\}"; }
snap() { driver attach "$pid" -- wait-window --title-contains "$1" 10000 -- snap "$(win "$pictures/$2.png")" >/dev/null; }
on() { driver attach "$pid" -- wait-window --title-contains "$title" 10000 -- "$@"; }
text() { on get "name:$1" | grep '"type":"control"' | sed -n 's/.*"text":"\([^"]*\)".*/\1/p'; }
enabled() { on get "name:$1" | grep '"type":"control"' | sed -n 's/.*"enabled":\([a-z]*\).*/\1/p'; }
page() { on list | grep '"class":"TVntPagePanel"' | grep '"visible":true' | sed -n 's/.*"name":"\([^"]*\)".*/\1/p'; }
checks() { on items name:VN_Components_ListBox1 | grep '"type":"item"' | sed -n 's/.*"check":\([0-9]\).*/\1/p' | xargs; }

"$host/wizardfixture" "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/setup.exe"
title="Wizard Tour Setup"
out=$(driver start "$(win "$work/setup.exe")" -- wait-window --class TfrmSetupMain 30000)
pid=$(pid_of "$out")
snap "$title" welcome
same "the wizard opens on its welcome page" "$(page)" Welcome
same "welcome: the title names the product" "$(text VN_Welcome_Label1)" "Welcome to the Wizard Tour Setup"
same "welcome: Back is off, Next and Cancel on" "$(enabled VN_Welcome_Button1) $(enabled VN_Welcome_Button2) $(enabled VN_Welcome_Button3)" \
  "false true true"

# --- Licence: Next only once accepted.
on click name:VN_Welcome_Button2 >/dev/null
same "Next leads to the licence" "$(page)" License
expect "licence: the agreement file is shown" "$(text VN_License_License1)" "WIZARD TOUR LICENSE"
same "licence: declined at first, Next is off" "$(on get name:VN_License_RadioBox2 | grep -o '"checked":[0-9]') $(enabled VN_License_Button2)" \
  '"checked":1 false'
on check name:VN_License_RadioBox1 1 >/dev/null
same "licence: accepting turns Next on" "$(enabled VN_License_Button2)" true
snap "$title" license
on click name:VN_License_Button2 >/dev/null

# --- Folder: another one typed; the space figures are shown.
same "then the folder page" "$(page)" Folder
on click name:VN_Folder_Button1 >/dev/null
same "Back to the licence: the acceptance stays, and so does Next" \
  "$(page)|$(on get name:VN_License_RadioBox1 | grep -o '"checked":[0-9]')|$(enabled VN_License_Button2)" 'License|"checked":1|true'
on click name:VN_License_Button2 >/dev/null
same "and Next leads to the folder page again" "$(page)" Folder
target="$work/chosen folder"
same "folder: the default folder" "$(text VN_Folder_TextBox1)" 'C:\\Program Files\\Wizard Tour'
on type name:VN_Folder_TextBox1 "" >/dev/null
out=$(on click name:VN_Folder_Button2 -- wait-msgbox 10000 -- msgbox -- press OK)
expect "folder: Next without a folder asks for one" "$out" '"text":"Please choose a folder for Wizard Tour."'
same "folder: and stays" "$(page)" Folder
mkdir -p "$work/picked"
out=$(on click name:VN_Folder_Button4 -- wait-window --class TfrmDirectorySel 10000 \
      -- type name:txtDirectory "$(win "$work/picked")" -- click text:OK -- sleep 300)
same "folder: Browse puts the folder picked into the box" "$(text VN_Folder_TextBox1)" "$(win "$work/picked" | sed 's/\\/\\\\/g')"
on type name:VN_Folder_TextBox1 "$(win "$target")" >/dev/null
figure='^[0-9.]+ (bytes|KB|MB|GB)$'
same "folder: the space needed and free, as figures" \
  "$(text VN_Folder_Label5 | grep -cE "$figure") $(text VN_Folder_Label7 | grep -cE "$figure")" "1 1"
same "folder: Browse is there" "$(text VN_Folder_Button4)" "Browse..."
snap "$title" folder
on click name:VN_Folder_Button2 >/dev/null

# --- Components: Docs unchecked, with the setup types beside the list.
same "then the components" "$(page)" Components
same "components: typical, all three checked" "$(checks)" "1 1 1"
on check name:VN_Components_RadioBox2 1 >/dev/null
same "components: compact, the program only" "$(checks)" "1 0 0"
on check name:VN_Components_RadioBox1 1 >/dev/null
on click-at name:VN_Components_ListBox1 7 27 >/dev/null
same "components: Docs unchecked by its check box" "$(checks)" "1 0 1"
on select name:VN_Components_ListBox1 Samples >/dev/null
same "components: the picked one's description" "$(text VN_Components_Label5)" "Examples to learn from."
snap "$title" components
on click name:VN_Components_Button2 >/dev/null

# --- Program group: a new name.
same "then the program group" "$(page)" Group
same "group: the default group" "$(text VN_Group_TextBox1)" "Wizard Tour"
on type name:VN_Group_TextBox1 "$group" >/dev/null
snap "$title" group
on click name:VN_Group_Button2 >/dev/null

# --- Ready: the summary of the choices; Back and Next again keep them.
same "then ready" "$(page)" Ready
summary=$(text VN_Ready_MemoList1)
expect "ready: the folder chosen" "$summary" "$(win "$target" | sed 's/\\/\\\\/g')"
expect "ready: the group named" "$summary" "$group"
expect "ready: the components chosen" "$summary" "Core, Samples"
on click name:VN_Ready_Button1 >/dev/null
same "back: the group as typed" "$(text VN_Group_TextBox1)" "$group"
on click name:VN_Group_Button2 >/dev/null
same "install button" "$(text VN_Ready_Button2)" "&Install"
snap "$title" ready

# --- The installation on its page; it stays there, done, until Next.
on click name:VN_Ready_Button2 >/dev/null
for _ in $(seq 60); do [ "$(enabled VN_INSTALL_Button2)" = true ] && break; sleep 1; done
same "the progress page stays when the installation is done" "$(page)" INSTALL
same "install: done, Next on, Back and Cancel off" \
  "$(enabled VN_INSTALL_Button1) $(enabled VN_INSTALL_Button2) $(enabled VN_INSTALL_Button3)" "false true false"
same "install: the status says so" "$(text VN_INSTALL_Label3)" "The installation is complete. Click Next to go on."
snap "$title" install
on click name:VN_INSTALL_Button2 >/dev/null
same "Next leads to the finish page" "$(page)" Finish
same "finish: its title" "$(text VN_Finish_Label1)" "Wizard Tour Setup is complete"
snap "$title" finish
out=$(on click name:VN_Finish_Button2 -- wait-exit 30000)
expect "Finish ends the setup with 0" "$out" '"exit":0'
pid=""

# --- What came, and where.
same "the chosen components' files are in the chosen folder" \
  "$(cat "$target/tour.exe" 2>&1)|$(cat "$target/sample.txt" 2>&1 | tr -d '\r')" "MZ the tour program|A sample."
[ ! -e "$target/manual.txt" ] && pass "the unchecked component's file did not come" || fail "manual.txt installed"
[ ! -e "$(winepath -u 'C:\Program Files\Wizard Tour' 2>/dev/null)" ] && pass "nothing went to the default folder" \
  || fail "the default folder was made"
link="$(programs)/$group/Wizard Tour.lnk"
wine "$win32/lnkread.exe" "$(win "$work/links.txt")" "$(win "$link")" >/dev/null 2>>"$err"
expect "the shortcut is in the named group and starts the program" "$(tr -d '\r' <"$work/links.txt" 2>/dev/null)" \
  "Wizard Tour.lnk|$(win "$target")\\tour.exe|"
expect "the registry value names the chosen folder" "$(wine reg query "$key" /v Path 2>/dev/null | tr -d '\r')" \
  "$(win "$target")"

# --- The second language: German texts, and the German message table's own words.
title="Installation von Wizard Tour"
out=$(driver start "$(win "$work/setup.exe")" /de -- wait-window --class TfrmSetupMain 30000)
pid=$(pid_of "$out")
snap "$title" welcome-de
same "de: the welcome title" "$(text VN_Welcome_Label1)" "Willkommen bei der Installation von Wizard Tour"
same "de: the buttons" "$(text VN_Welcome_Button2)|$(text VN_Welcome_Button3)" "&Weiter >|de Cancel"
on click name:VN_Welcome_Button2 >/dev/null
same "de: the licence choices" "$(text VN_License_RadioBox1)|$(text VN_License_RadioBox2)" \
  "Ich &akzeptiere den Vertrag|Ich akzeptiere den Vertrag &nicht"
on check name:VN_License_RadioBox1 1 -- click name:VN_License_Button2 >/dev/null
same "de: the folder page's header" "$(text VN_Folder_Label1)" "Zielordner"
snap "$title" folder-de
on click name:VN_Folder_Button2 >/dev/null
same "de: the setup types" "$(text VN_Components_RadioBox1)|$(text VN_Components_Label3)" \
  "&Standard|Markieren Sie die Komponenten, die Sie installieren m\u00f6chten."
snap "$title" components-de
on click name:VN_Components_Button2 -- click name:VN_Group_Button2 >/dev/null
expect "de: the summary's headings" "$(text VN_Ready_MemoList1)" "Zielordner:"
snap "$title" ready-de
out=$(on click name:VN_Ready_Button3 -- wait-msgbox 10000 -- msgbox -- press Yes -- wait-exit 20000)
expect "de: Cancel asks with the German table's message" "$out" '"text":"de Do you want to close the Setup?"'
expect "de: cancelled before the installation" "$out" '"exit":2'
pid=""
e2e_end
