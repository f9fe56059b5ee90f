#!/usr/bin/env python3
"""One Wine session for the end-to-end runs: a private virtual X display
(Xvfb on a display number it picks itself), a fresh Wine prefix in Czech
(ANSI code page 1250) and a wineserver that stays up while the runs last.

    wine_session.py start --dir DIR --driver BOXDRIVER.EXE
    wine_session.py stop --dir DIR

`start` writes DIR/session.json, which the scenario runner reads; `stop`
ends everything `start` started.  A watcher started by `start` does the same
when the process that called `start` (ctest) goes away without calling
`stop`.  Nothing of the caller's display or Wine is used."""

import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import time

STATE = "session.json"

# Czech, so that Wine's ANSI code page is 1250 and Czech file names and
# arguments pass through UTF-8 on the Unix side
LOCALE = "cs_CZ.UTF-8"
# the X11 driver's setting that shows windows at once when there is no
# window manager (otherwise each window waits about two seconds for one)
X11_DRIVER_KEY = r"HKCU\Software\Wine\X11 Driver"


class SessionError(Exception):
    pass


def log(text):
    print("wine session: " + text, flush=True)


def wine_environment(state):
    """The environment of every Wine command of the session."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("LC_", "WINE", "DISPLAY", "WAYLAND", "XAUTHORITY", "XDG_"))
           and k not in ("LANG", "LANGUAGE")}
    env.update({
        # Wine links the user's folders to those of the Unix home and keeps
        # caches there: a home of the session's own leaves the caller's alone
        "HOME": os.path.join(state["dir"], "home"),
        "LANG": LOCALE,
        "DISPLAY": ":%d" % state["display"],
        "WINEPREFIX": state["prefix"],
        "WINEARCH": "win32",
        "WINEDEBUG": "-all",
        # no offer to install Mono or Gecko, which would wait for an answer,
        # and no menu entries of the desktop for the shortcuts of the prefix
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
    })
    return env


def unix_to_windows(path):
    """A Unix path as Wine sees it: drive Z: is the Unix root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def load(directory):
    path = os.path.join(directory, STATE)
    if not os.path.exists(path):
        raise SessionError("no Wine session in %s: the fixture e2e_session_start starts one "
                           "(ctest --preset windows runs it)" % directory)
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def run_logged(command, env, logfile, timeout, check=True):
    """Runs a command with its output in the session log, never in the
    caller's pipes: Wine leaves processes running that would hold them open."""
    with open(logfile, "ab") as out:
        out.write(("$ %s\n" % " ".join(command)).encode())
        out.flush()
        result = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.STDOUT, timeout=timeout)
    if check and result.returncode != 0:
        raise SessionError("%s failed with exit code %d; see %s"
                           % (" ".join(command), result.returncode, logfile))
    return result.returncode


def check_tools():
    missing = [t for t in ("wine", "wineboot", "wineserver", "Xvfb") if not shutil.which(t)]
    if missing:
        raise SessionError("missing %s: scripts/ensure-wine.sh installs them (make test runs it)"
                           % ", ".join(missing))
    locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    if not any(name.lower() in ("cs_cz.utf8", "cs_cz.utf-8") for name in locales):
        raise SessionError("the locale %s is not generated: scripts/ensure-wine.sh does it "
                           "(make test runs it)" % LOCALE)


def start_display(directory):
    """Xvfb on a display number it chooses itself (-displayfd), so that
    parallel runs cannot clash."""
    read_end, write_end = os.pipe()
    with open(os.path.join(directory, "xvfb.log"), "wb") as out:
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
             "1024x768x24"],
            stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
            pass_fds=(write_end,), start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 30
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = pipe.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip().isdigit():
        xvfb.kill()
        raise SessionError("Xvfb did not start; see %s" % os.path.join(directory, "xvfb.log"))
    return xvfb.pid, int(number)


def describe(state, driver, logfile):
    """What the prefix's Windows is like, as the box driver sees it."""
    env = wine_environment(state)
    out = os.path.join(state["dir"], "describe.txt")
    run_logged(["wine", unix_to_windows(driver), "--describe", unix_to_windows(out)],
               env, logfile, 120)
    system = {"env": {}}
    with open(out, "rb") as f:
        for line in f.read().decode("ascii").splitlines():
            kind, *fields = line.split(" ")
            values = dict(field.split("=", 1) for field in fields)
            if kind == "system":
                system["acp"] = int(values["acp"])
                system["oemcp"] = int(values["oemcp"])
            elif kind == "env":
                name = bytes.fromhex(values["name"]).decode("ascii")
                system["env"][name.upper()] = bytes.fromhex(values["value"]).hex()
    return system


def start(directory, driver, parent):
    began = time.monotonic()
    check_tools()
    os.makedirs(directory, exist_ok=True)
    if os.path.exists(os.path.join(directory, STATE)):
        log("ending the session a previous run left")
        stop(directory)
    logfile = os.path.join(directory, "session.log")
    open(logfile, "wb").close()

    xvfb, display = start_display(directory)
    state = {"dir": os.path.abspath(directory), "prefix": os.path.join(
        os.path.abspath(directory), "prefix"), "display": display, "xvfb": xvfb}
    # written at once, so that `stop` finds Xvfb whatever fails next
    save(state)
    log("display :%d (Xvfb %d)" % (display, xvfb))

    # a fresh prefix for every run: nothing of an earlier run stays in it
    shutil.rmtree(state["prefix"], ignore_errors=True)
    shutil.rmtree(os.path.join(state["dir"], "home"), ignore_errors=True)
    os.makedirs(state["prefix"])
    os.makedirs(os.path.join(state["dir"], "home"))
    env = wine_environment(state)
    run_logged(["wineserver", "-p"], env, logfile, 60)  # stays up until `stop`
    run_logged(["wineboot", "-i"], env, logfile, 300)
    run_logged(["wine", "reg", "add", X11_DRIVER_KEY, "/v", "Managed", "/d", "N", "/f"],
               env, logfile, 60)
    # Wine's desktop process ends a while after the last window has gone,
    # and the next window then waits seconds for a new one: a window that
    # stays open for the whole session keeps it
    with open(logfile, "ab") as out:
        state["holder"] = subprocess.Popen(
            ["wine", unix_to_windows(driver), "--hold"], env=env, stdin=subprocess.DEVNULL,
            stdout=out, stderr=subprocess.STDOUT, start_new_session=True).pid
    save(state)
    state["system"] = describe(state, driver, logfile)
    if state["system"]["acp"] != 1250:
        raise SessionError("the prefix's ANSI code page is %d, not 1250 (is the locale %s "
                           "there?)" % (state["system"]["acp"], LOCALE))
    if parent:
        state["watcher"] = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "watch", "--dir", directory,
             "--parent", str(parent)],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True).pid
    save(state)
    log("prefix %s ready in %.1f s (ANSI code page %d, OEM code page %d)"
        % (state["prefix"], time.monotonic() - began, state["system"]["acp"],
           state["system"]["oemcp"]))


def save(state):
    path = os.path.join(state["dir"], STATE)
    with open(path + ".new", "w", encoding="utf-8") as f:
        json.dump(state, f, indent=1)
    os.replace(path + ".new", path)


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    # a child that has ended but was not waited for is a zombie
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return True


def end_process(pid, program, wait=10):
    """Ends a process the session started, if it still runs; a number left
    by an earlier run may belong to another process by now."""
    if not pid or not alive(pid):
        return
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            if program.encode() not in f.read():
                return
    except OSError:
        return
    os.kill(pid, signal.SIGTERM)
    deadline = time.monotonic() + wait
    while alive(pid) and time.monotonic() < deadline:
        time.sleep(0.05)
    if alive(pid):
        os.kill(pid, signal.SIGKILL)


def stop(directory):
    path = os.path.join(directory, STATE)
    if not os.path.exists(path):
        log("no session to end")
        return
    state = load(directory)
    if "prefix" in state and os.path.isdir(state["prefix"]):
        env = wine_environment(state)
        logfile = os.path.join(directory, "session.log")
        try:
            # ends every Wine process of the prefix, and the server itself
            run_logged(["wineserver", "-k"], env, logfile, 60, check=False)
            run_logged(["wineserver", "-w"], env, logfile, 60, check=False)
        except subprocess.TimeoutExpired:
            log("wineserver did not end in time")
    end_process(state.get("holder"), "--hold", wait=2)
    end_process(state.get("xvfb"), "Xvfb")
    os.remove(path)
    watcher = state.get("watcher")
    if watcher and watcher != os.getpid():
        end_process(watcher, "wine_session.py", wait=2)
    log("ended (display :%s)" % state.get("display"))


def watch(directory, parent):
    """Ends the session when its caller is gone and nobody else did."""
    path = os.path.join(directory, STATE)
    while os.path.exists(path):
        if not alive(parent):
            stop(directory)
            return
        time.sleep(1)


def main():
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("command", choices=("start", "stop", "watch"))
    p.add_argument("--dir", required=True, help="folder of the session (prefix, logs, state)")
    p.add_argument("--driver", help="boxdriver.exe (start)")
    p.add_argument("--keep", action="store_true",
                   help="start: keep the session when the caller ends (until `stop`)")
    p.add_argument("--parent", type=int, help=argparse.SUPPRESS)
    args = p.parse_args()
    try:
        if args.command == "start":
            if not args.driver:
                p.error("start needs --driver")
            try:
                start(args.dir, args.driver, None if args.keep else os.getppid())
            except BaseException:
                stop(args.dir)
                raise
        elif args.command == "stop":
            stop(args.dir)
        else:
            watch(args.dir, args.parent)
    except (SessionError, subprocess.TimeoutExpired) as e:
        print("wine session: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
