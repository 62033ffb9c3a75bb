#!/usr/bin/env bash
# A setup made by the builder's assembler from files on disk installs under the real stub:
# the files of the chosen components arrive whole with their dates, from the main archive and
# from the components' own archives, the file of the component not chosen stays away, the
# setup's own program goes to the Windows folder as the uninstaller; then the same product with its archive in volume
# files beside the setup installs just as well, and extract gets the files back out of it.
source "$(dirname "$0")/lib.sh"

entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Assemble Tour'
windows=$(winepath -u 'C:\windows' 2>/dev/null)
# An uninstaller left by earlier tests is set aside: a newer one would be kept by its date.
saved="$work/vntuninst.exe.saved"
[ -e "$windows/vntuninst.exe" ] && mv "$windows/vntuninst.exe" "$saved"
finish() {
  wine reg delete "$entry" /f >/dev/null 2>&1 || true
  rm -f "$windows/vntuninst.exe"
  [ -e "$saved" ] && mv "$saved" "$windows/vntuninst.exe"
  e2e_cleanup
}
trap finish EXIT
win() { printf 'Z:%s' "${1//\//\\}"; }

# The product's files, each with its own date.
src="$work/src"
mkdir -p "$src"
printf 'MZ the assembled program' >"$src/app.exe"
: >"$src/empty.txt"
head -c 300000 /dev/urandom >"$src/big.dat"
printf 'the manual' >"$src/manual.txt"
printf 'in Core and Extras' >"$src/shared.txt"
printf 'Read me.\r\n' >"$src/readme.txt"
printf 'BM a splash picture' >"$src/splash.bmp"
day=10
for f in app.exe empty.txt big.dat manual.txt shared.txt readme.txt splash.bmp; do
  touch -d "2024-03-$day 14:22:36" "$src/$f"
  day=$((day + 1))
done
# Compares the installed files with the sources: bytes and dates.
check_install() {  # label, target folder
  local t=$2 f
  for f in app.exe empty.txt shared.txt readme.txt data/big.dat; do
    if cmp -s "$src/$(basename "$f")" "$t/$f"; then pass "$1: $f arrived whole"; else fail "$1: $f differs or is missing"; fi
    same "$1: $f keeps its date" "$(date -r "$t/$f" '+%F %T' 2>&1)" "$(date -r "$src/$(basename "$f")" '+%F %T')"
  done
  [ ! -e "$t/manual.txt" ] && pass "$1: the file of the component not chosen stays away" || fail "$1: manual.txt installed"
}

out=$("$host/assemblefixture" "$win32/vntsetup.exe" "$src" "$work/setup.exe" target 2>>"$err")
expect "the assembler reports every file as it compresses it" "$out" "big.dat: 300,000 -> "
printf '%s\n' "$out" | grep -qE '^8 files, [0-9,]+ bytes in, [0-9,]+ bytes out \([0-9.]+%\), setup [0-9,]+ bytes, [0-9.]+ s$' \
  && pass "and closes with its summary" || fail "no summary line in: $out"
# Extras has an archive of its own; Core, without one, travels in the main archive.
"$host/vntbuild" dump "$work/setup.exe" >"$work/dump.txt" 2>>"$err"
same "only the component given an archive carries its files in one" \
  "$(grep -o '"name": *"[A-Za-z]*"[^}]*"ownArchive": *true' "$work/dump.txt" | grep -o '"name": *"[A-Za-z]*"' | tr -d ' ')" \
  '"name":"Extras"'
run=$(driver start "$(win "$work/setup.exe")" -- wait-exit 60000)
expect "the assembled setup installs and ends with 0" "$run" '"exit":0'
check_install "components" "$work/target"
# The uninstaller is the setup's own program without its package.
size=$(stat -c %s "$windows/vntuninst.exe" 2>/dev/null || echo 0)
[ "$size" -gt 100000 ] && [ "$size" -lt "$(stat -c %s "$work/setup.exe")" ] \
  && cmp -s <(head -c "$size" "$work/setup.exe") "$windows/vntuninst.exe" \
  && pass "the uninstaller in the Windows folder is the setup's program without its package" \
  || fail "uninstaller in $windows: $size bytes, not the setup's program"
[ -e "$work/target/uninst.dat" ] && pass "the uninstall record is written" || fail "no uninst.dat"
wine reg delete "$entry" /f >/dev/null 2>&1 || true

# --- The same product with its archive in volume files of 80 KB beside the setup.
out=$("$host/assemblefixture" "$win32/vntsetup.exe" "$src" "$work/volumes.exe" target2 80000 2>>"$err")
expect "the volumes are counted in the summary" "$out" "volumes"
[ -e "$work/volumes.001" ] && [ -e "$work/volumes.004" ] && pass "volume files beside the setup" \
  || fail "volume files missing: $(ls "$work")"
run=$(driver start "$(win "$work/volumes.exe")" -- wait-exit 60000)
expect "the setup with volumes installs and ends with 0" "$run" '"exit":0'
check_install "volumes" "$work/target2"

# --- extract writes the files back out of setup and volumes, with their dates.
"$host/vntbuild" extract "$work/volumes.exe" -o "$work/x" >/dev/null 2>>"$err"
files=$(cd "$work/x" 2>/dev/null && find . -type f | sort | tr '\n' ' ')
same "extract: every member where it belongs" "$files" \
  "./files/1/app.exe ./files/2/empty.txt ./files/3/big.dat ./files/4/manual.txt ./files/5/shared.txt ./files/6/readme.txt ./files/7/VNTUNINST.DAT ./support/1/splash.bmp "
cmp -s "$src/big.dat" "$work/x/files/3/big.dat" && pass "extract: the file spread over volumes is whole" \
  || fail "extract: big.dat differs"
same "extract: dates kept" "$(date -r "$work/x/files/3/big.dat" '+%F %T' 2>&1)" "$(date -r "$src/big.dat" '+%F %T')"
e2e_end
