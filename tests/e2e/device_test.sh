#!/usr/bin/env bash
# The device part of a product reaches the stand-ins as it would reach the real pieces: a setup
# built by vntbuild with two device file groups (a third whose cabinet is not chosen), a file
# queued for the HotSync users and a conduit. The Application Manager stand-in, run with the
# installation files, puts each group's cabinet on the emulated device and marks the
# application installed there; the HotSync fixture shows the queue and the conduit; the
# uninstaller takes the conduit away again. A run ended while the Application Manager runs is
# undone by the uninstaller, its queue entries and conduit with it. Device only, the PC copies
# go and a file of the user's in their place comes back; a setup that requires HotSync ends
# with its message on a PC without it. A start script asks the device, with the connection
# window showing while it connects, and copies a file to it and back.
source "$(dirname "$0")/lib.sh"

win() { printf 'Z:%s' "${1//\//\\}"; }
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Device Tour'
device=$(winepath -u 'C:\vntdevice' 2>/dev/null)
activesync=$(winepath -u 'C:\Program Files\Microsoft ActiveSync' 2>/dev/null)
system=$(winepath -u 'C:\windows\system32' 2>/dev/null)
palm="$work/palm"
put_back() {
  bash "$root/standins/appmgr/install.sh" --remove
  rm -f "$system/rapi.dll"
  wine "$win32/hotsyncfix.exe" remove >/dev/null 2>&1
  wine reg delete "$entry" /f >/dev/null 2>&1
  wine reg delete 'HKCU\Software\VantryTests\DeviceTour' /f >/dev/null 2>&1
  rm -rf "$device"
}
trap 'put_back; e2e_cleanup' EXIT
put_back
drop_empty_vendor_key
# The pieces as their own software installs them; the device answers at once.
bash "$root/standins/rapi/install.sh" "$win32" "$WINEPREFIX"
bash "$root/standins/appmgr/install.sh" "$win32/standins/CEAPPMGR.EXE"
mkdir -p "$device"
printf '[Device]\r\nProcessorType=2577\r\nPlatform=PocketPC\r\n' >"$device/device.ini"
wine "$win32/hotsyncfix.exe" install "$(win "$palm")" "Ann Lee:3:LeeA" "Bo:7:Bo" >/dev/null 2>>"$err" \
  || fail "hotsyncfix install"

mkdir -p "$work/src"
for f in tour_ARM.cab tour_SH3.cab extra_ARM.cab never_ARM.cab memo.prc conduit.dll; do printf '%s' "$f" >"$work/src/$f"; done
cat >"$work/device.json" <<'JSON'
{"product": {"name": "Device Tour", "company": "Vantry Tests", "displayVersion": "1",
             "description": "The tour for handhelds", "installDir": "%SourceDir%\\target"},
 "components": [{"name": "Core"}, {"name": "Never"}],
 "setupTypes": [["Core"], ["Core"], ["Core"]],
 "dialogs": [],
 "files": [{"source": "src/tour_ARM.cab", "destination": "%InstallDir%\\ce\\", "components": ["Core"]},
           {"source": "src/tour_SH3.cab", "destination": "%InstallDir%\\ce\\", "components": ["Core"]},
           {"source": "src/extra_ARM.cab", "destination": "%InstallDir%\\extra\\", "components": ["Core"]},
           {"source": "src/never_ARM.cab", "destination": "%InstallDir%\\never\\", "components": ["Never"]},
           {"source": "src/memo.prc", "hotSync": true, "components": ["Core"]},
           {"source": "src/conduit.dll", "components": ["Core"]}],
 "device": {"desktopFolder": "%InstallDir%\\ce\\", "cabinets": ["tour_ARM.cab", "tour_SH3.cab"],
            "groups": [{"name": "Tour Extras: v2", "desktopFolder": "%InstallDir%\\extra\\", "description": "More",
                        "cabinets": ["extra_ARM.cab"]},
                       {"name": "Tour Never", "desktopFolder": "%InstallDir%\\never\\", "cabinets": ["never_ARM.cab"]}]},
 "registry": [{"root": "HKCU", "key": "Software\\VantryTests\\DeviceTour", "value": "HotSyncDir", "data": "%HotSyncDir%"},
              {"root": "HKCU", "key": "Software\\VantryTests\\DeviceTour", "value": "Users", "data": "%HotSyncUser%"}],
 "conduits": [{"creator": "VTdt", "name": "Tour Conduit", "conduitFile": "%InstallDir%\\conduit.dll",
               "priority": 2}]}
JSON
"$host/vntbuild" build "$work/device.json" -o "$work/device.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err" \
  || fail "vntbuild device.json"

out=$(driver start "$(win "$work/device.exe")" -- wait-exit 120000)
expect "the setup installs and ends with 0" "$out" '"exit":0'
t="$work/target" T=$(win "$work/target")
log=$(tr -d '\r' <"$activesync/ceappmgr.log" 2>&1)
ini1="$t/ce/Device Tour.ini" ini2="$t/extra/Tour Extras_ v2.ini"
same "one installation file per used group, none for the group whose cabinet was not chosen" \
  "$([ -f "$ini1" ] && echo 1)$([ -f "$ini2" ] && echo 2)$([ -e "$t/never" ] && echo never)" 12
text1=$(tr -d '\r' <"$ini1" 2>&1) text2=$(tr -d '\r' <"$ini2" 2>&1)
expect "the first file names its cabinets" "$text1" "CabFiles = tour_ARM.cab,tour_SH3.cab"
expect "the first file carries the Uninstall line" "$text1" 'Uninstall = "Vantry Tests Device Tour"'
same "the second does not" "$(printf '%s\n' "$text2" | grep -c '^Uninstall')" 0
expect "the second names its component" "$text2" "Component = Tour Extras: v2"
same "the lines end in CR LF" "$(grep -c $'\r$' "$ini1")" "$(wc -l <"$ini1")"
expect "the Application Manager got both files, first group first" "$log" \
  "$(printf 'file %s\\ce\\Device Tour.ini' "$T")"
same "... in that order" "$(printf '%s\n' "$log" | grep '^file ' | sed 's/\.ini: .*/.ini/; s/.*\\//' | paste -sd'|')" "Device Tour.ini|Tour Extras_ v2.ini"
same "each group's ARM cabinet is on the device" \
  "$(cd "$device/fs/Windows/AppMgr/Install" 2>/dev/null && ls | paste -sd' ')" "extra_ARM.cab tour_ARM.cab"
expect "the device marks the application installed" "$(cat "$device/registry.txt" 2>&1)" "Software\\Apps\\Vantry Tests Device Tour"

queue=$(wine "$win32/hotsyncfix.exe" show 2>>"$err" | tr -d '\r')
expect "the Palm file is flagged for the first user" "$queue" "$(printf 'flag\tInstall3\t1')"
expect "and for the second" "$queue" "$(printf 'flag\tInstall7\t1')"
same "it waits in both users' install folders" "$(printf '%s\n' "$queue" | grep -c '^file.*\\Install\\memo.prc$')" 2
expect "the conduit is registered" "$queue" "$(printf 'conduit\tApplication0\tVTdt\t%s\\conduit.dll\tTour Conduit' "$T")"
values=$(wine reg query 'HKCU\Software\VantryTests\DeviceTour' 2>&1 | tr -d '\r')
expect "%HotSyncDir% is the HotSync software's folder" "$values" "HotSyncDir    REG_SZ    $(win "$palm")"
expect "%HotSyncUser% starts as every user" "$values" "Users    REG_SZ    Ann Lee|Bo"
record=$("$host/installfixture" record "$t/uninst.dat" 2>&1)
expect "the record names the conduit" "$record" "6|VTdt"
expect "and the installation files" "$record" "2|$T\\ce\\Device Tour.ini"

# Set up again over itself: the conduit is registered again in its own place, not beside it.
out=$(driver start "$(win "$work/device.exe")" -- wait-exit 120000)
expect "set up again, the setup ends with 0" "$out" '"exit":0'
same "the conduit is registered once, in its place" \
  "$(wine "$win32/hotsyncfix.exe" show 2>>"$err" | tr -d '\r' | grep '^conduit' | cut -f2,3 | tr '\t' ' ' | paste -sd'|')" \
  "Application0 VTdt"
same "the record names it once" "$("$host/installfixture" record "$t/uninst.dat" 2>&1 | grep -c '^6|VTdt$')" 1

command=$(wine reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
eval "words=($command)"
out=$(driver start "${words[@]}" -- wait-msgbox 30000 -- msgbox -- press Yes -- wait-msgbox 60000 -- msgbox -- press OK \
      -- wait-exit 30000)
expect "the uninstaller removes the product" "$out" '"exit":0'
same "the conduit is gone with it" "$(wine "$win32/hotsyncfix.exe" show 2>>"$err" | tr -d '\r' | grep -c '^conduit')" 0
[ ! -e "$t" ] && pass "the install folder is gone" || fail "left: $(find "$t" | head -5 | paste -sd' ')"

# --- Scripts on the device: the start script connects (the wait window shows while the device
# takes its time), asks the device (which has this product from the first run), copies a file
# to it and back, and keeps the answers.
pictures="$root/build/e2e-pages"
mkdir -p "$pictures"
printf '[Device]\r\nProcessorType=2577\r\nPlatform=PocketPC\r\nOwnerName=Ann Lee\r\nConnectDelayMs=1500\r\n' >"$device/device.ini"
cat >"$work/script.json" <<'JSON'
{"product": {"name": "Device Tour", "company": "Vantry Tests", "installDir": "%SourceDir%\\target-script"},
 "dialogs": [], "files": [],
 "options": {"createUninstaller": false},
 "devicePlatforms": [{"name": "PPC", "platform": "PocketPC", "matchByName": true, "processors": ["STRONGARM"],
                      "minVersion": "3.0", "maxVersion": "5.0"}],
 "scripts": {"start": [
   "GetDeviceOSVersion \"%Version%\", \"FULL\"",
   "GetDeviceOwner \"%Owner%\", \"NAME\"",
   "GetDevicePlatform \"%Platform%\"",
   "GetDeviceProcessor \"%Processor%\"",
   "IsProductInstalledOnDevice \"%Installed%\"",
   "CopyFileToDevice \"%SourceDir%\\\\src\\\\memo.prc\", \"\\\\memo.prc\"",
   "CopyFileFromDevice \"\\\\memo.prc\", \"%SourceDir%\\\\back.prc\"",
   "DeviceQueryFileInfo \"%Size%\", \"\\\\memo.prc\", \"SIZE\"",
   "RegWrite \"HKEY_CURRENT_USER\", \"Software\\\\VantryTests\\\\DeviceScript\", \"Answers\", \"%Version%|%Owner%|%Platform%|%Processor%|%Installed%|%Size%\"",
   "CancelSetup"]}}
JSON
"$host/vntbuild" build "$work/script.json" -o "$work/script.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err" \
  || fail "vntbuild script.json"
out=$(driver start "$(win "$work/script.exe")" -- wait-window --class TfrmStartCEConnection 30000 \
      -- snap "$(win "$pictures/device-connecting.png")" -- wait-exit 60000)
expect "the wait window shows while the device connects" "$out" '"class":"TfrmStartCEConnection"'
expect "the script ends the setup" "$out" '"exit":'
same "the device's answers: version, owner, platform, processor, installed, the copied file's size" \
  "$(wine reg query 'HKCU\Software\VantryTests\DeviceScript' /v Answers 2>&1 | tr -d '\r' | sed -n 's/.*REG_SZ *//p')" \
  "4.20|Ann Lee|PPC|STRONGARM|1|8"
same "the file came back from the device as it went" "$(cat "$work/back.prc" 2>&1)" "memo.prc"
wine reg delete 'HKCU\Software\VantryTests\DeviceScript' /f >/dev/null 2>&1
drop_empty_vendor_key

# --- Device only: the PC copies feed the device and go again; a file of the user's that stood
# where a cabinet went is back, as it was.
sed -e 's/"Device Tour"/"Device Only"/' -e 's/"conduits"/"options": {"deviceOnly": true},\n "conduits"/' \
    -e 's/%SourceDir%\\\\target/%SourceDir%\\\\target-only/' "$work/device.json" >"$work/only.json"
"$host/vntbuild" build "$work/only.json" -o "$work/only.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err" \
  || fail "vntbuild only.json"
mkdir -p "$work/target-only/ce" && printf 'mine' >"$work/target-only/ce/tour_SH3.cab"
out=$(driver start "$(win "$work/only.exe")" -- wait-exit 120000)
expect "device only: the setup ends with 0" "$out" '"exit":0'
expect "device only: the Application Manager got the group" "$(tr -d '\r' <"$activesync/ceappmgr.log")" "target-only\\ce\\Device Only.ini"
same "device only: of the device copies only the user's file is left, as it was" \
  "$(cd "$work/target-only" && find . -path ./palm -prune -o -name '*.cab' -print -o -name '*.ini' -print | sort | paste -sd' ')|$(cat "$work/target-only/ce/tour_SH3.cab")" \
  "./ce/tour_SH3.cab|mine"
same "device only: no record and no entry" \
  "$([ -e "$work/target-only/uninst.dat" ] && echo record)$(wine reg query "${entry/Device Tour/Device Only}" 2>&1 | grep -c UninstallString)" 0
wine "$win32/hotsyncfix.exe" remove >/dev/null 2>&1
wine "$win32/hotsyncfix.exe" install "$(win "$palm")" "Ann Lee:3:LeeA" "Bo:7:Bo" >/dev/null 2>>"$err"

# --- A setup that requires HotSync, on a PC without it: message 64, and the setup ends.
sed -e 's/"Device Tour"/"Needs Palm"/' -e 's/"conduits"/"options": {"requiresHotSync": true},\n "conduits"/' \
    "$work/device.json" >"$work/palm.json"
"$host/vntbuild" build "$work/palm.json" -o "$work/palm.exe" --stub "$win32/vntsetup.exe" >/dev/null 2>>"$err" \
  || fail "vntbuild palm.json"
wine "$win32/hotsyncfix.exe" remove >/dev/null 2>&1
out=$(driver start "$(win "$work/palm.exe")" -- wait-msgbox 30000 -- msgbox -- press OK -- wait-exit 30000)
expect "without HotSync: its message" "$out" '"text":"This setup needs the Palm HotSync software, which is not installed on this computer.'
expect "without HotSync: the setup ends with 1" "$out" '"exit":1'
wine "$win32/hotsyncfix.exe" install "$(win "$palm")" "Ann Lee:3:LeeA" "Bo:7:Bo" >/dev/null 2>>"$err"

# --- Ended while the Application Manager runs: the uninstaller finds the unfinished run and
# undoes it, the HotSync queue and the conduit with the rest.
wine reg add 'HKCU\Software\U.S. Robotics\Pilot Desktop\HotSync Manager' /v Install7 /t REG_DWORD /d 5 /f >/dev/null
before=$(wine "$win32/hotsyncfix.exe" show 2>>"$err" | tr -d '\r')
touch "$activesync/ceappmgr.hold"
out=$(driver start "$(win "$work/device.exe")")
pid=$(pid_of "$out")
for _ in $(seq 300); do grep -q '^held' "$activesync/ceappmgr.log" 2>/dev/null && break; sleep 0.1; done
expect "the Application Manager is running" "$(cat "$activesync/ceappmgr.log" 2>&1)" "held"
queued=$(wine "$win32/hotsyncfix.exe" show 2>>"$err" | tr -d '\r')
expect "by then the file is queued" "$queued" "$(printf 'flag\tInstall3\t1')"
expect "and the conduit registered" "$queued" "$(printf 'conduit\tApplication0\tVTdt')"
driver attach "$pid" -- kill >/dev/null
pid=""
rm -f "$activesync/ceappmgr.hold"
for _ in $(seq 100); do pgrep -f CEAPPMGR >/dev/null || break; sleep 0.1; done
out=$(driver start "$(winepath -w "$win32/vntuninst.exe" 2>/dev/null)" "$T\uninst.dat" -- wait-msgbox 30000 -- msgbox \
      -- press OK -- wait-exit 30000)
expect "the uninstaller undoes the unfinished run" "$out" '"exit":0'
same "the queue and the conduits are as before the run, the other flag kept" \
  "$(wine "$win32/hotsyncfix.exe" show 2>>"$err" | tr -d '\r')" "$before"
[ ! -e "$t" ] && pass "nothing of the run is left in its folder" || fail "left: $(find "$t" | head -5 | paste -sd' ')"
same "its entry is gone" "$(wine reg query "$entry" 2>&1 | grep -c UninstallString)" 0
e2e_end
