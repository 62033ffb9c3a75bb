#!/usr/bin/env bash
# The builder from the author's side: the sample product's project builds into a setup; its
# dump, written into a folder with the files, builds again into the very same bytes; a project
# with a mistake stops with the place of the mistake and leaves no setup.
source "$(dirname "$0")/lib.sh"
cp -r "$root/examples/hello" "$work/hello" && mkdir -p "$work/hello/bin" && cp "$win32/hello.exe" "$work/hello/bin/"
build() { "$host/vntbuild" build "$@" --stub "$win32/vntsetup.exe" 2>&1; }

out=$(build "$work/hello/hello.json" -o "$work/first.exe")
expect "the project builds, with the default wizard" "$out" "no dialogs in the project: the default wizard"
expect "every file is reported as it is compressed" "$out" "hello.exe: 16,"
printf '%s\n' "$out" | tail -1 | grep -qE '^9 files, [0-9,]+ bytes in, [0-9,]+ bytes out \([0-9.]+%\), setup [0-9,]+ bytes' \
  && pass "and it closes with its summary" || fail "no summary in: $out"

out=$("$host/vntbuild" dump "$work/first.exe" -o "$work/dump" 2>&1)
expect "the dump writes the project and the files" "$out" "project.json and 9 files"
out=$(build "$work/dump/project.json" -o "$work/second.exe")
cmp -s "$work/first.exe" "$work/second.exe" && pass "the dump builds again into the same setup, byte for byte" \
  || fail "the rebuilt setup differs: $out"

sed 's/"destination"/"destinaton"/' "$work/hello/hello.json" >"$work/hello/typo.json"
out=$(build "$work/hello/typo.json" -o "$work/typo.exe"); status=$?
same "a project with a typo stops with 1" "$status" 1
expect "and names the place and the likely key" "$out" \
  '/files/2: unknown key "destinaton" (did you mean "destination"?)'
[ ! -e "$work/typo.exe" ] && pass "no setup is written" || fail "a setup was written from a bad project"
rm "$work/hello/readme.txt"
expect "a missing source file is named" "$(build "$work/hello/hello.json" -o "$work/missing.exe")" \
  "/files/1/source: file not found: "
cp "$root/examples/hello/readme.txt" "$work/hello/"
out=$(cd "$win32/.." && "$host/vntbuild" build "$work/hello/hello.json" -o "$work/relative.exe" \
      --stub "$(basename "$win32")/vntsetup.exe" 2>&1)
expect "a stub named relative to the working folder is found, and the uninstaller beside it" "$out" "9 files, "

# A third language gives the default wizard's texts by their ids; a wrong id is refused.
french='{"name": "English", "id": 1033, "default": true}, {"name": "Francais", "id": 1036, "wizard": {"Next": "\&Suivant >"}},'
sed "s|{\"name\": \"English\", \"id\": 1033, \"default\": true},|$french|" "$work/hello/hello.json" >"$work/hello/french.json"
out=$(build "$work/hello/french.json" -o "$work/french.exe")
expect "a project with a third language builds" "$out" "9 files, "
expect "a language's own wizard texts go into the pages" "$("$host/vntbuild" dump "$work/french.exe" 2>&1)" \
  'AssignVariable \"%WizardNext%\", \"&Suivant >\"'
sed 's/"Next": /"Nxet": /' "$work/hello/french.json" >"$work/hello/nxet.json"
expect "a wrong text id is refused with its place" "$(build "$work/hello/nxet.json" -o "$work/nxet.exe")" \
  '/languages/1/wizard: unknown key "Nxet" (did you mean "Next"?)'

# A setup without pages, with components, shortcuts, registry values and scripts, made by the
# tests' own writer: its dump builds again into a setup whose dump is the same, still without
# pages (the default wizard is only for projects that leave their dialogs out).
"$host/installfixture" fresh "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/pageless.exe"
"$host/vntbuild" dump "$work/pageless.exe" -o "$work/pageless" >/dev/null 2>>"$err"
out=$(build "$work/pageless/project.json" -o "$work/pageless-again.exe")
differ "a project that lists no dialogs gets no wizard" "$(printf '%s' "$out" | grep -c 'default wizard')" 1
same "the rebuilt setup reads back as the one dumped" \
  "$("$host/vntbuild" dump "$work/pageless-again.exe" 2>&1 | diff <("$host/vntbuild" dump "$work/pageless.exe" 2>&1) -)" ""
e2e_end
