"""Shape rules of the daily texts and the source format of a year's texts.

A year's texts are kept in a UTF-8 file, one text a line:

    MM-DD SZ verse (reference)
    MM-DD NZ verse (reference)

SZ is the Old Testament text, NZ the New Testament text of the day.  Lines
starting with "#" and empty lines are ignored.  The source uses plain blanks
only; the table gets its no-break spaces from `shape`.
"""

import re

NBSP = "\u00a0"
KEY = re.compile(r"^(\d\d)-(\d\d) (SZ|NZ) (.*)$")
# book abbreviation (numbered books: digit and dot in front), chapter,
# optional verses ("1", "11-12", "3.5"), optional short suffix
REFERENCE = re.compile(
    r"^(?:[1-5]\.)?[^\W\d_]+" + NBSP + r"\d+(?:,\d+(?:[-.]\d+)*)?(?:" + NBSP + r"[^\W_]+)?$")


# the book abbreviations used in references, in the order of the books
BOOKS = (
    "1.Mojž", "2.Mojž", "3.Mojž", "4.Mojž", "5.Mojž", "Joz", "Soud", "Rut", "1.Sam", "2.Sam", "1.Král",
    "2.Král", "1.Par", "2.Par", "Ezd", "Neh", "Est", "Job", "Žalm", "Přísl", "Kaz", "Píseň",
    "Iz", "Jer", "Pláč", "Ez", "Dan", "Oz", "Jl", "Am", "Abd", "Jon", "Mich",
    "Nah", "Abak", "Sof", "Ag", "Zach", "Mal", "Mat", "Mar", "Luk", "Jan", "Sk",
    "Řím", "1.Kor", "2.Kor", "Gal", "Ef", "Fil", "Kol", "1.Tes", "2.Tes", "1.Tim", "2.Tim",
    "Tit", "Filem", "Žid", "Jak", "1.Petr", "2.Petr", "1.Jan", "2.Jan", "3.Jan", "Jud", "Zjev",
)


class ShapeError(Exception):
    pass


def _is_letter(ch):
    return ch.isalpha()


def shape(text):
    """Turn a source text with plain blanks into its table form: a no-break
    space after every one-letter word of the verse and in place of every blank
    of the reference.  Raises ShapeError for a text that breaks a rule."""
    if NBSP in text:
        raise ShapeError("no-break space in the source; write a plain blank")
    if text.count("(") != 1:
        raise ShapeError('the text must contain exactly one "("')
    verse, _, rest = text.partition("(")
    if not verse.endswith(" ") or verse.endswith("  "):
        raise ShapeError('the reference must follow the verse after one blank')
    verse = verse[:-1]
    if not rest.endswith(")") or rest.count(")") != 1:
        raise ShapeError('the text must end with the reference in parentheses')
    reference = rest[:-1].replace(" ", NBSP)
    out = []
    for i, ch in enumerate(verse):
        if (ch == " " and i >= 1 and _is_letter(verse[i - 1])
                and (i == 1 or not _is_letter(verse[i - 2]))):
            out.append(NBSP)
        else:
            out.append(ch)
    shaped = "".join(out) + " (" + reference + ")"
    problem = check(shaped)
    if problem:
        raise ShapeError(problem)
    return shaped


def check(text):
    """The reason a table text breaks a shape rule, or None when it keeps
    them all."""
    if text == "":
        return "empty text"
    for ch in text:
        if ord(ch) < 0x20 or ord(ch) == 0x7f or 0x80 <= ord(ch) < 0xa0:
            return "control character U+%04X" % ord(ch)
        try:
            ch.encode("cp1250")
        except UnicodeEncodeError:
            return "character %r (U+%04X) has no Windows-1250 form" % (ch, ord(ch))
    blanks = " " + NBSP
    if text[0] in blanks or text[-1] in blanks:
        return "blank at the start or end of the text"
    for a, b in zip(text, text[1:]):
        if a in blanks and b in blanks:
            return "two blanks in a row"
    if text.count("(") != 1:
        return 'the text must contain exactly one "("'
    verse, _, rest = text.partition("(")
    if not verse.endswith(" ") or len(verse) < 2:
        return "the reference must follow the verse after one blank"
    if not rest.endswith(")") or rest.count(")") != 1:
        return "the text must end with the reference in parentheses"
    reference = rest[:-1]
    if " " in reference:
        return "ordinary blank in the reference"
    if not REFERENCE.match(reference):
        return "reference %r is not of the form book, chapter,verse" % reference.replace(NBSP, " ")
    if reference.split(NBSP)[0] not in BOOKS:
        return "unknown book %r in the reference" % reference.split(NBSP)[0]
    verse = verse[:-1]
    for i in range(len(verse) - 1):
        if (verse[i + 1] == " " and _is_letter(verse[i])
                and (i == 0 or not _is_letter(verse[i - 1]))):
            return "one-letter word %r followed by an ordinary blank" % verse[i]
    return None


def read_texts(path):
    """Read a year's source file.  Returns a dict {(month, day, "SZ"|"NZ"):
    (line number, shaped text)}; raises ShapeError with "file:line: reason"."""
    texts = {}
    previous = None  # (month, day, kind) of the line before
    with open(path, encoding="utf-8", newline="") as f:
        data = f.read()
    for number, line in enumerate(data.split("\n"), 1):
        if line.endswith("\r"):
            line = line[:-1]
        if line == "" or line.startswith("#"):
            continue
        where = "%s:%d: " % (path, number)
        m = KEY.match(line)
        if not m:
            raise ShapeError(where + 'expected "MM-DD SZ text" or "MM-DD NZ text"')
        month, day, kind, text = int(m.group(1)), int(m.group(2)), m.group(3), m.group(4)
        if not (1 <= month <= 12 and 1 <= day <= 31):
            raise ShapeError(where + "no such date %02d-%02d" % (month, day))
        if kind == "SZ" and previous is not None and previous[2] == "SZ":
            raise ShapeError(where + "%02d-%02d has an SZ text but no NZ text" % previous[:2])
        if kind == "NZ" and previous != (month, day, "SZ"):
            raise ShapeError(where + "the NZ text must follow the SZ text of the same day")
        if kind == "SZ" and previous is not None and (month, day) <= previous[:2]:
            raise ShapeError(where + "out of order or repeated: the days go by date")
        try:
            shaped = shape(text)
        except ShapeError as e:
            raise ShapeError(where + str(e))
        texts[(month, day, kind)] = (number, shaped)
        previous = (month, day, kind)
    if previous is not None and previous[2] == "SZ":
        raise ShapeError("%s: %02d-%02d has an SZ text but no NZ text" % ((path,) + previous[:2]))
    return texts
