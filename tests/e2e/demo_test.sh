#!/usr/bin/env bash
# The README's demo: the sample product's setup is written, listed, its default wizard is
# gone through page by page to Finish, what it installed is listed and the uninstaller removes it.
source "$(dirname "$0")/lib.sh"
rm -f "$root"/out/hello-*.png
out=$(bash "$root/scripts/demo.sh" 2>&1)
expect "the demo lists the package's pages" "$out" 'dialogs (7), first page "Welcome", last page "Finish"'
expect "the demo ends the setup through its pages" "$out" "the setup went through its pages and installed"
expect "the demo lists the registry value it made" "$out" 'InstallDir    REG_SZ    C:\Program Files\Hello'
expect "the uninstaller removes the product" "$out" "the uninstaller removed Hello"
same "its registry value and Add/Remove entry are gone" \
  "$(wine reg query 'HKCU\Software\Vantry Samples\Hello' 2>&1 | grep -c REG_)$(wine reg query \
     'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Samples Hello' 2>&1 | grep -c REG_)" 00
same "its folder is gone" "$([ -e "$(winepath -u 'C:\Program Files\Hello' 2>/dev/null)" ] && echo left)" ""
for page in welcome folder components group ready install finish; do
  same "a picture of the $page page" "$([ -s "$root/out/hello-$page.png" ] && echo yes)" yes
done
e2e_end
