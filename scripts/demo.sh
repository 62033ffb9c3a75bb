#!/usr/bin/env bash
# The whole system once: examples/hello is built into a setup, the setup is run under Wine
# and walked through its wizard page by page (a picture of each under out/demo/), what it
# installed is listed, with what the device side received through the stand-ins of the
# Application Manager, an emulated Windows CE device and a HotSync user, and its uninstaller
# takes it all away again. Arguments go to the setup: `scripts/demo.sh /de` runs it in German.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh
vnt_start_xvfb
demo=out/demo${1:+-${1#/}}
rm -rf "$demo" && mkdir -p "$demo" examples/hello/bin
win() { winepath -w "$1" 2>/dev/null; }
drive() { wine build/win32/wizdriver.exe "$@" >"$demo/driver.txt" 2>&1 || true; cat "$demo/driver.txt"; }

echo "== building examples/hello (vntbuild build)"
cp build/win32/hello.exe examples/hello/bin/hello.exe
build/release/vntbuild build examples/hello/hello.json -o "$demo/hello-setup.exe"

echo "== what the setup holds (vntbuild dump, first lines; all in $demo/hello-setup.json)"
build/release/vntbuild dump "$demo/hello-setup.exe" >"$demo/hello-setup.json"
sed -n '1,12p' "$demo/hello-setup.json"

# A product left over from an earlier demo would turn this run into maintenance.
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Samples Hello'
if command=$(wine reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p') \
   && [ -n "$command" ]; then
  eval "words=($command)"
  drive start "${words[@]}" -- wait-msgbox 30000 -- press Yes -- wait-msgbox 60000 -- press OK -- wait-exit 30000 >/dev/null
fi

echo "== the device side: stand-ins for ActiveSync (rapi.dll, CEAPPMGR.EXE) and HotSync"
device=$(winepath -u 'C:\vntdevice')
activesync=$(winepath -u 'C:\Program Files\Microsoft ActiveSync')
system=$(winepath -u 'C:\windows\system32')
standins_away() {
  bash standins/appmgr/install.sh --remove
  rm -f "$system/rapi.dll"
  wine build/win32/hotsyncfix.exe remove >/dev/null 2>&1 || true
  rm -rf "$device" "$(winepath -u 'C:\vntdemo-palm')"
}
trap standins_away EXIT
standins_away
bash standins/rapi/install.sh build/win32
bash standins/appmgr/install.sh
mkdir -p "$device"
# The device takes a moment to connect, so that its wait window can be seen.
printf '[Device]\r\nProcessorType=2577\r\nPlatform=PocketPC\r\nOwnerName=Demo User\r\nConnectDelayMs=1500\r\n' \
  >"$device/device.ini"
wine build/win32/hotsyncfix.exe install 'C:\vntdemo-palm' "Demo User:1:DemoU" >/dev/null
echo "  an emulated Pocket PC (StrongARM, Windows CE 4.20) in C:\vntdevice; HotSync user \"Demo User\""

echo "== running the setup under Wine, page by page${1:+ (with $*)}"
title="Hello"
out=$(drive start "$(win "$demo/hello-setup.exe")" "$@" -- wait-window --class TfrmStartCEConnection 60000 \
      -- snap "$(win "$demo/0-connecting.png")" -- wait-window --class TfrmSetupMain 60000)
grep -q '"class":"TfrmStartCEConnection"' <<<"$out" && echo "  the start script asks the handheld; its wait window: $demo/0-connecting.png"
pid=$(printf '%s\n' "$out" | sed -n 's/.*"pid":\([0-9]*\).*/\1/p' | head -1)
[ -n "$pid" ] || { echo "$out" >&2; echo "the setup did not start" >&2; exit 1; }
on() { drive attach "$pid" -- wait-window --title-contains "$title" 10000 -- "$@"; }
text() { on get "name:$1" | grep '"type":"control"' | sed -n 's/.*"text":"\([^"]*\)".*/\1/p'; }
enabled() { on get "name:$1" | grep '"type":"control"' | sed -n 's/.*"enabled":\([a-z]*\).*/\1/p'; }
page() { on list | grep '"class":"TVntPagePanel"' | grep '"visible":true' | sed -n 's/.*"name":"\([^"]*\)".*/\1/p'; }
n=0
while :; do
  name=$(page || true)
  # The wizard steps aside while the Application Manager runs.
  for _ in $(seq 60); do [ -n "$name" ] && break; sleep 0.5; name=$(page || true); done
  [ -n "$name" ] || break
  n=$((n + 1))
  printf '  page %d, %-10s "%s"\n' "$n" "$name:" "$(text "VN_${name}_Label1")"
  on snap "$(win "$demo/$n-${name,,}.png")" >/dev/null
  case "$name" in
    License) on check "name:VN_License_RadioBox1" 1 >/dev/null ;;
    INSTALL) for _ in $(seq 120); do [ "$(enabled VN_INSTALL_Button2)" = true ] && break; sleep 0.5; done ;;
  esac
  if [ "$name" = Finish ]; then
    result=$(on click name:VN_Finish_Button2 -- wait-exit 30000 | tail -1)
    break
  fi
  on click "name:VN_${name}_Button2" >/dev/null
  [ "$n" -lt 20 ] || { echo "the wizard did not come to its end" >&2; exit 1; }
done
echo "  $result"
case "${result:-}" in
  *'"exit":0'*) echo "the setup went through its pages and installed; pictures in $demo/" ;;
  *) echo "the setup did not end cleanly" >&2; exit 1 ;;
esac

folder=$(winepath -u 'C:\Program Files\Hello')
echo "== what it installed"
echo "files:"
(cd "$folder" && find . -type f | sort | sed 's|^\./|  C:\\Program Files\\Hello\\|; s|/|\\|g')
echo "shortcuts:"
links=()
# The desktop may be a link out of the prefix (Wine points it at the home folder).
desktop=$(winepath -u "$(wine cmd /c echo %USERPROFILE% 2>/dev/null | tr -d '\r')\\Desktop" 2>/dev/null)
while IFS= read -r link; do links+=("$(win "$link")"); done < <(find "$(winepath -u 'C:\users')" -name '*.lnk' \
  -path '*Hello*' 2>/dev/null; ls "$desktop/Hello.lnk" 2>/dev/null)
wine build/win32/lnkread.exe "$(win "$demo/links.txt")" "${links[@]}" >/dev/null 2>&1 || true
tr -d '\r' <"$demo/links.txt" | awk -F'|' '{ printf "  %s -> %s %s\n", $1, $2, $3 }' | sort -u
echo "registry values:"
wine reg query 'HKCU\Software\Vantry Samples\Hello' 2>/dev/null | tr -d '\r' | sed -n 's/^ *\(.*REG_.*\)/  HKCU\\Software\\Vantry Samples\\Hello: \1/p'
echo "Add/Remove Programs entry:"
wine reg query "$entry" 2>/dev/null | tr -d '\r' | sed -n 's/^ *\(.*REG_.*\)/  \1/p'

echo "== what the device side received"
echo "the Application Manager's log (C:\Program Files\Microsoft ActiveSync\ceappmgr.log):"
tr -d '\r' <"$activesync/ceappmgr.log" | sed 's/^/  /'
echo "files on the device:"
(cd "$device/fs" && find . -type f | sort | sed 's|^\.|  |; s|/|\\|g')
echo "the application's key on the device:"
awk -F'\t' '/^key\t.*Software\\Apps\\/ { on = 1; print "  " $2; next } /^key/ { on = 0 } on && /^value/ { print "    " $2 " (type " $3 ") " $4 }' \
  "$device/registry.txt"
echo "the HotSync queue (hotsyncfix show):"
wine build/win32/hotsyncfix.exe show | tr -d '\r' | grep -E '^(flag|file)' | sed 's/\t/ /g; s/^/  /'

echo "== removing it with the uninstaller, as Add/Remove Programs runs it"
command=$(wine reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
eval "words=($command)"
result=$(drive start "${words[@]}" -- wait-msgbox 30000 -- msgbox -- press Yes -- wait-msgbox 60000 -- msgbox \
         -- press OK -- wait-exit 30000)
printf '%s\n' "$result" | sed -n 's/.*"text":"\([^"]*\)".*/  "\1"/p'
case "$(printf '%s\n' "$result" | tail -1)" in
  *'"exit":0'*) ;;
  *) echo "$result" >&2; echo "the uninstaller did not remove Hello" >&2; exit 1 ;;
esac
echo "== what is left"
left=0
[ -e "$folder" ] && { echo "  C:\\Program Files\\Hello is still there"; left=1; }
[ "${#links[@]}" -gt 0 ] && for l in "${links[@]}"; do
  [ -e "$(winepath -u "$l")" ] && { echo "  $l is still there"; left=1; }
done
wine reg query 'HKCU\Software\Vantry Samples' >/dev/null 2>&1 && { echo "  HKCU\\Software\\Vantry Samples is still there"; left=1; }
wine reg query "$entry" >/dev/null 2>&1 && { echo "  the Add/Remove Programs entry is still there"; left=1; }
[ "$left" = 0 ] && echo "nothing: files, shortcuts, values and the entry are gone"
exit "$left"
