#!/usr/bin/env python3
"""Runs one scenario of the Windows programs in the Wine session: prepares
folders and files in the prefix, runs command lines under the box driver,
compares every box with the boxes expected and checks files and registry
values afterwards.  The format of the scenario files is described in
tests/e2e/README.md.

    run_scenario.py SCENARIO --session DIR --driver BOXDRIVER.EXE \\
        --tables DIR --file NAME=PATH ...
"""

import argparse
import datetime
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import shell_link  # noqa: E402
import wine_session  # noqa: E402

BUTTONS = ("OK", "CANCEL", "ABORT", "RETRY", "IGNORE", "YES", "NO", "TRYAGAIN", "CONTINUE",
           "HELP")
ICONS = ("none", "warning", "question", "error", "information")
OWNERS = ("none", "desktop", "driver")
# the viewer's weekday names and abbreviations, Sunday first, as the
# reminder boxes show them
WEEKDAY_NAMES = ("Neděle", "Pondělí", "Úterý", "Středa", "Čtvrtek", "Pátek", "Sobota")
WEEKDAY_ABBREVIATIONS = ("NE", "PO", "UT", "ST", "CT", "PA", "SO")
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
NAMED_BYTES = {"CR": b"\r", "LF": b"\n", "CRLF": b"\r\n", "TAB": b"\t", "BLANK": b" ",
               "NBSP": b"\xa0", "CTRL-Z": b"\x1a"}


class ScenarioError(Exception):
    pass


def fail(where, text):
    raise ScenarioError("%s: %s" % (where, text))


def show(data):
    """Bytes of Windows-1250 as a readable line, control bytes in braces."""
    names = {13: "{CR}", 10: "{LF}", 9: "{TAB}", 0xA0: "{NBSP}", 0x1A: "{CTRL-Z}"}
    out = []
    for b in data:
        if b in names:
            out.append(names[b])
        elif b < 32 or b in (0x81, 0x83, 0x88, 0x90, 0x98):
            out.append("{x%02X}" % b)
        else:
            out.append(bytes([b]).decode("cp1250"))
    return '"' + "".join(out) + '"'


# ---- the scenario file ------------------------------------------------------

class Line:
    def __init__(self, path, number, keyword, rest):
        self.where = "%s:%d" % (os.path.basename(path), number)
        self.keyword = keyword
        self.rest = rest
        self.content = []  # the "|" lines that follow


def read_lines(path):
    lines = []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            raw = raw.rstrip("\n")
            text = raw.lstrip(" ")
            if not text.strip() or text.startswith("#"):
                continue
            if text.startswith("|"):
                if not lines:
                    fail("%s:%d" % (path, number), "a '|' line must follow a file or check")
                piece = text[1:]
                lines[-1].content.append(piece[1:] if piece.startswith(" ") else piece)
                continue
            keyword, _, rest = text.partition(" ")
            lines.append(Line(path, number, keyword, rest))
    return lines


class Box:
    def __init__(self, line):
        self.line = line
        self.caption = line.rest
        self.text = ""
        self.buttons = ["OK"]
        self.default = None  # not checked unless given
        self.icon = "none"
        self.owner = "none"
        self.press = None
        self.program = None  # the program that shows it: not checked unless given


class Run:
    def __init__(self, line):
        self.line = line
        self.command = line.rest
        self.boxes = []
        self.exits = []  # (program, code, line)


def parse(path):
    """The scenario as a list of steps: (kind, line, details)."""
    steps = []
    run = box = check = None
    for line in read_lines(path):
        k, rest = line.keyword, line.rest
        if line.content and k not in ("file", "check"):
            fail(line.where, "'|' lines belong to 'file' or 'check'")
        if k in ("text", "buttons", "default", "icon", "owner", "press", "from"):
            if box is None:
                fail(line.where, "'%s' belongs to a box" % k)
            if k == "text":
                box.text = rest
            elif k == "buttons":
                box.buttons = rest.split()
                for b in box.buttons:
                    if b not in BUTTONS:
                        fail(line.where, "unknown button %s" % b)
            elif k in ("default", "press"):
                if rest not in BUTTONS:
                    fail(line.where, "unknown button %s" % rest)
                setattr(box, k, rest)
            elif k == "from":
                box.program = rest
            elif k == "icon":
                if rest not in ICONS:
                    fail(line.where, "icon is one of %s" % ", ".join(ICONS))
                box.icon = rest
            else:
                if rest not in OWNERS:
                    fail(line.where, "owner is one of %s" % ", ".join(OWNERS))
                box.owner = rest
            continue
        if k == "value":
            if check is None or check[0] != "key":
                fail(line.where, "'value' belongs to 'check key'")
            name, sep, data = rest.partition(" = ")
            if not sep:
                fail(line.where, "write: value NAME = DATA")
            check[2].append((name, data, line))
            continue
        if k in ("target", "workdir"):
            if check is None or check[0] != "link":
                fail(line.where, "'%s' belongs to 'check link'" % k)
            if not rest:
                fail(line.where, "write: %s PATH" % k)
            check[2].append((k, rest, line))
            continue
        if k == "same":
            if check is None or check[0] != "file" or check[1]:
                fail(line.where, "'same' belongs to 'check file'")
            if not rest:
                fail(line.where, "write: same NAME or same PATH")
            check[2].append((k, rest, line))
            continue
        box = None
        check = None
        if k == "box":
            if run is None:
                fail(line.where, "a box belongs to a run")
            box = Box(line)
            run.boxes.append(box)
            continue
        if k == "exit":
            if run is None:
                fail(line.where, "'exit' belongs to a run")
            program, _, code = rest.rpartition(" ")
            if not program or not re.fullmatch(r"[0-9]+|0x[0-9A-Fa-f]+", code):
                fail(line.where, "write: exit PROGRAM CODE")
            run.exits.append((program, int(code, 0), line))
            continue
        run = None
        if k == "run":
            run = Run(line)
            steps.append(("run", line, run))
        elif k == "check":
            what, _, target = rest.partition(" ")
            negative = what == "no"
            if negative:
                what, _, target = target.partition(" ")
            if what not in ("file", "folder", "key", "link") or not target or \
                    negative and what == "link":
                fail(line.where, "write: check [no] file|folder|key PATH, or check link PATH")
            check = (what, negative, [])
            steps.append(("check", line, (what, negative, target, check[2])))
        elif k in ("folder", "in", "put", "file", "timeout", "restart"):
            steps.append((k, line, None))
        else:
            fail(line.where, "unknown line '%s'" % k)
    for kind, line, details in steps:
        if kind == "run":
            for b in details.boxes:
                if b.press is None:
                    if len(b.buttons) != 1:
                        fail(b.line.where, "a box with several buttons needs 'press'")
                    b.press = b.buttons[0]
                if b.press not in b.buttons:
                    fail(b.line.where, "press %s: the box has no such button" % b.press)
            if not details.exits:
                fail(line.where, "a run lists the processes it ends with ('exit PROGRAM CODE')")
        if kind == "file" and not line.rest:
            fail(line.where, "write: file NAME")
        if kind == "check" and line.content and (details[0] == "link" or details[3]):
            fail(line.where, "'|' lines go with 'check file' or 'check folder' alone")
    return steps


# ---- the prefix -----------------------------------------------------------

class Prefix:
    def __init__(self, state, driver, tables, files):
        self.state = state
        self.driver = driver
        self.env = wine_session.wine_environment(state)
        self.tables = tables
        self.files = files
        self.folder = None
        self.timeout = 30
        self.work = os.path.join(state["dir"], "work")
        self.log = os.path.join(state["dir"], "runs.log")
        self.system = state["system"]
        os.makedirs(self.work, exist_ok=True)

    # -- paths
    def unix_path(self, windows_path, where):
        """The Unix path of a path in the prefix.  Wine finds names without
        regard to case; a name that is not there yet is taken as written."""
        m = re.match(r"^([A-Za-z]):\\?(.*)$", windows_path)
        if not m:
            fail(where, "not a full Windows path: %s" % windows_path)
        drive = os.path.join(self.state["prefix"], "dosdevices", m.group(1).lower() + ":")
        path = os.path.realpath(drive)
        for part in [p for p in m.group(2).split("\\") if p]:
            candidate = os.path.join(path, part)
            if not os.path.exists(candidate) and os.path.isdir(path):
                for name in os.listdir(path):
                    if name.lower() == part.lower():
                        candidate = os.path.join(path, name)
                        break
            path = candidate
        return path

    # -- registry, through Wine's own reg.exe
    def reg_query(self, key, value=None):
        """(type, data) of a value, True for a key that is there, or None."""
        command = ["wine", "reg", "query", key] + (["/v", value] if value is not None else [])
        result = subprocess.run(command, env=self.env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=60)
        if result.returncode != 0:
            return None
        if value is None:
            return True
        # reg.exe writes to a pipe in the OEM code page
        output = result.stdout.decode("cp%d" % self.system["oemcp"], errors="replace")
        for line in output.splitlines():
            m = re.match(r"^    (.*?)    (REG_\w+)    (.*)$", line) or \
                re.match(r"^    (.*?)    (REG_\w+)()$", line)
            if m and m.group(1).lower() == value.lower():
                return m.group(2), m.group(3)
        return None

    # -- texts of the scenario
    def expand(self, text, where):
        """Scenario text (UTF-8 with {placeholders}) as Windows-1250 bytes."""
        out = b""
        pos = 0
        for m in re.finditer(r"\{([^{}]*)\}", text):
            out += self.encode(text[pos:m.start()], where)
            out += self.placeholder(m.group(1), where)
            pos = m.end()
        return out + self.encode(text[pos:], where)

    @staticmethod
    def encode(text, where):
        try:
            return text.encode("cp1250")
        except UnicodeEncodeError as e:
            fail(where, "%r cannot be written in Windows-1250" % e.object[e.start:e.end])

    def placeholder(self, name, where):
        words = name.split(" ")
        if name in NAMED_BYTES:
            return NAMED_BYTES[name]
        if re.fullmatch(r"x[0-9A-Fa-f]{2}", name):
            return bytes([int(name[1:], 16)])
        if name == "window":  # the driver puts in its window's handle
            return b"{window}"
        if name == "folder":
            return self.encode(self.folder or "", where)
        if words[0] == "table" and len(words) == 4:
            return self.table_text(words[1], words[2], words[3], where)
        if words[0] in ("today", "tomorrow") and len(words) == 2 and \
                words[1] in ("weekday", "abbr"):
            day = datetime.date.today() + datetime.timedelta(days=words[0] == "tomorrow")
            index = (day.weekday() + 1) % 7  # Sunday first
            table = WEEKDAY_NAMES if words[1] == "weekday" else WEEKDAY_ABBREVIATIONS
            return table[index].encode("cp1250")
        if words[0] == "env" and len(words) == 2:
            value = self.system["env"].get(words[1].upper())
            if value is None:
                fail(where, "the prefix has no variable %s" % words[1])
            return bytes.fromhex(value)
        if words[0] == "shell" and len(words) == 2:
            return self.registry_text(SHELL_FOLDERS, words[1], where)
        if words[0] == "reg":
            key, sep, value = name[4:].rpartition("|")
            if not sep:
                fail(where, "write: {reg KEY|VALUE}")
            return self.registry_text(key, value, where)
        fail(where, "unknown placeholder {%s}" % name)

    def registry_text(self, key, value, where):
        found = self.reg_query(key, value)
        if not isinstance(found, tuple):
            fail(where, "the registry has no value %s under %s" % (value, key))
        return self.encode(found[1], where)

    def table_text(self, year, date, kind, where):
        m = re.fullmatch(r"(\d+)\.(\d+)\.?", date)
        if not m or kind not in ("SZ", "NZ"):
            fail(where, "write: {table YEAR DAY.MONTH. SZ|NZ}")
        day, month = int(m.group(1)), int(m.group(2))
        path = os.path.join(self.tables, "daily_text_table_%s.bin" % year)
        with open(path, "rb") as f:
            entries = f.read().split(b"\0")[:-1]
        if len(entries) != 744:
            fail(where, "%s holds %d entries, not 744" % (path, len(entries)))
        return entries[((month - 1) * 31 + day - 1) * 2 + (kind == "NZ")]

    # -- steps
    def step_folder(self, line):
        folder = self.expand(line.rest, line.where).decode("cp1250")
        path = self.unix_path(folder, line.where)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        self.folder = folder

    def step_in(self, line):
        folder = self.expand(line.rest, line.where).decode("cp1250")
        if not os.path.isdir(self.unix_path(folder, line.where)):
            fail(line.where, "no folder %s" % folder)
        self.folder = folder

    def current_folder(self, where):
        if self.folder is None:
            fail(where, "no folder yet ('folder PATH' or 'in PATH' first)")
        return self.unix_path(self.folder, where)

    def step_put(self, line):
        name, _, target = line.rest.partition(" as ")
        if name not in self.files:
            fail(line.where, "no built file %s (known: %s)" % (name, ", ".join(sorted(self.files))))
        target = self.expand(target or name, line.where).decode("cp1250")
        shutil.copyfile(self.files[name], os.path.join(self.current_folder(line.where), target))

    def step_file(self, line):
        name = self.expand(line.rest, line.where).decode("cp1250")
        data = b"".join(self.expand(piece, line.where) for piece in line.content)
        with open(os.path.join(self.current_folder(line.where), name), "wb") as f:
            f.write(data)

    def step_timeout(self, line):
        if not line.rest.isdigit():
            fail(line.where, "write: timeout SECONDS")
        self.timeout = int(line.rest)

    def step_restart(self, line):
        # Windows' restart: among others, WININIT.INI is carried out
        wine_session.run_logged(["wineboot", "-r"], self.env, self.log, 300)
        print("%s: restarted" % line.where, flush=True)

    def step_check(self, line, details):
        what, negative, target, values = details
        if what == "key":
            key = self.expand(target, line.where).decode("cp1250")
            found = self.reg_query(key)
            if negative:
                if found:
                    fail(line.where, "the key %s is there" % key)
                return
            if not found:
                fail(line.where, "no key %s" % key)
            for name, data, vline in values:
                value = self.reg_query(key, name)
                expected = self.expand(data, vline.where).decode("cp1250")
                if not isinstance(value, tuple):
                    fail(vline.where, "no value %s under %s" % (name, key))
                if value != ("REG_SZ", expected):
                    fail(vline.where, "value %s is %s %r, not REG_SZ %r"
                         % (name, value[0], value[1], expected))
            return
        windows_path = self.expand(target, line.where).decode("cp1250")
        path = self.unix_path(windows_path, line.where)
        if negative:
            if os.path.lexists(path):
                fail(line.where, "%s is there" % windows_path)
            return
        if what == "folder":
            if not os.path.isdir(path):
                fail(line.where, "no folder %s" % windows_path)
            if line.content:  # exactly these names in it
                expected = sorted(self.expand(piece, line.where).decode("cp1250").lower()
                                  for piece in line.content)
                actual = sorted(name.lower() for name in os.listdir(path))
                if actual != expected:
                    fail(line.where, "%s holds %s, not %s" % (
                        windows_path, ", ".join(actual) or "nothing",
                        ", ".join(expected) or "nothing"))
            return
        if not os.path.isfile(path):
            fail(line.where, "no file %s" % windows_path)
        with open(path, "rb") as f:
            actual = f.read()
        if what == "link":
            self.check_link(windows_path, actual, line, values)
            return
        if line.content:
            expected = b"".join(self.expand(piece, line.where) for piece in line.content)
            if actual != expected:
                fail(line.where, "%s holds\n  %s\nnot\n  %s"
                     % (windows_path, show(actual), show(expected)))
        for _, name, sline in values:  # same NAME|PATH
            expected, source = self.file_bytes(name, sline.where)
            if actual != expected:
                at = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b),
                          min(len(actual), len(expected)))
                fail(sline.where, "%s (%d bytes) is not %s (%d bytes): they differ from "
                     "byte %d on" % (windows_path, len(actual), source, len(expected), at))

    def file_bytes(self, name, where):
        """The bytes of a built file (as 'put' knows them) or of a file in
        the prefix, and what it is."""
        if name in self.files:
            with open(self.files[name], "rb") as f:
                return f.read(), "the built %s" % name
        windows_path = self.expand(name, where).decode("cp1250")
        if not re.match(r"^[A-Za-z]:\\", windows_path):
            fail(where, "no built file %s (known: %s)" % (name, ", ".join(sorted(self.files))))
        path = self.unix_path(windows_path, where)
        if not os.path.isfile(path):
            fail(where, "no file %s" % windows_path)
        with open(path, "rb") as f:
            return f.read(), windows_path

    def check_link(self, windows_path, data, line, values):
        """A shortcut file: a well-formed shell link whose target and working
        folder are those given."""
        try:
            link = shell_link.read(data, self.system["acp"])
        except shell_link.LinkError as e:
            fail(line.where, "%s is no shell link: %s" % (windows_path, e))
        problems = []
        for kind, text, vline in values:
            expected = self.expand(text, vline.where).decode("cp1250")
            if kind == "workdir":
                if link.workdir != expected:
                    problems.append("working folder %r, not %r" % (link.workdir, expected))
                continue
            if link.target != expected:
                problems.append("target %r, not %r" % (link.target, expected))
            # the shell finds the target by the ID list first
            if link.id_list and link.id_list_path != expected:
                problems.append("the ID list names %r, not %r" % (link.id_list_path, expected))
        if problems:
            fail(line.where, "%s: %s\n  the link: %s"
                 % (windows_path, "; ".join(problems), link.describe()))

    def step_run(self, line, run):
        where = line.where
        self.current_folder(where)
        name = re.sub(r"[^A-Za-z0-9]+", "_", where)
        plan_path = os.path.join(self.work, name + ".plan")
        records_path = os.path.join(self.work, name + ".records")
        expected = []
        command = self.expand(run.command, where)  # once: a {reg ...} may go with the run
        plan = ["folder " + hex_or_dash(self.encode(self.folder, where)),
                "command " + hex_or_dash(command),
                "timeout %d" % (self.timeout * 1000)]
        for box in run.boxes:
            caption = self.expand(box.caption, box.line.where)
            text = self.expand(box.text, box.line.where)
            if box.program:
                box.shown_by = self.expand(box.program, box.line.where).decode("cp1250")
            expected.append((box, caption, text))
            plan.append("box %s %s %s" % (box.press, hex_or_dash(caption), hex_or_dash(text)))
        exits = [(self.expand(p, l.where).decode("cp1250"), c) for p, c, l in run.exits]
        with open(plan_path, "w", encoding="ascii") as f:
            f.write("\n".join(plan) + "\n")
        if os.path.exists(records_path):
            os.remove(records_path)
        limit = self.timeout * (len(run.boxes) + 2) + 30
        try:
            code = wine_session.run_logged(
                ["wine", wine_session.unix_to_windows(self.driver), wine_session.unix_to_windows(
                    plan_path), wine_session.unix_to_windows(records_path)],
                self.env, self.log, limit, check=False)
        except subprocess.TimeoutExpired:
            fail(where, "the box driver did not end within %d s; see %s" % (limit, self.log))
        records = read_records(records_path) if os.path.exists(records_path) else []
        compare_run(where, expected, exits, records, code, self.log)
        print("%s: %s: %d boxes, processes %s" % (
            where, show(command), len(run.boxes),
            ", ".join("%s %d" % (p, c) for p, c in exits)), flush=True)


def hex_or_dash(data):
    return data.hex() if data else "-"


def read_records(path):
    records = []
    with open(path, "rb") as f:
        for raw in f.read().decode("ascii").splitlines():
            kind, *fields = raw.split(" ")
            records.append((kind, dict(field.split("=", 1) for field in fields)))
    return records


def unhex(value):
    return b"" if value in ("", "-") else bytes.fromhex(value)


def describe_box(fields, owners):
    owner = int(fields["owner"])
    return "%s %s [%s, icon %s, owner %s, from %s]" % (
        show(unhex(fields["caption"])), show(unhex(fields["text"])), fields["buttons"],
        fields["icon"], owners.get(owner, "window %d" % owner),
        fields.get("image", "?").rsplit("\\", 1)[-1])


def compare_run(where, expected, want_exits, records, driver_code, logfile):
    drivers = [f for k, f in records if k == "driver"]
    boxes = [f for k, f in records if k == "box"]
    errors = [unhex(f["text"]).decode("ascii") for k, f in records if k == "error"]
    exits = [f for k, f in records if k == "exit"]
    if not drivers:
        fail(where, "the box driver wrote nothing (exit code %d); see %s" % (driver_code, logfile))
    driver = drivers[0]
    if driver["acp"] != "1250":
        fail(where, "the ANSI code page is %s, not 1250" % driver["acp"])
    if driver["hook"] != "1":
        fail(where, "the box driver could not install its icon hook")
    problems = ["the box driver: " + e for e in errors]
    want = {"none": 0, "desktop": int(driver["desktop"]), "driver": int(driver["window"])}
    owners = {v: n for n, v in want.items()}
    # the program of each process; a process id may be used again later,
    # and each box is shown while its process runs
    images = {}
    for kind, fields in records:
        if kind in ("start", "process"):
            images[fields["pid"]] = unhex(fields["image"]).decode("cp1250") or "?"
        if kind == "exit" and fields["image"] != "-":  # the boxes' processes are known by now
            for box in boxes:
                if box["pid"] == fields["pid"] and box["image"] == "?":
                    box["image"] = unhex(fields["image"]).decode("cp1250")
        if kind == "box":
            fields["image"] = images.get(fields["pid"], "?")

    def same(program, image):
        if "\\" in program:
            return program.lower() == image.lower()
        return program.lower() == image.rsplit("\\", 1)[-1].lower()

    for i, fields in enumerate(boxes):
        if i >= len(expected):
            problems.append("box %d was not expected: %s" % (i + 1, describe_box(fields, owners)))
            continue
        box, caption, text = expected[i]
        caption = caption.replace(b"{window}", driver["windowarg"].encode())
        text = text.replace(b"{window}", driver["windowarg"].encode())
        got_caption, got_text = unhex(fields["caption"]), unhex(fields["text"])
        mine = []
        if got_caption != caption:
            mine.append("caption %s, not %s" % (show(got_caption), show(caption)))
        if got_text != text:
            mine.append("text %s, not %s" % (show(got_text), show(text)))
        # what the user reads: the bytes as the system took them, in Unicode
        for name, data, wide in (("caption", caption, "captionw"), ("text", text, "textw")):
            if mine:
                break
            try:
                unicode = data.decode("cp1250")
            except UnicodeDecodeError:
                continue
            if unhex(fields[wide]).decode("utf-16-le", errors="replace") != unicode:
                mine.append("%s shown as %r, not %r" % (
                    name, unhex(fields[wide]).decode("utf-16-le", errors="replace"), unicode))
        buttons = fields["buttons"].split(",") if fields["buttons"] != "-" else []
        if sorted(buttons) != sorted(box.buttons):
            mine.append("buttons %s, not %s" % (" ".join(buttons) or "none", " ".join(box.buttons)))
        if box.default and fields["default"] != box.default:
            mine.append("default button %s, not %s" % (fields["default"], box.default))
        if fields["icon"] != box.icon:
            mine.append("icon %s, not %s" % (fields["icon"], box.icon))
        owner = int(fields["owner"])
        if owner != want[box.owner]:
            mine.append("owner %s, not %s" % (owners.get(owner, "window %d" % owner), box.owner))
        if box.program:
            image = fields["image"]
            if not same(box.shown_by, image):
                mine.append("shown by %s, not %s" % (image, box.shown_by))
        if mine:
            problems.append("%s: box %d: %s" % (box.line.where, i + 1, "; ".join(mine)))
    if len(boxes) < len(expected):
        for box, caption, text in expected[len(boxes):]:
            problems.append("%s: box %d did not come: %s %s" % (
                box.line.where, expected.index((box, caption, text)) + 1, show(caption),
                show(text)))
    # "?": a process that ended before its program could be told
    got = [(unhex(f["image"]).decode("cp1250") or "?", f["code"]) for f in exits]
    want_exits = [(p, str(c)) for p, c in want_exits]
    # after a failure the driver has ended the processes itself
    if not errors and (len(got) != len(want_exits) or not all(
            same(p, image) and c == code for (p, c), (image, code) in zip(want_exits, got))):
        problems.append("processes and exit codes: %s, not %s" % (
            ", ".join("%s %s" % e for e in got) or "none",
            ", ".join("%s %s" % e for e in want_exits)))
    if driver_code != 0 and not errors:
        problems.append("the box driver ended with %d" % driver_code)
    if problems:
        shown = "".join("\n  seen: box %s" % describe_box(f, owners) for f in boxes)
        fail(where, "\n  ".join([""] + problems) + shown)


def main():
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("scenario")
    p.add_argument("--session", required=True, help="the session's folder (wine_session.py)")
    p.add_argument("--driver", required=True, help="boxdriver.exe")
    p.add_argument("--tables", required=True, help="folder of the daily_text_table_YEAR.bin")
    p.add_argument("--file", action="append", default=[], metavar="NAME=PATH",
                   help="a built file that 'put NAME' copies")
    args = p.parse_args()
    files = dict(item.split("=", 1) for item in args.file)
    began = time.monotonic()
    try:
        steps = parse(args.scenario)
        prefix = Prefix(wine_session.load(args.session), args.driver, args.tables, files)
        for kind, line, details in steps:
            if kind in ("run", "check"):
                getattr(prefix, "step_" + kind)(line, details)
            else:
                getattr(prefix, "step_" + kind)(line)
    except (ScenarioError, wine_session.SessionError) as e:
        print("FAILED %s" % e, file=sys.stderr)
        return 1
    print("%s: passed in %.1f s" % (os.path.basename(args.scenario), time.monotonic() - began))
    return 0


if __name__ == "__main__":
    sys.exit(main())
