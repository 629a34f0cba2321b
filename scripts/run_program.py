"""Starts junkclean.exe under Wine in a prefix of its own (build/run/prefix).

The program checks its update page at start: a local update server
(server/update_server.py, publishing 2.0) is started and the program's
system proxy (http_proxy) points at it, so the program goes on to its main
window. On a display of the user's ($DISPLAY) the program stays up until the
user closes it. Without one, an Xvfb is started, the two message boxes of
the start are answered, a screenshot of the main window is taken, and the
program is closed again.
"""

import json
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


def start_update_server():
    port_file = os.path.join(RUN, "update-server.port")
    if os.path.exists(port_file):
        os.remove(port_file)
    log = open(os.path.join(RUN, "update-server.log"), "wb")
    server = subprocess.Popen([sys.executable, os.path.join(REPO, "server", "update_server.py"),
                               "--port-file", port_file], stdout=log, stderr=log)
    deadline = time.monotonic() + 20
    while not os.path.exists(port_file):
        if time.monotonic() > deadline or server.poll() is not None:
            sys.exit("run: the update server did not start (see %s)" % log.name)
        time.sleep(0.05)
    with open(port_file) as f:
        return server, int(f.read())


def answer_message_box(env, text):
    code, found = driver(env, "find", "--class", "#32770", "--visible", "1", "--timeout", "60000")
    if code != 0:
        sys.exit("run: the message box \"%s\" did not appear: %s" % (text, found))
    hwnd = json.loads(found)["hwnd"]
    driver(env, "post", str(hwnd), "0x111", "1", "0")  # WM_COMMAND IDOK
    driver(env, "wait-gone", str(hwnd), "--timeout", "20000")


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
    server, port = start_update_server()
    env["http_proxy"] = "http://127.0.0.1:%d" % port
    print("run: update server on 127.0.0.1:%d (the program reaches it as its proxy)" % port)
    folder = os.path.join(PREFIX, "drive_c", "junkclean")
    os.makedirs(folder, exist_ok=True)
    for name in ("junkclean.exe", "jcdriver.exe"):
        shutil.copy2(os.path.join(REPO, "dist", "x86_64", name), folder)

    with open(os.path.join(RUN, "program.log"), "wb") as log:
        program = subprocess.Popen([WINE, "C:\\junkclean\\junkclean.exe"], env=env, stdout=log, stderr=log)
    try:
        if xvfb:
            answer_message_box(env, "欢迎使用垃圾清理器 By：Varnel")
        code, found = driver(env, "find", "--title", MAIN_TITLE, "--visible", "1", "--timeout", "60000")
        if code != 0:
            sys.exit("run: the main window did not appear: %s" % found)
        if xvfb:
            answer_message_box(env, "欢迎使用！")
        time.sleep(1)  # let the first paint finish before the picture is taken
        subprocess.run(["import", "-display", display, "-window", "root", SHOT], check=True)
        print("run: screenshot of the main window saved to %s" % SHOT)
        if xvfb:
            hwnd = json.loads(found)["hwnd"]
            driver(env, "close", str(hwnd))
            print("run: program ended with exit code %d" % program.wait(timeout=60))
        else:
            print("run: the program is running on %s; close its window to end it" % display)
            print("run: program ended with exit code %d" % program.wait())
    finally:
        if program.poll() is None:
            program.kill()
        subprocess.run([WINESERVER, "-k"], env=env, stderr=subprocess.DEVNULL)
        server.terminate()
        if xvfb:
            xvfb.terminate()


if __name__ == "__main__":
    main()
