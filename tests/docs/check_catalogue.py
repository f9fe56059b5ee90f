#!/usr/bin/env python3
"""Every test that docs/bad-input.md names exists: the host tests by their
GoogleTest names, the fuzz targets by their file.

    check_catalogue.py <catalogue> <fuzz folder> <test program>...
"""

import os
import re
import subprocess
import sys


def listed_tests(program):
    out = subprocess.run([program, "--gtest_list_tests"], check=True, capture_output=True,
                         text=True).stdout
    tests, suite = set(), None
    for line in out.splitlines():
        if not line.startswith(" "):
            suite = line.strip().rstrip(".")
        else:
            tests.add("%s.%s" % (suite, line.split()[0]))
    return tests


def main():
    catalogue, fuzz, programs = sys.argv[1], sys.argv[2], sys.argv[3:]
    with open(catalogue, encoding="utf-8") as f:
        text = f.read()
    known = set()
    for program in programs:
        known |= listed_tests(program)
    missing = []
    for name in sorted(set(re.findall(r"`([A-Z][a-z]\w*\.[A-Z]\w*[a-z]\w*)`", text))):
        if name not in known:
            missing.append(name)
    for target in sorted(set(re.findall(r"`(fuzz_\w+)`", text))):
        if not os.path.exists(os.path.join(fuzz, target + ".cpp")):
            missing.append(target)
    for name in missing:
        print("%s names %s, which is no test" % (catalogue, name))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
