#!/usr/bin/env python3
"""Turn a year's texts (UTF-8 source, see textshape.py) into the viewer's
built-in table: 12 months x 31 day slots x 2 texts, each text in Windows-1250
followed by one NUL; days the year does not have get two empty entries."""

import argparse
import calendar
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import textshape  # noqa: E402


def table_bytes(texts, year, require_complete=False, where=""):
    """The table as bytes.  `texts` as read_texts gives it."""
    out = bytearray()
    for month in range(1, 13):
        days = calendar.monthrange(year, month)[1]
        for day in range(1, 32):
            for kind in ("SZ", "NZ"):
                entry = texts.get((month, day, kind))
                if entry and day > days:
                    raise textshape.ShapeError(
                        "%s:%d: %d has no day %02d-%02d" % (where, entry[0], year, month, day))
                if entry is None and day <= days and require_complete:
                    raise textshape.ShapeError(
                        "%s: no %s text for %02d-%02d" % (where, kind, month, day))
                if entry:
                    out += entry[1].encode("cp1250")
                out.append(0)
    return bytes(out)


def cpp_source(data, year):
    lines = [
        "// Generated from the texts of %d; do not edit." % year,
        "#include \"daily_texts.h\"",
        "",
        "const unsigned char DailyTextTable[%d] = {" % len(data),
    ]
    for i in range(0, len(data), 16):
        lines.append("    " + ",".join("0x%02x" % b for b in data[i:i + 16]) + ",")
    lines += ["};", "const std::uint32_t DailyTextTableSize = sizeof DailyTextTable;", ""]
    return "\n".join(lines)


def main():
    p = argparse.ArgumentParser(description=__doc__)
    p.add_argument("--year", type=int, required=True)
    p.add_argument("--input", required=True)
    p.add_argument("--output", required=True, help="C++ source to write")
    p.add_argument("--binary", help="also write the raw table bytes here")
    p.add_argument("--complete", action="store_true",
                   help="fail when a day of the year has no texts")
    args = p.parse_args()
    try:
        texts = textshape.read_texts(args.input)
        data = table_bytes(texts, args.year, args.complete, args.input)
    except (textshape.ShapeError, OSError, UnicodeDecodeError) as e:
        sys.stderr.write("error: %s\n" % e)
        return 1
    source = cpp_source(data, args.year)
    # rewrite only on change, so that a touched but unchanged file rebuilds nothing
    try:
        with open(args.output, encoding="ascii") as f:
            if f.read() == source:
                source = None
    except OSError:
        pass
    if source is not None:
        with open(args.output, "w", encoding="ascii") as f:
            f.write(source)
    if args.binary:
        with open(args.binary, "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
