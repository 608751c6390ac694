#!/usr/bin/env python3
"""Usage: check_programs.py BUILD_ROOT

Checks both Windows programs as files, without running them, so that it holds on every machine,
including those that cannot run the 32-bit program. The headers and imports are read with the
cross objdump, and the resources with windres, which writes them back as a resource script.
Prints every fault and exits 1 when there is one."""
import re
import subprocess
import sys

# The DLL flags: ASLR 0x40, high-entropy ASLR 0x20, DEP 0x100 and terminal-server aware 0x8000.
BUILDS = [("win32", "i686", "pei-i386", 0x8140, "x86", "32-bit"),
          ("win64", "x86_64", "pei-x86-64", 0x8160, "amd64", "64-bit")]
SYSTEM = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
          "winmm.dll", "psapi.dll", "advapi32.dll", "msvcrt.dll", "comctl32.dll", "version.dll"}
SETTINGS = r'<application xmlns="urn:schemas-microsoft-com:asm.v3">\s*<windowsSettings>[\s\S]*'


def tool(arch, name, *args):
    return subprocess.run([f"{arch}-w64-mingw32-{name}", *args], check=True, capture_output=True, text=True).stdout


def check(folder, arch, file_format, dll_flags, processor, bit_width, exe):
    headers = tool(arch, "objdump", "-p", exe)
    script = tool(arch, "windres", "-i", exe, "-O", "rc")
    value = lambda key: re.search(rf"^{key}\s+([0-9a-f]+)", headers, re.M).group(1)
    # The manifest comes back as string literals with doubled quotes.
    manifest = "".join(re.findall(r'^\s*"(.*)"$', script.split("RT_MANIFEST */")[-1], re.M))
    manifest = manifest.replace('""', '"').replace("\\n", "\n")
    version = script.split("VERSIONINFO")[-1]
    icons = re.search(r"RT_GROUP_ICON \*/\nBEGIN\n(.*?)\nEND", script, re.S).group(1)
    images = re.findall(r'"\\(\d{3})\\\d{3}\\000\\000", 1, 32, 0x[0-9a-fA-F]+L, (\d+)', icons)
    dlls = [d.lower() for d in re.findall(r"DLL Name: (\S+)", headers)]
    want = {
        "file format": (re.search(r"file format (\S+)", headers).group(1), file_format),
        "subsystem (2: a Windows GUI program)": (int(value("Subsystem"), 16), 2),
        "DLL flags": (int(value("DllCharacteristics"), 16) & 0x8160, dll_flags),
        # ASLR cannot move a program without relocations.
        "relocations": (bool(re.search(r"^Entry 5 [0-9a-f]+ 0*[1-9a-f]", headers, re.M)), True),
        "DLLs beyond the system's, which would have to ship beside the program": (sorted(set(dlls) - SYSTEM), []),
        "DLLs imported": (bool(dlls), True),
        # Loaded by number: dialog, menu and accelerators of the main window, the three small dialogs.
        "resources": ([r for r in ("1000 MENU", "1000 DIALOG", "1000 ACCELERATORS", "201 DIALOG", "202 DIALOG",
                                   "203 DIALOG") if not re.search(rf"^{r}\b", script, re.M)], []),
        "manifest's processors": (re.findall(r'processorArchitecture="(\w+)"', manifest), [processor] * 2),
        "common controls": (re.findall(r'Common-Controls" version="([0-9.]+)"', manifest), ["6.0.0.0"]),
        # Run as the user who starts it, never redirected to a hidden copy of the files beside it.
        "execution level": (re.findall(r'<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">[\s\S]*'
                                       r'<requestedExecutionLevel level="(\w+)" uiAccess="false"/>', manifest),
                            ["asInvoker"]),
        # Sharp at every scale: per-monitor aware (version 2, else version 1), or, before Windows 10,
        # per monitor where Windows 8.1 knows it and system-wide on Windows 7.
        "dpi awareness": (re.findall(SETTINGS + r'<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/'
                                     r'WindowsSettings">([^<]*)</dpiAwareness>', manifest), ["PerMonitorV2, PerMonitor"]),
        "dpi aware": (re.findall(SETTINGS + r'<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/'
                                 r'WindowsSettings">([^<]*)</dpiAware>', manifest), ["true/pm"]),
        "file version": (re.findall(r"^ FILEVERSION (.*)$", version, re.M), ["1, 0, 1, 0"]),
        "version strings": (dict(re.findall(r'VALUE "(\w+)", "([^"]*)"', version)),
                            {"CompanyName": "Palvik", "FileDescription": f"Tomel ({bit_width})", "FileVersion": "1.0.1.0",
                             "InternalName": "tomel", "OriginalFilename": "tomel.exe", "ProductName": "Tomel",
                             "ProductVersion": "1.00 (Unicode)"}),
        "language and code page (U.S. English, 1252)": (re.findall(r'BLOCK "([0-9A-F]{8})"', version), ["040904E4"]),
        # 0 stands for 256.
        "icon sizes": (sorted(int(size, 8) or 256 for size, _ in images), [16, 24, 32, 48, 64, 256]),
        "icon images": ([i for _, i in images if not re.search(rf"^{i} 3 /\* RT_ICON", script, re.M)], []),
    }
    return [f"{folder}: {what}: {got!r}, expected {expected!r}" for what, (got, expected) in want.items()
            if got != expected]


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    faults = [f for b in BUILDS for f in check(*b, f"{argv[1]}/{b[0]}/tomel.exe")]
    print("\n".join(faults + [f"program files: {len(faults)} fault(s)"]))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
