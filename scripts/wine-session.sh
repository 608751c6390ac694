#!/usr/bin/env bash
# Starts (or stops) the test display: an Xvfb server, a Wine prefix made once per build tree with
# the fonts and settings the tests rely on, a persistent wineserver and a keeper that holds the
# virtual desktop open between tests. Writes the environment to build/wine/env.
# On a machine that runs no 32-bit programs the prefix is 64-bit only (see wine-env.sh).
# TOMEL_WINE_DIR names another folder for the session, TOMEL_WINE_DPI the dpi of a prefix made there.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=wine-env.sh
source "$top/scripts/wine-env.sh"
dir="${TOMEL_WINE_DIR:-$top/build/wine}"
envfile="$dir/env"
mkdir -p "$dir"
# A prefix made by the 32-bit loader is not one for the 64-bit loader alone: one folder for each.
if [ "$TOMEL_WIN32" = yes ]; then prefix_name=prefix; else prefix_name=prefix64; fi

stop() {
  [ -f "$envfile" ] || return 0
  # In a subshell: the session's own settings must not replace this run's.
  (
    # shellcheck disable=SC1090
    source "$envfile"
    [ -n "${TOMEL_KEEPER_PID:-}" ] && kill "$TOMEL_KEEPER_PID" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -n "${TOMEL_XVFB_PID:-}" ] && kill "$TOMEL_XVFB_PID" 2>/dev/null || true
  )
  rm -f "$envfile"
}

alive() {
  [ -f "$envfile" ] || return 1
  local mode=$TOMEL_WIN32
  # shellcheck disable=SC1090
  (source "$envfile"
   [ "$TOMEL_WIN32" = "$mode" ] &&   # a session made for the other kind of machine is stopped
   kill -0 "${TOMEL_XVFB_PID:-0}" 2>/dev/null && kill -0 "${TOMEL_KEEPER_PID:-0}" 2>/dev/null)
}

# Makes a Wine prefix once: Wine's own fonts copied in (Debian's Wine does not find them) with
# Liberation fonts standing in for the Windows faces, and no sound driver. With "desktop", also a
# 1024x768 virtual desktop, which the tests use.
prepare() {
  local prefix=$1 desktop=${2:-}
  [ -f "$prefix/.tomel-ready" ] && return 0
  WINEPREFIX="$prefix" tomel_wine wineboot.exe -i >/dev/null 2>&1 </dev/null
  cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  local R='HKCU\Software\Wine\Fonts\Replacements'
  WINEPREFIX="$prefix" tomel_wine reg add "$R" /v "Courier New" /d "Liberation Mono" /f >/dev/null 2>&1
  WINEPREFIX="$prefix" tomel_wine reg add "$R" /v Arial /d "Liberation Sans" /f >/dev/null 2>&1
  WINEPREFIX="$prefix" tomel_wine reg add "$R" /v "Times New Roman" /d "Liberation Serif" /f >/dev/null 2>&1
  WINEPREFIX="$prefix" tomel_wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f >/dev/null 2>&1
  if [ "$desktop" = desktop ]; then
    WINEPREFIX="$prefix" tomel_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    WINEPREFIX="$prefix" tomel_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  fi
  # A screen of another dpi (TOMEL_WINE_DPI), for the tests of the window at that scale; the programs
  # read it when they start.
  if [ -n "${TOMEL_WINE_DPI:-}" ]; then
    local key
    for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
      WINEPREFIX="$prefix" tomel_wine reg add "$key" /v LogPixels /t REG_DWORD /d "$TOMEL_WINE_DPI" /f >/dev/null 2>&1
    done
  fi
  WINEPREFIX="$prefix" wineserver -w
  touch "$prefix/.tomel-ready"
}

start() {
  if alive; then return 0; fi
  stop
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  export DISPLAY=":$n" WINEPREFIX="$dir/$prefix_name" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  local xvfb=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  prepare "$WINEPREFIX" desktop
  wineserver -p >/dev/null 2>&1 </dev/null
  # The keeper: a hidden window with a message loop, so the virtual desktop stays up.
  # (TOMEL_KEEPER: another build's, for a run that has none of the tree's builds, as the mutation check)
  local keeper="${TOMEL_KEEPER:-$top/build/win64/tests/keeper.exe}"
  tomel_wine "$keeper" >/dev/null 2>&1 </dev/null &
  local kp=$!
  # A prefix's first desktop can take a while on a busy machine; a program started before it is up
  # may find no desktop to make its windows on.
  for _ in $(seq 600); do xdotool search --name '^Default - Wine desktop$' >/dev/null 2>&1 && break; sleep 0.1; done
  cat > "$envfile" <<ENV
export DISPLAY=$DISPLAY
export WINEPREFIX=$WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export TOMEL_WIN32=$TOMEL_WIN32
export TOMEL_WIN32_WHY="$TOMEL_WIN32_WHY"
export TOMEL_WINE=$TOMEL_WINE
$([ "$TOMEL_WIN32" = yes ] || echo "export WINELOADER=$WINELOADER WINEARCH=$WINEARCH")
TOMEL_XVFB_PID=$xvfb
TOMEL_KEEPER_PID=$kp
ENV
}

case "${1:-start}" in
  start) start ;;
  stop) stop ;;
  alive) alive ;;
  prepare) prepare "$2" "${3:-}" ;;
  *) echo "usage: $0 start|stop|alive|prepare PREFIX [desktop]" >&2; exit 2 ;;
esac
