#!/usr/bin/env bash
# The layer check on a scratch copy of the tree: clean it passes; each planted fault fails
# with the file, the line and what is wrong.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fresh() {
  rm -rf "$scratch/tree"
  mkdir -p "$scratch/tree"
  cp -r "$root/src" "$root/tools" "$root/docs" "$root/scripts" "$scratch/tree/"
}

# plant FILE TEXT: appends an include line; prints its line number.
plant() {
  echo "$2" >> "$scratch/tree/$1"
  wc -l < "$scratch/tree/$1"
}

# expect_fail NAME PATTERN: the check must fail and print PATTERN.
expect_fail() {
  local out
  if out=$(bash "$scratch/tree/scripts/check-layers.sh" "$scratch/tree" 2>&1); then
    echo "FAIL $1: the check passed"; failures=$((failures + 1)); return
  fi
  if ! grep -qF -- "$2" <<<"$out"; then
    echo "FAIL $1: expected '$2' in:"; echo "$out"; failures=$((failures + 1)); return
  fi
  echo "ok   $1"
}

fresh
if bash "$scratch/tree/scripts/check-layers.sh" "$scratch/tree" >/dev/null; then echo "ok   clean tree"
else echo "FAIL clean tree"; failures=$((failures + 1)); fi

fresh; line=$(plant src/package/VarList.h '#include "ui/win32/wizard/SetupMain.h"')
expect_fail "upward include" "src/package/VarList.h:$line: package includes ui (\"ui/win32/wizard/SetupMain.h\")"

fresh; line=$(plant src/archive/ChunkCodec.cpp '#include "script/ScriptContext.h"')
expect_fail "sideways include" "src/archive/ChunkCodec.cpp:$line: archive includes script"

fresh; line=$(plant src/script/ListCommands.cpp '#include "VarList.h"')
expect_fail "bare include" "src/script/ListCommands.cpp:$line: include \"VarList.h\" does not name its folder"

fresh; line=$(plant src/ui/PageFlow.cpp '#include "platform/win32/Window.h"')
expect_fail "Win32 in pure code" "src/ui/PageFlow.cpp:$line: code outside win32/ includes the Win32 header"

fresh; line=$(plant tools/vntbuild/ScriptLexer.cpp '#include "ui/PageFlow.h"')
expect_fail "builder above its layers" "tools/vntbuild/ScriptLexer.cpp:$line: vntbuild includes ui"

fresh; line=$(plant src/setup/LoaderFileFilter.cpp '#include "package/NoSuchHeader.h"')
expect_fail "missing header" "src/setup/LoaderFileFilter.cpp:$line: \"package/NoSuchHeader.h\" is neither"

[ $failures -eq 0 ] || { echo "$failures layer-check case(s) failed"; exit 1; }
echo "all layer-check cases passed"
