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

echo "== running out/hello-setup.exe under Wine through every page of its wizard (pictures in out/hello-*.png)"
title="Hello Setup"
# One driver run: on each page a picture, then its Next button (Button2 on every page).
steps=(start "$(winepath -w out/hello-setup.exe)" -- wait-window --title "$title" 60000)
for page in Welcome Folder Components Group Ready INSTALL Finish; do
  [ "$page" = INSTALL ] && steps+=(-- sleep 2000)  # the installation runs on this page
  steps+=(-- snap "$(winepath -w "out/hello-${page,,}.png")" -- click "name:VN_${page}_Button2")
  [ "$page" = Finish ] || steps+=(-- wait-window --title "$title" 20000)
done
# The driver's output goes to a file: the setup it starts keeps a pipe open while it runs.
wine build/win32/wizdriver.exe "${steps[@]}" -- wait-exit 60000 > out/hello-run.txt 2>&1 || true
result=$(tail -1 out/hello-run.txt)
echo "$result"
case "$result" in
  *'"exit":0'*) echo "the setup went through its pages and installed; see out/hello-*.png" ;;
  *) cat out/hello-run.txt >&2; echo "the setup did not end cleanly" >&2; exit 1 ;;
esac

folder=$(winepath -u 'C:\Program Files\Hello')
echo "== what it installed"
(cd "$folder" && find . -type f | sed 's|^\./|  C:\\Program Files\\Hello\\|')
wine reg query 'HKCU\Software\Vantry Samples\Hello' 2>/dev/null | tr -d '\r' | sed -n 's/^ *\(.*REG_.*\)/  HKCU\\Software\\Vantry Samples\\Hello: \1/p'

echo "== removing it with the uninstaller"
wine build/win32/wizdriver.exe start "$(winepath -w build/win32/vntuninst.exe)" 'C:\Program Files\Hello\uninst.dat' \
  -- wait-msgbox 30000 -- press Yes -- wait-msgbox 60000 -- msgbox -- press OK -- wait-exit 30000 \
  > out/hello-uninstall.txt 2>&1 || true
case "$(tail -1 out/hello-uninstall.txt)" in
  *'"exit":0'*) echo "the uninstaller removed Hello" ;;
  *) cat out/hello-uninstall.txt >&2; echo "the uninstaller did not remove Hello" >&2; exit 1 ;;
esac
