# Sourced by every script that starts a Windows program. Decides once which Wine loader works on
# this machine and sets, for the caller and its children:
#   TOMEL_WIN32      yes when 32-bit programs run here, no when they do not
#   TOMEL_WIN32_WHY  why not (empty when they do)
#   TOMEL_WINE       the loader to start Windows programs with
#   WINELOADER, WINEARCH  for Wine's 64-bit loader when the 32-bit one cannot run
# Debian's `wine` wrapper always execs the 32-bit loader when wine32 is installed, and that loader
# is a 32-bit Linux program: on a kernel without 32-bit support it fails with "Exec format error"
# even for a 64-bit .exe. There we call the 64-bit loader directly and run only the 64-bit build.
#
# TOMEL_NO_WIN32=1 makes a machine that can run 32-bit programs behave as one that cannot.

TOMEL_WINE32_LOADER=/usr/lib/wine/wine
TOMEL_WINE64_LOADER=/usr/lib/wine/wine64

tomel_probe() {
  if [ -n "${TOMEL_NO_WIN32:-}" ] && [ "$TOMEL_NO_WIN32" != 0 ]; then
    TOMEL_WIN32=no
    TOMEL_WIN32_WHY="TOMEL_NO_WIN32 is set"
  elif [ -n "${TOMEL_WIN32:-}" ]; then
    :   # decided already by the run that started us
  elif [ ! -x "$TOMEL_WINE32_LOADER" ]; then
    TOMEL_WIN32=no
    TOMEL_WIN32_WHY="Wine's 32-bit loader $TOMEL_WINE32_LOADER is not installed"
  else
    local out
    if out=$("$TOMEL_WINE32_LOADER" --version 2>&1 </dev/null); then
      TOMEL_WIN32=yes
      TOMEL_WIN32_WHY=""
    else
      out=$(printf '%s' "$out" | head -n 1 | sed 's/^.*: //')
      TOMEL_WIN32=no
      TOMEL_WIN32_WHY="this machine runs no 32-bit programs (Wine's 32-bit loader: ${out:-it does not start})"
    fi
  fi
  if [ "$TOMEL_WIN32" = yes ]; then
    TOMEL_WINE=$TOMEL_WINE32_LOADER
  else
    TOMEL_WINE=$TOMEL_WINE64_LOADER
    export WINELOADER=$TOMEL_WINE64_LOADER WINEARCH=win64
  fi
  export TOMEL_WIN32 TOMEL_WIN32_WHY TOMEL_WINE
}

# Runs a Windows program (or a Wine tool such as reg or wineboot) with the loader that works.
tomel_wine() { "$TOMEL_WINE" "$@"; }

# Prints 32 or 64 for a Windows program (its PE header's machine type), nothing for anything else.
tomel_pe_bits() {
  local pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ') || return 0
  [ -n "$pe" ] || return 0
  machine=$(od -An -t x2 -j $((pe + 4)) -N 2 "$1" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo 32 ;;
    8664) echo 64 ;;
  esac
}

# True when the program can run here; otherwise prints why not.
tomel_can_run() {
  if [ "$(tomel_pe_bits "$1")" = 32 ] && [ "$TOMEL_WIN32" != yes ]; then
    echo "the 32-bit build was not run: $TOMEL_WIN32_WHY"
    return 1
  fi
  return 0
}

# The exit code that ctest counts as a skipped test.
TOMEL_SKIP=77

tomel_probe
