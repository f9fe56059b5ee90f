#!/usr/bin/env python3
"""Checks that a built Windows program is what we ship: a 32-bit GUI program
for Intel 80386 that imports system DLLs only and carries its manifest and
version resource."""

import argparse
import re
import subprocess
import sys

# DLLs every Windows system has; a program that needs anything else would
# not start on a machine without it
SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "SHELL32.DLL", "ADVAPI32.DLL", "MSVCRT.DLL",
               "GDI32.DLL", "OLE32.DLL", "SHLWAPI.DLL", "COMCTL32.DLL"}


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True,
                          errors="replace").stdout


def check(program, objdump, windres, level, product_version):
    """The DLLs the program imports and what is wrong with it."""
    problems = []
    headers = run(objdump, "-p", program)
    if "file format pei-i386" not in headers:
        problems.append("not a PE32 program for Intel 80386")
    if not re.search(r"^Magic\s+010b\s+\(PE32\)", headers, re.M):
        problems.append("not PE32")
    if not re.search(r"^Subsystem\s+00000002\s+\(Windows GUI\)", headers, re.M):
        problems.append("not a Windows GUI program (a console would open)")
    dlls = sorted(set(re.findall(r"DLL Name: (\S+)", headers)))
    foreign = [d for d in dlls if d.upper() not in SYSTEM_DLLS]
    if foreign:
        problems.append("imports DLLs that are not part of Windows: %s" % ", ".join(foreign))

    # the manifest as it lies in the program file (windres may print it as
    # a wide string)
    with open(program, "rb") as f:
        levels = [m.decode() for m in
                  re.findall(rb'requestedExecutionLevel\s+level="(\w+)"', f.read())]
    if levels != [level]:
        problems.append("manifest asks for %s, not %s" % (levels or "nothing", level))
    resources = run(windres, "-i", program, "-O", "rc")
    for name, value in (("ProductName", "Orvola"), ("ProductVersion", product_version)):
        if not re.search(r'VALUE "%s", "%s"' % (name, re.escape(value)), resources):
            problems.append('version resource without %s "%s"' % (name, value))
    return dlls, problems


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("program")
    p.add_argument("--objdump", required=True)
    p.add_argument("--windres", required=True)
    p.add_argument("--level", required=True, help="requested execution level of the manifest")
    p.add_argument("--product-version", required=True)
    args = p.parse_args()

    dlls, problems = check(args.program, args.objdump, args.windres, args.level,
                           args.product_version)
    print("%s: imports %s" % (args.program, ", ".join(dlls)))
    for problem in problems:
        print("%s: %s" % (args.program, problem))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
