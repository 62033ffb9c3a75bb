#!/usr/bin/env bash
# Checks that every include in src/ and tools/ names its folder and goes down the layer order
# written in docs/ARCHITECTURE.md, and that code outside win32/ folders stays free of Win32.
# A file's layer is the folder right under src/ or tools/, however deep it sits; anything
# with win32/ in its path, a subfolder of a win32/ folder too, is Win32 code.
# Usage: check-layers.sh [ROOT]   (ROOT defaults to the repository holding this script)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# The order: the lines between the two markers, "folder: the folders it may include".
layers=$(sed -n '/^<!-- layers -->$/,/^<!-- end of layers -->$/p' docs/ARCHITECTURE.md | grep ':' || true)
if [ -z "$layers" ]; then
  echo "check-layers: no layer order found in docs/ARCHITECTURE.md" >&2
  exit 2
fi

files=$(find src tools -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
# grep prints file:line:text; awk judges each include against the order.
# shellcheck disable=SC2086
grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' $files | awk -v layers="$layers" '
  BEGIN {
    n = split(layers, rows, "\n")
    for (i = 1; i <= n; i++) {
      split(rows[i], kv, ":")
      name = kv[1]; gsub(/[^a-z0-9_]/, "", name)
      known[name] = 1
      m = split(kv[2], deps, " ")
      for (j = 1; j <= m; j++) allowed[name, deps[j]] = 1
      if (kv[2] ~ /\*/) anything[name] = 1
    }
    bad = 0
  }
  function fail(msg) { print msg; bad = 1 }
  {
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    target = rest; sub(/^[^"]*"/, "", target); sub(/".*/, "", target)
    split(file, parts, "/")
    from = parts[2]           # src/<folder>/..., src/<folder>/win32/<room>/... or tools/<folder>/...
    where = file ":" line
    split(target, tparts, "/")
    to = tparts[1]
    if (!(to in known) || index(target, "/") == 0) {
      fail(where ": include \"" target "\" does not name its folder")
      next
    }
    if (from != to && !(from in anything) && !((from, to) in allowed)) {
      fail(where ": " from " includes " to " (\"" target "\"), which is not below it")
      next
    }
    if (from != "app" && file !~ /\/win32\// && target ~ /\/win32\//)
      fail(where ": code outside win32/ includes the Win32 header \"" target "\"")
  }
  END { exit bad }
' || { echo "check-layers: the includes above break the layer order of docs/ARCHITECTURE.md" >&2; exit 1; }

# Every included project header must exist where the include says.
status=0
while IFS=: read -r file line target; do
  if [ ! -f "src/$target" ] && [ ! -f "tools/$target" ]; then
    echo "$file:$line: \"$target\" is neither under src/ nor under tools/"
    status=1
  fi
done < <(grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' $files | sed 's/^\([^:]*\):\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2:\3/')
[ $status -eq 0 ] || { echo "check-layers: includes of missing headers" >&2; exit 1; }
echo "check-layers: $(echo "$files" | wc -l) files follow the layer order"
