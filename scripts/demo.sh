#!/usr/bin/env bash
# Builds the sample product's setup, shows what its package holds and runs it under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh

mkdir -p out
build/host/vntbuild sample build/win32/vntsetup.exe out/hello-setup.exe
echo "== what the package holds (vntbuild dump)"
build/host/vntbuild dump out/hello-setup.exe | tee out/hello-setup.txt | sed -n '1,12p;/^components/,$p'
echo "   (full listing in out/hello-setup.txt)"

echo "== running out/hello-setup.exe under Wine"
result=$(wine build/win32/wizdriver.exe start "$(winepath -w out/hello-setup.exe)" -- wait-exit 60000)
echo "$result"
case "$result" in
  *'"exit":0'*) echo "the setup loaded its package and ended without an error" ;;
  *) echo "the setup did not end cleanly" >&2; exit 1 ;;
esac
