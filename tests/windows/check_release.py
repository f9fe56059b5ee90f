#!/usr/bin/env python3
"""Checks the release as built: the install image dist/Orvola/ holds exactly
the programs and the manual of this build, and the setup program
dist/orvola-2002-setup.exe is a 32-bit GUI program that asks for
administrator rights and carries the product's version.  Prints the sizes."""

import argparse
import os
import sys

from check_program import check, run

SETUP = "orvola-2002-setup.exe"


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("--dist", required=True, help="the release folder")
    p.add_argument("--file", action="append", default=[], metavar="NAME=BUILT",
                   help="a file of the image and the build output it must equal")
    p.add_argument("--objdump", required=True)
    p.add_argument("--windres", required=True)
    args = p.parse_args()

    problems = []
    image = os.path.join(args.dist, "Orvola")
    expected = dict(f.split("=", 1) for f in args.file)
    present = sorted(os.listdir(image)) if os.path.isdir(image) else []
    if sorted(expected) != present:
        problems.append("%s holds %s, not %s" % (image, present or "nothing", sorted(expected)))
    for name, built in sorted(expected.items()):
        path = os.path.join(image, name)
        if not os.path.isfile(path):
            continue
        with open(path, "rb") as a, open(built, "rb") as b:
            if a.read() != b.read():
                problems.append("%s is not the %s of this build" % (path, built))
        print("%-40s %8d bytes" % (path, os.path.getsize(path)))

    setup = os.path.join(args.dist, SETUP)
    if not os.path.isfile(setup):
        problems.append("no setup program %s" % setup)
    else:
        dlls, setup_problems = check(setup, args.objdump, args.windres,
                                     "requireAdministrator", "2002")
        problems += setup_problems
        resources = run(args.windres, "-i", setup, "-O", "rc")
        if "LANGUAGE 5, 1" not in resources:
            problems.append("setup without Czech resources")
        print("%-40s %8d bytes, imports %s" % (setup, os.path.getsize(setup), ", ".join(dlls)))

    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
