"""Starts junkclean.exe under Wine in a prefix of its own (build/run/prefix).

On a display of the user's ($DISPLAY) the program stays up until the user
closes it. Without one, an Xvfb is started, a screenshot of the main window
is taken, and the program is closed again.
"""

import os
import shutil
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
RUN = os.path.join(REPO, "build", "run")
PREFIX = os.path.join(RUN, "prefix")
SHOT = os.path.join(RUN, "screenshot.png")
MAIN_TITLE = "清除系统垃圾 Beta2.0"


def wine_env(display):
    env = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all", LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8",
               WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY=display)
    return env


def make_prefix(env):
    if os.path.exists(os.path.join(PREFIX, "system.reg")):
        return
    print("run: creating the Wine prefix (once, about 15 s)")
    os.makedirs(RUN, exist_ok=True)
    with open(os.path.join(RUN, "wineboot.log"), "wb") as log:
        subprocess.run([WINE, "wineboot", "--init"], env=env, stdout=log, stderr=log, check=True)
    subprocess.run([WINESERVER, "-w"], env=env, check=True)


def display_works(display):
    if not display:
        return False
    return subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_fd, 16)
        if not chunk:
            sys.exit("run: Xvfb did not start")
        number += chunk
    os.close(read_fd)
    return xvfb, ":" + number.decode().strip()


def driver(env, *args, timeout=120):
    out = os.path.join(RUN, "driver.out")
    with open(out, "wb") as f:
        code = subprocess.run([WINE, "C:\\junkclean\\jcdriver.exe", *args], env=env, stdout=f,
                              stderr=subprocess.DEVNULL, timeout=timeout).returncode
    with open(out, encoding="utf-8", errors="replace") as f:
        return code, f.read()


def main():
    display = os.environ.get("DISPLAY", "")
    xvfb = None
    if not display_works(display):
        xvfb, display = start_xvfb()
        print("run: no display found; started Xvfb on %s" % display)
    env = wine_env(display)
    make_prefix(env)
    folder = os.path.join(PREFIX, "drive_c", "junkclean")
    os.makedirs(folder, exist_ok=True)
    for name in ("junkclean.exe", "jcdriver.exe"):
        shutil.copy2(os.path.join(REPO, "dist", "x86_64", name), folder)

    with open(os.path.join(RUN, "program.log"), "wb") as log:
        program = subprocess.Popen([WINE, "C:\\junkclean\\junkclean.exe"], env=env, stdout=log, stderr=log)
    try:
        code, found = driver(env, "find", "--title", MAIN_TITLE, "--visible", "1", "--timeout", "60000")
        if code != 0:
            sys.exit("run: the main window did not appear: %s" % found)
        time.sleep(1)  # let the first paint finish before the picture is taken
        subprocess.run(["import", "-display", display, "-window", "root", SHOT], check=True)
        print("run: screenshot of the main window saved to %s" % SHOT)
        if xvfb:
            hwnd = found.split('"hwnd":')[1].split(",")[0]
            driver(env, "close", hwnd)
            print("run: program ended with exit code %d" % program.wait(timeout=60))
        else:
            print("run: the program is running on %s; close its window to end it" % display)
            print("run: program ended with exit code %d" % program.wait())
    finally:
        if program.poll() is None:
            program.kill()
        subprocess.run([WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL)
        if xvfb:
            xvfb.terminate()


if __name__ == "__main__":
    main()
