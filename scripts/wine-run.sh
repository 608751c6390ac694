#!/usr/bin/env bash
# Runs a Windows program under the test display (see wine-session.sh); ctest's emulator.
top=$(cd "$(dirname "$0")/.." && pwd)
envfile="${TOMEL_WINE_DIR:-$top/build/wine}/env"
[ -f "$envfile" ] || "$top/scripts/wine-session.sh" start >/dev/null 2>&1
# shellcheck disable=SC1090
source "$envfile"
exec wine "$@"
