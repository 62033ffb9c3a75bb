#!/usr/bin/env bash
# The page controls built from a dialog definition (pagepreview.exe): names, classes, texts
# and places as the UI driver sees them, their events when driven, and a picture of the page
# (kept as build/e2e-controls/page.bmp) whose pixels show transparency where it belongs.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-controls"
mkdir -p "$pictures"

drive() { driver attach "$pid" -- wait-window --title "Page preview" 20000 -- "$@"; }

out=$(driver start "$(winepath -w "$win32/pagepreview.exe")" -- wait-window --title "Page preview" 30000 -- list)
pid=$(pid_of "$out")
expect "the page shows at the dialog's client size" "$out" '"client":[600,419]'

# Every kind, named after the page with its kind's suffix and a number, as the class it is.
for pair in Label1:Static Label4:Static TextBox1:Edit Button3:Button CheckBox3:Button RadioBox3:Button \
            ListBox1:ListBox ComboBox2:ComboBox License1:RichEdit20A NotDeleted:skip MemoList1:Edit \
            DirList1:ListBox DriveCombo1:ComboBox Image3:TVNImage ImageButton2:TVNImageButton Line2:TVNLine \
            Shape7:TVNShape Frame1:TVNFrame Progress1:msctls_progress32; do
  name=VN_Preview_${pair%%:*} class=${pair#*:}
  [ "$class" = skip ] && continue
  expect "$name is a $class" "$(line_of "$out" "$name")" "\"class\":\"$class\""
done
# Height before width: the buttons are 23 high and 75 wide.
expect "button place" "$(line_of "$out" VN_Preview_Button1)" '"rect":[340,388,415,411]'
expect "label place" "$(line_of "$out" VN_Preview_Label1)" '"rect":[90,14,490,38]'
expect "a line 2 high is drawn 4 high" "$(line_of "$out" VN_Preview_Line2)" '"rect":[0,378,600,382]'
expect "edit text as stored" "$(line_of "$out" VN_Preview_TextBox1)" '"text":"C:\\Program Files\\Preview"'
expect "editable combo shows its value" "$(line_of "$out" VN_Preview_ComboBox1)" '"text":"Green"'
expect "list-only combo shows its value" "$(line_of "$out" VN_Preview_ComboBox2)" '"text":"Medium"'
expect "radio checked from the package" "$(line_of "$out" VN_Preview_RadioBox1)" '"checked":1'
expect "check box with %X% starts unchecked" "$(line_of "$out" VN_Preview_CheckBox2)" '"checked":0'
expect "licence file loaded" "$(line_of "$out" VN_Preview_License1)" 'http://www.example.com/licence'

# A picture of the page as first shown.
drive snap "$(winepath -w "$pictures/page.bmp")" >/dev/null
bmp="$pictures/page.bmp"
pixel() {  # client x, client y -> "B G R"
  local w h cw=600 ch=419 left top row
  w=$(od -An -tu4 -j18 -N4 "$bmp" | tr -d ' ')
  h=$(od -An -tu4 -j22 -N4 "$bmp" | tr -d ' ')
  left=$(( (w - cw) / 2 )); top=$(( h - ch - left ))
  row=$(( (w * 3 + 3) / 4 * 4 ))
  od -An -tu1 -j$(( 54 + (h - 1 - top - $2) * row + (left + $1) * 3 )) -N3 "$bmp" | xargs
}
if [ -s "$bmp" ]; then
  shape=$(pixel 80 100) face=$(pixel 5 372)
  differ "the banner shape is painted" "$shape" "$face"
  same "check box over the shape shows the shape" "$(pixel 262 88)" "$shape"
  same "radio button over the shape shows the shape" "$(pixel 460 88)" "$shape"
  same "transparent label shows the shape" "$(pixel 565 70)" "$shape"
  same "check box over a picture shows the picture" "$(pixel 560 356)" "200 80 30"
  same "opaque label has the panel's colour" "$(pixel 185 233)" "$face"
  same "a 3 by 3 picture button paints only its frame" "$(pixel 51 349)" "$face"
  differ "a picture button paints its picture" "$(pixel 20 349)" "$face"
else
  failed=$((failed + 1)); echo "FAIL: no picture of the page"; cat "$work/stderr.txt"
fi

# Driving the controls: each event shows in the events label.
events() { line_of "$(drive get name:VN_Preview_Label4)" VN_Preview_Label4; }
drive type name:VN_Preview_TextBox1 'D:\Other' >/dev/null
expect "typing is the text box's change event" "$(events)" '"text":"VN_Preview_TextBox1: D:\\Other"'
drive click name:VN_Preview_CheckBox1 >/dev/null
expect "check box click, checked value" "$(events)" '"text":"VN_Preview_CheckBox1: 1"'
drive click name:VN_Preview_CheckBox2 >/dev/null
expect "check box of own values" "$(events)" '"text":"VN_Preview_CheckBox2: yes"'
drive check name:VN_Preview_RadioBox3 1 >/dev/null
expect "radio click, its value" "$(events)" '"text":"VN_Preview_RadioBox3: 2"'
expect "the other radio is cleared" "$(drive get name:VN_Preview_RadioBox2)" '"checked":0'
drive select name:VN_Preview_ListBox1 Gamma >/dev/null
expect "list pick is the value" "$(events)" '"text":"VN_Preview_ListBox1: Gamma"'
drive select name:VN_Preview_ComboBox1 Blue >/dev/null
expect "editable combo pick" "$(events)" '"text":"VN_Preview_ComboBox1: Blue"'
drive select name:VN_Preview_ComboBox2 Large >/dev/null
expect "list-only combo pick" "$(events)" '"text":"VN_Preview_ComboBox2: Large"'
drive click name:VN_Preview_Button2 >/dev/null
expect "button click" "$(events)" '"text":"VN_Preview_Button2: &Next >"'
drive click name:VN_Preview_ImageButton1 >/dev/null
expect "picture button click" "$(events)" '"text":"VN_Preview_ImageButton1: button.bmp"'
drive click name:VN_Preview_Label1 >/dev/null
expect "label click" "$(events)" '"text":"VN_Preview_Label1: Welcome to the Preview Setup"'
drive select name:VN_Preview_DirList1 '#0' >/dev/null
expect "directory list stays on its folder until an entry is opened" "$(events)" 'VN_Preview_Label1'

# The page after the clicks: the checked boxes still show what lies behind them.
drive snap "$(winepath -w "$pictures/page-driven.bmp")" >/dev/null
bmp="$pictures/page-driven.bmp"
if [ -s "$bmp" ]; then
  same "checked box over the shape still shows the shape" "$(pixel 262 88)" "$shape"
  expect "the check box over the shape is checked" "$(drive get name:VN_Preview_CheckBox1)" '"checked":1'
else
  failed=$((failed + 1)); echo "FAIL: no picture of the driven page"
fi

out=$(driver attach "$pid" -- kill)
expect "the preview ends" "$out" '"ok":"kill"'
pid=""

# The same page read back from a stored dialog section; a damaged section is refused.
wine "$win32/pagepreview.exe" --save "$(winepath -w "$work/section.bin")" >/dev/null 2>>"$work/stderr.txt"
out=$(driver start "$(winepath -w "$win32/pagepreview.exe")" "$(winepath -w "$work/section.bin")" \
      Preview -- wait-window --title "Page preview" 30000 -- list -- kill)
expect "stored page: buttons" "$(line_of "$out" VN_Preview_Button3)" '"rect":[510,388,585,411]'
expect "stored page: check box value" "$(line_of "$out" VN_Preview_CheckBox3)" '"checked":1'
head -c 300 "$work/section.bin" > "$work/damaged.bin"
out=$(driver start "$(winepath -w "$win32/pagepreview.exe")" "$(winepath -w "$work/damaged.bin")" -- wait-exit 30000)
expect "damaged section: no page, exit 2" "$out" '"exit":2'

e2e_end
