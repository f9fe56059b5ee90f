#!/usr/bin/env python3
"""Checks the shortcut reader that 'check link' of the scenarios uses, on a
real shortcut: tests/fixtures/Orvola.lnk is the Orvola.lnk that the setup
made in "C:\\Program Files\\Orvola" under Wine.  What matters most is that a
damaged file is refused and never read as a shorter link.

    python3 tests/e2e/test_shell_link.py
"""

import os
import struct
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import shell_link  # noqa: E402

FIXTURE = os.path.join(os.path.dirname(HERE), "fixtures", "Orvola.lnk")
TARGET = "C:\\Program Files\\Orvola\\DV2.EXE"
WORKDIR = "C:\\users\\root\\Documents"
DESCRIPTION = "Verdika na každý den roku 2002"


def fixture():
    with open(FIXTURE, "rb") as f:
        return f.read()


def strings_offset(data):
    """Where the strings begin: after the header, the ID list and the LinkInfo."""
    pos = shell_link.HEADER_SIZE
    pos += 2 + struct.unpack_from("<H", data, pos)[0]
    return pos + struct.unpack_from("<I", data, pos)[0]


class RealShortcut(unittest.TestCase):
    def test_target_working_folder_and_description(self):
        link = shell_link.read(fixture())
        self.assertEqual(link.target, TARGET)
        self.assertEqual(link.id_list_path, TARGET)
        self.assertEqual(link.workdir, WORKDIR)
        self.assertEqual(link.description, DESCRIPTION)
        self.assertEqual(link.arguments, "")

    def test_ansi_strings_without_terminating_nul(self):
        # the same link with its strings in Windows-1250, counted without a
        # NUL as the format has them
        data = bytearray(fixture())
        flags = struct.unpack_from("<I", data, 20)[0] & ~shell_link.IS_UNICODE
        struct.pack_into("<I", data, 20, flags)
        strings = b""
        for text in (DESCRIPTION, WORKDIR, ""):
            encoded = text.encode("cp1250")
            strings += struct.pack("<H", len(encoded)) + encoded
        data = bytes(data[:strings_offset(data)]) + strings + b"\0\0\0\0"
        link = shell_link.read(data, 1250)
        self.assertEqual((link.target, link.workdir, link.description),
                         (TARGET, WORKDIR, DESCRIPTION))


class DamagedShortcut(unittest.TestCase):
    def assertRefused(self, data):
        with self.assertRaises(shell_link.LinkError):
            shell_link.read(bytes(data))

    def test_every_truncation_is_refused(self):
        data = fixture()
        for length in range(len(data)):
            with self.subTest(length=length):
                self.assertRefused(data[:length])

    def test_wrong_header(self):
        data = bytearray(fixture())
        data[0] = 0x4D
        self.assertRefused(data)
        data = bytearray(fixture())
        data[4] ^= 1  # another class
        self.assertRefused(data)

    def test_sizes_and_offsets_that_do_not_fit(self):
        original = fixture()
        id_list = shell_link.HEADER_SIZE
        first_item = id_list + 2
        link_info = id_list + 2 + struct.unpack_from("<H", original, id_list)[0]
        strings = strings_offset(original)
        cases = {
            "an ID list item past the list": (first_item, "<H", 0x400),
            "an ID list shorter than its items": (id_list, "<H", 10),
            "a LinkInfo past the end": (link_info, "<I", 0x10000),
            "a local path outside the LinkInfo": (link_info + 16, "<I", 0x400),
            "a description past the end": (strings, "<H", 0x7FFF),
        }
        for name, (offset, layout, value) in cases.items():
            with self.subTest(name):
                data = bytearray(original)
                struct.pack_into(layout, data, offset, value)
                self.assertRefused(data)


if __name__ == "__main__":
    unittest.main()
