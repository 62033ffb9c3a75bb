#!/usr/bin/env bash
# The README's demo: examples/hello is built, its setup is gone through page by page to Finish,
# what it installed is listed with what the device side received through the stand-ins, and
# its uninstaller leaves nothing behind; then the same in German.
source "$(dirname "$0")/lib.sh"
out=$(bash "$root/scripts/demo.sh" 2>&1)
status=$?
expect "the builder closes with its summary" "$out" "9 files, "
same "the wizard's pages, in order" "$(printf '%s\n' "$out" | sed -n 's/^  page [0-9]*, \([A-Za-z]*\):.*/\1/p' | xargs)" \
  "Welcome License Folder Components Group Options Ready INSTALL Finish"
expect "the setup installs and ends with 0" "$out" "the setup went through its pages and installed"
expect "it lists the program it installed" "$out" 'C:\Program Files\Hello\hello.exe'
expect "a component's file" "$out" 'C:\Program Files\Hello\Samples\greetings.txt'
expect "the desktop shortcut, read back" "$out" 'Desktop\Hello.lnk -> C:\Program Files\Hello\hello.exe'
expect "a registry value" "$out" 'InstallDir    REG_SZ    C:\Program Files\Hello'
expect "the Add/Remove entry" "$out" 'UninstallString    REG_SZ    "C:\windows\vntuninst.exe" "C:\Program Files\Hello\uninst.dat"'
expect "the Application Manager got the installation file" "$out" 'file C:\Program Files\Hello\Device\Hello.ini: version "1.0"'
expect "the ARM cabinet is on the emulated device" "$out" '  \Windows\AppMgr\Install\hello.arm.cab'
expect "the device knows the application" "$out" 'HKLM\Software\Apps\Vantry Samples Hello'
expect "the Palm file waits for the HotSync user" "$out" 'file DemoU\Install\HelloPalm.prc'
expect "the uninstaller reports success" "$out" '"Uninstall completed with success."'
expect "and nothing is left" "$out" "nothing: files, shortcuts, values and the entry are gone"
same "the demo ends with 0" "$status" 0
same "a picture of every page" "$(ls "$root/out/demo" | grep -c '^[1-9]-.*\.png$')" 9
expect "the start script asks the handheld, with the wait window on screen" "$out" "its wait window: out/demo/0-connecting.png"
expect "and the registry keeps its answer" "$out" 'HandheldVersion    REG_SZ    4.20'
[ -s "$root/out/demo/0-connecting.png" ] && pass "a picture of the wait window" || fail "no out/demo/0-connecting.png"

de=$(bash "$root/scripts/demo.sh" /de 2>&1)
expect "in German: the pages speak German" "$de" 'page 1, Welcome:   "Willkommen bei der Installation von Hello"'
expect "in German: the sample's own page too" "$de" 'page 6, Options:   "Optionen"'
expect "in German: it installs" "$de" "the setup went through its pages and installed"
expect "in German: the uninstaller reports in German" "$de" '"Die Deinstallation wurde erfolgreich abgeschlossen."'
expect "in German: nothing is left" "$de" "nothing: files, shortcuts, values and the entry are gone"
e2e_end
