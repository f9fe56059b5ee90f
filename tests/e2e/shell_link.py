"""Reads a shortcut file (.lnk), the shell's binary link format, far enough
to tell what it starts and where: the header, the target's ID list, the
LinkInfo with the local path of the target, and the strings (description,
working folder, arguments, ...).  Standard library only.

    link = read(data, codepage=1250)
    link.target, link.workdir, link.id_list_path, link.arguments, ...

A file that is not a well-formed link raises LinkError: every length and
offset in it is checked against the bytes that are there."""

import struct

HEADER_SIZE = 0x4C
# the class of shell links, 00021401-0000-0000-C000-000000000046
LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")
# the ID list's root item "My Computer", 20D04FE0-3AEA-1069-A2D8-08002B30309D
MY_COMPUTER = bytes.fromhex("e04fd020ea3a6910a2d808002b30309d")

HAS_ID_LIST = 0x01
HAS_LINK_INFO = 0x02
IS_UNICODE = 0x80
FORCE_NO_LINK_INFO = 0x100
# the strings in the order they follow the LinkInfo, with their flags
STRINGS = ((0x04, "description"), (0x08, "relative_path"), (0x10, "workdir"),
           (0x20, "arguments"), (0x40, "icon_location"))

LOCAL_BASE_PATH = 0x01  # LinkInfo flag: VolumeIDAndLocalBasePath
NETWORK_PATH = 0x02     # LinkInfo flag: CommonNetworkRelativeLinkAndPathSuffix


class LinkError(Exception):
    pass


class Link:
    def __init__(self):
        self.flags = 0
        self.id_list = []        # the items' bytes, without their sizes
        self.id_list_path = None  # the path the ID list names, if it is one of files
        self.target = None       # LocalBasePath + CommonPathSuffix
        self.extra_blocks = []   # signatures of the extra data blocks
        for _, name in STRINGS:
            setattr(self, name, None)

    def describe(self):
        parts = ["target %r" % self.target, "ID list %r" % self.id_list_path]
        parts += ["%s %r" % (name, getattr(self, name)) for _, name in STRINGS
                  if getattr(self, name) is not None]
        return ", ".join(parts)


class Reader:
    def __init__(self, data):
        self.data = data

    def take(self, offset, size, what):
        if offset < 0 or size < 0 or offset + size > len(self.data):
            raise LinkError("%s: %d bytes at %d run past the end (%d bytes)"
                            % (what, size, offset, len(self.data)))
        return self.data[offset:offset + size]

    def u16(self, offset, what):
        return struct.unpack("<H", self.take(offset, 2, what))[0]

    def u32(self, offset, what):
        return struct.unpack("<I", self.take(offset, 4, what))[0]

    def c_string(self, offset, end, what, codepage):
        """A NUL-terminated ANSI string that ends before `end`."""
        if offset >= end:
            raise LinkError("%s: offset %d lies outside its structure" % (what, offset))
        data = self.take(offset, end - offset, what)
        stop = data.find(b"\0")
        if stop < 0:
            raise LinkError("%s: no terminating NUL" % what)
        return decode(data[:stop], "cp%d" % codepage, what)

    def wide_string(self, offset, end, what):
        if offset >= end:
            raise LinkError("%s: offset %d lies outside its structure" % (what, offset))
        data = self.take(offset, end - offset, what)
        for i in range(0, len(data) - 1, 2):
            if data[i:i + 2] == b"\0\0":
                return decode(data[:i], "utf-16-le", what)
        raise LinkError("%s: no terminating NUL" % what)


def decode(data, encoding, what):
    try:
        return data.decode(encoding)
    except UnicodeDecodeError:
        raise LinkError("%s: not %s text: %s" % (what, encoding, data.hex())) from None


def read(data, codepage=1250):
    """The link in `data`; ANSI strings are in the Windows code page given."""
    r = Reader(data)
    link = Link()
    if r.u32(0, "header") != HEADER_SIZE:
        raise LinkError("header size %#x, not %#x" % (r.u32(0, "header"), HEADER_SIZE))
    if r.take(4, 16, "header") != LINK_CLSID:
        raise LinkError("class %s is not that of shell links" % r.take(4, 16, "header").hex())
    r.take(0, HEADER_SIZE, "header")
    link.flags = r.u32(20, "header")
    pos = HEADER_SIZE

    if link.flags & HAS_ID_LIST:
        size = r.u16(pos, "ID list")
        end = pos + 2 + size
        r.take(pos + 2, size, "ID list")
        pos += 2
        while True:
            item = r.u16(pos, "ID list item")
            if item == 0:
                pos += 2
                break
            if item < 2 or pos + item > end - 2:
                raise LinkError("ID list item of %d bytes at %d does not fit the list" % (item, pos))
            link.id_list.append(r.take(pos + 2, item - 2, "ID list item"))
            pos += item
        if pos != end:
            raise LinkError("the ID list ends at %d, its size says %d" % (pos, end))
        link.id_list_path = id_list_path(link.id_list, codepage)

    if link.flags & HAS_LINK_INFO and not link.flags & FORCE_NO_LINK_INFO:
        link.target = read_link_info(r, pos, codepage)
        pos += r.u32(pos, "LinkInfo")

    for flag, name in STRINGS:
        if not link.flags & flag:
            continue
        count = r.u16(pos, name)
        if link.flags & IS_UNICODE:
            text = decode(r.take(pos + 2, 2 * count, name), "utf-16-le", name)
            pos += 2 + 2 * count
        else:
            text = decode(r.take(pos + 2, count, name), "cp%d" % codepage, name)
            pos += 2 + count
        # The count is of the characters without a terminating NUL; Wine
        # writes the NUL and counts it.
        if text.endswith("\0"):
            text = text[:-1]
        if "\0" in text:
            raise LinkError("%s holds a NUL: %r" % (name, text))
        setattr(link, name, text)

    # the extra data: blocks of size and signature, then a terminal block
    # of less than 4 bytes (its size 0)
    while True:
        size = r.u32(pos, "extra data")
        if size < 4:
            break
        if size < 8:
            raise LinkError("extra data block of %d bytes at %d" % (size, pos))
        r.take(pos, size, "extra data block")
        link.extra_blocks.append(r.u32(pos + 4, "extra data block"))
        pos += size
    return link


def read_link_info(r, start, codepage):
    """The target's local path that the LinkInfo at `start` holds."""
    size = r.u32(start, "LinkInfo")
    header = r.u32(start + 4, "LinkInfo")
    r.take(start, size, "LinkInfo")
    if header < 0x1C or header > size:
        raise LinkError("LinkInfo header of %d bytes in a LinkInfo of %d" % (header, size))
    flags = r.u32(start + 8, "LinkInfo")
    volume, base, _, suffix = (r.u32(start + 12 + 4 * i, "LinkInfo") for i in range(4))
    end = start + size
    if not flags & LOCAL_BASE_PATH:
        raise LinkError("the LinkInfo names no local path (flags %#x)" % flags)
    for name, offset in (("VolumeID", volume), ("LocalBasePath", base),
                         ("CommonPathSuffix", suffix)):
        if offset < header or offset >= size:
            raise LinkError("LinkInfo: %s at %d, outside the LinkInfo" % (name, offset))
    volume_size = r.u32(start + volume, "VolumeID")
    if volume_size <= 0x10 or volume + volume_size > size:
        raise LinkError("VolumeID of %d bytes at %d" % (volume_size, volume))
    path = r.c_string(start + base, end, "LocalBasePath", codepage) + \
        r.c_string(start + suffix, end, "CommonPathSuffix", codepage)
    if header >= 0x24:  # the same path in Unicode, if it is there
        base_w, suffix_w = (r.u32(start + 28 + 4 * i, "LinkInfo") for i in range(2))
        if base_w:
            wide = r.wide_string(start + base_w, end, "LocalBasePathUnicode")
            if suffix_w:
                wide += r.wide_string(start + suffix_w, end, "CommonPathSuffixUnicode")
            if wide != path:
                raise LinkError("the LinkInfo's paths differ: %r and in Unicode %r"
                                % (path, wide))
    return path


def id_list_path(items, codepage):
    """The file path that an ID list of "My Computer", a drive and folders
    and files names, or None for any other list.  A file item's name is read
    where the shell keeps its ANSI name: Wine writes the long name there (and
    the same in Unicode in the item's extension), Windows the short one."""
    if len(items) < 2 or items[0][:2] != b"\x1f\x00" or items[0][2:18] != MY_COMPUTER:
        return None
    drive = items[1]
    if drive[0] & 0x70 != 0x20:
        return None
    stop = drive.find(b"\0", 1)
    if stop < 0:
        raise LinkError("ID list: a drive item without its name")
    path = decode(drive[1:stop], "ascii", "ID list drive")
    names = []
    for item in items[2:]:
        if item[0] & 0x70 != 0x30 or len(item) < 13:
            return None
        stop = item.find(b"\0", 12)
        if stop < 0:
            raise LinkError("ID list: a file item without its name")
        names.append(decode(item[12:stop], "cp%d" % codepage, "ID list file"))
    return path.rstrip("\\") + "\\" + "\\".join(names)
