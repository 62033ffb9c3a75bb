#!/usr/bin/env bash
# End-to-end test of wizdriver.exe: drives wizfixture.exe under Wine and checks what comes back.
# usage: tests/e2e/wizdriver_test.sh <build-dir>      (e.g. build/win32)
# Ends with "N passed, M failed"; exits non-zero when anything failed.
source "$(dirname "$0")/lib.sh"

DRIVER="$win32/wizdriver.exe"
FIXTURE="$win32/wizfixture.exe"
TMP="$work/wizdriver"
mkdir -p "$TMP"
STARTED_PIDS=()
skipped=0

# Z: is the Unix root in every Wine prefix.
winpath() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }
FIXTURE_W=$(winpath "$FIXTURE")
DRIVER_W=$(winpath "$DRIVER")

# Every program a check started is ended before lib.sh removes the folder.
cleanup() {
  local started
  for started in "${STARTED_PIDS[@]}"; do driver attach "$started" -- kill >/dev/null; done
  e2e_cleanup
}
trap cleanup EXIT

# Runs the driver; the checks read its output, its own error output and its exit code.
drive() {
  driver_status "$@" >/dev/null
  rc=$?
  cp "$work/out.txt" "$TMP/out"
  cp "$work/call-err.txt" "$TMP/err"
}

ok() { echo "ok   - $1"; passed=$((passed + 1)); }
not_ok() {
  echo "FAIL - $1"
  shift
  local detail
  for detail in "$@"; do printf '       %s\n' "$detail"; done
  failed=$((failed + 1))
}
skip() { echo "skip - $1"; skipped=$((skipped + 1)); }

expect_rc() {  # <what> <expected rc>
  if [ "$rc" = "$2" ]; then ok "$1 (exit $rc)"; else not_ok "$1: exit $rc, wanted $2" "stderr: $(head -c 600 "$TMP/err")"; fi
}

has_line() {  # <what> <fixed text that one line of the output holds>
  if grep -qF -- "$2" "$TMP/out"; then ok "$1"; else not_ok "$1: no line with $2" "output: $(head -c 1500 "$TMP/out")"; fi
}

line_of() { grep -F -- "$1" "$TMP/out" | head -n 1; }

line_has() {  # <what> <text picking the line> <text the line must also hold>
  local line
  line=$(line_of "$2")
  case "$line" in
    *"$3"*) ok "$1" ;;
    *) not_ok "$1: line with $2 lacks $3" "line: ${line:-(none)}" ;;
  esac
}

err_has() {
  if grep -qF -- "$2" "$TMP/err"; then ok "$1"; else not_ok "$1: stderr lacks $2" "stderr: $(head -c 600 "$TMP/err")"; fi
}

# Sets $pid from the {"pid":N} line of the last run and remembers it for the clean-up.
remember_pid() {
  pid=$(sed -n 's/^{"pid":\([0-9][0-9]*\)}$/\1/p' "$TMP/out" | head -n 1)
  if [ -n "$pid" ]; then STARTED_PIDS+=("$pid"); fi
}

bytes_hex() { od -An -tx1 -j "$2" -N "$3" "$1" | tr -d ' \n'; }

echo "# wizdriver: $DRIVER"

echo "# usage"
drive help
expect_rc "help" 0
missing=""
for cmd in start attach wait-window list get click type select check wait-msgbox msgbox press snap wait-exit sleep kill; do
  grep -q "^  $cmd" "$TMP/out" || missing="$missing $cmd"
done
if [ -z "$missing" ]; then ok "help documents every command"; else not_ok "help does not document:$missing"; fi

echo "# one session: every kind of control, a message box, a picture, the exit code"
NAMED=$'caf\xc3\xa9 \t"hi" C:\\x'
drive start "$FIXTURE_W" -- wait-window --title "Wizdriver Fixture" 20000 -- list \
  -- click name:VN_hello -- get name:VN_label \
  -- type name:VN_edit "$NAMED" -- get name:VN_label -- get name:VN_changes \
  -- type name:VN_notes $'two\r\nlines' -- get name:VN_label \
  -- select name:VN_list Beta -- get name:VN_label \
  -- select name:VN_combo '#2' -- get name:VN_label \
  -- select name:VN_combo green -- get name:VN_label \
  -- check name:VN_agree 1 -- get name:VN_agree -- get name:VN_label \
  -- check name:VN_agree 0 -- get name:VN_label \
  -- snap "$(winpath "$TMP/shot.png")" -- snap "$(winpath "$TMP/shot.bmp")" \
  -- click text:Message -- wait-msgbox 10000 -- msgbox -- snap "$(winpath "$TMP/box.png")" \
  -- press Yes -- get name:VN_label \
  -- click 'text:&Quit' -- wait-exit 10000
remember_pid
expect_rc "session ran to the end" 0
cp "$TMP/out" "$TMP/session.out"

has_line "window line names the fixture" '"type":"window"'
line_has "window line has caption" '"type":"window"' '"text":"Wizdriver Fixture"'
line_has "window line has its component name" '"type":"window"' '"name":"VN_fixture"'
for pair in Static:VN_label Static:VN_changes Button:VN_hello Edit:VN_edit Button:VN_agree ListBox:VN_list \
            ComboBox:VN_combo Edit:VN_notes Button:VN_message Button:VN_quit Button:VN_disabled; do
  line_has "list has ${pair#*:} as ${pair%%:*}" "\"name\":\"${pair#*:}\"" "\"class\":\"${pair%%:*}\""
done
line_has "list gives the button text" '"name":"VN_hello"' '"text":"&Hello"'
line_has "list gives the control id" '"name":"VN_hello"' '"id":101'
line_has "list gives client-relative rectangles" '"name":"VN_hello"' '"rect":[10,60,110,86]'
line_has "list shows the check box unchecked" '"text":"&Agree"' '"checked":0'
line_has "list shows the disabled button" '"name":"VN_disabled"' '"enabled":false'
line_has "list shows visibility" '"name":"VN_edit"' '"visible":true'
if line_of '"name":"VN_hello"' | grep -qF '"checked"'; then
  not_ok "push buttons carry no checked state"
else
  ok "push buttons carry no checked state"
fi

has_line "click reaches the program" '"text":"clicked: Hello"'
has_line "typed text reads back, escaped" '"ok":"type"'
line_has "typed text keeps quotes, backslash, tab and Latin-1" '"ok":"type"' '"text":"caf\u00e9 \t\"hi\" C:\\x"'
has_line "the program saw the typed text" '"text":"edit: caf\u00e9 \t\"hi\" C:\\x"'
has_line "typing notified EN_CHANGE exactly once" '"text":"changes: 1"'
has_line "typing into a multi-line edit notified EN_CHANGE too" '"text":"notes: two\r\nlines"'
has_line "list box pick notified LBN_SELCHANGE" '"text":"list: Beta"'
has_line "combo pick by #index notified CBN_SELCHANGE" '"text":"combo: Blue"'
has_line "combo pick by text ignores case" '"text":"combo: Green"'
has_line "check 1 ticks the box" '"text":"agree: 1"'
has_line "the box reads back as checked" '"checked":1,"name":"VN_agree"}'
has_line "check 0 clears it again" '"text":"agree: 0"'
has_line "message box caption, text and buttons" \
  '{"caption":"Fixture Question","text":"Do you want to continue?","buttons":["&Yes","&No"]}'
has_line "press matches Yes to &Yes and the box closes" '{"ok":"press","button":"&Yes","closed":true}'
has_line "the answer reached the program (main window current again)" '"text":"answer: yes"'
has_line "wait-exit reports the Quit exit code" '{"exit":42}'

echo "# pictures"
png="$TMP/shot.png"
snap_line=$(line_of '"ok":"snap"')
snap_w=$(sed -n 's/.*"width":\([0-9]*\).*/\1/p' <<<"$snap_line")
snap_h=$(sed -n 's/.*"height":\([0-9]*\).*/\1/p' <<<"$snap_line")
read -r wl wt wr wb < <(line_of '"type":"window"' | sed -n 's/.*"rect":\[\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\)\].*/\1 \2 \3 \4/p')
if [ -f "$png" ] && [ "$(bytes_hex "$png" 0 8)" = "89504e470d0a1a0a" ]; then ok "snap wrote a PNG signature"; else not_ok "snap wrote no PNG" ; fi
if [ -f "$png" ] && [ "$(bytes_hex "$png" 12 4)" = "49484452" ]; then ok "PNG starts with IHDR"; else not_ok "PNG lacks IHDR"; fi
png_w=$((16#$(bytes_hex "$png" 16 4)))
png_h=$((16#$(bytes_hex "$png" 20 4)))
if [ "$png_w" = "$((wr - wl))" ] && [ "$png_h" = "$((wb - wt))" ] && [ "$png_w" = "$snap_w" ] && [ "$png_h" = "$snap_h" ]; then
  ok "PNG is ${png_w}x${png_h}, the window's size"
else
  not_ok "PNG size ${png_w}x${png_h}, window $((wr - wl))x$((wb - wt)), snap said ${snap_w}x${snap_h}"
fi
if [ "$(tail -c 12 "$png" | od -An -tx1 | tr -d ' \n')" = "0000000049454e44ae426082" ]; then ok "PNG ends with IEND"; else not_ok "PNG lacks a proper IEND"; fi
if command -v python3 >/dev/null 2>&1; then
  if python3 - "$png" <<'EOF'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
pos, idat, size = 8, b"", None
while pos < len(data):
    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if zlib.crc32(kind + body) != struct.unpack(">I", data[pos + 8 + n:pos + 12 + n])[0]:
        sys.exit("bad CRC in " + kind.decode())
    if kind == b"IHDR":
        size = struct.unpack(">II", body[:8])
    if kind == b"IDAT":
        idat += body
    pos += 12 + n
w, h = size
rows = zlib.decompress(idat)
if len(rows) != (w * 3 + 1) * h:
    sys.exit("pixel data has the wrong length")
pixels = {rows[y * (w * 3 + 1) + 1:(y + 1) * (w * 3 + 1)] for y in range(h)}
if len(pixels) < 3:
    sys.exit("picture is (nearly) blank")
EOF
  then ok "PNG chunks have good CRCs and the pixels inflate to a non-blank picture"
  else not_ok "PNG does not decode"
  fi
else
  skip "PNG decoding (no python3)"
fi
if [ -f "$TMP/box.png" ] && [ "$(bytes_hex "$TMP/box.png" 0 8)" = "89504e470d0a1a0a" ]; then
  ok "snap of the message box wrote a PNG"
else
  not_ok "snap of the message box wrote no PNG"
fi
bmp="$TMP/shot.bmp"
if [ -f "$bmp" ] && [ "$(bytes_hex "$bmp" 0 2)" = "424d" ]; then ok "snap .bmp writes a BMP"; else not_ok "snap .bmp wrote no BMP"; fi
bmp_w=$(od -An -tu4 -j 18 -N 4 "$bmp" 2>/dev/null | tr -d ' ')
bmp_h=$(od -An -tu4 -j 22 -N 4 "$bmp" 2>/dev/null | tr -d ' ')
if [ "$bmp_w" = "$png_w" ] && [ "$bmp_h" = "$png_h" ]; then ok "BMP has the same size"; else not_ok "BMP is ${bmp_w}x${bmp_h}"; fi

echo "# state across invocations with attach, and refusals"
drive start "$FIXTURE_W" -- wait-window --title-contains "Fixture" 20000
remember_pid
expect_rc "start a second fixture" 0
if [ -z "$pid" ]; then
  not_ok "start printed no {\"pid\":N} line" "output: $(head -c 600 "$TMP/out")"
else
  drive attach "$pid" -- wait-window --class vntwizfixture 5000 -- click name:VN_message -- wait-msgbox 10000 \
    -- press no -- get name:VN_label
  expect_rc "attach by pid and answer No" 0
  has_line "No reached the program" '"text":"answer: no"'

  drive attach "$pid" -- wait-window 5000 -- click name:VN_disabled
  expect_rc "clicking a disabled button fails" 1
  err_has "and says why" "is disabled"

  drive attach "$pid" -- wait-window 5000 -- click name:VN_hello -- bogus
  expect_rc "an unknown command fails before anything runs" 1
  err_has "and names it" "unknown command 'bogus'"
  drive attach "$pid" -- wait-window 5000 -- get name:VN_label
  line_has "the disabled button and the rejected sequence changed nothing" '"name":"VN_label"' '"text":"answer: no"'

  drive attach "$pid" -- wait-window 5000 -- click name:VN_nothing
  expect_rc "a missing control fails" 1
  err_has "and names it" "no control named 'VN_nothing'"
  drive attach "$pid" -- wait-window 5000 -- click id:101 -- get class:Static#1
  line_has "id: and class:#index find controls" '"name":"VN_label"' '"text":"clicked: Hello"'
  drive attach "$pid" -- wait-window 5000 -- select name:VN_list Delta
  expect_rc "selecting a missing item fails" 1
  err_has "and says so" "no item 'Delta'"
  drive attach "$pid" -- wait-window 5000 -- select name:VN_list '#9'
  expect_rc "selecting past the end fails" 1
  drive attach "$pid" -- wait-window 5000 -- type name:VN_hello text
  expect_rc "typing into a button fails" 1
  drive attach "$pid" -- wait-window 5000 -- check name:VN_hello 1
  expect_rc "checking a push button fails" 1
  drive attach "$pid" -- wait-window 5000 -- click nonsense
  expect_rc "a malformed control fails" 1
  drive attach "$pid" -- wait-window 5000 -- msgbox
  expect_rc "msgbox without a message box fails" 1
  drive attach "$pid" -- wait-window 5000 -- snap "$(winpath "$TMP/shot.gif")"
  expect_rc "snap to an unknown format fails" 1

  drive attach "$pid" -- wait-window 5000 -- press message -- wait-msgbox 10000 -- press No -- get name:VN_label
  expect_rc "press works on any window's buttons" 0
  has_line "pressing a button of the main window does not wait for it to close" \
    '{"ok":"press","button":"&Message","closed":false}'
  line_has "after the box the main window is current again" '"name":"VN_label"' '"text":"answer: no"'

  start_s=$(date +%s)
  drive attach "$pid" -- wait-window 5000 -- wait-msgbox 500
  expect_rc "wait-msgbox times out with exit 2" 2
  drive attach "$pid" -- wait-window --title "No Such Window" 500
  expect_rc "wait-window times out with exit 2" 2
  err_has "and says what it waited for" "window titled 'No Such Window'"
  drive attach "$pid" -- wait-exit 300
  expect_rc "wait-exit on a running process times out with exit 2" 2
  if [ $(( $(date +%s) - start_s )) -lt 30 ]; then ok "time-outs are kept"; else not_ok "time-outs took $(( $(date +%s) - start_s )) s"; fi

  drive attach "$pid" -- kill -- wait-exit 5000
  expect_rc "kill" 0
  has_line "a killed process exits with 1" '{"exit":1}'
  drive attach "$pid"
  expect_rc "attaching to an ended process fails" 1
fi

echo "# processes that never show a window, and bad arguments"
drive start "$DRIVER_W" sleep 4000 -- wait-window 700
expect_rc "a process without a window times out" 2
err_has "with a clear message" "no window appeared within 700 ms"
drive start "$DRIVER_W" help -- wait-window 10000
expect_rc "a process that ends while we wait fails at once" 1
err_has "and reports its exit code" "ended with exit code 0"
drive start 'Z:\no\such\program.exe'
expect_rc "starting a missing program fails" 1
drive attach notapid
expect_rc "a bad pid fails" 1
drive list
expect_rc "list without a window fails" 1
drive click
expect_rc "a missing argument fails" 1
drive list -- -- list
expect_rc "an empty command fails" 1
drive
expect_rc "no arguments prints usage and fails" 1

if [ "$skipped" -gt 0 ]; then echo "$passed passed, $failed failed, $skipped skipped"; else echo "$passed passed, $failed failed"; fi
[ "$failed" -eq 0 ]
