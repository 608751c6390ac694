#!/usr/bin/env bash
# Runs a Windows program under the test display (see wine-session.sh); ctest's emulator.
# A 32-bit program on a machine that runs no 32-bit programs is not run: the test is skipped.
top=$(cd "$(dirname "$0")/.." && pwd)
envfile="${TOMEL_WINE_DIR:-$top/build/wine}/env"
# shellcheck source=wine-env.sh
source "$top/scripts/wine-env.sh"
# Cheap when the session is up; restarts one made for the other kind of machine (TOMEL_NO_WIN32).
"$top/scripts/wine-session.sh" start >/dev/null 2>&1
# The session knows which loader it was made for.
# shellcheck disable=SC1090
source "$envfile"
if ! why=$(tomel_can_run "$1"); then
  echo "skipped: $why"
  exit "$TOMEL_SKIP"
fi
exec "$TOMEL_WINE" "$@"
