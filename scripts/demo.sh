#!/usr/bin/env bash
# Builds the sample product's setup, shows what its package holds and runs it under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

mkdir -p out
build/host/vntbuild sample build/win32/vntsetup.exe out/hello-setup.exe
echo "== what the package holds (vntbuild dump)"
build/host/vntbuild dump out/hello-setup.exe | tee out/hello-setup.json | sed -n '1,40p'
echo "   (the whole project in out/hello-setup.json)"

echo "== running out/hello-setup.exe under Wine: Next, Next, Finish (pictures in out/)"
title="Hello Setup -"
# The driver's output goes to a file: the setup it starts keeps a pipe open while it runs.
wine build/win32/wizdriver.exe start "$(winepath -w out/hello-setup.exe)" \
  -- wait-window --title "$title Welcome" 60000 -- snap "$(winepath -w out/hello-welcome.png)" \
  -- click name:VN_Welcome_Button1 \
  -- wait-window --title "$title Destination Folder" 20000 -- snap "$(winepath -w out/hello-folder.png)" \
  -- click name:VN_Folder_Button2 \
  -- wait-window --title "$title Ready" 20000 -- snap "$(winepath -w out/hello-ready.png)" \
  -- click name:VN_Ready_Button2 -- wait-exit 60000 > out/hello-run.txt 2>&1 || true
result=$(tail -1 out/hello-run.txt)
echo "$result"
case "$result" in
  *'"exit":0'*) echo "the setup showed its pages and ended without an error; see out/hello-*.png" ;;
  *) cat out/hello-run.txt >&2; echo "the setup did not end cleanly" >&2; exit 1 ;;
esac
