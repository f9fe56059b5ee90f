#!/usr/bin/env python3
"""Checks the built-in daily text table of 2002.

The table is the raw bytes that build_table.py writes: 12 months x 31 day
slots x (Old Testament text, New Testament text), each entry Windows-1250
bytes followed by one NUL.  By default the test builds it from
viewer/texts/2002.txt with build_table.py; a table built elsewhere (the one
the build compiles in) can be given instead:

    python3 tests/texts/test_daily_text_table.py [--table FILE] [unittest options]

or with the environment variable DAILY_TEXT_TABLE=FILE.  The comparison with
the Bible needs ../shared/bible beside the project; without it that test is
skipped.
"""

import calendar
import os
import re
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TEXTS = os.path.join(ROOT, "viewer", "texts")
SOURCE = os.path.join(TEXTS, "2002.txt")
BIBLE = os.path.join(os.path.dirname(ROOT), "shared", "bible")
sys.path.insert(0, TEXTS)
import choose_texts  # noqa: E402
import textshape  # noqa: E402

YEAR = 2002
NBSP = "\u00a0"
# the reference of a table text: abbreviation, no-break space, chapter,verse
# or chapter,first-last
REFERENCE = re.compile(r"\((\S+)" + NBSP + r"(\d+),(\d+)(?:-(\d+))?\)$")
TABLE_PATH = os.environ.get("DAILY_TEXT_TABLE")


def build_table():
    """The table bytes as build_table.py writes them from the source."""
    with tempfile.TemporaryDirectory() as folder:
        binary = os.path.join(folder, "table.bin")
        subprocess.run(
            [sys.executable, os.path.join(TEXTS, "build_table.py"), "--year", str(YEAR),
             "--input", SOURCE, "--output", os.path.join(folder, "table.cpp"),
             "--binary", binary, "--complete"],
            check=True)
        with open(binary, "rb") as f:
            return f.read()


def slots():
    """(month, day, testament, day exists) for the 744 entries in table order."""
    for month in range(1, 13):
        days = calendar.monthrange(YEAR, month)[1]
        for day in range(1, 32):
            for testament in ("SZ", "NZ"):
                yield month, day, testament, day <= days


def derivable(text, verse):
    """Whether `text` comes from the Bible text `verse` with only the changes a
    daily text may make: leading conjunctions dropped (the next word then with a
    capital letter) and a final "," or ";" made a full stop."""
    endings = [verse]
    if verse[-1:] in ",;":
        endings.append(verse[:-1] + ".")
    for candidate in endings:
        while True:
            if candidate == text:
                return True
            head, blank, rest = candidate.partition(" ")
            if not blank or head.rstrip(",") not in choose_texts.CONJUNCTIONS:
                break
            candidate = choose_texts.capitalise(rest)
    return False


class DailyTextTable(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        if TABLE_PATH:
            with open(TABLE_PATH, "rb") as f:
                cls.table = f.read()
        else:
            cls.table = build_table()
        assert cls.table.endswith(b"\0"), "the table must end with a NUL"
        cls.entries = cls.table[:-1].split(b"\0")
        cls.texts = [e.decode("cp1250") for e in cls.entries]
        cls.filled = [(m, d, t, text, raw)
                      for (m, d, t, _), text, raw in zip(slots(), cls.texts, cls.entries)
                      if raw]

    def test_entry_count(self):
        self.assertEqual(len(self.entries), 744)
        self.assertEqual(len(self.filled), 730)
        self.assertEqual(self.table.count(0), 744)

    def test_empty_slots_where_the_calendar_has_no_day(self):
        for (month, day, testament, exists), raw in zip(slots(), self.entries):
            with self.subTest(month=month, day=day, testament=testament):
                self.assertEqual(bool(raw), exists)
        empty = [(m, d) for (m, d, _, exists) in slots() if not exists]
        self.assertEqual(sorted(set(empty)),
                         [(2, 29), (2, 30), (2, 31), (4, 31), (6, 31), (9, 31), (11, 31)])

    def test_byte_limits(self):
        for month, day, testament, text, raw in self.filled:
            with self.subTest(month=month, day=day, testament=testament):
                self.assertGreaterEqual(len(raw), 32)
                self.assertLessEqual(len(raw), {"SZ": 217, "NZ": 306}[testament])
                self.assertEqual(text.encode("cp1250"), raw)

    def test_shape_and_reference_form(self):
        for month, day, testament, text, _ in self.filled:
            with self.subTest(month=month, day=day, testament=testament, text=text):
                self.assertIsNone(textshape.check(text))
                m = REFERENCE.search(text)
                self.assertIsNotNone(m, "reference is not (abbreviation chapter,verse)")
                self.assertTrue(text[:m.start()].endswith(" "))
                book = textshape.BOOKS.index(m.group(1))
                self.assertEqual(testament, "SZ" if book < 39 else "NZ")
                if m.group(4):
                    self.assertLess(int(m.group(3)), int(m.group(4)))
                verse = text[:m.start() - 1]
                self.assertNotIn("(", verse)
                self.assertNotIn(")", verse)
                self.assertTrue(verse[0].isupper(), "the text must begin with a capital")
                self.assertIn(verse[-1], ".!?", "the text must end a sentence")

    def test_no_reference_or_verse_twice(self):
        seen = {}
        for month, day, testament, text, _ in self.filled:
            m = REFERENCE.search(text)
            first = int(m.group(3))
            for verse in range(first, int(m.group(4) or first) + 1):
                key = (m.group(1), int(m.group(2)), verse)
                with self.subTest(month=month, day=day, testament=testament):
                    self.assertNotIn(key, seen, "also used on %s" % (seen.get(key),))
                seen[key] = "%02d-%02d %s" % (month, day, testament)

    def test_no_book_gives_more_than_a_quarter(self):
        for testament in ("SZ", "NZ"):
            counts = {}
            for _, _, t, text, _ in self.filled:
                if t == testament:
                    book = REFERENCE.search(text).group(1)
                    counts[book] = counts.get(book, 0) + 1
            with self.subTest(testament=testament):
                self.assertLessEqual(max(counts.values()), 365 // 4)

    def test_first_and_last_entries(self):
        self.assertTrue(self.entries[0], "1 January has an Old Testament text")
        self.assertTrue(self.table.startswith(self.entries[0] + b"\0"))
        self.assertTrue(self.entries[743], "31 December has a New Testament text")
        self.assertTrue(self.table.endswith(b"\0" + self.entries[743] + b"\0"))
        # 28 February and 1 May are filled, 29 February and 31 April empty
        self.assertTrue(self.entries[116] and self.entries[117])
        self.assertEqual(self.entries[118:120], [b"", b""])
        self.assertEqual(self.entries[246:248], [b"", b""])
        self.assertTrue(self.entries[248] and self.entries[249])
        source = textshape.read_texts(SOURCE)
        self.assertEqual(self.texts[0], source[(1, 1, "SZ")][1])
        self.assertEqual(self.texts[743], source[(12, 31, "NZ")][1])

    def test_table_matches_the_source(self):
        source = textshape.read_texts(SOURCE)
        for (month, day, testament, exists), text in zip(slots(), self.texts):
            if exists:
                with self.subTest(month=month, day=day, testament=testament):
                    self.assertEqual(text, source[(month, day, testament)][1])

    @unittest.skipUnless(os.path.isfile(os.path.join(BIBLE, "bkr.tsv")),
                         "the Bible file is not beside the project (%s)" % BIBLE)
    def test_texts_match_the_bible(self):
        bible = choose_texts.Bible(BIBLE)
        for month, day, testament, text, _ in self.filled:
            m = REFERENCE.search(text)
            reference = "%s %s,%s%s" % (m.group(1), m.group(2), m.group(3),
                                        "-" + m.group(4) if m.group(4) else "")
            with self.subTest(month=month, day=day, testament=testament, reference=reference):
                verse, _ = bible.text(reference)
                mine = text[:m.start() - 1].replace(NBSP, " ")
                self.assertTrue(derivable(mine, verse),
                                "%r does not come from %r" % (mine, verse))

    @unittest.skipUnless(os.path.isfile(os.path.join(BIBLE, "bkr.tsv")),
                         "the Bible file is not beside the project (%s)" % BIBLE)
    def test_source_is_written_from_the_plan(self):
        """2002.txt is what choose_texts.py writes from the committed plan."""
        plan = os.path.join(TEXTS, "plan%d.tsv" % YEAR)
        texts, problems = choose_texts.choose(choose_texts.read_plan(plan),
                                              choose_texts.Bible(BIBLE), YEAR)
        self.assertEqual(problems, [])
        with open(SOURCE, encoding="utf-8", newline="") as f:
            self.assertEqual(f.read(), choose_texts.source_file(texts, YEAR, os.path.basename(plan)))


def main():
    global TABLE_PATH
    args = sys.argv[:1]
    rest = iter(sys.argv[1:])
    for arg in rest:
        if arg == "--table":
            TABLE_PATH = next(rest, None)
        elif arg.startswith("--table="):
            TABLE_PATH = arg[len("--table="):]
        else:
            args.append(arg)
    unittest.main(argv=args)


if __name__ == "__main__":
    main()
