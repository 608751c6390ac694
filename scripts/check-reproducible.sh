#!/usr/bin/env bash
# Builds the release twice from the committed sources, in two folders of different names and
# lengths, and checks that both programs and the zip come out byte for byte the same.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/tomel-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$top" log -1 --format=%ct)}
jobs=${JOBS:-2}
for tree in a "second build"; do
  src="$work/$tree/src"
  mkdir -p "$src"
  git -C "$top" archive HEAD | tar -x -C "$src"
  for bits in 32 64; do
    arch=$([ "$bits" = 32 ] && echo i686 || echo x86_64)
    cmake -S "$src" -B "$work/$tree/win$bits" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-$arch.cmake" -DTOMEL_GTEST_DIR=/nonexistent >/dev/null
    cmake --build "$work/$tree/win$bits" -j "$jobs" --target tomel >/dev/null
  done
  python3 "$src/scripts/make-dist.py" "$src" "$work/$tree/win32" "$work/$tree/win64" "$work/$tree/dist" >/dev/null
done
status=0
for f in win32/tomel.exe win64/tomel.exe "dist/$(ls "$work/a/dist")"; do
  if cmp -s "$work/a/$f" "$work/second build/$f"; then
    echo "reproducible: $f ($(stat -c %s "$work/a/$f") bytes)"
  else
    echo "NOT reproducible: $f differs between two builds of the same commit"
    status=1
  fi
done
# The zip unpacks into one folder of its own, with the licence beside the programs.
zip="$work/a/dist/$(ls "$work/a/dist")"
expected="$(basename "$zip" .zip)/"
if ! python3 - "$zip" "$expected" <<'PY'
import sys, zipfile
names = zipfile.ZipFile(sys.argv[1]).namelist()
folder = sys.argv[2]
want = [folder + n for n in ("tomel.exe", "tomel32.exe", "Tomel.txt", "ReadMe.txt", "LICENSE.txt")]
sys.exit(0 if names == want else f"the zip holds {names}, not {want}")
PY
then
  status=1
else
  echo "the zip holds one folder, $expected, with the licence"
fi
exit $status
