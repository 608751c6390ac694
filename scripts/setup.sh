#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, when run as root and something is missing.
set -euo pipefail
need=()
have() { command -v "$1" >/dev/null 2>&1; }
pkg_ok() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
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
apt-get install -y -q --no-install-recommends "${need[@]}"
