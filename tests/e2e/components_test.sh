#!/usr/bin/env bash
# The components page of pagefixture driven as a user would: checks clicked in and beside the
# check column, the space bar, a component with nothing to install, the sizes and the required
# space following the checks, the description following the picked component, and the setup
# types switching the selection and bringing the custom one back. The checks are read through
# the UI driver, the selection the setup keeps through the page's Show button, which appends
# it to pages-out.txt. Pictures go to build/e2e-pages/.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-pages"
mkdir -p "$pictures"

win() { printf 'Z:%s' "${1//\//\\}"; }
drive() { driver attach "$pid" -- wait-window --title "Choose Components" 20000 -- "$@"; }
list=name:VN_Components_ListBox1
# The check states of the five components, e.g. "1 1 0 0 0", and which of them are enabled.
items() { drive items "$list" | grep '"type":"item"'; }
checks() { items | sed -n 's/.*"check":\([0-9]\).*/\1/p' | xargs; }
enabled() { items | sed -n 's/.*"enabled":\([a-z]*\).*/\1/p' | xargs; }
label() { drive get "name:VN_Components_Label$1" | grep '"type":"control"' | sed -n 's/.*"text":"\([^"]*\)".*/\1/p'; }
# The setup's selection as the Show button writes it: the lines after the last "--".
saved="$work/pages-out.txt"
selection() {
  drive click name:VN_Components_Button1 -- sleep 200 >/dev/null
  tr -d '\r' <"$saved" | awk '/^--$/ { s = ""; next } { s = s (s ? " " : "") $0 } END { print s }'
}
# Item n (from 0) is 18 pixels high: a click at x in its middle.
click_item() { drive click-at "$list" "$2" $(( $1 * 18 + 9 )) >/dev/null; }
type_radio() { drive check "name:VN_Components_RadioBox$1" 1 >/dev/null; }

"$host/pagefixture" components "$win32/vntsetup.exe" "$work/setup.exe"
out=$(driver start "$(win "$work/setup.exe")" -- wait-window --title "Choose Components" 30000 -- list \
      -- items "$list" -- snap "$(win "$pictures/components.png")")
pid=$(pid_of "$out")

# Docs has a damaged picture file and Extras a missing one: both are listed without a picture.
# --- Typical: Program|Docs|Nothing, where Nothing holds nothing and is not kept.
expect "the list shows the components in order" "$(printf '%s\n' "$out" | grep '"type":"item"' | \
  sed -n 's/.*"text":"\([^"]*\)".*/\1/p' | xargs)" "Program Docs Samples Nothing Extras"
same "typical: Program and Docs are checked, Nothing is not" "$(checks)" "1 1 0 0 0"
same "a component with nothing to install is disabled, one with a shortcut only is not" "$(enabled)" \
  "true true true false true"
same "typical: the selection drops the component with nothing to install" "$(selection)" "Program Docs"
same "typical: the required space is that of Program and Docs" "$(label 4)" "2.5 MB"
same "no component picked: no description" "$(label 2)" ""

# --- Picking a component shows its description; clicks beside the check only pick.
drive select "$list" Samples >/dev/null
same "picking Samples shows its description" "$(label 2)" "Sample files to learn from."
click_item 2 100
same "a click beside the check column changes no check" "$(checks)" "1 1 0 0 0"
click_item 2 7
same "a click in the check column checks Samples" "$(checks)" "1 1 1 0 0"
same "the selection follows the check" "$(selection)" "Program Docs Samples"
same "the required space follows the check" "$(label 4)" "3.6 MB"
click_item 3 7
same "a click on the check of the empty component does nothing" "$(checks)" "1 1 1 0 0"
drive select "$list" Docs -- key "$list" space >/dev/null
same "the space bar unchecks the focused Docs" "$(checks)" "1 0 1 0 0"
same "picking Docs showed its description" "$(label 2)" "The manuals."
drive snap "$(win "$pictures/components-checked.png")" >/dev/null

# --- Setup types: Compact, Custom (its own list), back to Typical and Custom again.
type_radio 2
same "compact: only the program" "$(checks)" "1 0 0 0 0"
same "compact: the required space follows the type" "$(label 4)" "2 MB"
type_radio 3
same "custom: the custom selection of the package" "$(checks)" "1 0 1 0 0"
click_item 4 7
same "custom: Extras checked by the user" "$(checks)" "1 0 1 0 1"
same "custom: the selection has Extras" "$(selection)" "Program Samples Extras"
type_radio 1
same "typical again: the typical components" "$(checks)" "1 1 0 0 0"
type_radio 3
same "custom again: the user's custom choice is back" "$(checks)" "1 0 1 0 1"
same "custom again: so is the selection" "$(selection)" "Program Samples Extras"
# Checks changed under Compact are that run's selection only: neither list takes them.
type_radio 2
click_item 2 7
same "compact: a check changed while Compact is chosen" "$(checks)" "1 0 1 0 0"
type_radio 1
type_radio 2
same "compact again: its own list, not the changed checks" "$(checks)" "1 0 0 0 0"
type_radio 3
same "custom after that: the user's custom choice, untouched" "$(checks)" "1 0 1 0 1"

# --- The page is built once: Next and Back show the checks as left.
drive click name:VN_Components_Button3 -- wait-window --title "Done" 10000 -- click name:VN_Done_Button1 >/dev/null
same "back on the page: the checks as left" "$(checks)" "1 0 1 0 1"
out=$(drive click name:VN_Components_Button3 -- wait-window --title "Done" 10000 -- click name:VN_Done_Button2 \
  -- wait-exit 20000)
expect "finish: the setup ends" "$out" '"exit":0'
pid=""
e2e_end
