#!/usr/bin/env python3
"""Figures of the Windows programs under Wine, printed, not judged:

- the wall time from the start of a process to its first message box, for
  DV2.EXE (15 March 2002) and for onebox.exe, a program that does nothing
  but show one box, and the ratio of the two;
- the size of each program and the DLLs it imports.

    figures.py --build build/windows [--runs 15]

Runs in a Wine session of its own (see wine_session.py), which it ends."""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_scenario  # noqa: E402
import wine_session  # noqa: E402

FOLDER = "C:\\Orvola měření"


def first_box_times(prefix, program, arguments, boxes, runs):
    """Milliseconds from CreateProcess to the first box seen, per run."""
    where = "figures"
    plan = os.path.join(prefix.work, "figures.plan")
    records = os.path.join(prefix.work, "figures.records")
    command = prefix.encode('"%s\\%s"%s' % (FOLDER, program, arguments), where)
    lines = ["folder " + prefix.encode(FOLDER, where).hex(), "command " + command.hex(),
             "timeout 30000"]
    for caption, text in boxes:
        lines.append("box OK %s %s" % (run_scenario.hex_or_dash(caption),
                                       run_scenario.hex_or_dash(text)))
    with open(plan, "w", encoding="ascii") as f:
        f.write("\n".join(lines) + "\n")
    times = []
    for _ in range(runs):
        code = wine_session.run_logged(
            ["wine", wine_session.unix_to_windows(prefix.driver),
             wine_session.unix_to_windows(plan), wine_session.unix_to_windows(records)],
            prefix.env, prefix.log, 120, check=False)
        found = [f for k, f in run_scenario.read_records(records) if k == "box"]
        if code != 0 or not found:
            raise SystemExit("figures: %s did not run as planned; see %s" % (program, prefix.log))
        times.append(float(found[0]["t"]))
    return times


def summary(times):
    return "median %6.1f ms   min %6.1f   max %6.1f   (%d runs)" % (
        statistics.median(times), min(times), max(times), len(times))


def imports(objdump, path):
    """{DLL: number of functions imported from it}"""
    out = subprocess.run([objdump, "-p", path], capture_output=True, text=True,
                         errors="replace").stdout
    dlls = {}
    current = None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            current = m.group(1)
            dlls[current] = 0
        elif current and re.match(r"\s+[0-9a-f]+\s+\d+\s+\S+", line):
            dlls[current] += 1
        elif not line.strip():
            current = None if current and dlls[current] else current
    return dlls


def programs(build):
    found = {}
    for top, dirs, files in os.walk(build):
        dirs[:] = [d for d in dirs if d not in ("CMakeFiles", "wine", "figures-wine")]
        for name in files:
            if name in ("DV2.EXE", "DV3.EXE", "REMOVE.EXE", "onebox.exe"):
                found[name] = os.path.join(top, name)
    return found


def main():
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", required=True, help="the build folder of the windows preset")
    p.add_argument("--runs", type=int, default=15)
    p.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    args = p.parse_args()
    build = os.path.abspath(args.build)
    files = programs(build)
    driver = os.path.join(build, "tests", "e2e", "boxdriver.exe")
    session = os.path.join(build, "tests", "e2e", "figures-wine")

    print("Sizes and imports")
    for name in sorted(files, key=str.lower):
        dlls = imports(args.objdump, files[name])
        print("  %-11s %8d bytes   %s" % (name, os.path.getsize(files[name]), ", ".join(
            "%s (%d)" % (dll, n) for dll, n in sorted(dlls.items()))))

    wine_session.start(session, driver, os.getpid())
    try:
        prefix = run_scenario.Prefix(wine_session.load(session), driver,
                                     os.path.join(build, "viewer"), files)
        folder = prefix.unix_path(FOLDER, "figures")
        os.makedirs(folder, exist_ok=True)
        for name in ("DV2.EXE", "onebox.exe"):
            shutil.copyfile(files[name], os.path.join(folder, name))
        viewer_boxes = [(b"Verdika 15.3.2002 SZ", prefix.table_text("2002", "15.3.", "SZ", "")),
                        (b"Verdika 15.3.2002 NZ", prefix.table_text("2002", "15.3.", "NZ", ""))]
        onebox_boxes = [(b"Orvola", b"Orvola")]
        # the first run of each reads the program from disk into the prefix
        cold_viewer = first_box_times(prefix, "DV2.EXE", " 15.3.2002", viewer_boxes, 1)
        cold_onebox = first_box_times(prefix, "onebox.exe", "", onebox_boxes, 1)
        viewer, onebox = [], []
        for _ in range(args.runs):  # alternating, so that both see the same machine
            viewer += first_box_times(prefix, "DV2.EXE", " 15.3.2002", viewer_boxes, 1)
            onebox += first_box_times(prefix, "onebox.exe", "", onebox_boxes, 1)
    finally:
        wine_session.stop(session)
        shutil.rmtree(session, ignore_errors=True)  # its prefix is of no further use

    print("Time from the start of the process to its first box, under Wine")
    print("  DV2.EXE 15.3.2002  %s" % summary(viewer))
    print("  onebox.exe         %s" % summary(onebox))
    print("  ratio of the medians DV2.EXE / onebox.exe: %.2f"
          % (statistics.median(viewer) / statistics.median(onebox)))
    print("  first runs: DV2.EXE %.1f ms, onebox.exe %.1f ms" % (cold_viewer[0], cold_onebox[0]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
