#!/usr/bin/env bash
# Wine server requests per installed file and wall time of a page-less /SILENT install of many
# small files, and per item of its silent removal (run `make build` first):
#   bash bench/win32/progress_requests.sh [files]
# A setup of `files` (500) small files and one of a single file are each installed once under
# a wine server that traces every request; the difference, divided, is the cost of a file.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
count=${1:-500}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$root/scripts/wine-env.sh"
project() {  # name, files
  mkdir -p "$work/$1/files"
  for i in $(seq 1 "$2"); do echo "small file $i of $1" >"$work/$1/files/f$i.txt"; done
  printf '{"product": {"name": "%s", "company": "ProgressBench", "installDir": "C:\\\\%s"},\n "files": [{"source": "files/*.txt"}], "dialogs": []}\n' \
    "$1" "$1" >"$work/$1/p.json"
  "$root/build/release/vntbuild" build "$work/$1/p.json" -o "$work/$1.exe" --stub "$root/build/win32/vntsetup.exe" -q
}
# Requests of the program's own process: +server is the server's channel, so the server is
# started tracing, after the shared one has gone.
traced() {  # trace file, program and its words
  local trace=$1; shift
  wineserver -w
  wineserver -d1 -f -p0 2>"$trace" </dev/null >/dev/null &
  local server=$!
  sleep 0.5
  wine "$@" >/dev/null 2>&1 || true
  wait $server
  local pid tids
  pid=$(grep -m1 -oE 'init_first_thread\(\) = 0 \{ pid=[0-9a-f]+' "$trace" | sed 's/.*pid=//')
  tids=$(grep -oE "^[0-9a-f]{4}: init_first_thread\(\) = 0 \{ pid=$pid, tid=[0-9a-f]+" "$trace" | sed 's/.*tid=//' | paste -sd'|')
  grep -E "^($tids): [a-z_]+\(" "$trace" | grep -vc ') = '
}
project Many "$count"
project One 1
declare -A requests
for name in Many One; do
  requests[$name-install]=$(traced "$work/t" "$work/$name.exe" /SILENT)
  requests[$name-removal]=$(traced "$work/t" 'C:\windows\vntuninst.exe' "C:\\$name\\uninst.dat" "ProgressBench $name" /SILENT)
done
start=$(date +%s.%N)
wine "$work/Many.exe" /SILENT >/dev/null 2>&1
middle=$(date +%s.%N)
wine 'C:\windows\vntuninst.exe' 'C:\Many\uninst.dat' 'ProgressBench Many' /SILENT >/dev/null 2>&1
end=$(date +%s.%N)
per() { echo "scale=1; ($1 - $2) / ($count - 1)" | bc; }
echo "install: $(per "${requests[Many-install]}" "${requests[One-install]}") requests per file" \
  "(${requests[Many-install]} for $count files, ${requests[One-install]} for one), $(echo "$middle - $start" | bc) s"
echo "removal: $(per "${requests[Many-removal]}" "${requests[One-removal]}") requests per item" \
  "(${requests[Many-removal]} for $count files, ${requests[One-removal]} for one), $(echo "$end - $middle" | bc) s"
