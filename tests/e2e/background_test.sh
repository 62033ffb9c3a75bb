#!/usr/bin/env bash
# The background window. "Back Tour" (built by vntbuild) runs on the whole screen: a vertical
# gradient from blue to black, a red picture centred over it, a green logo with a magenta
# frame left out flying in to the top right, and two texts stacked in the bottom left, the
# lower one %SoftwareName%. The wizard stands centred over it. Renamed by a button, the text
# shows the new name once the window is activated again; closed from the background window,
# the setup asks, runs its close script and ends as cancelled. Two more runs: equal colours
# give a plain fill in a window of seven eighths of the screen; a maximised window tiles its
# picture. Pictures of each under build/e2e-background/.
source "$(dirname "$0")/lib.sh"
pictures="$root/build/e2e-background"
mkdir -p "$pictures"
win() { printf 'Z:%s' "${1//\//\\}"; }
src="$work/back"
mkdir -p "$src"
python3 - "$src" <<'EOF'
import struct, sys
def bmp(path, w, h, pixel):
    row = (w * 3 + 3) & ~3
    data = b"".join(b"".join(bytes(pixel(x, y)) for x in range(w)) + b"\0" * (row - w * 3) for y in range(h - 1, -1, -1))
    head = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, "wb").write(head + info + data)
bmp(sys.argv[1] + "/centre.bmp", 600, 400, lambda x, y: (0, 0, 255))
bmp(sys.argv[1] + "/tile.bmp", 50, 30, lambda x, y: (0, 0, 255) if x else (255, 255, 255))
bmp(sys.argv[1] + "/logo.bmp", 40, 20, lambda x, y: (255, 0, 255) if x < 4 or y < 4 else (0, 255, 0))
EOF
cat >"$src/close.vns" <<'EOF'
FileOpen "%Status%", "%SourceDir%\\closed.txt", "0"
FileWriteLine "close script: %CanClose% %IsFinishingSetup%"
FileClose
EOF
# project <file> <background object>
project() {
  cat >"$src/$1" <<EOF
{
  "product": {"name": "Back Tour", "company": "Vantry Tests", "installDir": "%SourceDir%\\\\never"},
  "options": {"backgroundWindow": true},
  "supportFiles": [{"source": "centre.bmp"}, {"source": "tile.bmp"}, {"source": "logo.bmp"}],
  "background": $2,
  "variables": [{"name": "Edition", "default": "Basic"}],
  "scripts": {"close": {"file": "close.vns"}},
  "dialogs": [
    {"name": "Main", "title": "Back Tour", "width": 300, "height": 120, "controls": [
      {"kind": "button", "left": 20, "top": 40, "width": 100, "height": 23, "caption": "Rename",
       "script": "AssignVariable \\"%Edition%\\", \\"Professional Edition\\""},
      {"kind": "button", "left": 160, "top": 40, "width": 100, "height": 23, "caption": "Close",
       "script": "CancelSetup"}
    ]},
    {"name": "Done", "title": "Back Tour", "width": 300, "height": 120}
  ]
}
EOF
  "$host/vntbuild" build "$src/$1" -o "$work/${1%.json}.exe" --stub "$win32/vntsetup.exe" >>"$err" 2>&1 ||
    fail "${1%.json} does not build"
}
items='[
  {"text": "%SoftwareName% %Edition%", "position": "bottomLeft", "font": {"size": 20, "color": "#FFFFFF"},
   "shadow": true, "shadowColor": "#000000"},
  {"text": "Second line", "position": "bottomLeft", "font": {"size": 12, "color": "#FFFF00"}},
  {"picture": "logo.bmp", "position": "topRight", "transparent": true, "transparentColor": "#FF00FF",
   "effect": "fromBottom"}]'
project tour.json "{\"bitmap\": \"centre.bmp\", \"mode\": \"center\", \"color1\": \"#0000FF\", \"color2\": \"#000000\",
  \"gradient\": \"vertical\", \"size\": \"fullScreen\", \"items\": $items}"
project plain.json '{"color1": "#008000", "color2": "#008000", "size": "centered"}'
project tiled.json '{"bitmap": "tile.bmp", "mode": "tile", "color1": "#0000FF", "color2": "#000000", "size": "maximized"}'

# A picture's pixels: "B G R" at (x, y) of a 24-bit .bmp that wizdriver wrote.
pixel() {
  local w h row
  w=$(od -An -tu4 -j18 -N4 "$1" | tr -d ' '); h=$(od -An -tu4 -j22 -N4 "$1" | tr -d ' ')
  row=$(( (w * 3 + 3) / 4 * 4 ))
  od -An -tu1 -j$(( 54 + (h - 1 - $3) * row + $2 * 3 )) -N3 "$1" | xargs
}
# Rows (top, bottom) and columns (left, right) of the pixels of a colour class in a region.
extent() {  # file class x0 y0 x1 y1 -> "top bottom left right" or ""
  python3 - "$@" <<'EOF'
import struct, sys
path, kind, x0, y0, x1, y1 = sys.argv[1], sys.argv[2], *map(int, sys.argv[3:])
d = open(path, "rb").read()
w, h = struct.unpack_from("<ii", d, 18)
row = (w * 3 + 3) // 4 * 4
test = {"white": lambda b, g, r: min(b, g, r) > 200, "yellow": lambda b, g, r: r > 200 and g > 200 and b < 80}[kind]
hits = [(x, y) for y in range(y0, y1) for x in range(x0, x1) if test(*d[54 + (h - 1 - y) * row + x * 3:][:3])]
if hits:
    print(min(y for _, y in hits), max(y for _, y in hits), min(x for x, _ in hits), max(x for x, _ in hits))
EOF
}
# The client area's offset in a snap of a framed window: "x y" from its window line.
client_offset() {
  local line r c
  line=$(printf '%s\n' "$1" | grep '"type":"window"' | grep "\"class\":\"$2\"" | head -1)
  IFS=, read -r -a r <<<"$(printf '%s' "$line" | sed -n 's/.*"rect":\[\([-0-9,]*\)\].*/\1/p')"
  IFS=, read -r -a c <<<"$(printf '%s' "$line" | sed -n 's/.*"client":\[\([0-9,]*\)\].*/\1/p')"
  local border=$(( (r[2] - r[0] - c[0]) / 2 ))
  echo "$border $(( r[3] - r[1] - c[1] - border ))"
}
rect_of() { printf '%s\n' "$1" | grep "\"class\":\"$2\"" | head -1 | sed -n 's/.*"rect":\[\([-0-9,]*\)\].*/\1/p'; }

# --- Back Tour on the whole screen.
out=$(driver start "$(win "$work/tour.exe")" -- wait-window --class TfrmSetupMain 60000 -- wait-window --class TfrmBackWindow 5000)
pid=$(pid_of "$out")
on_back() { driver attach "$pid" -- wait-window --class TfrmBackWindow 10000 -- "$@"; }
on_wizard() { driver attach "$pid" -- wait-window --class TfrmSetupMain 10000 -- "$@"; }
back=$(rect_of "$out" TfrmBackWindow) wizard=$(rect_of "$(on_wizard list)" TfrmSetupMain)
IFS=, read -r bl bt br bb <<<"$back"
IFS=, read -r wl wt wr wb <<<"$wizard"
screen_w=$br screen_h=$bb
same "the background window covers the whole screen" "$bl,$bt" "0,0"
same "the wizard stands centred over it" "$(( (wl + wr) / 2 - br / 2 < 2 && (wl + wr) / 2 - br / 2 > -2 ))$(( (wt + wb) / 2 - bb / 2 < 2 && (wt + wb) / 2 - bb / 2 > -2 ))" "11"
shot="$pictures/tour.bmp"
on_back snap "$(win "$shot")" >/dev/null
# 64 steps over 63 stripes' room: the last row shows step 62, the last step lies past the edge.
same "the gradient runs from the first colour at the top towards the second at the bottom" \
  "$(pixel "$shot" 100 1) | $(pixel "$shot" 100 $((screen_h - 1)))" "255 0 0 | 5 0 0"
mid=$(pixel "$shot" $((screen_w / 2 - 310)) $((screen_h / 2)))
same "the picture sits centred over the gradient" \
  "$(pixel "$shot" $((screen_w / 2 - 295)) $((screen_h / 2 - 195)))|$(pixel "$shot" $((screen_w / 2 + 295)) $((screen_h / 2 + 195)))|${mid#* }" \
  "0 0 255|0 0 255|0 0"
logo_x=$((screen_w - 40 - 12 + 4)) logo_y=8
same "the logo flew in to the top right, its magenta frame left out" \
  "$(pixel "$shot" $((logo_x + 20)) $((logo_y + 10)))|$(pixel "$shot" $((logo_x + 1)) $((logo_y + 1)))" \
  "0 255 0|$(pixel "$shot" $((logo_x - 30)) $((logo_y + 1)))"
read -r white_top white_bottom _ white_right <<<"$(extent "$shot" white 0 $((screen_h - 200)) 400 "$screen_h")"
read -r yellow_top yellow_bottom _ _ <<<"$(extent "$shot" yellow 0 $((screen_h - 200)) 400 "$screen_h")"
[ -n "$white_bottom" ] && [ -n "$yellow_bottom" ] && [ "$white_bottom" -lt $((screen_h - 4)) ] &&
  [ "$yellow_bottom" -lt "$white_top" ] && pass "the two bottom-left texts stack upwards, the first lowest" ||
  fail "bottom-left texts: white rows $white_top-$white_bottom, yellow rows $yellow_top-$yellow_bottom (screen $screen_h)"

# %Edition% changed: the text shows the new value once the window is activated again.
on_wizard click text:Rename >/dev/null
on_back activate >/dev/null
sleep 0.5
on_back snap "$(win "$pictures/renamed.bmp")" >/dev/null
read -r _ _ _ renamed_right <<<"$(extent "$pictures/renamed.bmp" white 0 $((screen_h - 200)) 900 "$screen_h")"
[ -n "$renamed_right" ] && [ "$renamed_right" -gt $((white_right + 50)) ] && pass "activated again, the text shows the variable's new value" ||
  fail "the renamed text ends at [$renamed_right], the old one at [$white_right]"

# Closed from the background window: the question, the close script, the end as cancelled.
out=$(on_back close -- wait-msgbox 10000 -- msgbox -- press Yes -- wait-exit 30000)
expect "closing it asks" "$out" "Do you want to close the Setup?"
expect "and ends the setup as cancelled" "$out" '"exit":2'
pid=""
same "the close script ran" "$(tr -d '\r' <"$work/closed.txt" 2>/dev/null)" "close script: 1 0"

# --- Equal colours: a plain fill, in a window of seven eighths of the screen, centred.
out=$(driver start "$(win "$work/plain.exe")" -- wait-window --class TfrmSetupMain 60000 -- wait-window --class TfrmBackWindow 5000)
pid=$(pid_of "$out")
IFS=, read -r pl pt pr pb <<<"$(rect_of "$out" TfrmBackWindow)"
same "seven eighths of the screen, centred" "$((pr - pl))x$((pb - pt)) at $pl,$pt" \
  "$((screen_w - screen_w / 8))x$((screen_h - screen_h / 8)) at $(( (screen_w - (screen_w - screen_w / 8)) / 2 )),$(( (screen_h - (screen_h - screen_h / 8)) / 2 ))"
on_back snap "$(win "$pictures/plain.bmp")" >/dev/null
read -r ox oy <<<"$(client_offset "$out" TfrmBackWindow)"
same "equal colours fill it plainly" \
  "$(pixel "$pictures/plain.bmp" $((ox + 2)) $((oy + 2)))|$(pixel "$pictures/plain.bmp" $((ox + 300)) $((oy + 120)))|$(pixel "$pictures/plain.bmp" $((ox + 60)) $((pb - pt - 20)))" \
  "0 128 0|0 128 0|0 128 0"
out=$(on_wizard click text:Close -- wait-msgbox 10000 -- press Yes -- wait-exit 30000)
expect "Close on its page asks and ends the setup" "$out" '"exit":2'
pid=""

# --- Maximised, the picture tiled from the top-left corner.
out=$(driver start "$(win "$work/tiled.exe")" -- wait-window --class TfrmSetupMain 60000 -- wait-window --class TfrmBackWindow 5000)
pid=$(pid_of "$out")
# Asked to show maximised; Wine on a bare X server has no window manager to maximise it, so
# only the tiling is checked.
on_back snap "$(win "$pictures/tiled.bmp")" >/dev/null
read -r ox oy <<<"$(client_offset "$out" TfrmBackWindow)"
tile() { pixel "$pictures/tiled.bmp" $((ox + $1)) $((oy + $2)); }
same "the picture is tiled from the top left" "$(tile 10 10)|$(tile 50 31)|$(tile 100 60)|$(tile 151 100)" \
  "0 0 255|255 255 255|255 255 255|0 0 255"
out=$(on_back close -- wait-msgbox 10000 -- press Yes -- wait-exit 30000)
expect "closed, it ends" "$out" '"exit":2'
pid=""
e2e_end
