#!/usr/bin/env bash
# Runs that do not finish leave the machine as they found it. "Rollback Tour" (2,000 small
# files, a shared self-registering library, shortcuts, registry values, its uninstaller) meets:
# a folder in the way of its record, after every file, shortcut and value is made (a file and
# a value that stood before must come back); a folder in the way of a file half-way through
# the copy; a full disk, its install folder on a small tmpfs drive of its own (root only);
# the setup killed half-way, undone by its next run, which installs; a maintenance run that
# fails after it took a component away (its record held open by another program), and one
# cancelled part-way; removed,
# killed again and undone by the uninstaller. Each time the whole prefix, files and
# registry, is compared with the state before. Last, a before-install script that sets
# %DoReboot%: the restart is offered and, declined, the setup ends with 3010.
source "$(dirname "$0")/lib.sh"

key='HKCU\Software\VantryTests\RollbackTour'
# The product's values under the machine's key and the classes root.
other_keys=('HKLM\Software\VantryTests\RollbackTour' 'HKCR\VantryTests.RollbackTour')
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Rollback Tour'
notes='HKLM\Software\Vantry\Unfinished Setups'
shared='HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs'
registered='HKCU\Software\VantryTests\SelfRegistered'
win() { printf 'Z:%s' "${1//\//\\}"; }
t="$work/target-rb"
T=$(win "$t")
J=${T//\\/\\\\}  # as the driver's JSON writes it
drive=""
forget() { wine reg delete "$@" /f >/dev/null 2>&1 || true; }
release() { rm -f "$work/held"; }
undo_drive() {
  [ -n "$drive" ] || return 0
  rm -f "$WINEPREFIX/dosdevices/r:"
  umount "$drive" 2>/dev/null
  rmdir "$drive"
}
trap 'release; forget "$key"; for k in "${other_keys[@]}"; do forget "$k"; done; forget "$entry"; forget "$registered"; forget "$shared" /v "$T\vnttestlib.dll";
      undo_drive; e2e_cleanup' EXIT
forget "$key"
for k in "${other_keys[@]}"; do forget "$k"; done
forget "$entry"
# An empty vendor key that other tests left goes too: a removal takes empty parents with it.
drop_empty_vendor_key
# Windows always has the shared-count key; a fresh prefix gets it with the first shared file.
wine reg add "$shared" /f >/dev/null 2>&1

"$host/installfixture" rollback "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/setup.exe"
run() { driver start "$(win "$1")" -- wait-msgbox 180000 -- msgbox -- press OK -- wait-exit 60000; }
# Differences from a snapshot; the uninstaller that all products share may stay after a removal.
changes() { prefix_snapshot | diff "$work/$1.txt" - | grep '^[<>]' | grep -v -i "${2:-^$}"; }

prefix_snapshot >"$work/before.txt"

# --- A record of the product that no entry names stands where the record goes, held open
# (others may read it): the run fails at its very end and is undone.
mkdir -p "$t"
"$host/installfixture" stale-record "Vantry Tests" "Rollback Tour" "$t/uninst.dat"
(wine "$win32/holdfile.exe" "$(win "$t/uninst.dat")" "$(win "$work/held")" read >/dev/null 2>&1 &)
for _ in $(seq 100); do [ -e "$work/held" ] && break; sleep 0.1; done
printf 'my own tour' >"$t/tour.exe"
wine reg add "$key" /v Path /d mine /f >/dev/null 2>&1
prefix_snapshot >"$work/before-record.txt"
out=$(run "$work/setup.exe")
rm -f "$work/held"
expect "record in the way: the setup names the record it cannot write" "$out" \
  "\"text\":\"Setup cannot write the uninstall record $J\\\\uninst.dat."
expect "record in the way: it ends with 4" "$out" '"exit":4'
same "record in the way: files, shortcuts, values, the entry, the count and the registration are undone" \
  "$(changes before-record)" ""
same "record in the way: the program and the value that stood before are back" \
  "$(cat "$t/tour.exe")|$(wine reg query "$key" /v Path 2>&1 | tr -d '\r' | sed -n 's/.*REG_SZ *//p')" "my own tour|mine"
rm -rf "$t"
forget "$key"
grep -q '^\[HKEY_CURRENT_USER\\Software\\VantryTests\]$' "$work/before.txt" || forget 'HKCU\Software\VantryTests'

# --- A folder stands where a file goes, half-way through the copy.
mkdir -p "$t/many/many2000.txt"
prefix_snapshot >"$work/before-file.txt"
out=$(run "$work/setup.exe")
expect "file in the way: the file is named" "$out" \
  "\"text\":\"Setup cannot create the file $J\\\\many\\\\many2000.txt. This file must be in use or protected."
expect "file in the way: it ends with 4" "$out" '"exit":4'
same "file in the way: nothing of the run is left, no staged file, no journal" "$(changes before-file)" ""
rm -rf "$t"

# --- A full disk: the install folder on a drive of its own that cannot hold the files.
if [ "$(id -u)" = 0 ] && drive=$(mktemp -d) && mount -t tmpfs -o size=4m tmpfs "$drive"; then
  ln -sfn "$drive" "$WINEPREFIX/dosdevices/r:"
  "$host/installfixture" rollback "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/full.exe" 'R:\Rollback Tour'
  out=$(run "$work/full.exe")
  # The journal or a file, whichever meets the full disk first, is named with the reason.
  expect "full disk: the folder on the full drive is named" "$out" 'R:\\Rollback Tour\\'
  printf '%s' "$out" | grep -q -E 'Disk full|not enough space' && pass "full disk: the reason is the full disk" \
    || fail "full disk: no reason given: $out"
  expect "full disk: it ends with 4" "$out" '"exit":4'
  same "full disk: nothing is left on the drive" "$(cd "$drive" && find . | paste -sd' ')" "."
  same "full disk: nothing is left anywhere else" "$(changes before)" ""
  undo_drive
  drive=""
else
  echo "skip: the full-disk case mounts a small tmpfs, which needs root"
fi

# --- Killed half-way: the journal stays, and the next run undoes it before it installs.
out=$(driver start "$(win "$work/setup.exe")" -- wait-window --class TfrmCopyingFiles 60000)
pid=$(pid_of "$out")
for _ in $(seq 600); do [ "$(ls "$t/many" 2>/dev/null | wc -l)" -ge 800 ] && break; sleep 0.1; done
driver attach "$pid" -- kill >/dev/null
pid=""
copied=$(ls "$t/many" 2>/dev/null | wc -l)
[ "$copied" -ge 800 ] && [ "$copied" -lt 2000 ] && pass "killed: half-way ($copied of 2000 files)" \
  || fail "killed: not half-way ($copied of 2000 files)"
same "killed: its journal and its note are left" \
  "$(ls "$t" | grep -c '^uninst.jnl$')$(wine reg query "$notes" 2>&1 | grep -c 'Rollback Tour')" 11
out=$(run "$work/setup.exe")
expect "the next run says it undid the interrupted one" "$out" \
  '"text":"The last setup of Rollback Tour on this computer did not finish. Everything it had changed has been undone."'
expect "and installs" "$out" '"exit":0'
record=$("$host/installfixture" record "$t/uninst.dat" 2>&1)
same "installed cleanly: every file once, nothing staged, no journal, no note" \
  "$(ls "$t/many" | wc -l)|$(printf '%s\n' "$record" | grep -c '\\many\\')|$(ls "$t" | grep -c -i -E '^vnt.*\.tmp$|^uninst.jnl$')|$(wine reg query "$notes" 2>&1 | grep -c Rollback)" \
  "2000|2000|0|0"

# --- Maintenance that fails after it took Extras away: the earlier installation, its record
# and its entry are as they were.
"$host/installfixture" rollback-maintain "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/maintain.exe"
prefix_snapshot >"$work/installed.txt"
out=$(driver start "$(win "$work/maintain.exe")" -- wait-window --class TfrmCopyingFiles 60000)
pid=$(pid_of "$out")
(wine "$win32/holdfile.exe" "$(win "$t/uninst.dat")" "$(win "$work/held")" >/dev/null 2>&1 &)
for _ in $(seq 100); do [ -e "$work/held" ] && break; sleep 0.1; done
out=$(driver attach "$pid" -- wait-msgbox 180000 -- msgbox -- press OK -- wait-exit 60000)
pid=""
release
expect "maintenance: the record it cannot replace is named" "$out" \
  "\"text\":\"Setup cannot write the uninstall record $J\\\\uninst.dat."
expect "maintenance: it ends with 4" "$out" '"exit":4'
same "maintenance: the earlier files, values, record and entry are as they were" "$(changes installed)" ""
out=$(driver start "$(win "$work/maintain.exe")" -- wait-window --class TfrmCopyingFiles 60000)
pid=$(pid_of "$out")
for _ in $(seq 600); do [ "$(ls "$t/more" 2>/dev/null | wc -l)" -ge 300 ] && break; sleep 0.1; done
out=$(driver attach "$pid" -- wait-window --class TfrmCopyingFiles 10000 -- click name:btnCancel -- wait-msgbox 20000 -- msgbox -- press Yes -- wait-exit 60000)
pid=""
expect "maintenance cancelled part-way: it ends with 5" "$out" '"exit":5'
same "maintenance cancelled part-way: the earlier installation is as it was" "$(changes installed)" ""

# --- The uninstaller still takes it all; then a run killed before it had a record is undone
# by the uninstaller the record's place names.
uninstall() { driver start "$(win "$win32/vntuninst.exe")" "$T\\uninst.dat" "$@"; }
out=$(uninstall -- wait-msgbox 30000 -- press Yes -- wait-window --class TfrmMsgBoxFiles 60000 -- click name:btnYes \
      -- wait-msgbox 120000 -- msgbox -- press OK -- wait-exit 30000)
expect "removed: the uninstaller ends with 0" "$out" '"exit":0'
same "removed: the prefix is as before the first run" "$(changes before 'windows/vntuninst.exe$')" ""
out=$(driver start "$(win "$work/setup.exe")" -- wait-window --class TfrmCopyingFiles 60000)
pid=$(pid_of "$out")
for _ in $(seq 600); do [ "$(ls "$t/many" 2>/dev/null | wc -l)" -ge 800 ] && break; sleep 0.1; done
driver attach "$pid" -- kill >/dev/null
pid=""
out=$(uninstall -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 60000)
expect "the uninstaller says it undid the interrupted run" "$out" \
  '"text":"The last setup of Vantry Tests Rollback Tour on this computer did not finish.'
expect "and ends with 0" "$out" '"exit":0'
same "undone by the uninstaller: the prefix is as before the first run" "$(changes before 'windows/vntuninst.exe$')" ""

# --- A script asks for a restart: offered at the end, declined, 3010.
"$host/installfixture" reboot "$win32/vntsetup.exe" "$work/reboot.exe"
out=$(driver start "$(win "$work/reboot.exe")" -- wait-msgbox 30000 -- msgbox -- press No -- wait-exit 30000)
expect "restart: the setup asks" "$out" \
  '"text":"Windows must be restarted to finish the installation of Reboot Tour. Do you want to restart Windows now?"'
expect "restart: declined, it ends with 3010" "$out" '"exit":3010'
e2e_end
