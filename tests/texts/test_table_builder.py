#!/usr/bin/env python3
"""The build step that turns a year's texts into the built-in table: the
shape it gives the texts, the layout of the table, and the messages with
which it refuses a text that breaks a rule.

    python3 tests/texts/test_table_builder.py
"""

import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TEXTS = os.path.join(ROOT, "viewer", "texts")
BUILDER = os.path.join(TEXTS, "build_table.py")
NBSP = "\u00a0"

OK_SZ = "01-01 SZ Na počátku stvořil Bůh nebe a zemi. (1.Mojž 1,1)"
OK_NZ = "01-01 NZ Bůh láska jest. (1.Jan 4,8)"


def build(lines, year=2002, complete=False):
    """(exit code, stderr, table bytes) of a build of these source lines."""
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "texts.txt")
        with open(source, "w", encoding="utf-8", newline="") as f:
            f.write("\n".join(lines) + "\n")
        binary = os.path.join(folder, "table.bin")
        command = [sys.executable, BUILDER, "--year", str(year), "--input", source,
                   "--output", os.path.join(folder, "table.cpp"), "--binary", binary]
        if complete:
            command.append("--complete")
        result = subprocess.run(command, capture_output=True, text=True)
        table = b""
        if result.returncode == 0:
            with open(binary, "rb") as f:
                table = f.read()
        return result.returncode, result.stderr.replace(source, "texts.txt"), table


class Shape(unittest.TestCase):
    def test_no_break_spaces_after_one_letter_words_and_in_the_reference(self):
        code, _, table = build(["# a comment", "", OK_SZ, OK_NZ])
        self.assertEqual(code, 0)
        first = table.split(b"\0")[0].decode("cp1250")
        self.assertEqual(first, "Na počátku stvořil Bůh nebe a" + NBSP + "zemi. (1.Mojž" + NBSP + "1,1)")

    def test_texts_leave_as_windows_1250_bytes(self):
        code, _, table = build(["01-01 SZ „Řekl“ I já. (Žalm 1,1)", OK_NZ])
        self.assertEqual(code, 0)
        self.assertTrue(table.startswith(b"\x84\xd8ekl\x93 I\xa0j\xe1. (\x8ealm\xa01,1)\0"))


class Layout(unittest.TestCase):
    def entries(self, table):
        entries = table.split(b"\0")
        self.assertEqual(entries[-1], b"")  # the last entry's NUL ends the table
        return entries[:-1]

    def test_twelve_months_of_31_slots_of_two_texts(self):
        code, _, table = build([OK_SZ, OK_NZ, "12-31 SZ Amen. (Žalm 1,2)", "12-31 NZ Amen. (Mat 1,2)"])
        self.assertEqual(code, 0)
        entries = self.entries(table)
        self.assertEqual(len(entries), 744)
        self.assertTrue(entries[0].startswith(b"Na po"))
        self.assertTrue(entries[1].startswith(b"B\xf9h"))
        self.assertTrue(entries[742].startswith(b"Amen. (\x8ealm"))
        self.assertTrue(entries[743].startswith(b"Amen. (Mat"))
        self.assertEqual(sum(1 for e in entries if e), 4)

    def test_a_leap_year_has_29_february(self):
        lines = ["02-29 SZ Amen. (Žalm 1,2)", "02-29 NZ Amen. (Mat 1,2)"]
        self.assertEqual(build(lines, year=2004)[0], 0)
        code, message, _ = build(lines, year=2002)
        self.assertNotEqual(code, 0)
        self.assertIn("texts.txt:1: 2002 has no day 02-29", message)

    def test_a_complete_year_needs_every_day(self):
        code, message, _ = build([OK_SZ, OK_NZ], complete=True)
        self.assertNotEqual(code, 0)
        self.assertIn("no SZ text for 01-02", message)


class Refusals(unittest.TestCase):
    """Each bad line is refused with the file, its line and the reason."""

    CASES = [
        ("01-01 SZ Bez odkazu.", "exactly one \"(\""),
        ("01-01 SZ Dva (Žalm 1,1) odkazy (Žalm 1,2)", "exactly one \"(\""),
        ("01-01 SZ Text(Žalm 1,1)", "after one blank"),
        ("01-01 SZ Text.  (Žalm 1,1)", "after one blank"),
        ("01-01 SZ Text. (Žalm 1,1) konec", "end with the reference"),
        ("01-01 SZ  Text. (Žalm 1,1)", "blank at the start or end"),
        ("01-01 SZ Dvě  mezery. (Žalm 1,1)", "two blanks in a row"),
        ("01-01 SZ Tab\tuvnitř. (Žalm 1,1)", "control character"),
        ("01-01 SZ Znak \u20ac je. (Žalm 1,1)", None),  # the euro sign is in the code page
        ("01-01 SZ Znak \u0436 není. (Žalm 1,1)", "no Windows-1250 form"),
        ("01-01 SZ Text. (Žalm1,1)", "not of the form"),
        ("01-01 SZ Text. (Kniha 1,1)", "unknown book"),
        ("01-01 SZ Text\u00a0s pevnou mezerou. (Žalm 1,1)", "no-break space in the source"),
        ("13-01 SZ Text. (Žalm 1,1)", "no such date"),
        ("01-32 SZ Text. (Žalm 1,1)", "no such date"),
        ("1.1. SZ Text. (Žalm 1,1)", "expected \"MM-DD SZ text\""),
        ("01-01 XZ Text. (Žalm 1,1)", "expected \"MM-DD SZ text\""),
    ]

    def test_bad_texts(self):
        for line, reason in self.CASES:
            with self.subTest(line=line):
                code, message, _ = build(["# first line", line, "01-01 NZ Text. (Mat 1,1)"])
                if reason is None:
                    self.assertEqual(code, 0, message)
                    continue
                self.assertNotEqual(code, 0)
                self.assertIn("texts.txt:2: ", message)
                self.assertIn(reason, message)

    def test_order_of_the_lines(self):
        cases = [
            ([OK_NZ], "must follow the SZ text"),
            ([OK_SZ, OK_SZ.replace("01-01", "01-02")], "has an SZ text but no NZ text"),
            ([OK_SZ, OK_NZ, OK_SZ, OK_NZ], "out of order or repeated"),
            (["01-02 SZ A. (Žalm 1,1)", "01-02 NZ B. (Mat 1,1)", OK_SZ, OK_NZ], "out of order"),
            ([OK_SZ], "has an SZ text but no NZ text"),
        ]
        for lines, reason in cases:
            with self.subTest(lines=lines):
                code, message, _ = build(lines)
                self.assertNotEqual(code, 0)
                self.assertIn("texts.txt:", message)
                self.assertIn(reason, message)


if __name__ == "__main__":
    unittest.main()
