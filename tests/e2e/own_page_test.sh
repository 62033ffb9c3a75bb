#!/usr/bin/env bash
# A page of the project's own inside the default wizard: examples/hello's "Options" page, put
# after the program group by its `pages`, with a check box that decides the desktop shortcut.
# In English the box is cleared: the program group's shortcut comes, the desktop's does not.
# In German (/de) the page speaks German and the box stays checked: the desktop shortcut comes.
# Each run is walked page by page, Back from Ready leads to the page and Next from it to
# Ready, and the product is uninstalled after each. Pictures under build/e2e-own-page/.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-own-page"
mkdir -p "$pictures"
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Samples Hello'
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
programs() { find "$WINEPREFIX/drive_c/users" -type d -path '*/Start Menu/Programs' 2>/dev/null | head -1; }
desktop() { winepath -u "$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')\\Desktop" 2>/dev/null; }
folder=$(winepath -u 'C:\Program Files\Hello')
clear_product() {
  forget "$entry"; forget 'HKCU\Software\Vantry Samples'
  rm -rf "$folder" "$(programs)/Hello" "$(desktop)/Hello.lnk"
}
trap 'clear_product; e2e_cleanup' EXIT
clear_product

win() { printf 'Z:%s' "${1//\//\\}"; }
on() { driver attach "$pid" -- wait-window --title-contains "$title" 10000 -- "$@"; }
text() { on get "name:$1" | grep '"type":"control"' | sed -n 's/.*"text":"\([^"]*\)".*/\1/p'; }
checked() { on get "name:$1" | grep '"type":"control"' | grep -o '"checked":[0-9]' | cut -d: -f2; }
page() { on list | grep '"class":"TVntPagePanel"' | grep '"visible":true' | sed -n 's/.*"name":"\([^"]*\)".*/\1/p'; }
enabled() { on get "name:$1" | grep '"type":"control"' | sed -n 's/.*"enabled":\([a-z]*\).*/\1/p'; }
next() { on click "name:VN_$(page)_Button2" >/dev/null; }

cp -r "$root/examples/hello" "$work/hello" && mkdir -p "$work/hello/bin" && cp "$win32/hello.exe" "$work/hello/bin/"
out=$("$host/vntbuild" build "$work/hello/hello.json" -o "$work/hello-setup.exe" --stub "$win32/vntsetup.exe" 2>&1)
expect "hello builds with its own page in the default wizard" "$out" "the default wizard with the project's own pages"

# Start, then Next to the Options page (the licence accepted on the way); the pages passed, in
# order, in $walked.
to_options() {
  out=$(driver start "$(win "$work/hello-setup.exe")" "$@" -- wait-window --title-contains "$title" 60000)
  pid=$(pid_of "$out")
  walked=""
  local name
  for _ in $(seq 8); do
    name=$(page)
    walked="$walked $name"
    [ "$name" = Options ] && break
    [ "$name" = License ] && on check name:VN_License_RadioBox1 1 >/dev/null
    next
  done
}
# From the Options page on: Back from Ready comes back to it, then Ready, Install, Finish.
install_from_options() {
  next
  same "$1: Next on the page leads to Ready" "$(page)" Ready
  on click name:VN_Ready_Button1 >/dev/null
  same "$1: Back from Ready leads to the page, the box as it was left" "$(page) $(checked VN_Options_CheckBox1)" \
    "Options $2"
  next
  on click name:VN_Ready_Button2 >/dev/null
  for _ in $(seq 120); do [ "$(enabled VN_INSTALL_Button2)" = true ] && break; sleep 0.5; done
  next
  same "$1: the installation ends on Finish" "$(page)" Finish
  out=$(on click name:VN_Finish_Button2 -- wait-exit 60000)
  expect "$1: the setup ends with 0" "$out" '"exit":0'
  pid=""
}
uninstall() {
  local command words
  command=$(wine reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
  eval "words=($command)"
  out=$(driver start "${words[@]}" -- wait-msgbox 30000 -- msgbox -- press Yes -- wait-msgbox 60000 -- msgbox \
        -- press OK -- wait-exit 30000)
  expect "$1: the uninstaller removes Hello" "$out" '"exit":0'
  [ ! -e "$(programs)/Hello/Hello.lnk" ] && [ ! -e "$(desktop)/Hello.lnk" ] && [ ! -e "$folder/hello.exe" ] \
    && pass "$1: its shortcuts and files are gone" || fail "$1: shortcuts or files left after the uninstall"
}

# --- English: the box cleared, no desktop shortcut.
title="Hello Setup"
to_options
same "the page stands after the program group" "$walked" " Welcome License Folder Components Group Options"
same "its heading, subheading and text, in English" \
  "$(text VN_Options_Label1)|$(text VN_Options_Label2)|$(text VN_Options_Label3)" \
  "Options|What else should Setup set up for Hello?|Choose what Setup should make besides the program's files."
same "its check box, checked as the variable starts" "$(text VN_Options_CheckBox1)|$(checked VN_Options_CheckBox1)" \
  "Put a shortcut on the &desktop|1"
same "the wizard's own foot, in English" \
  "$(text VN_Options_Button1)|$(text VN_Options_Button2)|$(text VN_Options_Button3)" "< &Back|&Next >|Cancel"
on snap "$(win "$pictures/options.png")" >/dev/null
on check name:VN_Options_CheckBox1 0 >/dev/null
install_from_options en 0
[ -e "$(programs)/Hello/Hello.lnk" ] && pass "en: the program group's shortcut is made" || fail "en: no Hello.lnk in the group"
[ ! -e "$(desktop)/Hello.lnk" ] && pass "en: the box cleared, no desktop shortcut" || fail "en: a desktop shortcut was made"
uninstall en

# --- German: the page's texts in German, the box left checked: the desktop shortcut comes.
title="Installation von Hello"
to_options /de
same "de: the same pages" "$walked" " Welcome License Folder Components Group Options"
same "de: its heading, subheading and text" \
  "$(text VN_Options_Label1)|$(text VN_Options_Label2)|$(text VN_Options_Label3)" \
  "Optionen|Was soll Setup au\u00dferdem f\u00fcr Hello einrichten?|W\u00e4hlen Sie, was Setup au\u00dfer den Programmdateien anlegen soll."
same "de: its check box" "$(text VN_Options_CheckBox1)|$(checked VN_Options_CheckBox1)" \
  "Eine Verkn\u00fcpfung auf dem &Desktop anlegen|1"
same "de: the foot in German" "$(text VN_Options_Button1)|$(text VN_Options_Button2)" "< &Zur\u00fcck|&Weiter >"
on snap "$(win "$pictures/options-de.png")" >/dev/null
install_from_options de 1
link="$(desktop)/Hello.lnk"
if [ -e "$link" ]; then
  wine "$win32/lnkread.exe" "$(win "$work/links.txt")" "$(win "$link")" >/dev/null 2>>"$err"
  expect "de: the box checked, the desktop shortcut starts the program" "$(tr -d '\r' <"$work/links.txt")" \
    'Hello.lnk|C:\Program Files\Hello\hello.exe|'
else
  fail "de: no desktop shortcut"
fi
uninstall de
e2e_end
