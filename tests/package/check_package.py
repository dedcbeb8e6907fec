#!/usr/bin/env python3
"""Checks the Windows zip that cpack made: its files, that its README shows
every command of vemra-cli.exe and the program's exports, that its Vemra.exe
is a Windows GUI program of the right machine that imports only system DLLs
and carries version 1.0.0.1 and an asInvoker, common-controls-6, DPI-aware
manifest, and that its vemra-cli.exe is a console program of the same machine
that imports only system DLLs.

usage: check_package.py ZIP OBJDUMP MACHINE     (MACHINE: i386 or x86-64)
"""

import re
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

# DLLs that every supported Windows has in its system folder.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
    "msvcrt.dll", "ole32.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
}

# Each command of vemra-cli.exe, which the README shows with an example on a
# Windows path, and what else Windows users must find there: the points
# files and the program's waypoint exports.
README_COMMANDS = (
    "info", "lookup", "nearest", "along", "export-pnt", "export-dat", "export-gpx", "export-kml",
    "export-wpt",
)
README_TERMS = ("--points", "GPX file", "KML file", "Ozi wpt file", "Find Mines",
                "Mines near the last click...", "Mines along a route...",
                "Mines by name or commodity...")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


def main():
    zip_path, objdump, machine = sys.argv[1:4]
    with zipfile.ZipFile(zip_path) as archive:
        names = archive.namelist()
        top = Path(zip_path).name.removesuffix(".zip")
        for wanted in ("Vemra.exe", "vemra-cli.exe", "README.txt", "mrds-sample.csv"):
            check(f"{top}/{wanted}" in names, f"{wanted} missing from the zip: {names}")
        with tempfile.TemporaryDirectory() as folder:
            exe = archive.extract(f"{top}/Vemra.exe", folder)
            readme = archive.read(f"{top}/README.txt").decode("ascii")
            check("OziAPI.dll" in readme, "the README does not say that OziAPI.dll is needed")
            for command in README_COMMANDS:
                check(f"vemra-cli.exe {command} C:\\" in readme,
                      f"the README shows no {command} command with a Windows path")
            for term in README_TERMS:
                check(term in readme, f"the README does not mention {term}")
            headers = run(objdump, "-p", exe).decode("ascii", "replace")
            cli_headers = ""
            if f"{top}/vemra-cli.exe" in names:
                cli = archive.extract(f"{top}/vemra-cli.exe", folder)
                cli_headers = run(objdump, "-p", cli).decode("ascii", "replace")
            resources = {
                kind: run("wrestool", "-x", "--raw", "-t", kind, exe) for kind in ("16", "24")
            }

    check(f"file format pei-{machine}" in headers, f"not a {machine} program")
    check(re.search(r"^Subsystem\s+0+2\s+\(Windows GUI\)", headers, re.M) is not None,
          "not a Windows GUI program")
    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
    check(bool(imports), "no imports found")
    check(imports <= SYSTEM_DLLS, f"needs DLLs that are not system DLLs: {sorted(imports - SYSTEM_DLLS)}")

    check(f"file format pei-{machine}" in cli_headers, f"vemra-cli.exe is not a {machine} program")
    check(re.search(r"^Subsystem\s+0+3\s+\(Windows CUI\)", cli_headers, re.M) is not None,
          "vemra-cli.exe is not a console program")
    cli_imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", cli_headers)}
    check(bool(cli_imports) and cli_imports <= SYSTEM_DLLS,
          f"vemra-cli.exe needs DLLs that are not system DLLs: {sorted(cli_imports - SYSTEM_DLLS)}")

    version = resources["16"].decode("utf-16-le", "replace")
    check("FileVersion\x00" in version and "1.0.0.1" in version, "no version 1.0.0.1 resource")
    check("Vemra.exe" in version, "the version resource does not name Vemra.exe")
    fixed = resources["16"].find(b"\xbd\x04\xef\xfe")  # VS_FIXEDFILEINFO signature
    check(fixed >= 0 and resources["16"][fixed + 8:fixed + 16] == bytes([0, 0, 1, 0, 1, 0, 0, 0]),
          "the fixed file version is not 1.0.0.1")

    manifest = resources["24"].decode("utf-8", "replace")
    check('level="asInvoker"' in manifest, "the manifest does not ask for asInvoker")
    check(re.search(r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"',
                    manifest) is not None, "the manifest does not ask for common controls 6")
    # System DPI awareness: Windows would otherwise stretch the program's
    # bitmap on a scaled display and blur its text.
    check(re.search(r"<dpiAware\b[^>]*>\s*true\s*</dpiAware>", manifest) is not None,
          "the manifest does not declare system DPI awareness")

    for failure in failures:
        print("FAIL:", failure)
    print("package ok" if not failures else f"{len(failures)} check(s) failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
