#!/usr/bin/env bash
# Signed setups. The test makes its own root and code-signing certificate (the .pfx's password
# the first line of a file, in a folder whose name has blanks and quotes); the builder's signing
# signs the uninstaller a setup carries and then the setup, and osslsigncode accepts both against
# that root. The signed setup installs exactly as the unsigned one and its signed uninstaller
# removes it; a nested second signature and a signature made by osslsigncode directly leave the
# setup working; with its signature cut off it still installs (Windows judges signatures, the
# setup does not); a byte of the product archive changed after signing ends with the damaged
# archive message and exit 4. Last, the sample product built from its project, signed and
# time-stamped (a time-stamping server of the test's own), and the builder's signing failures.
source "$(dirname "$0")/lib.sh"

key='HKCU\Software\VantryTests\SignedTour'
# The product's values under the machine's key and the classes root.
other_keys=('HKLM\Software\VantryTests\SignedTour' 'HKCR\VantryTests.SignedTour')
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantry Tests Signed Tour'
windows=$(winepath -u 'C:\windows' 2>/dev/null)
forget() { wine reg delete "$1" /f >/dev/null 2>&1 || true; }
# The uninstaller that all products share is put back as it was.
[ -e "$windows/vntuninst.exe" ] && cp -p "$windows/vntuninst.exe" "$work/shared-uninstaller"
put_back() {
  forget "$key"; forget "$entry"
  for k in "${other_keys[@]}"; do forget "$k"; done
  if [ -e "$work/shared-uninstaller" ]; then cp -p "$work/shared-uninstaller" "$windows/vntuninst.exe"
  else rm -f "$windows/vntuninst.exe"; fi
}
tsa_pid=""
trap 'put_back; [ -n "$tsa_pid" ] && kill "$tsa_pid"; e2e_cleanup' EXIT
forget "$key"; forget "$entry"; for k in "${other_keys[@]}"; do forget "$k"; done; rm -f "$windows/vntuninst.exe"

win() { printf 'Z:%s' "${1//\//\\}"; }
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
t="$work/target-signed"

certs="$work/cert's \"folder\""
mkdir -p "$certs"
(
  cd "$certs" || exit 1
  openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 3 -subj "/CN=Vantry Tests Root" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign
  openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Vantry Tests Signer"
  printf 'extendedKeyUsage=codeSigning\nkeyUsage=critical,digitalSignature\n' >signer.ext
  openssl x509 -req -in signer.csr -CA root.pem -CAkey root.key -CAcreateserial -days 3 -extfile signer.ext -out signer.pem
  printf 'pass "word" $HOME\nnot the password\n' >"pass file.txt"
  openssl pkcs12 -export -in signer.pem -inkey signer.key -certfile root.pem -passout "file:pass file.txt" -out "my cert.pfx"
) >/dev/null 2>>"$err"
sign=(--sign "$certs/my cert.pfx" --sign-password-file "$certs/pass file.txt")
# A time-stamping server of the test's own, its certificate under the same root.
tsa="$work/tsa"
mkdir -p "$tsa"
(
  cd "$tsa" || exit 1
  openssl req -newkey rsa:2048 -nodes -keyout tsa.key -out tsa.csr -subj "/CN=Vantry Tests Time"
  printf 'extendedKeyUsage=critical,timeStamping\nkeyUsage=critical,digitalSignature\n' >tsa.ext
  openssl x509 -req -in tsa.csr -CA "$certs/root.pem" -CAkey "$certs/root.key" -CAcreateserial -days 3 -extfile tsa.ext \
    -out tsa.pem
  cp "$certs/root.pem" root.pem
  echo 01 >serial
  printf '[tsa]\ndefault_tsa = here\n[here]\nserial = %s/serial\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\n%s\n' \
    "$tsa" 'digests = sha1, sha256, sha512' >tsa.cnf
) >/dev/null 2>>"$err"
perl "$root/tests/e2e/fixtures/tsa.pl" "$tsa" >/dev/null 2>>"$err" &
tsa_pid=$!
for _ in $(seq 50); do [ -s "$tsa/port" ] && break; sleep 0.1; done
timestamp="http://127.0.0.1:$(cat "$tsa/port" 2>/dev/null)/"
verify() { osslsigncode verify -CAfile "$certs/root.pem" -TSA-CAfile "$certs/root.pem" -in "$1" 2>&1; echo "status $?"; }
accepted() {  # description, file
  local out; out=$(verify "$2")
  expect "$1: osslsigncode accepts it" "$out" "status 0"
  expect "$1: signed by the test's signer" "$out" "Subject: /CN=Vantry Tests Signer"
}
install() { driver start "$(win "$1")" -- wait-exit 60000; }
# What an installation leaves: its files with their sums (shortcuts as the shell reads them
# back: their bytes hold times), its record, its values and its entry.
results() {
  (cd "$t" && find . -type f ! -name uninst.dat ! -name '*.lnk' -exec md5sum {} + | sort -k2)
  wine "$win32/lnkread.exe" "$(win "$work/links.txt")" "$(win "$t/Links/Tour.lnk")" "$(win "$t/Links/Uninstall Tour.lnk")" \
    >/dev/null 2>>"$err"
  tr -d '\r' <"$work/links.txt"
  "$host/installfixture" record "$t/uninst.dat"
  wine reg query "$key" /s 2>&1 | tr -d '\r' | grep REG_
  # The record names the setup program that wrote it, so its digest differs with it.
  wine reg query "$entry" 2>&1 | tr -d '\r' | grep REG_ | grep -v VantryRecordSHA256
}
uninstall() {  # description: removes the product through its entry's command
  local command out
  command=$(wine reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ    //p')
  eval "words=($command)"
  out=$(driver start "${words[@]}" -- wait-msgbox 30000 -- press Yes -- wait-msgbox 60000 -- msgbox -- press OK \
        -- wait-exit 30000)
  expect "$1: the uninstaller reports success" "$out" '"text":"Uninstall completed with success."'
  same "$1: the product's files, values and entry are gone" \
    "$([ -e "$t" ] && echo files)$(wine reg query "$key" >/dev/null 2>&1 && echo values)$(wine reg query "$entry" >/dev/null 2>&1 && echo entry)" ""
}

# --- Unsigned, as the reference.
"$host/installfixture" signed "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/plain.exe" 2>>"$err"
expect "unsigned: the setup installs" "$(install "$work/plain.exe")" '"exit":0'
results >"$work/plain.txt"
expect "unsigned: the program is installed" "$(cat "$work/plain.txt")" "$(printf 'MZ the tour program' | md5sum | cut -c1-32)  ./tour.exe"
expect "unsigned: the Add/Remove entry is made" "$(cat "$work/plain.txt")" "DisplayName    REG_SZ    Signed Tour 1.0"
uninstall "unsigned"

# --- Signed through the builder's signing: the uninstaller inside, then the setup.
"$host/installfixture" signed "$win32/vntsetup.exe" "$win32/vntuninst.exe" "$work/signed.exe" "${sign[@]}" 2>>"$err"
accepted "signed setup" "$work/signed.exe"
# A machine without the shared uninstaller each time: an equal one already there would stay.
rm -f "$windows/vntuninst.exe"
expect "signed: the setup installs" "$(install "$work/signed.exe")" '"exit":0'
results >"$work/signed.txt"
same "signed: it installs exactly what the unsigned setup installed" "$(diff "$work/plain.txt" "$work/signed.txt")" ""
accepted "the uninstaller it installed" "$windows/vntuninst.exe"
differ "the installed uninstaller is the signed copy" "$(md5sum <"$windows/vntuninst.exe")" "$(md5sum <"$win32/vntuninst.exe")"
age=$(($(stat -c %Y "$windows/vntuninst.exe") - $(stat -c %Y "$win32/vntuninst.exe")))
[ "${age#-}" -le 2 ] && pass "the signed uninstaller keeps the program's date" || fail "the signed uninstaller's date is off by ${age}s"
uninstall "signed"

# --- A second, nested signature; a signature made by osslsigncode on its own.
osslsigncode sign -nest -certs "$certs/signer.pem" -key "$certs/signer.key" -h sha1 \
  -in "$work/signed.exe" -out "$work/nested.exe" >/dev/null 2>>"$err"
expect "nested: both signatures verify" "$(verify "$work/nested.exe")" "Number of verified signatures: 2"
expect "nested: the setup installs" "$(install "$work/nested.exe")" '"exit":0'
same "nested: the program is there" "$(cat "$t/tour.exe" 2>&1)" "MZ the tour program"
rm -rf "$t"
osslsigncode sign -certs "$certs/signer.pem" -key "$certs/signer.key" -in "$work/plain.exe" -out "$work/direct.exe" \
  >/dev/null 2>>"$err"
accepted "signed by osslsigncode itself" "$work/direct.exe"
rm -f "$windows/vntuninst.exe"
expect "signed by osslsigncode itself: the setup installs" "$(install "$work/direct.exe")" '"exit":0'
same "signed by osslsigncode itself: it installs what the unsigned setup installed" "$(results | diff "$work/plain.txt" -)" ""
rm -rf "$t"

# --- Damaged after signing. The certificate table's place is in the PE security directory.
pe=$(u32 "$work/signed.exe" 60)
table=$(u32 "$work/signed.exe" $((pe + 152))) length=$(u32 "$work/signed.exe" $((pe + 156)))
same "the signature is the end of the signed setup" "$((table + length))" "$(stat -c %s "$work/signed.exe")"
head -c $((table + length / 2)) "$work/signed.exe" >"$work/cut.exe"
expect "signature cut off: osslsigncode refuses it" "$(verify "$work/cut.exe")" "status 1"
expect "signature cut off: the package is whole, the setup installs" "$(install "$work/cut.exe")" '"exit":0'
same "signature cut off: the program is there" "$(cat "$t/tour.exe" 2>&1)" "MZ the tour program"
rm -rf "$t"
# A byte inside big.dat's first compressed chunk: the third member's data block, after its
# magic and chunk size.
# The package follows the stub's image, whose own code holds the magic too.
archive=$(stat -c %s "$win32/vntsetup.exe")
member=$(tail -c +$((archive + 1)) "$work/signed.exe" | grep -obUa 'vNTZ' | sed -n 3p | cut -d: -f1)
cp "$work/signed.exe" "$work/altered.exe"
printf '\377' | dd of="$work/altered.exe" bs=1 seek=$((archive + member + 20)) conv=notrunc 2>/dev/null
expect "altered package: osslsigncode refuses it" "$(verify "$work/altered.exe")" "status 1"
# The runs above left their values and entry behind (their folders went by hand): the failed
# run must put them back as they were.
left() { wine reg query "$key" /s 2>&1 | tr -d '\r' | grep REG_; wine reg query "$entry" 2>&1 | tr -d '\r' | grep REG_; }
before=$(left)
out=$(driver start "$(win "$work/altered.exe")" -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 60000)
expect "altered package: the damaged archive's message" "$out" '"text":"Vantry Zip file corrupted."'
expect "altered package: the run ends as failed" "$out" '"exit":4'
same "altered package: the run is undone: no folder, the values and the entry as they were" \
  "$([ -e "$t" ] && echo files)|$(left)" "|$before"

# --- The builder's own command and its failures: the sample product built from its project,
# signed and time-stamped, with its uninstaller signed inside it.
cp -r "$root/examples/hello" "$work/hello-src" && mkdir -p "$work/hello-src/bin" && cp "$win32/hello.exe" "$work/hello-src/bin/"
build=("$host/vntbuild" build "$work/hello-src/hello.json" --stub "$win32/vntsetup.exe")
out=$("${build[@]}" -o "$work/hello.exe" "${sign[@]}" --timestamp "$timestamp" 2>&1)
expect "build: written and signed" "$out" ", signed"
accepted "build" "$work/hello.exe"
expect "build: time-stamped by the test's server" "$(verify "$work/hello.exe")" "Timestamp Server Signature verification: ok"
"$host/vntbuild" extract "$work/hello.exe" -o "$work/hello-files" >/dev/null 2>>"$err"
accepted "build: the uninstaller inside it" "$(ls "$work"/hello-files/files/*/VNTUNINST.DAT 2>/dev/null | head -1)"
expect "build: its package is found before the signature" "$("$host/vntbuild" dump "$work/hello.exe" 2>&1)" '"name": "Hello"'
printf 'wrong\n' >"$work/wrong.txt"
failure() {  # description, wanted message, vntbuild arguments...
  local description=$1 wanted=$2 out status=0
  shift 2
  rm -f "$work/failed.exe"
  out=$("$@" 2>&1) || status=$?
  same "$description: exit 3 (a signing failure)" "$status" 3
  expect "$description: says so" "$out" "$wanted"
  [ ! -e "$work/failed.exe" ] && pass "$description: no setup is left" || fail "$description: an unsigned setup was left"
}
failure "wrong password" "wrong password for the certificate $certs/my cert.pfx (from $work/wrong.txt)" \
  "${build[@]}" -o "$work/failed.exe" --sign "$certs/my cert.pfx" --sign-password-file "$work/wrong.txt"
failure "not a certificate" "is not a PKCS#12 (.pfx) file" \
  "${build[@]}" -o "$work/failed.exe" --sign "$certs/root.pem"
failure "no time stamp" "the time-stamping server http://127.0.0.1:9/ gave no time stamp" \
  "${build[@]}" -o "$work/failed.exe" "${sign[@]}" --timestamp http://127.0.0.1:9/
failure "osslsigncode missing" "cannot run osslsigncode" \
  env PATH=/nonexistent "${build[@]}" -o "$work/failed.exe" "${sign[@]}"
e2e_end
