#!/usr/bin/env bash
# The uninstall record tells the truth whatever came before. Setups built by vntbuild without
# pages: a product set up twice and then as a newer version keeps one record that names what
# every run made, counts its shared library once, and one removal leaves the prefix as it
# was. Two products in one folder keep a record each and remove only themselves, in either
# order. A file held open during a removal goes at the next restart (3010); a value that
# cannot be deleted keeps the record and the entry for a second removal. A record with one
# path changed is refused with nothing removed; a record from before digests were kept still
# uninstalls; a before-uninstall script that refuses stops the removal before anything goes.
# Without arguments the uninstaller shows its usage.
source "$(dirname "$0")/lib.sh"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
shared='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
session='HKLM\System\CurrentControlSet\Control\Session Manager'
entry_of() { printf '%s\\Vantry Tests %s' "$uninstall_key" "$1"; }
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
win() { printf 'Z:%s' "${1//\//\\}"; }
cleanup() {
  rm -f "$work/held"
  # A check that failed may leave a setup or an uninstaller waiting with a box.
  pkill -f "$(basename "$work")" 2>/dev/null
  forget "$session" /v PendingFileRenameOperations
  wine reg import "$(win "$work/session.reg")" >/dev/null 2>&1
  wine "$win32/regdeny.exe" 'Software\VantryTests\Truth Busy' allow >/dev/null 2>&1
  for product in Tour A B Busy Old Refuse; do forget "$(entry_of "Truth $product")"; forget "HKCU\\Software\\VantryTests\\Truth $product"; done
  forget "$shared" /v "$(win "$work/tour")\\lib.dll"
  e2e_cleanup
}
trap cleanup EXIT
# The removals below mark files for the next restart; the prefix gets its own marks back.
wine reg export "$session" "$(win "$work/session.reg")" /y >/dev/null 2>&1
wine reg add "$shared" /f >/dev/null 2>&1
# An empty vendor key that other tests left goes too: a removal takes empty parents with it.
drop_empty_vendor_key
changes() { prefix_snapshot | diff "$work/before.txt" - | grep '^[<>]' | grep -v -i 'windows/vntuninst.exe$'; }

# --- The products. project <name> <version> <folder> <files as JSON>
mkdir -p "$work/v1" "$work/v2"
printf 'one' >"$work/v1/a.txt"; printf 'old' >"$work/v1/old.txt"; printf 'deep' >"$work/v1/s.txt"
printf 'two' >"$work/v2/a.txt"; printf 'new' >"$work/v2/new.txt"; printf 'MZ lib' >"$work/lib.dll"
printf 'a' >"$work/v1/a-only.txt"; printf 'b' >"$work/v2/b-only.txt"; printf 'both' >"$work/common.txt"
project() {
  cat >"$work/$1-$2.json" <<EOF
{"product": {"name": "Truth $1", "company": "Vantry Tests", "displayVersion": "$2",
             "installDir": "%SourceDir%\\\\$3"},
 "dialogs": [], "files": [$4],
 "registry": [{"root": "HKCU", "key": "Software\\\\VantryTests\\\\Truth $1", "value": "Version", "data": "$2"}]}
EOF
  "$host/vntbuild" build "$work/$1-$2.json" -o "$work/$1-$2.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err" \
    || fail "vntbuild $1 $2"
}
deep='"destination": "%InstallDir%\\sub\\deep\\"'
project Tour 1 tour "{\"source\": \"v1/a.txt\"}, {\"source\": \"v1/old.txt\"}, {\"source\": \"v1/s.txt\", $deep},
                    {\"source\": \"lib.dll\", \"shared\": true}"
project Tour 2 tour "{\"source\": \"v2/a.txt\"}, {\"source\": \"v1/s.txt\", $deep}, {\"source\": \"lib.dll\", \"shared\": true},
                    {\"source\": \"v2/new.txt\", \"destination\": \"%InstallDir%\\\\more\\\\\"}"
project A 1 both '{"source": "v1/a-only.txt"}, {"source": "common.txt"}'
project B 1 both '{"source": "v2/b-only.txt"}, {"source": "common.txt"}'
project Busy 1 busy "{\"source\": \"v1/a.txt\", \"destination\": \"%InstallDir%\\\\bin\\\\\"}, {\"source\": \"v1/old.txt\"}"

install() { driver start "$(win "$work/$1.exe")" -- wait-exit 60000; }
# Runs the entry's command as Add/Remove Programs does and answers its first question Yes;
# the further steps are the driver's.
entry_command() {
  local command
  command=$(wine reg query "$(entry_of "Truth $1")" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
  eval "words=($command)"
}
uninstall() {
  entry_command "$1"
  shift
  driver start "${words[@]}" -- wait-msgbox 30000 -- msgbox -- press Yes "$@"
}
finish=(-- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000)
record_of() { "$host/installfixture" record "$1" 2>&1; }
count() { wine reg query "$shared" /v "$(win "$work/tour")\\lib.dll" 2>&1 | tr -d '\r' | sed -n 's/.*REG_DWORD *//p'; }

prefix_snapshot >"$work/before.txt"

# --- Run twice, then version 2: one record of everything, the library counted once.
T=$(win "$work/tour")
expect "version 1 installs" "$(install Tour-1)" '"exit":0'
expect "version 1 installs again over itself" "$(install Tour-1)" '"exit":0'
record=$(record_of "$work/tour/uninst.dat")
same "the second run's record names each thing once" \
  "$(printf '%s\n' "$record" | grep -c -F "$T\\a.txt")$(printf '%s\n' "$record" | grep -c -F "4|$T\\sub\\deep")" 11
same "the shared library is counted once for the product" "$(count)" 0x1
expect "version 2 installs over version 1" "$(install Tour-2)" '"exit":0'
record=$(record_of "$work/tour/uninst.dat")
expect "the record still names what only version 1 had" "$record" "0|$T\\old.txt"
expect "and what version 2 brought" "$record" "4|$T\\more"
same "version 2 does not count the library again" "$(count)" 0x1
digest=$(wine reg query "$(entry_of 'Truth Tour')" /v VantryRecordSHA256 2>&1 | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
same "the entry keeps the digest of the record" "$digest" "$(sha256sum "$work/tour/uninst.dat" | cut -d' ' -f1)"
out=$(uninstall Tour -- wait-window --class TfrmMsgBoxFiles 30000 -- click name:btnYes "${finish[@]}")
expect "one removal takes both versions" "$out" '"text":"Uninstall completed with success."'
expect "and ends with 0" "$out" '"exit":0'
same "nothing of either version is left, the library's count is gone, the prefix is as before" \
  "$(changes)$([ -e "$work/tour" ] && find "$work/tour")" ""

# --- Two products in one folder, removed in either order.
both=$(win "$work/both")
for order in "A B" "B A"; do
  set -- $order
  expect "A installs ($order)" "$(install A-1)" '"exit":0'
  expect "B installs into A's folder ($order)" "$(install B-1)" '"exit":0'
  same "B keeps a record of its own, and its entry names it ($order)" \
    "$(ls "$work/both" | grep uninst | paste -sd' ')|$(wine reg query "$(entry_of 'Truth B')" /v UninstallString 2>&1 | grep -c -F "$both\\uninst2.dat\" \"Vantry Tests Truth B\"")" \
    "uninst.dat uninst2.dat|1"
  out=$(uninstall "$1" "${finish[@]}")
  expect "$1 removes itself ($order)" "$out" '"exit":0'
  expect "$1's question names $1 ($order)" "$out" "Do you want to uninstall Truth $1 from Desktop?"
  left=$(cd "$work/both" && ls | paste -sd' ')
  [ "$1" = A ] && want="b-only.txt common.txt uninst2.dat" || want="a-only.txt common.txt uninst.dat"
  same "only $1's own files went; the file both name stays ($order)" "$left" "$want"
  same "$1's entry is gone, $2's stays ($order)" \
    "$(wine reg query "$(entry_of "Truth $1")" 2>&1 | grep -c REG_SZ)|$(wine reg query "$(entry_of "Truth $2")" 2>&1 | grep -c UninstallString)" "0|1"
  out=$(uninstall "$2" "${finish[@]}")
  expect "$2's command works after $1 is gone ($order)" "$out" '"exit":0'
  [ ! -e "$work/both" ] && pass "the shared folder is gone with the last product ($order)" \
    || fail "left ($order): $(find "$work/both" | paste -sd' ')"
done
same "after both products the prefix is as before" "$(changes)" ""

# --- A file held open: it goes at the next restart, and the removal says so with 3010.
expect "Busy installs" "$(install Busy-1)" '"exit":0'
(wine "$win32/holdfile.exe" "$(win "$work/busy/bin/a.txt")" "$(win "$work/held")" >/dev/null 2>&1 &)
for _ in $(seq 100); do [ -e "$work/held" ] && break; sleep 0.1; done
out=$(uninstall Busy "${finish[@]}")
expect "the file in use is listed to go at the restart" "$out" "These items are in use and will be removed when Windows restarts:"
expect "the removal ends with 3010" "$out" '"exit":3010'
pending=$(wine reg query "$session" /v PendingFileRenameOperations 2>&1 | tr -d '\r')
expect "the file's deletion is pending in the registry" "$pending" "$(win "$work/busy/bin/a.txt")"
expect "so is its folder's" "$pending" "$(win "$work/busy/bin")"
same "the entry and the record are gone; of the product only the held file is left" \
  "$(wine reg query "$(entry_of 'Truth Busy')" 2>&1 | grep -c REG_SZ)|$(cd "$work/busy" && find . | sort | paste -sd' ')" \
  "0|. ./bin ./bin/a.txt"
rm -f "$work/held"
sleep 1
rm -rf "$work/busy"

# --- A value that cannot be deleted: the record and the entry stay until a second removal,
# and with them the uninstaller the entry runs.
expect "Busy installs again" "$(install Busy-1)" '"exit":0'
wine "$win32/regdeny.exe" 'Software\VantryTests\Truth Busy' deny >>"$err" 2>&1
out=$(uninstall Busy "${finish[@]}")
expect "the value that stays is listed" "$out" 'Key: HKEY_CURRENT_USER\\Software\\VantryTests\\Truth Busy    Value: Version'
expect "the removal ends with 4" "$out" '"exit":4'
items=$(record_of "$work/busy/uninst.dat" | sed 1d | grep -v '^5|2\\' | paste -sd' ')
same "the record, written anew, names what is left" "${items//"$(win "$work/busy")"/B}" \
  "5|1\\Software\\VantryTests\\Truth Busy|Version|1 4|B 4|B\\bin 3|C:\\windows\\vntuninst.exe 2|B\\uninst.dat"
digest=$(wine reg query "$(entry_of 'Truth Busy')" /v VantryRecordSHA256 2>&1 | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
same "and the entry stays, with the new record's digest" "$digest" "$(sha256sum "$work/busy/uninst.dat" | cut -d' ' -f1)"
wine "$win32/regdeny.exe" 'Software\VantryTests\Truth Busy' allow >>"$err" 2>&1
out=$(uninstall Busy "${finish[@]}")
expect "the second removal finishes with 0" "$out" '"exit":0'
same "the value, the record, the folder and the entry are gone" \
  "$(wine reg query 'HKCU\Software\VantryTests\Truth Busy' 2>&1 | grep -c Version)|$([ -e "$work/busy" ] && echo there)|$(wine reg query "$(entry_of 'Truth Busy')" 2>&1 | grep -c REG_SZ)" \
  "0||0"

# --- A record with one path changed is refused, and nothing is removed: its old.txt made to
# name a document of the user's (a path of the same length).
expect "Busy installs once more" "$(install Busy-1)" '"exit":0'
mkdir -p "$work/busx" && printf 'the user' >"$work/busx/old.txt"
cp "$work/busy/uninst.dat" "$work/record.bak"
python3 -c 'import sys; p, a, b = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode(); d = open(p, "rb").read(); open(p, "wb").write(d.replace(a, b))' \
  "$work/busy/uninst.dat" "$(win "$work/busy")\\old.txt" "$(win "$work/busx")\\old.txt"
cmp -s "$work/busy/uninst.dat" "$work/record.bak" && fail "the record was not changed"
forged=$(prefix_snapshot)
entry_command Busy
out=$(driver start "${words[@]}" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
expect "the changed record is refused" "$out" "The uninstall record of Vantry Tests Truth Busy was changed after installation"
expect "with 1" "$out" '"exit":1'
same "nothing was removed: the prefix, the product and the user's document are as they were" \
  "$(prefix_snapshot | diff <(printf '%s\n' "$forged") - | grep -c '^[<>]')|$(cd "$work/busy" && find . | sort | paste -sd' ')|$(cat "$work/busx/old.txt")" \
  "0|. ./bin ./bin/a.txt ./old.txt ./uninst.dat|the user"
cp "$work/record.bak" "$work/busy/uninst.dat"

# --- A record from before digests were kept still uninstalls.
forget "$(entry_of 'Truth Busy')" /v VantryRecordSHA256
out=$(uninstall Busy "${finish[@]}")
expect "a record without a kept digest uninstalls" "$out" '"exit":0'
[ ! -e "$work/busy" ] && pass "and takes the product away" || fail "left: $(find "$work/busy" | paste -sd' ')"

# --- A before-uninstall script that refuses (it stops while %CanClose% is "1"): the uninstaller
# stops with 2 and removes nothing.
cat >"$work/Refuse-1.json" <<'EOF'
{"product": {"name": "Truth Refuse", "company": "Vantry Tests", "displayVersion": "1",
             "installDir": "%SourceDir%\\refuse"},
 "dialogs": [], "files": [{"source": "v1/a.txt"}],
 "registry": [{"root": "HKCU", "key": "Software\\VantryTests\\Truth Refuse", "value": "Version", "data": "1"}],
 "scripts": {"beforeUninstall": "MessageBox \"Truth Refuse\", \"Close the tour first.\", \"INFORMATION\"\nAssignVariable \"%CanClose%\", \"1\"\nCancelSetup"}}
EOF
"$host/vntbuild" build "$work/Refuse-1.json" -o "$work/Refuse-1.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err" \
  || fail "vntbuild Refuse 1"
expect "Refuse installs" "$(install Refuse-1)" '"exit":0'
installed=$(prefix_snapshot)
out=$(uninstall Refuse -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
expect "the refusing script's message shows" "$out" '"text":"Close the tour first."'
expect "the uninstaller stops with 2" "$out" '"exit":2'
same "nothing was removed: the prefix and the product are as they were" \
  "$(prefix_snapshot | diff <(printf '%s\n' "$installed") - | grep -c '^[<>]')|$(cd "$work/refuse" && find . | sort | paste -sd' ')" \
  "0|. ./a.txt ./uninst.dat"

# --- Without arguments, or with /?, the uninstaller shows its usage.
for args in "" "/?"; do
  out=$(driver start "$(winepath -w "$win32/vntuninst.exe" 2>/dev/null)" $args -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
  expect "the usage is shown for [$args]" "$out" 'vntuninst.exe <uninstall record> [<product>]'
done
e2e_end
