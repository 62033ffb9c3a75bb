#!/usr/bin/env bash
# Libraries planted beside a program and in the folder it runs in, under the names of system
# libraries, are never loaded: a setup with pages (to its licence page), a setup without pages
# installed twice over a versioned, shared file and its record checked, the uninstaller from
# the Windows folder and beside the planted ones, and vntbuild.exe. Wine is told to take each
# such name from beside the program first, as Windows does for a library it does not know.
source "$(dirname "$0")/lib.sh"

# The libraries the programs load, themselves or through the system libraries they use, that
# Windows does not always take from its own folder. uxtheme, version and imm32 are what Wine's
# user32 loads as soon as it is loaded, by the plain search: the programs load user32 only
# after they have limited the search.
names="uxtheme version imm32 msimg32 sfc sfc_os riched20 riched32 comctl32 rsaenh winmm usp10 msctf dwmapi cryptbase cryptsp
       wintrust crypt32 bcrypt propsys oleacc dbghelp netapi32 userenv wtsapi32 mpr setupapi cfgmgr32
       iphlpapi dnsapi secur32 ws2_32 wininet urlmon"
plant="$work/plant"
mkdir -p "$plant/sub"
for name in $names; do
  cp "$win32/planted.dll" "$plant/$name.dll"
  cp "$win32/planted.dll" "$plant/sub/$name.dll"
done
overrides="WINEDLLOVERRIDES=$(echo $names | tr ' ' ','),planted=n,b;winemenubuilder.exe=d"
# The programs under test run in the planted folder with the overrides; the driver does not.
run() { driver start --in "$(win "$plant")" --env "$overrides" "$@"; }
loaded() { (cd "$plant" && find . -name '*.loaded' | sort | paste -sd' '); }
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Planting Tour'
trap 'wine reg delete "$entry" /f >/dev/null 2>&1; e2e_cleanup' EXIT
win() { printf 'Z:%s' "${1//\//\\}"; }

# --- A setup with pages, to its licence page.
"$host/wizardfixture" "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$plant/wizard.exe"
out=$(run "$(win "$plant/wizard.exe")" -- wait-window --class TfrmSetupMain 30000 \
      -- click name:VN_Welcome_Button2 -- sleep 500 -- get name:VN_License_RadioBox1 -- kill)
expect "the setup with pages reaches its licence page" "$out" '"name":"VN_License_RadioBox1"'
same "it loads none of the planted libraries" "$(loaded)" ""

# --- A setup without pages, twice over its own versioned, shared file.
cp "$win32/vnttestlib.dll" "$plant/lib.dll.src"
cat >"$plant/p.json" <<EOF
{"product": {"name": "Planting Tour", "company": "Vantry Tests", "installDir": "%SourceDir%\\\\target"},
 "dialogs": [], "files": [{"source": "lib.dll.src", "name": "lib.dll", "overwrite": "ifNewerVersion"}]}
EOF
"$host/vntbuild" build "$plant/p.json" -o "$plant/setup.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err"
expect "the setup without pages installs" "$(run "$(win "$plant/setup.exe")" -- wait-exit 60000)" '"exit":0'
expect "and installs again over itself" "$(run "$(win "$plant/setup.exe")" -- wait-exit 60000)" '"exit":0'
same "neither run loads a planted library" "$(loaded)" ""

# --- The uninstaller: the entry's, run from the planted folder, and one beside the planted ones.
command=$(wine reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
eval "words=($command)"
out=$(run "${words[@]}" -- wait-msgbox 30000 -- press Yes -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000)
expect "the uninstaller removes the product" "$out" '"exit":0'
cp "$win32/vntuninst.exe" "$plant/sub/vntuninst.exe"
out=$(run "$(win "$plant/sub/vntuninst.exe")" "/?" -- wait-msgbox 30000 -- press OK -- wait-exit 30000)
expect "an uninstaller beside planted libraries shows its usage" "$out" '"exit":0'
same "no uninstaller loads a planted library" "$(loaded)" ""

# --- vntbuild.exe beside planted libraries.
cp "$win32/vntbuild.exe" "$win32/vntsetup.exe" "$plant/sub/"
(cd "$plant/sub" && env "$overrides" wine vntbuild.exe build "$(win "$plant/p.json")" -o "$(win "$plant/again.exe")" >/dev/null 2>>"$err")
[ -s "$plant/again.exe" ] && pass "vntbuild.exe builds beside planted libraries" || fail "vntbuild.exe built nothing"
same "vntbuild.exe loads none of them" "$(loaded)" ""
e2e_end
