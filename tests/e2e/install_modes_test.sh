#!/usr/bin/env bash
# Every overwrite mode against a missing target and an older, equal and newer one (by version
# and by date), with the replace questions answered Yes To All, Yes, No To All and No; a file
# held open by another program, replaced at the next start (the restart offered, declined,
# exit code 3010); a type
# library and a font registered, then unregistered by the product's uninstaller.
source "$(dirname "$0")/lib.sh"

entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Install Modes'
typelib='HKCR\TypeLib\{5E1D7A3C-0B2F-4C61-9D8E-7A6B5C4D3E2F}'
# The Fonts section of the system profile: Wine keeps it in win.ini, Windows in the registry.
profile=$(winepath -u 'C:\windows\win.ini' 2>/dev/null)
font_entry() { tr -d '\r' <"$profile" 2>/dev/null | sed -n 's/^Vantry Test Font (TrueType)=//p'; }
session='HKLM\System\CurrentControlSet\Control\Session Manager'
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
release() { rm -f "$work/held"; }
trap 'release; forget "$entry"; forget "$typelib"; sed -i "/^Vantry Test Font/d" "$profile" 2>/dev/null;
      forget "$session" /v PendingFileRenameOperations; e2e_cleanup' EXIT
forget "$entry"
sed -i "/^Vantry Test Font/d" "$profile" 2>/dev/null
forget "$session" /v PendingFileRenameOperations

win() { printf 'Z:%s' "${1//\//\\}"; }
t="$work/target-modes"
mkdir -p "$t"
wine "$win32/mktlb.exe" "$(win "$work/types.tlb")" 2>>"$err" || fail "no type library made"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
"$host/installfixture" modes "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/types.tlb" "$font" "$work/modes.exe"

# The targets: "old" text dated before, at and after the packaged date; the test library
# (version 2.0) for the modes that compare versions.
for mode in 2 3 5 6 7 9 10; do
  for when in older:2020-01-01 equal:'2025-04-11 09:33:02' newer:2030-01-01; do
    printf old >"$t/m$mode-${when%%:*}.txt"
    touch -d "${when#*:}" "$t/m$mode-${when%%:*}.txt"
  done
done
for mode in 4 8; do
  for when in older equal newer; do cp "$win32/vnttestlib.dll" "$t/m$mode-$when.dll"; done
done
printf old >"$t/m4-plain.txt"
printf old >"$t/inuse.txt"
(wine "$win32/holdfile.exe" "$(win "$t/inuse.txt")" "$(win "$work/held")" >/dev/null 2>&1 &)
for _ in $(seq 100); do [ -e "$work/held" ] && break; sleep 0.1; done

out=$(driver start "$(win "$work/modes.exe")" \
      -- wait-window --class TfrmMsgBoxFiles 30000 -- get name:lblMsg -- click name:btnYesToAll -- sleep 500 \
      -- wait-window --class TfrmMsgBoxFiles 10000 -- get name:lblMsg -- click name:btnYes -- sleep 500 \
      -- wait-window --class TfrmMsgBoxFiles 10000 -- get name:lblMsg -- click name:btnNoToAll -- sleep 500 \
      -- wait-window --class TfrmMsgBoxFiles 10000 -- get name:lblMsg -- click name:btnNo \
      -- wait-msgbox 30000 -- msgbox -- press No -- wait-exit 30000)
same "the questions, in order" "$(printf '%s\n' "$out" | grep '"name":"lblMsg"' | sed -n 's/.*"text":"\([^"]*\)".*/\1/p')" \
"The file m7-older.txt already exists. Do you want to replace this file?
The file m8-older.dll already exists. Do you want to replace this file with a newer version?
The file m8-newer.dll already exists. Do you want to replace this file with a older version?
The file m9-older.txt already exists. Do you want to replace this file with a newer version?"

state() {
  if [ ! -e "$t/$1" ]; then echo absent; elif cmp -s <(printf new) "$t/$1"; then echo new; else echo old; fi
}
outcomes=""
for mode in 2 3 4 5 6 7 8 9 10; do
  extension=.txt; [ "$mode" = 4 ] || [ "$mode" = 8 ] && extension=.dll
  line="m$mode:"
  for when in missing older equal newer; do line="$line $(state "m$mode-$when$extension")"; done
  outcomes="$outcomes$line
"
done
same "each mode against missing, older, equal and newer targets" "$outcomes" \
"m2: new old old old
m3: absent new new new
m4: new new old old
m5: new new old old
m6: new new new new
m7: absent new new new
m8: new new new old
m9: new old new old
m10: absent new new new
"
same "a target without version information counts as older" "$(state m4-plain.txt)" new
same "a kept file keeps its date" "$(date -r "$t/m5-newer.txt" +%Y)" 2030

expect "the file in use: the setup offers to restart Windows" "$out" \
  '"text":"Windows must be restarted to finish the installation of Install Modes. Do you want to restart Windows now?"'
expect "declined, it ends with 3010" "$out" '"exit":3010'
same "the file in use is untouched for now" "$(cat "$t/inuse.txt")" old
pending=$(wine reg query "$session" /v PendingFileRenameOperations 2>&1 | tr -d '\r')
replacement=$(ls "$t" | grep -i '^vnt.*\.tmp$' | head -1)
same "its replacement waits beside it" "$(cat "$t/$replacement" 2>&1)" new
expect "and the system moves it into place at the next start, over the file" "$pending" \
  "$replacement\\0!\\??\\$(win "$t")\\inuse.txt"
release

T=$(win "$t")
expect "the type library is registered with its path" \
  "$(wine reg query "$typelib\\1.0\\0\\win32" 2>&1 | tr -d '\r')" "$T\\types.tlb"
same "the font is registered under its face name" "$(font_entry)" "$T\\vntfont.ttf"

# The uninstaller takes what the setup installed or replaced, and leaves what it kept. Files
# that only replace existing ones (mode 7) are recorded as shared: No To All keeps them.
command=$(wine reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
eval "words=($command)"
out=$(driver start "${words[@]}" -- wait-msgbox 30000 -- press Yes \
      -- wait-window --class TfrmMsgBoxFiles 30000 -- get name:lblMsg -- click name:btnNoToAll -- sleep 500 \
      -- wait-window --class TfrmMsgBoxFiles 30000 -- get name:lblMsg -- click name:btnYes \
      -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000)
expect "removal: a file that replaced an existing one is asked about as shared" "$out" \
  "\"text\":\"${T//\\/\\\\}\\\\m7-older.txt is a shared file. Do you want to delete this file?\""
expect "removal: the type library is asked about" "$out" \
  "\"text\":\"${T//\\/\\\\}\\\\types.tlb is a type library. Do you want to delete this file?\""
expect "removal: completed" "$out" '"text":"Uninstall completed with success."'
same "removal: the type library's registration is gone" "$(wine reg query "$typelib" 2>&1 | grep -c win32)" 0
same "removal: the font's registration is gone" "$(font_entry)" ""
same "removal: only the files the setup kept are left" \
  "$(cd "$t" && ls | grep -v '^vnt.*\.tmp$' | paste -sd' ')" \
  "m2-equal.txt m2-newer.txt m2-older.txt m4-equal.dll m4-newer.dll m5-equal.txt m5-newer.txt m7-equal.txt m7-newer.txt m7-older.txt m8-newer.dll m9-newer.txt m9-older.txt"
e2e_end
