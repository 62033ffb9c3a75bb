#!/usr/bin/env bash
# The README's demo: the sample product's setup is written, listed, and its three pages are
# gone through to Finish.
source "$(dirname "$0")/lib.sh"
rm -f "$root"/out/hello-*.png
out=$(bash "$root/scripts/demo.sh" 2>&1)
expect "the demo lists the package's pages" "$out" 'dialogs (3), first page "Welcome", last page "Ready"'
expect "the demo ends the setup through its pages" "$out" '"exit":0'
for page in welcome folder ready; do
  same "a picture of the $page page" "$([ -s "$root/out/hello-$page.png" ] && echo yes)" yes
done
e2e_end
