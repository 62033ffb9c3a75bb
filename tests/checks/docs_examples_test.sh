#!/usr/bin/env bash
# The script examples of the docs compile with vntbuild, and the command reference covers
# exactly the commands vntbuild knows. Checked on the tree, then on scratch copies of the docs
# with planted faults, each of which must fail with the place of the fault.
#
# What is checked, in docs/script-language.md and docs/script-commands.md:
# - every ```vns block compiles on its own;
# - in the command reference, every line that is only a command in backquotes (its usage line)
#   compiles, and fails with one argument more: usage lines show every argument;
# - the command reference has a heading "### `Name` (opcode)" for every command of vntbuild's
#   table, under the name and opcode vntbuild gives it, and none for anything else.
# The table comes from vntbuild itself: opcodes 0 to 255 compiled raw and printed back.
set -uo pipefail
vntbuild=${1:?usage: docs_examples_test.sh <vntbuild>}
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# compile FILE: vntbuild's messages on failure; fails when the file does not compile.
compile() { "$vntbuild" script compile "$1" "$scratch/out.bin" 2>&1 >/dev/null; }

# The compiler's table as "opcode name" lines.
command_table() {
  local k
  for ((k = 0; k < 256; k++)); do echo "@op $k"; done > "$scratch/all.vns"
  compile "$scratch/all.vns" || return 1
  "$vntbuild" script decompile "$scratch/out.bin" |
    awk '{ name = $1 == "@op" ? $2 : $1; if (name !~ /^[0-9]+$/) print NR - 1, name }'
}

# check_blocks DOC: every vns block of DOC compiles; messages carry the lines of DOC.
check_blocks() {
  local doc=$1 errors=0 n=0 start out
  rm -f "$scratch"/block-*.vns
  awk -v dir="$scratch" '
    /^```vns[ \t]*$/ { if (open) { print "unclosed " start; exit } open = 1; start = NR; n++; next }
    /^```/ && open { open = 0; close(file); printf "%d %d\n", n, start; next }
    open { file = sprintf("%s/block-%d.vns", dir, n); print > file }
    END { if (open) print "unclosed " start }' "$doc" > "$scratch/blocks"
  while read -r n start; do
    if [ "$n" = unclosed ]; then echo "$doc:$start: a vns block that is never closed"; errors=1; continue; fi
    [ -f "$scratch/block-$n.vns" ] || : > "$scratch/block-$n.vns"
    if ! out=$(compile "$scratch/block-$n.vns"); then
      # "file:N: message" of the block becomes "doc:line: message".
      awk -v doc="$doc" -v start="$start" '
        match($0, /^[^:]*:[0-9]+: /) {
          k = split(substr($0, 1, RLENGTH), at, ":"); print doc ":" start + at[k - 1] ": " substr($0, RLENGTH + 1); next }
        { print doc ":" start ": " $0 }' <<<"$out"
      errors=1
    fi
  done < "$scratch/blocks"
  return $errors
}

# check_usage DOC: usage lines compile together, and each fails with one argument more.
check_usage() {
  local doc=$1 errors=0 out chunk
  grep -nE '^`[A-Z][A-Za-z]*( [^`]*)?`$' "$doc" > "$scratch/usage" || { echo "$doc: no usage lines"; return 1; }
  sed 's/^[0-9]*:`//; s/`$//' "$scratch/usage" > "$scratch/usage.vns"
  if ! out=$(compile "$scratch/usage.vns"); then
    echo "$doc: usage lines that do not compile:"; echo "$out"; errors=1
  fi
  # One argument more on every line, 40 lines to a file (the compiler stops after 50 errors).
  sed -E 's/^([^"]*)$/\1 "x"/; t; s/$/, "x"/' "$scratch/usage.vns" > "$scratch/more.vns"
  rm -f "$scratch"/more-*.vns
  split -l 40 -d -a 3 "$scratch/more.vns" "$scratch/more-"
  chunk=0
  for file in "$scratch"/more-*; do
    out=$(compile "$file")
    # Lines the compiler reported as taking fewer arguments; every line of the file must be one.
    grep -oE ':[0-9]+: [A-Za-z]+ takes (no arguments|at most)' <<<"$out" | cut -d: -f2 > "$scratch/reported"
    awk -v doc="$doc" -v base=$((chunk * 40)) -v usage="$scratch/usage" '
      BEGIN { while ((getline row < usage) > 0) { split(row, f, ":"); at[++n] = f[1] } }
      FILENAME == ARGV[1] { seen[$1] = 1; next }
      !(FNR in seen) { print doc ":" at[base + FNR] ": the usage line does not show every argument of its command"; bad = 1 }
      END { exit bad }' "$scratch/reported" "$file" || errors=1
    chunk=$((chunk + 1))
  done
  return $errors
}

# check_headings DOC TABLE: one heading per command of the table, with its opcode.
check_headings() {
  grep -nE '^### ' "$1" |
    awk -v doc="$1" -v table="$2" '
      BEGIN { while ((getline row < table) > 0) { split(row, f, " "); want[f[2]] = f[1] } }
      {
        line = $0; sub(/:.*/, "", line); text = $0; sub(/^[0-9]+:/, "", text)
        while (match(text, /`[A-Za-z]+` \([0-9]+\)/)) {
          entry = substr(text, RSTART + 1, RLENGTH - 1); text = substr(text, RSTART + RLENGTH)
          name = entry; sub(/`.*/, "", name); op = entry; sub(/.*\(/, "", op); sub(/\)/, "", op)
          if (!(name in want)) { print doc ":" line ": no command \"" name "\""; bad = 1 }
          else if (want[name] != op) { print doc ":" line ": " name " is opcode " want[name] ", not " op; bad = 1 }
          else if (name in seen) { print doc ":" line ": a second heading of " name; bad = 1 }
          seen[name] = 1
        }
      }
      END {
        for (name in want) if (!(name in seen)) { print doc ": no heading for " name " (" want[name] ")"; bad = 1 }
        exit bad
      }'
}

# check_docs DIR: all checks on DIR/script-language.md and DIR/script-commands.md.
check_docs() {
  local dir=$1 errors=0
  check_blocks "$dir/script-language.md" || errors=1
  check_blocks "$dir/script-commands.md" || errors=1
  check_usage "$dir/script-commands.md" || errors=1
  check_headings "$dir/script-commands.md" "$scratch/table" || errors=1
  return $errors
}

command_table > "$scratch/table" || { echo "FAIL vntbuild gives no command table"; exit 1; }
if [ "$(wc -l < "$scratch/table")" -lt 100 ]; then echo "FAIL the command table looks short:"; cat "$scratch/table"; exit 1; fi

# The docs as they are.
if out=$(check_docs "$root/docs"); then echo "ok   docs: examples compile, $(wc -l < "$scratch/table") commands covered"
else echo "FAIL docs:"; echo "$out"; failures=$((failures + 1)); fi

# fresh: a scratch copy of the docs in $scratch/docs.
fresh() { rm -rf "$scratch/docs"; mkdir -p "$scratch/docs"; cp "$root/docs/"*.md "$scratch/docs/"; }

# expect_fail NAME PATTERN: the check of the scratch copy must fail and print PATTERN.
expect_fail() {
  local out
  if out=$(check_docs "$scratch/docs"); then echo "FAIL $1: the check passed"; failures=$((failures + 1)); return; fi
  if ! grep -qF -- "$2" <<<"$out"; then
    echo "FAIL $1: expected '$2' in:"; echo "$out"; failures=$((failures + 1)); return
  fi
  echo "ok   $1"
}

# A wrong command name in an example; the message names the line of the doc.
fresh; doc="$scratch/docs/script-commands.md"
line=$(grep -n '^RandomNumber "%Ticket%"' "$doc" | head -1 | cut -d: -f1)
sed -i "${line}s/^RandomNumber/RandomNumbers/" "$doc"
expect_fail "wrong name in an example" "$doc:$line: unknown command \"RandomNumbers\""

# A mistake in an example of the language page.
fresh; doc="$scratch/docs/script-language.md"
printf '\n```vns\nIf "%%A%% = 1|"\n  NextPage\n```\n' >> "$doc"
expect_fail "unclosed block in the language page" "$doc:$(($(wc -l < "$doc") - 2)):"

# A usage line with a wrong name, and one that leaves an argument out.
fresh; doc="$scratch/docs/script-commands.md"
sed -i 's/^`FileCopy "source", "target"`$/`CopyFile "source", "target"`/' "$doc"
expect_fail "wrong name in a usage line" 'unknown command "CopyFile"'
fresh; doc="$scratch/docs/script-commands.md"
line=$(grep -n '^`RegWrite ' "$doc" | cut -d: -f1)
sed -i "${line}s/, \"value\"\`\$/\`/" "$doc"
expect_fail "usage line short of an argument" "$doc:$line: the usage line does not show every argument"

# A command without its entry, and an entry under a wrong opcode.
fresh; doc="$scratch/docs/script-commands.md"
sed -i 's/^### `PadNumber` (112)$/### Padding numbers/' "$doc"
expect_fail "command without a heading" "no heading for PadNumber (112)"
fresh; doc="$scratch/docs/script-commands.md"
line=$(grep -n '^### `Pause` (110)$' "$doc" | cut -d: -f1)
sed -i "${line}s/(110)/(111)/" "$doc"
expect_fail "heading with a wrong opcode" "$doc:$line: Pause is opcode 110, not 111"

[ $failures -eq 0 ] || { echo "$failures docs case(s) failed"; exit 1; }
echo "all docs cases passed"
