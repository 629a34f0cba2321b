"""Times the quick scan and the clean of junkclean.exe against baseline.exe,
the same file-system work with no window, on the same files in a throwaway
Wine prefix, and reads the program's peak working set after the scan.

With --variants, also times bench_variants.exe, which adds what the program
does per row to the baseline's work one step at a time, to show where the
program's extra time goes.

Prints figures and how they stand against the targets; it never fails on a
time. It exits non-zero only when it could not measure (a run did not end,
or did not find or delete the files it should have).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "wine"))
import jcwine  # noqa: E402

SCANNED = "系统垃圾扫描完成"
CLEANED = "系统垃圾清理完毕"
STATUS_RECT = (368, 291, 120, 24)

# Targets at the largest count: program/baseline time ratios, and MiB.
SCAN_RATIO_TARGET = 1.5
CLEAN_RATIO_TARGET = 1.5
PEAK_MIB_TARGET = 100

# The mix of files, as (folder, extension, share). "temp" is the Temp
# folder, "recycled" its recycled subfolder, "windows" the Windows folder,
# "prefetch" its prefetch subfolder. .old files are counted by the scan but
# never listed, so they stay.
MIX = [
    ("temp", ".tmp", 30), ("temp", ".log", 12), ("temp", ".bak", 8), ("temp", ".chk", 5),
    ("temp", ".gid", 5), ("temp", "._mp", 5), ("temp", ".fts", 5), ("temp", ".xlk", 5),
    ("temp", ".old", 5), ("recycled", ".dat", 8), ("windows", ".bak", 4), ("prefetch", ".pf", 8),
]


def plan_files(n):
    """The n files of the mix as (folder, name), with the count the scan's
    count pass should find and the rows its list pass should add."""
    total_share = sum(share for _, _, share in MIX)
    files = []
    for i, (folder, ext, share) in enumerate(MIX):
        k = n * share // total_share if i < len(MIX) - 1 else n - len(files)
        files += [(folder, "f%06d%s" % (j, ext)) for j in range(len(files), len(files) + k)]
    counted = len(files)
    listed = sum(2 if name.endswith(".chk") else 1 for _, name in files if not name.endswith(".old"))
    deleted = sum(1 for _, name in files if not name.endswith(".old"))
    # The count pass also looks for *.chk twice.
    counted += sum(1 for _, name in files if name.endswith(".chk"))
    return files, counted, listed, deleted


def folders(rig):
    return {"temp": rig.temp_dir, "recycled": os.path.join(rig.temp_dir, "recycled"),
            "windows": rig.windows_dir, "prefetch": os.path.join(rig.windows_dir, "prefetch")}


def create_files(rig, files):
    where = folders(rig)
    for path in where.values():
        os.makedirs(path, exist_ok=True)
    started = time.monotonic()
    for folder, name in files:
        fd = os.open(os.path.join(where[folder], name), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        try:
            os.write(fd, b"junk %s\n" % name.encode())
        finally:
            os.close(fd)
    return time.monotonic() - started


def remaining(rig, files):
    where = folders(rig)
    return sum(1 for folder, name in files if os.path.exists(os.path.join(where[folder], name)))


def run_tool(rig, exe, args=()):
    """Runs a console program of ours in the prefix and returns the figures
    it prints as name=value pairs."""
    folder = rig.win_path("jc", "bench")
    os.makedirs(folder, exist_ok=True)
    name = os.path.basename(exe)
    shutil.copy2(exe, os.path.join(folder, name))
    out = os.path.join(rig.logs, name + ".out")
    # Files, not pipes: Wine's helper processes would hold a pipe open.
    with open(out, "wb") as f_out, open(out + ".err", "wb") as f_err:
        code = subprocess.run([jcwine.WINE, "C:\\jc\\bench\\" + name] + list(args), env=rig.env, cwd=folder,
                              stdin=subprocess.DEVNULL, stdout=f_out, stderr=f_err, timeout=3600).returncode
    with open(out, encoding="utf-8", errors="replace") as f:
        text = f.read()
    figures = dict((k, int(v)) for k, v in re.findall(r"(\w+)=(-?\d+)", text))
    if code != 0 or not {"scan_ms", "clean_ms", "files"} <= set(figures):
        raise RuntimeError("%s exited %s and printed %r" % (name, code, text))
    return figures


class ProgramWindow:
    def __init__(self, rig):
        self.rig = rig
        self.prog = rig.start_program()
        self.hwnd = rig.main_window(timeout=60)["hwnd"]
        kids = rig.settled_dump(self.hwnd)["children"]
        self.scan_button = [c["hwnd"] for c in kids if c["class"] == "Button" and c["text"] == "快速扫描"][0]
        self.clean_button = [c["hwnd"] for c in kids if c["class"] == "Button" and c["text"] == "清理系统垃圾"][0]
        self.status = [c["hwnd"] for c in kids if jcwine.rect_tuple(c["rel"]) == STATUS_RECT][0]
        self.win_pid = rig.driver("pid-of", self.hwnd)["pid"]

    def click(self, button, text, timeout):
        return self.rig.click_and_wait(button, self.status, text, timeout=timeout, poll_ms=5)

    def counts(self):
        tree = self.rig.driver("dump", self.hwnd, "--max-rows", 0, timeout=300)
        lv = [c for c in tree["children"] if "listview" in c][0]["listview"]
        bar = [c for c in tree["children"] if "progress" in c][0]["progress"]
        return lv["item_count"], bar

    def memory(self):
        figures = self.rig.driver("memory", self.win_pid)
        # The same figure as Linux keeps it, as a check on Wine's answer.
        with open("/proc/%d/status" % self.prog.pid) as f:
            hwm = re.search(r"VmHWM:\s*(\d+) kB", f.read())
        figures["linux_vmhwm"] = int(hwm.group(1)) * 1024 if hwm else None
        return figures


def check_after_clean(rig, files, deleted, who):
    left = remaining(rig, files)
    if left != len(files) - deleted:
        raise RuntimeError("after %s %d of the files remain, expected %d" % (who, left, len(files) - deleted))


def measure_baseline(rig, exe, files, counted, listed, deleted, args=()):
    create_files(rig, files)
    base = run_tool(rig, exe, args)
    if base["files"] != listed or base.get("counted", counted) != counted:
        raise RuntimeError("%s listed %s and counted %s, expected %d and %d"
                           % (os.path.basename(exe), base["files"], base.get("counted"), listed, counted))
    check_after_clean(rig, files, deleted, " ".join([os.path.basename(exe)] + list(args)))
    return base


def measure_program(rig, files, counted, listed, deleted, timeout):
    create_files(rig, files)
    win = ProgramWindow(rig)
    scan = win.click(win.scan_button, SCANNED, timeout)
    rows, bar = win.counts()
    memory = win.memory()
    if rows != listed or bar["high"] != min(1 + counted, 32767):
        raise RuntimeError("the program listed %d rows (expected %d), progress %r" % (rows, listed, bar))
    clean = win.click(win.clean_button, CLEANED, timeout)
    rows_after, _ = win.counts()
    if rows_after != 0:
        raise RuntimeError("%d rows left after the clean" % rows_after)
    check_after_clean(rig, files, deleted, "the program's clean")
    rig.driver("close", win.hwnd)
    win.prog.wait_exit(timeout=60)
    return {"scan": scan, "clean": clean, "memory": memory}


# What the program does per row beyond the bare file-system work, changed
# one step at a time (see variants.cpp, built as bench_variants.exe).
MESSAGES = ["messages", "scanmessages", "storedbar"]
VARIANTS = [
    ("as baseline.exe (newest row first)", []),
    ("the same, deleting oldest row first", ["oldestfirst"]),
    ("newest first + 2 messages per row to a bar that keeps the values", MESSAGES),
    ("+ each file checked and deleted through one handle (the program's way)", MESSAGES + ["handledelete"]),
]


def measure(n, baseline_exe, variants_exe, repeat, timeout):
    files, counted, listed, deleted = plan_files(n)
    rig = jcwine.WineRig("zh_CN.UTF-8", name="bench-%d" % n).start()
    try:
        runs = []
        for i in range(repeat):
            base = measure_baseline(rig, baseline_exe, files, counted, listed, deleted)
            prog = measure_program(rig, files, counted, listed, deleted, timeout)
            runs.append((base, prog))
            print("  N=%d run %d: baseline scan %d ms, clean %d ms; program scan %d ms, clean %d ms, "
                  "peak working set %.1f MiB" % (n, i + 1, base["scan_ms"], base["clean_ms"],
                                                 prog["scan"]["elapsed_ms"], prog["clean"]["elapsed_ms"],
                                                 mib(prog["memory"]["peak_working_set"])), flush=True)
        variants = []
        if variants_exe:
            for label, args in VARIANTS:
                scans, cleans = [], []
                for i in range(repeat):
                    v = measure_baseline(rig, variants_exe, files, counted, listed, deleted, args)
                    scans.append(v["scan_ms"])
                    cleans.append(v["clean_ms"])
                    print("  N=%d variant %s: scan %d ms, clean %d ms" % (n, label, v["scan_ms"], v["clean_ms"]),
                          flush=True)
                variants.append((label, {"scan_ms": median(scans), "clean_ms": median(cleans)}))
        return {"n": n, "listed": listed, "counted": counted, "runs": runs, "variants": variants}
    finally:
        rig.close()


def mib(b):
    return b / (1024.0 * 1024.0)


def median(values):
    values = sorted(values)
    mid = len(values) // 2
    return values[mid] if len(values) % 2 else (values[mid - 1] + values[mid]) / 2.0


def figures(r):
    """The medians over the runs of one N, and the highest peak."""
    runs = r["runs"]
    return {
        "base_scan": median([b["scan_ms"] for b, _ in runs]),
        "base_clean": median([b["clean_ms"] for b, _ in runs]),
        "prog_scan": median([p["scan"]["elapsed_ms"] for _, p in runs]),
        "prog_clean": median([p["clean"]["elapsed_ms"] for _, p in runs]),
        "peak": max(p["memory"]["peak_working_set"] for _, p in runs),
        "vmhwm": max(p["memory"]["linux_vmhwm"] or 0 for _, p in runs),
    }


def verdict(ok):
    return "meets" if ok else "misses"


def report(results, repeat):
    print()
    print("Medians of %d run(s) each; times from the click to the status text." % repeat)
    print("%8s %8s | %10s %10s | %10s %10s | %6s %6s | %8s" % (
        "files", "rows", "base scan", "base clean", "prog scan", "prog clean", "scan x", "clean x", "peak MiB"))
    for r in results:
        f = figures(r)
        print("%8d %8d | %7d ms %7d ms | %7d ms %7d ms | %6.2f %6.2f | %8.1f" % (
            r["n"], r["listed"], f["base_scan"], f["base_clean"], f["prog_scan"], f["prog_clean"],
            f["prog_scan"] / max(f["base_scan"], 1), f["prog_clean"] / max(f["base_clean"], 1), mib(f["peak"])))
    big = max(results, key=lambda r: r["n"])
    f = figures(big)
    scan_x = f["prog_scan"] / max(f["base_scan"], 1)
    clean_x = f["prog_clean"] / max(f["base_clean"], 1)
    peak = mib(f["peak"])
    print()
    print("Targets at N=%d:" % big["n"])
    print("  scan  <= %.1f x baseline:    %5.2f x     %s" % (SCAN_RATIO_TARGET, scan_x,
                                                            verdict(scan_x <= SCAN_RATIO_TARGET)))
    print("  clean <= %.1f x baseline:    %5.2f x     %s" % (CLEAN_RATIO_TARGET, clean_x,
                                                            verdict(clean_x <= CLEAN_RATIO_TARGET)))
    print("  peak working set <= %d MiB: %5.1f MiB   %s  (after the scan; Linux VmHWM %.1f MiB)" % (
        PEAK_MIB_TARGET, peak, verdict(peak <= PEAK_MIB_TARGET), mib(f["vmhwm"])))
    for r in results:
        if not r["variants"]:
            continue
        print()
        print("Where the time goes at N=%d (bench_variants.exe, medians of %d run(s)):" % (r["n"], repeat))
        for label, v in r["variants"]:
            print("  %-72s scan %6d ms   clean %6d ms" % (label, v["scan_ms"], v["clean_ms"]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--counts", default="10000,100000", help="file counts, comma-separated")
    parser.add_argument("--repeat", type=int, default=1, help="runs of baseline and program per count")
    parser.add_argument("--baseline", default=os.path.join(jcwine.dist_dir(), "baseline.exe"))
    parser.add_argument("--variants", default=None,
                        help="variants.exe: also time what the program adds per row, step by step")
    parser.add_argument("--timeout", type=float, default=1800, help="seconds a scan or a clean may take")
    args = parser.parse_args()
    for exe in (jcwine.program_path(), jcwine.driver_path(), args.baseline, args.variants):
        if exe and not os.path.isfile(exe):
            sys.exit("bench: %s is missing" % exe)
    results = []
    for n in [int(x) for x in args.counts.split(",")]:
        print("N=%d: measuring..." % n, flush=True)
        results.append(measure(n, args.baseline, args.variants, max(1, args.repeat), args.timeout))
    report(results, max(1, args.repeat))


if __name__ == "__main__":
    main()
