# Sourced by scripts that run Windows programs: sets up the project's own 32-bit Wine prefix
# under build/wine and an Xvfb display when none is set. Never touches ~/.wine.
_vnt_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$_vnt_root/build/wine"
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko install prompts: the setup needs neither. No menu builder: Wine would turn
# every shortcut a setup makes into a launcher in the user's own home folder, which no
# uninstall takes away.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

vnt_start_xvfb() {
  local n=${VNT_XVFB_DISPLAY:-97}
  if [ -e "/tmp/.X11-unix/X$n" ] && [ -f "/tmp/.X$n-lock" ] && kill -0 "$(tr -d ' ' < "/tmp/.X$n-lock")" 2>/dev/null; then
    export DISPLAY=":$n"; return 0
  fi
  rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  (Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

[ -n "${DISPLAY:-}" ] || vnt_start_xvfb

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # mkdir-based lock: tests started in parallel must not create the prefix twice
  if mkdir "$WINEPREFIX.lock" 2>/dev/null; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    rmdir "$WINEPREFIX.lock"
  else
    while [ -d "$WINEPREFIX.lock" ]; do sleep 0.5; done
  fi
fi

# One wine server for all the programs a script runs, started with no terminal or pipe of
# ours: a server started from inside $(...) would hold that pipe open for as long as it
# lives, and a capture would never end.
# Pipes other than the standard three count too (a test runner hands its children more), so
# the server starts with every descriptor above 2 closed.
vnt_start_wineserver() {
  local fd
  for fd in /proc/$BASHPID/fd/*; do
    fd=${fd##*/}
    [ "$fd" -gt 2 ] && eval "exec $fd>&-"
  done
  exec wineserver -p60
}
(vnt_start_wineserver) </dev/null >/dev/null 2>&1 || true
