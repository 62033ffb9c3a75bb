#!/usr/bin/env bash
# The command reference marks exactly the commands that the setup does not carry out yet, and
# the docs use one form for such marks. Checked on the tree, then on scratch copies with
# planted faults, each of which must fail with the place of the fault.
#
# The commands come from vntbuild (`script not-yet`), which lists the table that the setup
# registers as commands that do nothing. In docs/script-commands.md, a command's entry is
# marked when the first line after its heading is "> **Not yet in this build.** ...". Every
# line of README.md and docs/*.md that says "not yet" says it as "**Not yet in this build.**".
set -uo pipefail
vntbuild=${1:?usage: docs_not_yet_test.sh <vntbuild>}
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
mark='> **Not yet in this build.**'

# check_marks DOC LIST: the marked entries of DOC are exactly the commands of LIST.
check_marks() {
  awk -v doc="$1" -v list="$2" -v mark="$mark" '
    BEGIN { while ((getline row < list) > 0) { split(row, f, " "); pending[f[2]] = f[1] } }
    # One command per heading: "### `Name` (opcode)".
    /^### `[A-Za-z]+` \([0-9]+\)$/ { name = $2; gsub(/`/, "", name); at = FNR; next }
    name != "" && /^[ \t]*$/ { next }
    name != "" {
      marked = index($0, mark) == 1
      seen[name] = 1
      if ((name in pending) && !marked) { print doc ":" at ": " name " does nothing yet but its entry is not marked"; bad = 1 }
      if (!(name in pending) && marked) { print doc ":" at ": " name " is marked, but the setup carries it out"; bad = 1 }
      name = ""
    }
    END {
      for (n in pending) if (!(n in seen)) { print doc ": no entry for " n ", which does nothing yet"; bad = 1 }
      exit bad
    }' "$1"
}

# check_form DIR README: "not yet" only in the one marking form.
check_form() {
  grep -n -i -E '(^|[^a-z-])not yet([^a-z-]|$)' "$1"/*.md "$2" | grep -v -F '**Not yet in this build.**' |
    sed 's/$/  <- "not yet" outside the mark "**Not yet in this build.**"/' | grep . && return 1
  return 0
}

check_docs() {
  local errors=0
  check_marks "$1/script-commands.md" "$scratch/list" || errors=1
  check_form "$1" "$2" || errors=1
  return $errors
}

"$vntbuild" script not-yet > "$scratch/list" || { echo "FAIL vntbuild script not-yet failed"; exit 1; }
# The list is a table of known commands, empty once every command is carried out: every line
# an opcode and the name vntbuild compiles.
if grep -vqE '^[0-9]+ [A-Za-z]+$' "$scratch/list"; then
  echo "FAIL vntbuild script not-yet gives no list of commands:"; cat "$scratch/list"; exit 1
fi

if out=$(check_docs "$root/docs" "$root/README.md"); then
  echo "ok   docs: $(wc -l < "$scratch/list") commands that do nothing yet, each marked, no other marked"
else echo "FAIL docs:"; echo "$out"; failures=$((failures + 1)); fi

fresh() { rm -rf "$scratch/docs"; mkdir -p "$scratch/docs"; cp "$root/docs/"*.md "$root/README.md" "$scratch/docs/"; }

# expect_fail NAME PATTERN: the check of the scratch copy must fail and print PATTERN.
expect_fail() {
  local out
  if out=$(check_docs "$scratch/docs" "$scratch/docs/README.md"); then
    echo "FAIL $1: the check passed"; failures=$((failures + 1)); return
  fi
  if ! grep -qF -- "$2" <<<"$out"; then
    echo "FAIL $1: expected '$2' in:"; echo "$out"; failures=$((failures + 1)); return
  fi
  echo "ok   $1"
}

# A command that does nothing (planted in the list), its entry unmarked.
fresh; doc="$scratch/docs/script-commands.md"
cp "$scratch/list" "$scratch/list.real" && echo "52 DownloadFile" >> "$scratch/list"
line=$(grep -n '^### `DownloadFile` (52)$' "$doc" | cut -d: -f1)
expect_fail "unmarked command that does nothing" "$doc:$line: DownloadFile does nothing yet but its entry is not marked"
mv "$scratch/list.real" "$scratch/list"

# A command the setup carries out, marked.
fresh; doc="$scratch/docs/script-commands.md"
line=$(grep -n '^### `FileCopy` (28)$' "$doc" | cut -d: -f1)
sed -i "${line}a\\\\n$mark At run time this command does nothing." "$doc"
expect_fail "marked command that works" "$doc:$line: FileCopy is marked, but the setup carries it out"

# A mark in another form.
fresh; doc="$scratch/docs/project-file.md"
sed -i 's/\*\*Not yet in this build\.\*\* A key whose/Not yet implemented. A key whose/' "$doc"
expect_fail "mark in another form" "Not yet implemented"

[ $failures -eq 0 ] || { echo "$failures not-yet case(s) failed"; exit 1; }
echo "all not-yet cases passed"
