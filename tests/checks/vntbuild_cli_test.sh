#!/usr/bin/env bash
# vntbuild's own command line as a user meets it: help on standard output with exit 0, usage
# errors with 2, and script files in UTF-8 through compile and decompile.
set -uo pipefail
vntbuild=${1:?usage: vntbuild_cli_test.sh <vntbuild>}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# expect CODE PATTERN ARGS...: the exit code, and PATTERN in standard output (help) or
# standard error (failures).
expect() {
  local code=$1 pattern=$2 out err got
  shift 2
  "$vntbuild" "$@" > "$scratch/out" 2> "$scratch/err"
  got=$?
  out=$(cat "$scratch/out") err=$(cat "$scratch/err")
  if [ "$got" -ne "$code" ] || ! grep -qF -- "$pattern" <<< "$out$err"; then
    echo "FAIL vntbuild $*: exit $got (expected $code), output: $out$err"
    failures=$((failures + 1))
  else
    echo "ok   vntbuild $*"
  fi
}

expect 0 "vntbuild dump <setup.exe>" --help
expect 0 "vntbuild script compile" help
expect 0 "-D NAME=VALUE" help build
expect 0 "-D NAME=VALUE" build --help
expect 0 "exit codes: 0 done" help dump
expect 2 'no command "nope"' help nope
expect 2 "usage:" frobnicate
expect 2 "a project file and -o SETUP are needed" build p.json
expect 2 "-v and -q cannot go together" build p.json -o s.exe -v -q
expect 2 "expected NAME=VALUE" build p.json -o s.exe -D 1X=2
expect 1 "the project file: file not found" build "$scratch/none.json" -o "$scratch/s.exe" --stub "$scratch/stub.exe"

printf '\xEF\xBB\xBFIf "%%Language%% = Français|"\n  MessageBox "Déjà vu"\nEndIf\n' > "$scratch/s.vns"
expect 0 "" script compile "$scratch/s.vns" "$scratch/s.bin"
# Stored in code page 1252 and printed in UTF-8 again: bytes converted twice would not match.
expect 0 'If "%Language% = Français|"' script decompile "$scratch/s.bin"
expect 0 'MessageBox "Déjà vu"' script decompile "$scratch/s.bin"
printf 'MessageBox "caf\xe9"\n' > "$scratch/old.vns"
expect 1 "old.vns:1: the byte 0xE9 at column 16 is not valid UTF-8" script compile "$scratch/old.vns" "$scratch/o.bin"

if [ "$failures" -ne 0 ]; then
  echo "$failures vntbuild command line cases failed"
  exit 1
fi
echo "all vntbuild command line cases passed"
