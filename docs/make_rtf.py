#!/usr/bin/env python3
"""Writes the manual DV2.RTF from its readable source (UTF-8).

The source is plain text with a little markup:

    # Title                  the title of the document (first line only)
    Subtitle                 a line right after the title
    ## Section               a section heading
    ### Subsection           a subsection heading
    text lines               a paragraph; its lines are joined by blanks
    - item                   a bulleted item; lines indented by two blanks go on with it
        preformatted         lines indented by four blanks, kept as they are, in Courier New
    `code`, **bold**         inline, within paragraphs and items

Blocks are separated by blank lines.  The RTF is RTF 1.x in Windows-1250:
every character outside ASCII is written as a \\'xx escape of its
Windows-1250 byte, so the file itself is pure ASCII.  A character that
Windows-1250 does not have stops the build with the line that holds it.
"""

import argparse
import re
import sys

CODE_PAGE = "cp1250"

HEADER = (
    r"{\rtf1\ansi\ansicpg1250\deff0\deflang1029\deflangfe1029" "\n"
    r"{\fonttbl"
    r"{\f0\froman\fcharset238\fprq2 Times New Roman;}"
    r"{\f1\fswiss\fcharset238\fprq2 Arial;}"
    r"{\f2\fmodern\fcharset238\fprq1 Courier New;}}" "\n"
    r"{\colortbl;\red0\green0\blue0;\red31\green56\blue100;}" "\n"
    r"{\stylesheet"
    r"{\s0\sa120\sl264\slmult1\f0\fs22\lang1029 Normal;}"
    r"{\s1\sb360\sa120\keepn\b\f1\fs28\cf2\lang1029\sbasedon0\snext0 heading 1;}"
    r"{\s2\sb240\sa80\keepn\b\f1\fs24\cf2\lang1029\sbasedon0\snext0 heading 2;}"
    r"{\s3\li567\sa120\keep\f2\fs19\lang1029\sbasedon0\snext0 Preformatted;}"
    r"{\s4\fi-283\li567\sa60\sl264\slmult1\tx567\f0\fs22\lang1029\sbasedon0\snext4 List;}"
    r"{\s5\qc\sa60\b\f1\fs44\cf2\lang1029\sbasedon0\snext6 Title;}"
    r"{\s6\qc\sa480\i\f1\fs28\cf2\lang1029\sbasedon0\snext0 Subtitle;}}" "\n"
)

# paragraph formatting of each style, repeated on every paragraph as RTF
# readers without style support (WordPad) expect
STYLES = {
    "normal": r"\pard\plain\s0\sa120\sl264\slmult1\f0\fs22\lang1029 ",
    "heading1": r"\pard\plain\s1\sb360\sa120\keepn\b\f1\fs28\cf2\lang1029 ",
    "heading2": r"\pard\plain\s2\sb240\sa80\keepn\b\f1\fs24\cf2\lang1029 ",
    "pre": r"\pard\plain\s3\li567\sa120\keep\f2\fs19\lang1029 ",
    "item": r"\pard\plain\s4\fi-283\li567\sa60\sl264\slmult1\tx567\f0\fs22\lang1029 ",
    "title": r"\pard\plain\s5\qc\sa60\b\f1\fs44\cf2\lang1029 ",
    "subtitle": r"\pard\plain\s6\qc\sa480\i\f1\fs28\cf2\lang1029 ",
}


class SourceError(Exception):
    pass


def escape(text, line_number):
    """Text as RTF: ASCII as it is (with \\, { and } escaped), every other
    character as the \\'xx escape of its Windows-1250 byte."""
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif " " <= ch <= "~":
            out.append(ch)
        elif ch == "\t":
            raise SourceError("line %d: a tab; write blanks instead" % line_number)
        else:
            try:
                byte = ch.encode(CODE_PAGE)
            except UnicodeEncodeError:
                raise SourceError("line %d: %r (U+%04X) is not in Windows-1250"
                                  % (line_number, ch, ord(ch)))
            out.append("\\'%02x" % byte[0])
    return "".join(out)


INLINE = re.compile(r"`([^`]+)`|\*\*([^*]+)\*\*")


def inline(text, line_number):
    """Text with `code` and **bold** marks as RTF."""
    out = []
    position = 0
    for match in INLINE.finditer(text):
        out.append(escape(text[position:match.start()], line_number))
        if match.group(1) is not None:
            out.append(r"{\f2\fs20 " + escape(match.group(1), line_number) + "}")
        else:
            out.append(r"{\b " + escape(match.group(2), line_number) + "}")
        position = match.end()
    rest = text[position:]
    if "`" in rest or "**" in rest:
        raise SourceError("line %d: an inline mark without its end" % line_number)
    out.append(escape(rest, line_number))
    return "".join(out)


def preformatted(text, line_number):
    """A preformatted line: runs of blanks become non-breaking spaces, which
    every reader keeps as wide as a letter of the fixed-width font (some
    turn a plain run into narrower spaces and so break the columns).  Single
    blanks stay, so that a sample line copied into a file reads the same."""
    return re.sub(r"  +", lambda m: "\\~" * len(m.group(0)), escape(text, line_number))


def blocks(lines):
    """The source's blocks as (kind, first line number, texts)."""
    i = 0
    n = len(lines)
    while i < n:
        line = lines[i]
        number = i + 1
        if not line.strip():
            i += 1
        elif line.startswith("    "):
            texts = []
            while i < n and (lines[i].startswith("    ") or
                             (not lines[i].strip() and i + 1 < n and lines[i + 1].startswith("    "))):
                texts.append(lines[i][4:])
                i += 1
            yield "pre", number, texts
        elif line.startswith("# "):
            yield "title", number, [line[2:].strip()]
            i += 1
            if i < n and lines[i].strip():
                yield "subtitle", i + 1, [lines[i].strip()]
                i += 1
        elif line.startswith("## "):
            yield "heading1", number, [line[3:].strip()]
            i += 1
        elif line.startswith("### "):
            yield "heading2", number, [line[4:].strip()]
            i += 1
        elif line.startswith("- "):
            texts = [line[2:].strip()]
            i += 1
            while i < n and lines[i].startswith("  ") and not lines[i].startswith("    ") \
                    and lines[i].strip():
                texts.append(lines[i].strip())
                i += 1
            yield "item", number, texts
        elif line.startswith(" "):
            raise SourceError("line %d: indented by neither two nor four blanks" % number)
        else:
            texts = []
            while i < n and lines[i].strip() and not lines[i].startswith(("#", "- ", " ")):
                texts.append(lines[i].strip())
                i += 1
            yield "normal", number, texts


def convert(source):
    lines = source.split("\n")
    title = None
    subtitle = None
    body = []
    parts = list(blocks(lines))
    for index, (kind, number, texts) in enumerate(parts):
        if kind == "title":
            if title is not None:
                raise SourceError("line %d: a second title" % number)
            title = texts[0]
        if kind == "subtitle":
            subtitle = texts[0]
        if kind == "pre":
            rtf = r"\line ".join(preformatted(t, number + k) for k, t in enumerate(texts))
        else:
            rtf = inline(" ".join(texts), number)
        if kind == "item":
            rtf = r"\bullet\tab " + rtf
        style = STYLES[kind]
        if kind == "normal" and index + 1 < len(parts) and parts[index + 1][0] == "pre":
            style += r"\keepn "  # a paragraph that introduces an example stays with it
        body.append(style + rtf + r"\par" "\n")
    if title is None:
        raise SourceError("no title line (# Title)")

    name = title + (" \u2013 " + subtitle if subtitle else "")
    info = r"{\info{\title " + escape(name, 1) + r"}{\author Orvola}}" "\n"
    page = (r"\paperw11906\paperh16838\margl1418\margr1418\margt1134\margb1134"
            r"\viewkind4\uc1" "\n")
    footer = (r"{\footer\pard\plain\qc\f1\fs18\lang1029 " + escape(name, 1) +
              r", strana {\field{\*\fldinst PAGE}{\fldrslt 1}}\par}" "\n")
    return HEADER + info + page + footer + "".join(body) + "}\n"


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("source")
    p.add_argument("-o", "--output", required=True)
    args = p.parse_args()
    with open(args.source, encoding="utf-8") as f:
        source = f.read().replace("\r\n", "\n")
    try:
        rtf = convert(source)
    except SourceError as error:
        print("%s: %s" % (args.source, error), file=sys.stderr)
        return 1
    with open(args.output, "w", encoding="ascii", newline="\r\n") as f:
        f.write(rtf)
    return 0


if __name__ == "__main__":
    sys.exit(main())
