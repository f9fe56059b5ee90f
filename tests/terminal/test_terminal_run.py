#!/usr/bin/env python3
"""The viewer of this machine's build as `make run` starts it: boxes drawn on
the terminal in UTF-8, default answers without a terminal on standard input,
DIAR.TXT from the current folder, the hand-over to the test edition, and exit
code 0 on every course.

    python3 test_terminal_run.py <folder with DV2.EXE and DV3.EXE>
"""

import os
import subprocess
import sys
import tempfile
import unittest

PROGRAMS = None


def run(arguments, reminders=None):
    with tempfile.TemporaryDirectory() as folder:
        if reminders is not None:
            with open(os.path.join(folder, "DIAR.TXT"), "wb") as f:
                f.write(reminders.encode("cp1250"))
        # no PATH: a web page offer answered Yes finds no program to open it
        # with, instead of opening a browser on the machine that runs the tests
        result = subprocess.run([os.path.join(PROGRAMS, "DV2.EXE")] + arguments, cwd=folder,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60,
                                env={"PATH": "/nonexistent"})
    return result.returncode, result.stdout.decode("utf-8")


class TerminalRun(unittest.TestCase):
    def test_the_days_texts_and_a_reminder(self):
        code, out = run(["15.3.2002"], "15.3. Narozeniny Jany\r\nPO pondělí\r\n")
        self.assertEqual(code, 0)
        self.assertIn("┌─ Verdika 15.3.2002 SZ ", out)
        self.assertIn("┌─ Verdika 15.3.2002 NZ ", out)
        self.assertIn("┌─ 15.3.  ", out)
        self.assertIn("Narozeniny Jany", out)
        self.assertLess(out.index("SZ"), out.index("NZ"))
        self.assertIn("[ OK ]", out)

    def test_an_invalid_parameter(self):
        code, out = run(["x"], "Každý den\r\n")
        self.assertEqual(code, 0)
        self.assertIn("Neplatný parametr:  x", out)
        self.assertNotIn("Každý den", out)

    def test_another_year_runs_its_edition(self):
        code, out = run(["15.3.2003"])
        self.assertEqual(code, 0)
        self.assertIn("Verdika 15.3.2003 SZ", out)
        self.assertIn("Pomoc má jest od Hospodina", out)

    def test_a_year_without_edition_offers_the_page(self):
        # no terminal: the offer takes its default answer, Yes
        code, out = run(["1.1.2010"], "Každý den\r\n")
        self.assertEqual(code, 0)
        self.assertIn("pouze texty pro rok 2002", out)
        self.assertIn("[ Ano ]  [ Ne ]", out)
        self.assertIn("Webovou stránku programu se bohužel nepovedlo otevřít", out)
        self.assertIn("Každý den", out)


if __name__ == "__main__":
    PROGRAMS = sys.argv.pop(1)
    unittest.main()
