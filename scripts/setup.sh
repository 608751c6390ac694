#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, when run as root and something is missing.
# On a kernel that runs no 32-bit programs the i386 packages (wine32) still install, but some of
# their set-up steps cannot run their 32-bit helpers; that is no failure here: nothing 32-bit runs
# on such a machine, and the tests skip the 32-bit build there (scripts/wine-env.sh).
set -euo pipefail
need=()
status() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true; }
pkg_ok() {
  case "$(status "$1")" in
    "install ok installed") return 0 ;;
    # Unpacked but not configured: what a 32-bit package can get to where 32-bit helpers fail.
    "install ok unpacked" | "install ok half-configured")
      [[ "$1" == *:i386 ]] && ! runs_32bit ;;
    *) return 1 ;;
  esac
}
runs_32bit() { [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1 </dev/null; }
PKGS=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools cmake make googletest
      wine wine64 wine32:i386 fonts-wine fonts-liberation xvfb xdotool x11-utils imagemagick
      clang libclang-rt-14-dev e2fsprogs procps python3)
for p in "${PKGS[@]}"; do pkg_ok "$p" || need+=("$p"); done
[ ${#need[@]} -eq 0 ] && exit 0
if [ "$(id -u)" != 0 ]; then
  echo "setup: missing packages: ${need[*]} (run 'make setup' as root, or install them)" >&2
  exit 1
fi
echo "setup: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -q
if ! apt-get install -y -q --no-install-recommends "${need[@]}"; then
  # A set-up step that could not run its 32-bit helper leaves its package unconfigured; finish
  # what can be finished, then judge by what is there.
  dpkg --configure -a || true
fi
missing=()
for p in "${PKGS[@]}"; do pkg_ok "$p" || missing+=("$p ($(status "$p"))"); done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: could not install: ${missing[*]}" >&2
  exit 1
fi
