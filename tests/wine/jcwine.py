"""Harness for the black-box tests that run junkclean.exe under Wine.

Each test class gets a WineRig: its own copy of a prepared Wine prefix,
its own Xvfb display and its own persistent wineserver. The program and the
driver (jcdriver.exe, which inspects and pokes windows from inside the same
prefix) run there. Everything a rig starts is ended by close(), which the
test classes register as a cleanup so it runs even when a test fails.

Environment:
  JC_DIST    folder with junkclean.exe and jcdriver.exe
             (default: <repo>/dist/x86_64)
  JC_WORK    folder for template prefixes, run folders, screenshots, logs
             (default: <tmp>/jc-wine-work)
  JC_DRIVER  optional path of jcdriver.exe when it is not in JC_DIST
  JC_KEEP    set to 1 to keep each run's prefix for a post-mortem
"""

import atexit
import ctypes
import fcntl
import json
import os
import pwd
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))

# Window and control styles the tests decode from the driver's numbers.
WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WS_THICKFRAME = 0x00040000
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000
WS_EX_CLIENTEDGE = 0x00000200
WS_EX_STATICEDGE = 0x00020000
LVS_TYPEMASK = 0x0003
LVS_REPORT = 0x0001
LVS_SINGLESEL = 0x0004
LVS_SHOWSELALWAYS = 0x0008
LVS_OWNERDATA = 0x1000
LVS_EX_GRIDLINES = 0x0001
LVS_EX_FULLROWSELECT = 0x0020
PBS_SMOOTH = 0x01

WM_COMMAND = 0x0111
IDOK = 1


def dist_dir():
    return os.environ.get("JC_DIST") or os.path.join(REPO, "dist", "x86_64")


def work_dir():
    path = os.environ.get("JC_WORK") or os.path.join(tempfile.gettempdir(), "jc-wine-work")
    os.makedirs(path, exist_ok=True)
    return path


def program_path():
    return os.path.join(dist_dir(), "junkclean.exe")


def driver_path():
    return os.environ.get("JC_DRIVER") or os.path.join(dist_dir(), "jcdriver.exe")


def wait_for(predicate, timeout=20.0, interval=0.1, message="condition"):
    """Polls predicate until it returns something truthy and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError("timed out after %.1f s waiting for %s" % (timeout, message))
        time.sleep(interval)


def _die_with_parent():
    # Runs in the child before exec: if the test process is killed outright
    # (a CTest time-out), Xvfb, the wineserver and Wine go with it.
    try:
        libc = ctypes.CDLL(None, use_errno=True)
        libc.prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG
    except OSError:
        pass


def _spawn(argv, env, out_path, err_path, cwd=None, die_with_parent=True):
    # Files, not pipes: Wine's helper processes inherit the standard handles
    # and would keep a pipe open long after the program is gone.
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        return subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                preexec_fn=_die_with_parent if die_with_parent else None)


def _wine_version():
    try:
        return subprocess.run([WINE, "--version"], capture_output=True, text=True, timeout=60).stdout.strip()
    except (OSError, subprocess.SubprocessError):
        return "unknown"


def template_prefix(locale):
    """A freshly booted prefix for the locale, made once and shared.

    Concurrent test processes serialise on a lock file; whoever comes first
    builds the prefix, the others wait and then copy it. A marker written last
    tells a finished template from one that a killed run left half-built.
    """
    root = os.path.join(work_dir(), "templates")
    os.makedirs(root, exist_ok=True)
    path = os.path.join(root, locale)
    marker = os.path.join(path, ".jc-template")
    version = _wine_version()
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            with open(marker) as f:
                if f.read().strip() == version:
                    return path
        except OSError:
            pass
        shutil.rmtree(path, ignore_errors=True)
        env = _base_env(path, locale)
        env.pop("DISPLAY", None)
        # No Mono or Gecko: the program needs neither and their installers
        # would otherwise ask with a dialog.
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
        log = os.path.join(root, locale + ".boot.log")
        boot = _spawn([WINE, "wineboot", "--init"], env, log, log + ".err")
        boot.wait(timeout=300)
        subprocess.run([WINESERVER, "-w"], env=env, timeout=300, check=False)
        if not os.path.isdir(os.path.join(path, "drive_c", "windows")):
            raise RuntimeError("wineboot did not make a prefix in %s (see %s)" % (path, log))
        with open(marker, "w") as f:
            f.write(version + "\n")
        return path


def _base_env(prefix, locale):
    env = dict(os.environ)
    for k in ("LANGUAGE", "LC_CTYPE", "LC_MESSAGES", "WINELOADER", "WINESERVER", "WINEARCH"):
        env.pop(k, None)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", LANG=locale, LC_ALL=locale,
               WINEDLLOVERRIDES="mscoree,mshtml=")
    return env


# Runs beside each rig and outlives the test process if that is killed
# outright (a CTest time-out): then it ends the prefix's Wine processes, which
# detach from the test process with setsid, and removes the prefix copy. Its standard
# input is a pipe only the test process holds; end of file without "done"
# means the test process died without cleaning up.
_WATCHDOG = r"""
import os, shutil, subprocess, sys
if b"done" in sys.stdin.buffer.read():
    sys.exit(0)
wineserver, prefix, keep = sys.argv[1:4]
subprocess.run([wineserver, "-k"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
               stderr=subprocess.DEVNULL, timeout=60)
if keep != "1":
    shutil.rmtree(prefix, ignore_errors=True)
"""


class DriverError(Exception):
    def __init__(self, args, code, output):
        self.code = code
        self.output = output
        super().__init__("jcdriver %s exited %s: %s" % (" ".join(map(str, args)), code, output))


class Program:
    """A running junkclean.exe. pid is the Linux pid of its Wine process."""

    def __init__(self, popen, folder, stdout_path, stderr_path):
        self.popen = popen
        self.pid = popen.pid
        self.folder = folder
        self.stdout_path = stdout_path
        self.stderr_path = stderr_path

    def running(self):
        return self.popen.poll() is None

    def wait_exit(self, timeout=20.0):
        """The exit code (Wine reports -1 as 255); TimeoutError if still running."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TimeoutError("the program did not exit within %.1f s" % timeout) from None

    def kill(self):
        if self.running():
            self.popen.kill()
            self.popen.wait(timeout=30)

    def output(self):
        with open(self.stdout_path, "rb") as f:
            return f.read()

    def first_json(self, timeout=20.0):
        """The first line the program prints, parsed as JSON, once it is
        complete: for driver commands that report and then keep running."""
        def line():
            data = self.output()
            if b"\n" in data:
                return data.split(b"\n", 1)[0]
            if not self.running():
                raise RuntimeError("exited with %s before printing a line: %r" % (self.popen.returncode, data))
            return None
        return json.loads(wait_for(line, timeout=timeout, interval=0.05, message="a line of output").decode("utf-8"))


UPDATE_SERVER = os.path.join(REPO, "server", "update_server.py")
# The boxes the start shows on the way to the main window.
START_BOXES = ("欢迎使用垃圾清理器 By：Varnel", "欢迎使用！")


class UpdateServer:
    """The local update server (server/update_server.py) on a free port."""

    _count = 0

    def __init__(self, logs, switches=()):
        UpdateServer._count += 1
        name = os.path.join(logs, "update-server-%d" % UpdateServer._count)
        self.log = name + ".requests"
        port_file = name + ".port"
        self._popen = _spawn([sys.executable, UPDATE_SERVER, "--port-file", port_file, "--log", self.log]
                             + [str(s) for s in switches], dict(os.environ), name + ".out", name + ".err")
        wait_for(lambda: os.path.exists(port_file) or self._popen.poll() is not None, timeout=20,
                 message="the update server to start")
        if self._popen.poll() is not None:
            raise RuntimeError("the update server did not start (see %s.err)" % name)
        with open(port_file) as f:
            self.port = int(f.read())

    def requests(self):
        """Every request seen so far: method, target, version, headers."""
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [json.loads(line) for line in f if line.strip()]

    def stop(self):
        if self._popen.poll() is None:
            self._popen.terminate()
            try:
                self._popen.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._popen.kill()
                self._popen.wait(timeout=10)


class WineRig:
    """One prefix copy + one Xvfb + one wineserver, for one test class."""

    _live = []

    def __init__(self, locale="zh_CN.UTF-8", screen=(1024, 768), name="wine"):
        self.locale = locale
        self.screen = screen
        self.name = name
        self.root = None
        self.prefix = None
        self.display = None
        self.env = None
        self._xvfb = None
        self._server = None
        self._watchdog = None
        self._programs = []
        self._count = 0
        self._updates = None

    # ------------------------------------------------------------ life cycle

    def start(self):
        template = template_prefix(self.locale)
        runs = os.path.join(work_dir(), "runs")
        os.makedirs(runs, exist_ok=True)
        self.root = tempfile.mkdtemp(prefix=self.name + "-", dir=runs)
        self.logs = os.path.join(self.root, "logs")
        os.makedirs(self.logs)
        WineRig._live.append(self)
        self.prefix = os.path.join(self.root, "prefix")
        subprocess.run(["cp", "-a", "--reflink=auto", template, self.prefix], check=True, timeout=300)
        os.remove(os.path.join(self.prefix, ".jc-template"))
        self.env = _base_env(self.prefix, self.locale)
        self._watchdog = subprocess.Popen(
            [sys.executable, "-c", _WATCHDOG, WINESERVER, self.prefix, os.environ.get("JC_KEEP", "")],
            env=self.env, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=os.setsid)
        self._start_xvfb()
        self.env["DISPLAY"] = ":%d" % self.display
        # The server stays up if the test process dies, so that the watchdog
        # can still ask it to end every process of the prefix.
        self._server = _spawn([WINESERVER, "-f", "-p"], self.env, os.path.join(self.logs, "wineserver.out"),
                              os.path.join(self.logs, "wineserver.err"), die_with_parent=False)
        wait_for(self._server_ready, timeout=30, interval=0.05, message="the wineserver to listen")
        self.serve_updates()
        return self

    def _start_xvfb(self):
        # -displayfd lets Xvfb pick a free display itself and tell us once it
        # accepts connections, so parallel tests never race for a number.
        read_fd, write_fd = os.pipe()
        try:
            w, h = self.screen
            with open(os.path.join(self.logs, "xvfb.log"), "wb") as log:
                self._xvfb = subprocess.Popen(
                    ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % (w, h),
                     "-nolisten", "tcp"],
                    stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(write_fd,),
                    preexec_fn=_die_with_parent)
            os.close(write_fd)
            write_fd = None
            data = b""
            deadline = time.monotonic() + 30
            while not data.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_fd], [], [], left)[0]:
                    raise RuntimeError("Xvfb did not start (see %s)" % self.logs)
                chunk = os.read(read_fd, 64)
                if not chunk:
                    raise RuntimeError("Xvfb exited at start (see %s)" % self.logs)
                data += chunk
            self.display = int(data.strip())
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)

    def _server_socket_dir(self):
        st = os.stat(self.prefix)
        sub = "server-%x-%x" % (st.st_dev, st.st_ino)
        # Debian's Wine keeps its server folder name in the prefix.
        try:
            with open(os.path.join(self.prefix, "wineserver")) as f:
                return os.path.join("/tmp", f.read().strip(), sub)
        except OSError:
            return os.path.join("/tmp", ".wine-%d" % os.getuid(), sub)

    def _server_ready(self):
        if self._server.poll() is not None:
            raise RuntimeError("wineserver exited with %s" % self._server.returncode)
        return os.path.exists(os.path.join(self._server_socket_dir(), "socket"))

    def close(self):
        self.stop_update_server()
        for p in self._programs:
            try:
                p.kill()
            except (OSError, subprocess.SubprocessError):
                pass
        if self._server is not None:
            subprocess.run([WINESERVER, "-k"], env=self.env, timeout=60, check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                self._server.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait(timeout=30)
            shutil.rmtree(self._server_socket_dir(), ignore_errors=True)
            self._server = None
        if self._xvfb is not None:
            self._xvfb.terminate()
            try:
                self._xvfb.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
                self._xvfb.wait(timeout=30)
            self._xvfb = None
        if self.prefix and os.environ.get("JC_KEEP") != "1":
            shutil.rmtree(self.prefix, ignore_errors=True)
        if self._watchdog is not None:
            try:
                self._watchdog.communicate(b"done", timeout=30)
            except (OSError, subprocess.SubprocessError):
                self._watchdog.kill()
            self._watchdog = None
        if self in WineRig._live:
            WineRig._live.remove(self)

    # ------------------------------------------------------------ paths

    def win_path(self, *parts):
        """A path inside drive_c, e.g. win_path("windows", "temp")."""
        return os.path.join(self.prefix, "drive_c", *parts)

    @property
    def temp_dir(self):
        """What the program's GetTempPath returns (C:\\users\\root\\Temp\\)."""
        return self.win_path("users", pwd.getpwuid(os.getuid()).pw_name, "Temp")

    @property
    def windows_dir(self):
        return self.win_path("windows")

    # ------------------------------------------------------------ processes

    def new_program_folder(self):
        """A fresh, empty C:\\jc\\N\\ (as a Linux path) for a program to start in."""
        self._count += 1
        folder = self.win_path("jc", str(self._count))
        os.makedirs(folder)
        return folder

    def start_program(self, args=(), exe=None, folder=None):
        """Copies junkclean.exe to a fresh C:\\jc\\N\\ (or into folder, a
        Linux path below C:\\jc\\) and starts it there."""
        exe = exe or program_path()
        if not os.path.isfile(exe):
            raise FileNotFoundError("no program at %s (set JC_DIST)" % exe)
        folder = folder or self.new_program_folder()
        self._count += 1
        shutil.copy2(exe, os.path.join(folder, "junkclean.exe"))
        win_exe = "C:\\jc\\%s\\junkclean.exe" % os.path.basename(folder)
        out = os.path.join(self.logs, "program-%d.out" % self._count)
        popen = _spawn([WINE, win_exe] + list(args), self.env, out, out[:-4] + ".err", cwd=folder)
        prog = Program(popen, folder, out, out[:-4] + ".err")
        self._programs.append(prog)
        return prog

    # ------------------------------------------------------------ the start

    def serve_updates(self, *switches):
        """(Re)starts the local update server with the given switches and
        makes it the program's proxy; every rig starts with one that
        publishes 2.0, so programs reach their main window."""
        self.stop_update_server()
        self._updates = UpdateServer(self.logs, switches)
        self.env["http_proxy"] = "http://127.0.0.1:%d" % self._updates.port
        return self._updates

    def use_proxy(self, url):
        """Points the program's proxy somewhere else, e.g. at a closed port."""
        self.stop_update_server()
        self.env["http_proxy"] = url

    def stop_update_server(self):
        if self._updates is not None:
            self._updates.stop()
            self._updates = None

    def record_browser(self):
        """Makes Wine's browser a script that notes the addresses it is
        given; returns the file they are written to (emptied now)."""
        urls = os.path.join(self.root, "browser-urls.txt")
        script = os.path.join(self.root, "browser.sh")
        if not os.path.exists(script):
            with open(script, "w") as f:
                f.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % urls)
            os.chmod(script, 0o755)
            # The first program in a fresh copy of the prefix can find Wine
            # still settling in and fail to start; try again for a while.
            def registered():
                with open(os.path.join(self.logs, "reg.out"), "ab") as log:
                    return subprocess.run([WINE, "reg", "add", "HKCU\\Software\\Wine\\WineBrowser", "/v",
                                           "Browsers", "/t", "REG_SZ", "/d", script, "/f"], env=self.env,
                                          stdout=log, stderr=log, timeout=120).returncode == 0
            wait_for(registered, timeout=90, interval=1, message="the browser setting to be written")
        if os.path.exists(urls):
            os.remove(urls)
        return urls

    def splash_window(self):
        """The running program's splash window as a `list` entry: untitled,
        of the program's window class; None when there is none."""
        for w in self.driver("list"):
            if w["class"] == "JunkcleanWindow" and w["title"] == "":
                return w
        return None

    def visible_splash_window(self, timeout=20.0):
        return wait_for(lambda: (self.splash_window() or {}).get("visible") and self.splash_window(),
                        timeout=timeout, message="the splash window to show")

    def wait_box(self, text, timeout=30.0):
        """A visible message box whose message is text."""
        def look():
            for box in self.msgboxes():
                if text in box["texts"]:
                    return box
            return None
        return wait_for(look, timeout=timeout, interval=0.2, message="a message box saying %r" % text)

    def answer_box(self, text, timeout=30.0):
        """Waits for the message box, presses its OK button and waits until it is gone."""
        box = self.wait_box(text, timeout)
        self.post(box["hwnd"], WM_COMMAND, IDOK)
        wait_for(lambda: not self.window_exists(box["hwnd"]), timeout=20, message="the box to close")
        return box

    def driver(self, *args, check=True, timeout=60):
        """Runs jcdriver.exe in this prefix and returns its parsed JSON."""
        args = [str(a) for a in args]
        self._count += 1
        out = os.path.join(self.logs, "driver-%d.json" % self._count)
        proc = _spawn([WINE, driver_path()] + args, self.env, out, out[:-5] + ".err")
        try:
            code = proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(timeout=30)
            raise
        with open(out, "rb") as f:
            text = f.read().decode("utf-8")
        with open(os.path.join(self.logs, "driver.log"), "a", encoding="utf-8") as log:
            log.write("%s -> %d\n" % (" ".join(args), code))
        try:
            value = json.loads(text)
        except ValueError:
            raise DriverError(args, code, text) from None
        if check and code != 0:
            raise DriverError(args, code, value)
        return value

    def start_driver(self, *args):
        """Starts jcdriver.exe in the background, for a command that keeps
        running (hold); read what it reports with first_json(). close()
        ends it if it is still running."""
        self._count += 1
        out = os.path.join(self.logs, "driver-%d.json" % self._count)
        popen = _spawn([WINE, driver_path()] + [str(a) for a in args], self.env, out, out[:-5] + ".err")
        prog = Program(popen, None, out, out[:-5] + ".err")
        self._programs.append(prog)
        return prog

    def click_and_wait(self, button, label, text, timeout=60.0, poll_ms=1):
        """Clicks a button and waits for a label to show a text, in one
        driver process; returns the driver's report: the texts the label
        showed in order and the milliseconds from the click to the text."""
        result = self.driver("click-wait", button, label, text, "--timeout", int(timeout * 1000),
                             "--poll", poll_ms, timeout=timeout + 60, check=False)
        if not result.get("ok"):
            raise TimeoutError("the label did not show %r within %.0f s: %r" % (text, timeout, result))
        return result

    def find_window(self, title=None, cls=None, timeout=20.0):
        """The hwnd of a top-level window, waiting for it to appear."""
        args = ["find", "--timeout", int(timeout * 1000)]
        if title is not None:
            args += ["--title", title]
        if cls is not None:
            args += ["--class", cls]
        return self.driver(*args, timeout=timeout + 60)["hwnd"]

    def main_window(self, timeout=60.0):
        """The main window of a program just started, as a `list` entry,
        after answering the welcome box before it and the box shown over it.
        Found as the first visible top-level window with a caption that is
        not a dialog box, without its title, so a garbled title fails a test
        instead of the search."""
        self.answer_box(START_BOXES[0], timeout=timeout)

        def look():
            for w in self.driver("list"):
                if w["visible"] and w["style"] & WS_CAPTION == WS_CAPTION and w["class"] != "#32770":
                    return w
            return None
        main = wait_for(look, timeout=timeout, interval=0.2, message="the main window")
        self.answer_box(START_BOXES[1], timeout=timeout)
        return main

    def dump(self, hwnd, max_rows=2000):
        return self.driver("dump", hwnd, "--max-rows", max_rows)

    def settled_dump(self, hwnd, timeout=20.0):
        """A dump once two in a row agree, so a window still creating its
        controls or filling its list is not caught half done."""
        last = [None]

        def same_twice():
            tree = self.dump(hwnd)
            done = tree == last[0]
            last[0] = tree
            return tree if done else None

        return wait_for(same_twice, timeout=timeout, interval=0.1, message="the window to settle")

    def send(self, hwnd, msg, wparam=0, lparam=0):
        return self.driver("send", hwnd, msg, wparam, lparam)["result"]

    def post(self, hwnd, msg, wparam=0, lparam=0):
        return self.driver("post", hwnd, msg, wparam, lparam)

    def window_exists(self, hwnd):
        # A driver started in the moment a program ends can itself end
        # without a word; ask again rather than guess.
        def answer():
            try:
                return self.driver("pid-of", hwnd, check=False)
            except DriverError:
                return None
        return wait_for(answer, timeout=30, interval=0.2, message="the driver to answer").get("pid") is not None

    def msgboxes(self):
        return self.driver("msgboxes")

    def screenshot(self, path, rect=None, settle=True):
        """Saves the screen, or the part given as a driver rect, as PNG.

        With settle, shoots until two shots in a row are the same, so a
        window still painting is not caught half drawn.
        """
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        argv = ["import", "-display", ":%d" % self.display, "-window", "root"]
        if rect is not None:
            argv += ["-crop", "%dx%d+%d+%d" % (rect["width"], rect["height"], rect["left"], rect["top"]),
                     "+repage"]

        def shoot(target):
            subprocess.run(argv + [target], check=True, timeout=60, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        shoot(path)
        if settle:
            previous = path + ".previous.png"

            def same_twice():
                os.replace(path, previous)
                shoot(path)
                return pixel_difference(previous, path) == 0

            try:
                wait_for(same_twice, timeout=15, interval=0.2, message="the screen to stop changing")
            finally:
                if os.path.exists(previous):
                    os.remove(previous)
        return path


def _region(path, rect):
    if rect is None:
        return path
    return "%s[%dx%d+%d+%d]" % (path, rect["width"], rect["height"], rect["left"], rect["top"])


def pixel_difference(a, b, rect_a=None, rect_b=None):
    """How many pixels differ between two PNGs, or between a region of each
    (driver rects in the images' coordinates)."""
    rect_b = rect_b if rect_b is not None else rect_a
    p = subprocess.run(["compare", "-metric", "AE", _region(a, rect_a), _region(b, rect_b), "null:"],
                       capture_output=True, text=True, timeout=60, stdin=subprocess.DEVNULL)
    if p.returncode not in (0, 1):  # 2: the images could not be compared at all
        raise RuntimeError("compare failed: %s" % p.stderr.strip())
    return int(float(p.stderr.split()[0]))


# ---------------------------------------------------------------- dump helpers

def walk(node, depth=0):
    """Every window of a dump, parents before children, with its depth."""
    yield node, depth
    for child in node["children"]:
        yield from walk(child, depth + 1)


def find_controls(tree, cls=None, text=None, rel=None):
    """Descendants of a dump matching class, text and (left, top, w, h)."""
    found = []
    for node, depth in walk(tree):
        if depth == 0:
            continue
        if cls is not None and node["class"].lower() != cls.lower():
            continue
        if text is not None and node["text"] != text:
            continue
        if rel is not None and rect_tuple(node["rel"]) != tuple(rel):
            continue
        found.append(node)
    return found


def rect_tuple(r):
    return (r["left"], r["top"], r["width"], r["height"])


def describe(node):
    return "%s %r rel=%s enabled=%s" % (node["class"], node["text"], rect_tuple(node["rel"]), node["enabled"])


# ---------------------------------------------------------------- test base

class WineTestCase(unittest.TestCase):
    """Gives each test class its own WineRig as cls.rig."""

    locale = "zh_CN.UTF-8"
    screen = (1024, 768)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Fail before paying for a prefix and a display.
        if not os.path.isfile(program_path()):
            raise FileNotFoundError("no program at %s (set JC_DIST)" % program_path())
        if not os.path.isfile(driver_path()):
            raise FileNotFoundError("no driver at %s (set JC_DIST or JC_DRIVER)" % driver_path())
        cls.rig = WineRig(cls.locale, cls.screen, name=cls.__name__)
        cls.addClassCleanup(cls.rig.close)
        cls.rig.start()

    @classmethod
    def shots_dir(cls):
        path = os.path.join(work_dir(), "shots")
        os.makedirs(path, exist_ok=True)
        return path


def _close_all():
    for s in list(WineRig._live):
        try:
            s.close()
        except Exception:  # noqa: BLE001 - best effort while exiting
            pass


def _on_term(signum, frame):
    _close_all()
    os._exit(128 + signum)


atexit.register(_close_all)
signal.signal(signal.SIGTERM, _on_term)


def main():
    unittest.main(verbosity=2)
