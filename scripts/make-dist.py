#!/usr/bin/env python3
"""Packs the release: build/dist/tomel-<version>.zip holding one folder, tomel-<version>/, with the
64-bit program as tomel.exe, the 32-bit one as tomel32.exe, the help text Tomel.txt, ReadMe.txt and
the licence, LICENSE.txt.

The zip is the same bytes on every run for the same programs: a fixed file order, fixed times (the
last commit's, or SOURCE_DATE_EPOCH), fixed attributes, no extra fields.

Usage: make-dist.py SOURCE_ROOT WIN32_BUILD WIN64_BUILD OUT_DIR
"""
import os
import re
import subprocess
import sys
import time
import zipfile


def source_time(root):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        return int(subprocess.check_output(["git", "-C", root, "log", "-1", "--format=%ct"], text=True).strip())
    except (OSError, subprocess.CalledProcessError, ValueError):
        return 315532800   # 1980-01-01, the earliest time a zip can hold


def version(root):
    with open(os.path.join(root, "shell/app/app_info_win.h"), encoding="utf-8") as f:
        found = re.search(r'programVersion\s*=\s*L"([^"]+)"', f.read())
    if not found:
        sys.exit("make-dist: cannot find the program's version")
    return found.group(1)


def main(argv):
    if len(argv) != 5:
        sys.exit(__doc__)
    root, win32, win64, out = argv[1:]
    members = [   # name in the zip, file
        ("tomel.exe", os.path.join(win64, "tomel.exe")),
        ("tomel32.exe", os.path.join(win32, "tomel.exe")),
        ("Tomel.txt", os.path.join(root, "res/Tomel.txt")),
        ("ReadMe.txt", os.path.join(root, "res/dist/ReadMe.txt")),
        ("LICENSE.txt", os.path.join(root, "LICENSE")),
    ]
    stamp = time.gmtime(max(source_time(root), 315532800))[:6]
    os.makedirs(out, exist_ok=True)
    folder = f"tomel-{version(root)}"
    target = os.path.join(out, folder + ".zip")
    with zipfile.ZipFile(target + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, path in members:
            # One folder: unpacked where the user likes, the files do not mix with others.
            info = zipfile.ZipInfo(f"{folder}/{name}", date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0          # MS-DOS: no Unix owner or mode in the file
            info.external_attr = 0x20       # the archive attribute, as Windows gives a new file
            with open(path, "rb") as f:
                z.writestr(info, f.read())
    os.replace(target + ".part", target)
    print(target)


if __name__ == "__main__":
    main(sys.argv)
