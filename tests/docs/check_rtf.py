#!/usr/bin/env python3
"""Checks that the manual is an RTF 1.x document in Windows-1250 that word
processors read as we mean it: one balanced group from the first byte to the
last, only control words of RTF 1.x that we know, every character outside
ASCII as a \\'xx escape of a byte that Windows-1250 has, fonts declared with
the Central European character set, and the text of the document in Czech.

Usage: check_rtf.py DV2.RTF [--text FILE]   (--text writes the plain text)
"""

import argparse
import re
import sys

# The control words of RTF 1.x that the manual may use: document and font
# table, style sheet, paragraph and character formatting, special
# characters, fields and the footer.
KNOWN_WORDS = {
    # document
    "rtf", "ansi", "ansicpg", "deff", "deflang", "deflangfe", "uc", "viewkind",
    "paperw", "paperh", "margl", "margr", "margt", "margb",
    "info", "title", "subject", "author", "footer", "header",
    # fonts and colours
    "fonttbl", "f", "froman", "fswiss", "fmodern", "fnil", "fcharset", "fprq",
    "colortbl", "red", "green", "blue", "cf",
    # styles
    "stylesheet", "s", "sbasedon", "snext",
    # paragraphs
    "pard", "plain", "par", "line", "sa", "sb", "sl", "slmult", "li", "ri", "fi",
    "ql", "qc", "qr", "qj", "keep", "keepn", "tx", "tab",
    # characters
    "b", "i", "ul", "ulnone", "fs", "lang",
    "bullet", "endash", "emdash", "lquote", "rquote", "ldblquote", "rdblquote",
    # fields
    "field", "fldinst", "fldrslt",
}

# The bytes that Windows-1250 leaves undefined.
UNDEFINED_CP1250 = {0x81, 0x83, 0x88, 0x90, 0x98}

TOKEN = re.compile(
    rb"\\([a-z]{1,32})(-?\d{1,10})? ?"  # control word, optional parameter, delimiter
    rb"|\\'([0-9a-fA-F]{2})"            # hex escape of a byte
    rb"|\\([^a-z'])"                    # control symbol (\\ \{ \} \~ \* ...)
    rb"|([{}])"                         # group
    rb"|([\r\n]+)"                      # line ends: no part of the text
    rb"|([^\\{}\r\n]+)"                 # text
)

CZECH_LETTERS = set("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ")


def check(data):
    problems = []
    if not data.startswith(rb"{\rtf1\ansi\ansicpg1250"):
        problems.append(r"does not begin with {\rtf1\ansi\ansicpg1250")
    high = sorted({b for b in data if b >= 0x80})
    if high:
        problems.append("raw bytes outside ASCII (%s): write them as \\'xx"
                        % " ".join("%02X" % b for b in high[:8]))

    depth = 0
    closed_at = None
    words = {}
    text = []
    fonts = {}          # font number -> its declaration
    used_fonts = set()
    group_words = []    # first control word of each open group
    in_fonttbl = None   # depth of the font table group
    font_decl = None
    skip_depth = None   # depth of a destination whose text is not document text
    position = 0
    expect_first = False
    for match in TOKEN.finditer(data):
        if match.start() != position:
            problems.append("unreadable bytes at offset %d" % position)
            break
        position = match.end()
        word, parameter, hexbyte, symbol, brace, line_end, plain = match.groups()
        if line_end is not None:
            continue
        if closed_at is not None:
            problems.append("content after the document's last } (offset %d)" % match.start())
            break
        if brace == b"{":
            depth += 1
            group_words.append(None)
            expect_first = True
            continue
        if brace == b"}":
            if depth == 0:
                problems.append("} without { at offset %d" % match.start())
                break
            if in_fonttbl is not None and depth == in_fonttbl + 1 and font_decl is not None:
                fonts[font_decl[0]] = font_decl[1]
                font_decl = None
            if depth == in_fonttbl:
                in_fonttbl = None
            if depth == skip_depth:
                skip_depth = None
            group_words.pop()
            depth -= 1
            if depth == 0:
                closed_at = match.end()
            continue
        first = expect_first
        expect_first = False
        if word is not None:
            name = word.decode()
            words[name] = words.get(name, 0) + 1
            if name not in KNOWN_WORDS:
                problems.append("unknown control word \\%s" % name)
            if first:
                group_words[-1] = name
            if name == "fonttbl":
                in_fonttbl = depth
            if name in ("fonttbl", "colortbl", "stylesheet", "info", "fldinst") and skip_depth is None:
                skip_depth = depth
            if name == "f" and parameter is not None:
                if in_fonttbl is not None and depth == in_fonttbl + 1:
                    font_decl = (int(parameter), [])
                else:
                    used_fonts.add(int(parameter))
            if font_decl is not None and in_fonttbl is not None:
                font_decl[1].append((name, parameter))
            if skip_depth is None:
                if name in ("par", "line"):
                    text.append("\n")
                elif name == "tab":
                    text.append("\t")
                elif name == "bullet":
                    text.append("\u2022")
                elif name == "endash":
                    text.append("\u2013")
        elif hexbyte is not None:
            byte = int(hexbyte, 16)
            if byte in UNDEFINED_CP1250:
                problems.append("\\'%s is not a character of Windows-1250" % hexbyte.decode())
            elif skip_depth is None:
                text.append(bytes([byte]).decode("cp1250"))
        elif symbol is not None:
            if symbol not in (b"\\", b"{", b"}", b"~", b"*", b"-", b"_"):
                problems.append("unknown control symbol \\%s" % symbol.decode(errors="replace"))
            if symbol == b"*" and not first:
                problems.append("\\* that does not open a group")
            if skip_depth is None and symbol in (b"\\", b"{", b"}"):
                text.append(symbol.decode())
            if symbol == b"*" and skip_depth is None:
                skip_depth = depth
        elif plain is not None and skip_depth is None:
            text.append(plain.decode("ascii", errors="replace"))
    else:
        if position != len(data):
            problems.append("unreadable bytes at offset %d" % position)
    if closed_at is None:
        problems.append("the document group is not closed (%d groups open)" % depth)

    if "rtf" in words and words["rtf"] != 1:
        problems.append("more than one \\rtf")
    if not fonts:
        problems.append("no font table")
    for number, declaration in sorted(fonts.items()):
        charsets = [p for n, p in declaration if n == "fcharset"]
        if charsets != [b"238"]:
            problems.append("font %d is not declared with \\fcharset238" % number)
    for number in sorted(used_fonts - set(fonts)):
        problems.append("font %d is used but not declared" % number)

    body = "".join(text)
    # each problem once, with the number of times it was found
    counted = {}
    for problem in problems:
        counted[problem] = counted.get(problem, 0) + 1
    problems = [p if n == 1 else "%s (%d times)" % (p, n) for p, n in counted.items()]
    if not CZECH_LETTERS & set(body):
        problems.append("the text holds no Czech letter")
    return problems, body


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("rtf")
    p.add_argument("--text", help="write the document's plain text here (UTF-8)")
    args = p.parse_args()
    with open(args.rtf, "rb") as f:
        data = f.read()
    problems, body = check(data)
    if args.text:
        with open(args.text, "w", encoding="utf-8") as f:
            f.write(body)
    for problem in problems:
        print("%s: %s" % (args.rtf, problem))
    if not problems:
        print("%s: %d bytes, %d paragraphs, RTF 1.x in Windows-1250" %
              (args.rtf, len(data), body.count("\n")))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
