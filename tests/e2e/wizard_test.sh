#!/usr/bin/env bash
# The wizard of a package with three pages: Next and Back, a text box stored into its
# variable (the folder page's LeaveScript appends %InstallDir% to wizard-out.txt next to the
# setup), Cancel answered No and Yes, and Finish. Pictures of the pages go to build/e2e-wizard/.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-wizard"
mkdir -p "$pictures"

drive() { driver attach "$pid" -- "$@"; }
on() { local title=$1; shift; drive wait-window --title "$title" 20000 -- "$@"; }  # on a page: commands
snap() { on "$1" snap "$(winepath -w "$pictures/$2.png")" >/dev/null; }

"$host/pkgfixture" wizard "$win32/vntsetup.exe" "$work/setup.exe"
setup=$(winepath -w "$work/setup.exe")
saved="$work/wizard-out.txt"

out=$(driver start "$setup" -- wait-window --class TfrmSetupMain 30000 -- list)
pid=$(pid_of "$out")
expect "the first page shows at the dialog's client size" "$out" '"client":[400,250]'
expect "the form is the wizard window" "$out" '"class":"TfrmSetupMain"'
expect "the page panel is named after the page" "$out" '"name":"Welcome"'
expect "the label shows the text its BeforeBuildScript set" "$(line_of "$out" VN_Welcome_Label1)" \
  '"text":"Welcome to the Rich Product Setup."'
snap "Rich Product Setup" welcome

# Cancel answered No keeps the wizard on its page.
out=$(on "Rich Product Setup" click text:Cancel -- wait-msgbox 10000 -- msgbox -- press No -- wait-window --title "Rich Product Setup" 10000)
expect "Cancel asks before closing" "$out" 'Do you want to close the Setup?'
expect "No keeps the wizard open" "$out" '"visible":true'

out=$(on "Rich Product Setup" click "text:&Next >" -- wait-window --title "Choose a folder" 10000 -- list)
expect "Next shows the folder page" "$out" '"text":"Choose a folder"'
expect "the folder box shows %InstallDir%" "$(line_of "$out" VN_Folder_TextBox1)" '"text":"C:\\Program Files\\Rich Product"'
expect "the welcome panel is hidden" "$(printf '%s\n' "$out" | grep '"name":"Welcome"')" '"visible":false'
expect "the folder label is expanded" "$(line_of "$out" VN_Folder_Label1)" '"text":"Install Rich Product to:"'
snap "Choose a folder" folder

# Back, then Next again: the same page object with the stored value.
out=$(on "Choose a folder" type name:VN_Folder_TextBox1 'C:\Apps\Typed' -- click "text:< &Back" -- wait-window --title "Rich Product Setup" 10000 -- list)
expect "Back returns to the first page" "$(line_of "$out" VN_Welcome_Label1)" '"visible":true'
out=$(on "Rich Product Setup" click "text:&Next >" -- wait-window --title "Choose a folder" 10000 -- list)
expect "the typed folder was stored and shows again" "$(line_of "$out" VN_Folder_TextBox1)" '"text":"C:\\Apps\\Typed"'
same "the page is built once" "$(printf '%s\n' "$out" | grep -c '"name":"VN_Folder_TextBox')" 1

out=$(on "Choose a folder" type name:VN_Folder_TextBox1 'C:\Apps\Final' -- click "name:VN_Folder_Button2" -- wait-window --title "Ready" 10000 -- list)
expect "Next reaches the last page" "$out" '"text":"Ready"'
expect "its AfterBuildScript disabled the tagged button" "$(line_of "$out" VN_Finish_Button1)" '"enabled":false'
snap "Ready" finish
out=$(on "Ready" click "text:&Finish" -- wait-exit 20000)
pid=""
expect "Finish ends the setup with exit 0" "$out" '"exit":0'
same "each leave of the folder page wrote the stored folder" "$(tr -d '\r' <"$saved" 2>/dev/null | paste -sd'|')" \
  'C:\Apps\Typed|C:\Apps\Final'

# Cancel answered Yes ends the setup as cancelled.
out=$(driver start "$setup" -- wait-window --class TfrmSetupMain 30000 -- click text:Cancel \
      -- wait-msgbox 10000 -- press Yes -- wait-exit 20000)
expect "Cancel answered Yes ends the setup with exit 2" "$out" '"exit":2'

# Pages whose scripts send the wizard to each other without end: the setup stays alive.
"$host/pkgfixture" page-loop "$win32/vntsetup.exe" "$work/page-loop.exe"
out=$(driver start "$(winepath -w "$work/page-loop.exe")" -- wait-window --class TfrmSetupMain 30000 -- list -- kill)
expect "BeforeBuildScripts going back and forth: the wizard window stays" "$out" '"class":"TfrmSetupMain"'
same "BeforeBuildScripts going back and forth: no page is shown" "$(printf '%s\n' "$out" | grep '"name":"VN_P' | grep -c '"visible":true')" 0

# AfterShowScripts sending the wizard back and forth, by name or as next and previous page:
# the loop is refused at once, the second page stays shown and the wizard can be closed.
for kind in show-loop show-loop-next; do
  "$host/pkgfixture" $kind "$win32/vntsetup.exe" "$work/$kind.exe"
  out=$(driver start "$(winepath -w "$work/$kind.exe")" -- wait-window --class TfrmSetupMain 30000 -- list \
        -- click name:VN_Pong_Button1 -- wait-exit 20000)
  expect "$kind: the wizard is visible on the second page" "$out" '"class":"TfrmSetupMain","text":"Loop Pong"'
  expect "$kind: ... showing its controls" "$(line_of "$out" VN_Pong_Label1)" '"visible":true'
  # Closed from the last page, the setup counts as finished: no question, exit 0.
  expect "$kind: Cancel closes it" "$out" '"exit":0'
done

# A CloseScript that finishes the setup itself: the close under way takes it, once.
"$host/pkgfixture" close-finishes "$win32/vntsetup.exe" "$work/close-finishes.exe"
out=$(driver start "$(winepath -w "$work/close-finishes.exe")" -- wait-window --class TfrmSetupMain 30000 \
      -- click text:Cancel -- wait-msgbox 10000 -- press Yes -- wait-exit 20000)
expect "a CloseScript that finishes: the setup ends as finished" "$out" '"exit":0'

# A CloseScript that sets %CanClose% to 0: the close is refused and the wizard stays on its page.
"$host/pkgfixture" close-refused "$win32/vntsetup.exe" "$work/close-refused.exe"
out=$(driver start "$(winepath -w "$work/close-refused.exe")" -- wait-window --class TfrmSetupMain 30000 \
      -- click text:Cancel -- wait-msgbox 10000 -- press Yes -- sleep 500 -- wait-window --class TfrmSetupMain 5000 \
      -- get text:Cancel -- kill)
same "a CloseScript that refuses: the wizard and its page stay" \
  "$(printf '%s\n' "$out" | grep -c '"class":"TfrmSetupMain","text":"Rich Product Setup".*"visible":true')" 2
expect "a CloseScript that refuses: its Cancel button is still there" "$out" '"text":"Cancel"'

e2e_end
