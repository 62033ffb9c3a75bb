# Shared by the end-to-end scripts: sourced with the build/win32 folder as $1 and, where a
# script needs it, the build/host folder as $2. Sets root, win32, host, work (a folder of the
# run's own, removed at the end) and err, and gives the checks and the driver.
set -u
win32=$(cd "$1" && pwd)
host=$(cd "${2:-.}" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$root/scripts/wine-env.sh"
work=$(mktemp -d "$root/build/e2e-$(basename "$0" _test.sh).XXXXXX")
err="$work/stderr.txt"
pid=""
# The Wine programs running now, the system's own left out, as "pid command" lines. The tests
# that run Wine hold one lock, so a program that was not running when the test began is one
# the test started.
# Only this prefix's programs count: other worktrees' tests run their own prefixes meanwhile.
wine_programs() {
  local p rest
  ps -eo pid=,args= | awk '$2 ~ /^[A-Za-z]:\\/ && tolower($2) !~ /^c:\\windows\\system32\\/' |
    while read -r p rest; do
      tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$p $rest"
    done
}
wine_before=$(wine_programs | awk '{ print $1 }')
started_here() { wine_programs | awk -v before=" $(echo $wine_before) " 'index(before, " " $1 " ") == 0'; }
# Every program the test started must have ended with it. One still running after a grace
# (an uninstaller's copy deleting the original ends a moment later) fails the test, and is
# ended so that the next test starts clean.
check_nothing_left() {
  local left tries=0
  while left=$(started_here) && [ -n "$left" ] && [ $tries -lt 20 ]; do sleep 0.5; tries=$((tries + 1)); done
  [ -z "$left" ] && return 0
  echo "FAIL: programs the test started are still running:"
  printf '%s\n' "$left" | sed 's/^/  /'
  printf '%s\n' "$left" | awk '{ print $1 }' | xargs -r kill -9 2>/dev/null
  return 1
}
# A program left running by a failed check is ended before the folder goes.
e2e_cleanup() {
  local clean=0
  [ -n "$pid" ] && timeout 30 wine "$win32/wizdriver.exe" attach "$pid" -- kill >/dev/null 2>>"$err"
  check_nothing_left || clean=1
  rm -rf "$work"
  [ $clean -eq 0 ] || exit 1
}
trap e2e_cleanup EXIT

passed=0 failed=0
pass() { passed=$((passed + 1)); echo "ok: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; cat "$err" 2>/dev/null | tail -5; }
expect() {  # description, haystack, needle
  if printf '%s' "$2" | grep -qF -- "$3"; then pass "$1"
  else fail "$1: [$3] not in:"; printf '%s\n' "$2" | head -c 3000; echo; fi
}
same() {  # description, actual, wanted
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: [$2], wanted [$3]"; fi
}
differ() {  # description, actual, other
  if [ "$2" != "$3" ]; then pass "$1"; else fail "$1: both [$2]"; fi
}

# Every script drives windows through this one call. Programs started through the driver
# inherit its output and keep it open while they run: the output goes to a file, never
# through a pipe that would wait for the program. Answers the driver's exit code, and leaves
# judging it to the caller: for checks that expect a command to fail.
driver_status() {
  local status=0
  timeout 120 wine "$win32/wizdriver.exe" "$@" >"$work/out.txt" 2>"$work/call-err.txt" || status=$?
  cat "$work/call-err.txt" >>"$err"
  cat "$work/out.txt"
  return $status
}
# A step of a test: a driver command that fails fails the test. Steps run in command
# substitutions, so the failure is noted in a file that e2e_end reads.
driver() {
  driver_status "$@" && return 0
  local status=$?
  printf 'driver %s: exit %s\n' "$*" "$status" >>"$work/step-failures.txt"
  return $status
}
# The prefix's temporary folder, where setups make their vnt001, vnt002, ...
wine_temp_folder() { winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')"; }
field() { printf '%s\n' "$1" | sed -n "s/.*\"$2\":\"\\([^\"]*\\)\".*/\\1/p" | head -1; }
pid_of() { printf '%s\n' "$1" | sed -n 's/.*"pid":\([0-9]*\).*/\1/p' | head -1; }
line_of() { printf '%s\n' "$1" | grep -F "\"name\":\"$2\""; }

# The tests' vendor keys, the user's and the machine's, when other tests left them empty: a
# removal takes empty parent keys with it, so a snapshot taken with one would differ afterwards.
drop_empty_vendor_key() {
  local root long
  for root in HKCU:HKEY_CURRENT_USER HKLM:HKEY_LOCAL_MACHINE; do
    long=${root#*:} root=${root%%:*}
    [ -z "$(wine reg query "$root\Software\VantryTests" 2>/dev/null | tr -d '\r' | grep -v "^$long\\\\Software\\\\VantryTests\$" | grep .)" ] &&
      wine reg delete "$root\Software\VantryTests" /f >/dev/null 2>&1
  done
  return 0
}

# The prefix as "file|<path>" and "<key>|<value line>" lines: its files outside the temporary
# folder, and the registry of the machine and the user. Keys Wine keeps only while its server
# runs, and makes again when a window first opens, are left out.
prefix_snapshot() {
  local c temp root volatile
  volatile='^\[HKEY_LOCAL_MACHINE\\Hardware\\|^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video|^\[HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters|^\[HKEY_CURRENT_USER\\Volatile Environment'
  c=$(winepath -u 'C:\' 2>/dev/null) temp=$(wine_temp_folder 2>/dev/null)
  (cd "$c" && find . -path "./${temp#"$c"}" -prune -o -print | sed 's/^/file|/')
  for root in HKLM HKCU; do
    wine reg export "$root" "Z:${work//\//\\}\\$root.reg" /y >/dev/null 2>>"$err"
    iconv -f UTF-16 -t UTF-8 "$work/$root.reg" | tr -d '\r' | awk '/^\[/ { key = $0; print key; next } NF { print key "|" $0 }'
  done | grep -v -i -E "$volatile" | sort
}

e2e_end() {
  local step
  if [ -f "$work/step-failures.txt" ]; then
    while IFS= read -r step; do fail "a step failed: $step"; done <"$work/step-failures.txt"
    rm -f "$work/step-failures.txt"
  fi
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
