#!/usr/bin/env python3
"""Write a year's daily texts from its reading plan and the Kralice Bible.

The reading plan (plan2002.tsv) names, for every day of the year, one Old
Testament reference (SZ) and one New Testament reference (NZ).  This tool looks
the verses up in the Bible file, builds each text word for word, checks every
rule the texts must keep, writes the source file of the year's texts (2002.txt,
the input of build_table.py) and prints a report.  The same inputs always give
the same file, byte for byte.

Plan format: UTF-8, tab-separated, one reference a line; "#" lines and empty
lines are comments; the first other line is the header

    date<TAB>testament<TAB>reference<TAB>edits

    2002-01-01<TAB>SZ<TAB>Žalm 90,2<TAB>
    2002-03-29<TAB>SZ<TAB>Iz 53,4-5<TAB>-Ještotě

date is YYYY-MM-DD, testament SZ or NZ, reference the book abbreviation of
books.tsv, one blank and "chapter,verse" or "chapter,first-last" (the verses
of a range are joined with one blank).  edits may be empty; otherwise it holds
blank-separated marks, applied in this order:

    -WORD   drop the leading conjunction WORD (one of CONJUNCTIONS) and a
            comma right after it; the next word then gets a capital letter
    .       the verse ends in "," or ";" that closes a sentence: make it "."

Nothing else of the Bible text is changed.
"""

import argparse
import calendar
import datetime
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
import build_table  # noqa: E402
import textshape  # noqa: E402

YEAR = 2002
DEFAULT_PLAN = os.path.join(HERE, "plan%d.tsv" % YEAR)
DEFAULT_OUTPUT = os.path.join(HERE, "%d.txt" % YEAR)
DEFAULT_BIBLE = os.path.join(os.path.dirname(ROOT), "shared", "bible")

# leading words that may be dropped: conjunctions and particles that tie a
# verse to the one before it
CONJUNCTIONS = ("A", "I", "Ale", "Aleť", "Nebo", "Neboť", "Protož", "Protožť", "Pročež",
                "Však", "Všakť", "Avšak", "Tedy", "Takž", "Nýbrž", "Než")
# words that cannot begin a sentence, so no conjunction is dropped before them:
# enclitic pronouns and forms of "to be", and "že" that opens a dependent clause
NOT_FIRST = ("se", "si", "jest", "jsem", "jsi", "jsme", "jste", "jsou", "by", "bych",
             "bys", "bychom", "byste", "mi", "mu", "ho", "tě", "že")
# the largest share of a testament's texts that one book may give
BOOK_SHARE = 4
# byte limits of a whole table text (verse, blank, reference in parentheses)
LIMITS = {"SZ": 217, "NZ": 306}
SHORTEST = 32
# at most so many verses in a range
MAX_RANGE = 4
HEADER = ("date", "testament", "reference", "edits")
PLAN_REFERENCE = re.compile(r"^(\S+) (\d+),(\d+)(?:-(\d+))?$")
SENTENCE_END = ".!?"


class PlanError(Exception):
    pass


class Bible:
    """The verses of bkr.tsv and the books of books.tsv."""

    def __init__(self, folder):
        self.books = {}  # abbreviation -> (number, testament "OT"/"NT")
        self.order = []  # abbreviations in the order of the books
        with open(os.path.join(folder, "books.tsv"), encoding="utf-8") as f:
            for number, line in enumerate(f):
                fields = line.rstrip("\n").split("\t")
                if number == 0:
                    continue
                self.books[fields[4]] = (int(fields[0]), fields[1])
                self.order.append(fields[4])
        self.verses = {}  # (book number, chapter, verse) -> text
        with open(os.path.join(folder, "bkr.tsv"), encoding="utf-8") as f:
            for number, line in enumerate(f):
                fields = line.rstrip("\n").split("\t")
                if number == 0:
                    continue
                book, chapter, verse = int(fields[0]), int(fields[1]), int(fields[2])
                self.verses[(book, chapter, verse)] = fields[3]

    def testament(self, abbreviation):
        return {"OT": "SZ", "NT": "NZ"}[self.books[abbreviation][1]]

    def text(self, reference):
        """The verse text of a plan reference ("Žalm 90,2", "Iz 53,4-5") and the
        keys of its verses; raises PlanError when it is not in the Bible."""
        abbreviation, chapter, first, last = parse_reference(reference)
        if abbreviation not in self.books:
            raise PlanError("%s: no book %r in the Bible file" % (reference, abbreviation))
        book = self.books[abbreviation][0]
        keys = [(book, chapter, v) for v in range(first, last + 1)]
        for key in keys:
            if key not in self.verses:
                raise PlanError("%s does not exist in the Bible file" % reference)
        return " ".join(self.verses[k] for k in keys), keys


def parse_reference(reference):
    """(abbreviation, chapter, first verse, last verse) of a plan reference."""
    m = PLAN_REFERENCE.match(reference)
    if not m:
        raise PlanError('reference %r is not "book chapter,verse" or "book chapter,first-last"'
                        % reference)
    first = int(m.group(3))
    last = int(m.group(4)) if m.group(4) else first
    if not first <= last < first + MAX_RANGE:
        raise PlanError("%s: a range runs forward over at most %d verses" % (reference, MAX_RANGE))
    return m.group(1), int(m.group(2)), first, last


def capitalise(text):
    return text[:1].upper() + text[1:]


def drop_conjunction(text, word):
    """The text without its leading conjunction `word` (and a comma after it),
    the next word with a capital letter."""
    if word not in CONJUNCTIONS:
        raise PlanError("%r may not be dropped: not one of the leading conjunctions" % word)
    head, blank, rest = text.partition(" ")
    if head.rstrip(",") != word or not blank:
        raise PlanError("the verse does not begin with %r" % word)
    if rest.split(" ")[0].rstrip(",").lower() in NOT_FIRST:
        raise PlanError("dropping %r leaves %r at the start, which cannot begin a sentence"
                        % (word, rest.split(" ")[0]))
    return capitalise(rest)


def apply_edits(text, edits):
    """The verse text with the plan's edit marks applied."""
    for mark in edits:
        if mark.startswith("-") and len(mark) > 1:
            text = drop_conjunction(text, mark[1:])
        elif mark == ".":
            if text[-1:] not in ",;":
                raise PlanError('"." is only for a verse that ends in "," or ";"')
            text = text[:-1] + "."
        else:
            raise PlanError("unknown edit mark %r" % mark)
    return text


def sentence_problem(text):
    """Why a verse text is not a whole sentence fit to stand alone, or None."""
    if "(" in text or ")" in text:
        return "the verse holds words in parentheses"
    if "#" in text:
        return 'the verse holds a stray "#"'
    if not text[:1].isupper():
        return "the verse does not begin with a capital letter"
    if text[-1:] not in SENTENCE_END:
        return 'the verse does not end with ".", "!" or "?", so it is no whole sentence'
    return None


def table_size(text):
    return len(text.encode("cp1250"))


def read_plan(path):
    """The plan lines: a list of (line number, date, testament, reference, edits)."""
    entries = []
    header = None
    with open(path, encoding="utf-8", newline="") as f:
        lines = f.read().split("\n")
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\r")
        if line.strip() == "" or line.startswith("#"):
            continue
        fields = line.split("\t")
        where = "%s:%d: " % (path, number)
        if header is None:
            if tuple(fields) != HEADER:
                raise PlanError(where + "the header must be %s" % "<TAB>".join(HEADER))
            header = fields
            continue
        if len(fields) == 3:
            fields.append("")
        if len(fields) != 4:
            raise PlanError(where + "expected date, testament, reference and edits, "
                                    "separated by tabs")
        date, testament, reference, edits = fields
        try:
            day = datetime.datetime.strptime(date, "%Y-%m-%d").date()
        except ValueError:
            raise PlanError(where + "no date %r (YYYY-MM-DD)" % date)
        if testament not in ("SZ", "NZ"):
            raise PlanError(where + "testament %r is not SZ or NZ" % testament)
        entries.append((number, day, testament, reference, edits.split()))
    return entries


def choose(plan, bible, year):
    """Check the plan against the Bible and every rule of the texts.  Returns
    ({(date, testament): (source text, book abbreviation)}, problems), each
    problem a message that names the day."""
    texts = {}
    problems = []
    used = {}  # verse key -> "date testament" that uses it
    per_book = {}
    for number, day, testament, reference, edits in plan:
        name = "%s %s" % (day.isoformat(), testament)

        def fail(reason):
            problems.append("%s: %s" % (name, reason))

        if day.year != year:
            fail("the day is not in %d" % year)
            continue
        if (day, testament) in texts:
            fail("a second %s text for the day" % testament)
            continue
        try:
            verse, keys = bible.text(reference)
            abbreviation = parse_reference(reference)[0]
            if bible.testament(abbreviation) != testament:
                raise PlanError("%s is not in the %s" % (
                    reference, {"SZ": "Old Testament", "NZ": "New Testament"}[testament]))
            verse = apply_edits(verse, edits)
        except PlanError as e:
            fail(str(e))
            continue
        problem = sentence_problem(verse)
        if problem:
            fail("%s: %s" % (reference, problem))
            continue
        for key in keys:
            if key in used:
                fail("%s repeats a verse of %s" % (reference, used[key]))
                break
            used[key] = name
        source = "%s (%s)" % (verse, reference)
        try:
            shaped = textshape.shape(source)
        except textshape.ShapeError as e:
            fail("%s: %s" % (reference, e))
            continue
        size = table_size(shaped)
        if size > LIMITS[testament]:
            fail("%s: %d bytes, more than the %d an %s text may have"
                 % (reference, size, LIMITS[testament], testament))
        if size < SHORTEST:
            fail("%s: %d bytes, fewer than %d" % (reference, size, SHORTEST))
        texts[(day, testament)] = (source, abbreviation)
        per_book[(testament, abbreviation)] = per_book.get((testament, abbreviation), 0) + 1
    day = datetime.date(year, 1, 1)
    while day.year == year:
        for testament in ("SZ", "NZ"):
            if (day, testament) not in texts and not any(
                    p.startswith("%s %s:" % (day.isoformat(), testament)) for p in problems):
                problems.append("%s %s: no text for the day" % (day.isoformat(), testament))
        day += datetime.timedelta(days=1)
    days = 366 if calendar.isleap(year) else 365
    for (testament, abbreviation), count in sorted(per_book.items()):
        if count > days // BOOK_SHARE:
            problems.append("%s: %d %s texts from %s, more than 1/%d of the year's %d"
                            % (year, count, testament, abbreviation, BOOK_SHARE, days))
    return texts, problems


def source_file(texts, year, plan_name):
    lines = [
        "# Daily texts of %d: one Old Testament (SZ) and one New Testament (NZ) text a day." % year,
        "# Bible of Kralice (1613), public domain. Written by choose_texts.py from %s;" % plan_name,
        "# change the plan and run the tool again rather than editing this file.",
    ]
    for (day, testament) in sorted(texts, key=lambda k: (k[0], k[1] != "SZ")):
        lines.append("%s %s %s" % (day.strftime("%m-%d"), testament, texts[(day, testament)][0]))
    return "\n".join(lines) + "\n"


def report(texts, bible, table):
    out = []
    for testament, title in (("SZ", "Old Testament"), ("NZ", "New Testament")):
        mine = [(k[0], v) for k, v in texts.items() if k[1] == testament]
        counts = {}
        for _, (_, abbreviation) in mine:
            counts[abbreviation] = counts.get(abbreviation, 0) + 1
        out.append("%s (%s): %d texts from %d books" % (title, testament, len(mine), len(counts)))
        for abbreviation in bible.order:
            if abbreviation in counts:
                out.append("  %-7s %3d" % (abbreviation, counts[abbreviation]))
        sized = sorted((table_size(textshape.shape(source)), day, source)
                       for day, (source, _) in mine)
        for label, (size, day, source) in (("shortest", sized[0]), ("longest", sized[-1])):
            out.append("  %s: %d bytes, %s: %s" % (label, size, day.isoformat(), source))
    out.append("table: %d bytes, %d entries, %d of them empty" % (
        len(table), table.count(0), table.count(0) - len(texts)))
    return "\n".join(out)


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--plan", default=DEFAULT_PLAN, help="reading plan (default: %(default)s)")
    p.add_argument("--bible", default=DEFAULT_BIBLE,
                   help="folder with bkr.tsv and books.tsv (default: %(default)s)")
    p.add_argument("--output", default=DEFAULT_OUTPUT, help="texts to write (default: %(default)s)")
    p.add_argument("--year", type=int, default=YEAR)
    args = p.parse_args()
    try:
        bible = Bible(args.bible)
        plan = read_plan(args.plan)
    except (OSError, UnicodeDecodeError, IndexError, ValueError, PlanError) as e:
        sys.stderr.write("error: %s\n" % e)
        return 1
    texts, problems = choose(plan, bible, args.year)
    if problems:
        for problem in problems:
            sys.stderr.write("error: %s\n" % problem)
        sys.stderr.write("%d problems; %s not written\n" % (len(problems), args.output))
        return 1
    data = source_file(texts, args.year, os.path.basename(args.plan))
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(data)
    # read the written file back as the table generator does
    try:
        table = build_table.table_bytes(textshape.read_texts(args.output), args.year, True,
                                        args.output)
    except textshape.ShapeError as e:
        sys.stderr.write("error: %s\n" % e)
        return 1
    print(report(texts, bible, table))
    return 0


if __name__ == "__main__":
    sys.exit(main())
