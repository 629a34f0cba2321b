"""The quick scan and the clean, driven from outside on real files in the
prefix: what the list shows, what the progress bar and the status line say,
and above all that the clean deletes exactly the files the scan listed."""

import collections
import hashlib
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import jcwine  # noqa: E402
from jcwine import describe, rect_tuple  # noqa: E402

SCANNING = "正在扫描系统垃圾..."
SCANNED = "系统垃圾扫描完成"
CLEANED = "系统垃圾清理完毕"
CATEGORY = "系统垃圾"

STATUS_RECT = (368, 291, 120, 24)  # 标签1, found by place: its text changes

# The four folders the scan looks in: Temp, its recycled subfolder, the
# Windows folder and its prefetch subfolder.
TEMP, RECYCLED, WINDOWS, PREFETCH = "temp", "recycled", "windows", "prefetch"

GiB = 1 << 30


class Prefix:
    """The folders the program searches, in Linux and Windows terms."""

    def __init__(self, rig):
        self.rig = rig
        self.linux = {TEMP: rig.temp_dir, RECYCLED: os.path.join(rig.temp_dir, "recycled"),
                      WINDOWS: rig.windows_dir, PREFETCH: os.path.join(rig.windows_dir, "prefetch")}
        # GetTempPath and GetWindowsDirectory as the program sees them.
        user = os.path.basename(os.path.dirname(rig.temp_dir))
        temp = "C:\\users\\%s\\Temp\\" % user
        self.windows = {TEMP: temp, RECYCLED: temp + "recycled\\",
                        WINDOWS: "C:\\windows\\", PREFETCH: "C:\\windows\\prefetch\\"}
        self.profile = os.path.dirname(rig.temp_dir)

    def path(self, where, name):
        return os.path.join(self.linux[where], *name.split("/"))

    def win(self, where, name):
        return self.windows[where] + name.replace("/", "\\")

    def relative(self, win_path):
        """A C:\\ path the program listed, as a path below drive_c."""
        if not win_path[:3].upper() == "C:\\":
            raise AssertionError("not on drive C: %r" % win_path)
        return "/".join(win_path[3:].split("\\"))

    def put(self, where, name, content=b"", size=None):
        """A file with content, or a sparse one of size bytes."""
        path = self.path(where, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(content)
            if size is not None:
                f.truncate(size)
        return path


def content_for(name):
    # Different bytes per file, so a swapped or rewritten file shows.
    return ("%s\n" % name).encode("utf-8") * 3


class MainWindow:
    """The running program's main window and the controls the tests use."""

    def __init__(self, rig):
        self.rig = rig
        self.prog = rig.start_program()
        self.hwnd = rig.main_window(timeout=30)["hwnd"]
        tree = rig.settled_dump(self.hwnd)
        kids = tree["children"]

        def one(found, what):
            if len(found) != 1:
                raise AssertionError("%d matches for %s among %s" % (len(found), what, [describe(c) for c in kids]))
            return found[0]["hwnd"]

        self.scan_button = one([c for c in kids if c["class"] == "Button" and c["text"] == "快速扫描"], "快速扫描")
        self.clean_button = one([c for c in kids if c["class"] == "Button" and c["text"] == "清理系统垃圾"],
                                "清理系统垃圾")
        self.status = one([c for c in kids if rect_tuple(c["rel"]) == STATUS_RECT], "the status line")
        self.list = one([c for c in kids if c["class"].lower() == "syslistview32"], "the list view")
        self.bar = one([c for c in kids if c["class"].lower() == "msctls_progress32"], "the progress bar")

    def scan(self, timeout=60):
        return self.rig.click_and_wait(self.scan_button, self.status, SCANNED, timeout=timeout)

    def clean(self, timeout=60):
        return self.rig.click_and_wait(self.clean_button, self.status, CLEANED, timeout=timeout)

    def state(self):
        """(rows, progress, status text) as one dump reads them."""
        tree = self.rig.dump(self.hwnd)
        by_hwnd = {c["hwnd"]: c for c in tree["children"]}
        lv = by_hwnd[self.list]["listview"]
        if lv["rows_truncated"] or not lv["remote_memory"]:
            raise AssertionError("the list could not be read whole: %r" % {k: lv[k] for k in lv if k != "rows"})
        return lv["rows"], by_hwnd[self.bar]["progress"], by_hwnd[self.status]["text"]


def fixture_trees(prefix):
    """Every file and folder below the Temp folder and below the Windows
    folder, as {path below drive_c: fingerprint}. Everything in Temp and in
    prefetch, and every small file of the Windows folder (where the fixture
    files are), is hashed; the other system files, hundreds of megabytes, are
    compared by size, time and inode, which no deletion or rewrite leaves
    alone."""
    seen = {}
    drive_c = prefix.rig.win_path()
    for root, hashed in ((prefix.linux[TEMP], True), (prefix.linux[WINDOWS], False)):
        for folder, dirs, files in os.walk(root):
            full_hash = hashed or folder.startswith(prefix.linux[PREFETCH])
            for d in dirs:
                seen[os.path.relpath(os.path.join(folder, d), drive_c)] = ("folder",)
            for name in files:
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, drive_c)
                st = os.lstat(path)
                if os.path.islink(path):
                    seen[rel] = ("link", os.readlink(path))
                elif full_hash or st.st_size < 4096:
                    with open(path, "rb") as f:
                        seen[rel] = ("file", hashlib.sha256(f.read()).hexdigest())
                else:
                    seen[rel] = ("file", st.st_size, st.st_mtime_ns, st.st_ino)
    return seen


def all_paths(root):
    """Every file, link and folder below root."""
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            yield os.path.join(folder, name)


def remove_tree(path):
    if os.path.islink(path) or not os.path.isdir(path):
        if os.path.lexists(path):
            os.remove(path)
    else:
        shutil.rmtree(path)


class ScanAndCleanEndToEnd(jcwine.WineTestCase):
    """One scan and one clean of a small fixture, read back from outside."""

    # Each fixture file: where, name, size, and how the size column shows it
    # (None: not listed). No two sizes agree, so a size read from the wrong
    # file shows.
    FILES = [
        (TEMP, "a.bak", 7, "7"),
        (TEMP, "b.chk", 11, "11"),
        (TEMP, "c.fts", 13, "13"),
        (TEMP, "d.tmp", 17, "17"),
        (TEMP, "big.tmp", 3 * GiB, "-1073741824"),  # only the low 32 bits, signed
        (TEMP, "e.old", 19, None),  # counted but never listed
        (TEMP, "f.xlk", 23, "23"),
        (TEMP, "g._mp", 29, "29"),
        (TEMP, "h.log", 31, "31"),
        (TEMP, "huge.log", 4 * GiB + 5, "5"),
        (TEMP, "i.gid", 37, "37"),
        (TEMP, "empty.gid", 0, "0"),
        (RECYCLED, "r1.txt", 41, "41"),
        (RECYCLED, "noext", 43, "43"),  # "*.*" takes names without a dot too
        (WINDOWS, "w.bak", 47, "47"),
        (PREFETCH, "APP-1.pf", 53, "53"),
        (PREFETCH, "layout.ini", 59, "59"),
    ]
    # The list pass in order; each group is what one pattern finds, in
    # whatever order the folder yields it. .chk files come twice.
    GROUPS = [
        (TEMP, ["a.bak"]), (TEMP, ["b.chk"]), (TEMP, ["c.fts"]), (TEMP, ["d.tmp", "big.tmp"]),
        (TEMP, ["f.xlk"]), (TEMP, ["g._mp"]), (TEMP, ["h.log", "huge.log"]), (TEMP, ["i.gid", "empty.gid"]),
        (RECYCLED, ["r1.txt", "noext"]), (TEMP, ["b.chk"]),
        (WINDOWS, ["w.bak"]), (PREFETCH, ["APP-1.pf", "layout.ini"]),
    ]
    # What the count pass finds: every listed row, minus the second .chk
    # round of the list pass, plus its own second .chk round, plus e.old.
    COUNTED = 18

    def test_scan_lists_every_junk_file_then_clean_deletes_them(self):
        prefix = Prefix(self.rig)
        for where, name, size, _ in self.FILES:
            if size > 1 << 20:
                prefix.put(where, name, size=size)
            else:
                prefix.put(where, name, content_for(name)[:size].ljust(size, b"."))
        shown = {(w, n): s for w, n, _, s in self.FILES}
        rows_wanted = sum(len(names) for _, names in self.GROUPS)

        win = MainWindow(self.rig)
        rows, bar, status = win.state()
        self.assertEqual((rows, status), ([], ""))

        report = win.scan()
        self.assertEqual(report["texts"], ["", SCANNING, SCANNED])
        rows, bar, status = win.state()
        self.assertEqual(status, SCANNED)
        self.assertEqual(bar, {"low": 0, "high": 1 + self.COUNTED, "pos": 1 + rows_wanted})

        # Each row went in on top, so bottom to top is the order found.
        self.assertEqual(len(rows), rows_wanted, rows)
        found = list(reversed(rows))
        at = 0
        for where, names in self.GROUPS:
            group = found[at:at + len(names)]
            at += len(names)
            with self.subTest(group=names):
                self.assertEqual(sorted(group), sorted([prefix.win(where, n), shown[(where, n)], CATEGORY]
                                                       for n in names))

        report = win.clean()
        self.assertEqual(report["texts"], [SCANNED, CLEANED])
        rows, bar, status = win.state()
        self.assertEqual((rows, status), ([], CLEANED))
        # The maximum is the row count; one step per row and one at the end.
        self.assertEqual(bar, {"low": 0, "high": rows_wanted, "pos": rows_wanted + 1})
        for where, name, _, size_text in self.FILES:
            with self.subTest(file=name):
                self.assertEqual(os.path.exists(prefix.path(where, name)), size_text is None)
        self.assertTrue(win.prog.running())
        self.assertEqual(self.rig.msgboxes(), [])


class WhatTheCleanLeaves(jcwine.WineTestCase):
    """The clean deletes exactly what the scan listed and nothing else:
    junk among look-alikes, links named like junk, a file another program
    holds open. One program serves the three, each on fresh files; a new
    one starts when a test left it with rows or ended it."""

    JUNK = [
        (TEMP, "a.bak"), (TEMP, "b.CHK"), (TEMP, "c.tmp"), (TEMP, "d.log"), (TEMP, "e.gid"), (TEMP, "f._mp"),
        (TEMP, "g.xlk"), (TEMP, "h.fts"), (TEMP, "UPPER.TMP"), (TEMP, "two.dots.tmp"), (TEMP, "space name.log"),
        (TEMP, ".hidden.tmp"),  # hidden under Wine, junk all the same
        (TEMP, "临时文件.tmp"),
        (RECYCLED, "anything.txt"), (RECYCLED, "noext"), (RECYCLED, ".hidden"), (RECYCLED, "x.tmp"),
        (WINDOWS, "old.bak"),
        (PREFETCH, "APP-1A2B3C4D.pf"), (PREFETCH, "layout.ini"), (PREFETCH, ".hidden"),
    ]
    LOOK_ALIKES = [
        (TEMP, "notes.bakery"),  # short name NOTE~xxx.BAK matches *.bak
        (TEMP, "report.tmpl"),  # short name matches *.tmp
        (TEMP, "报告.tmpl"),
        (TEMP, "x.tmp.txt"), (TEMP, "tmp"), (TEMP, "logbook"), (TEMP, "a.bak~"), (TEMP, "readme.txt"),
        (TEMP, "data.old"),  # counted, never listed
        (TEMP, "x.tmp/inside.tmp"), (TEMP, "x.tmp/inside.txt"),  # a folder named like junk
        (TEMP, "sub/deep.tmp"), (TEMP, "sub/deep.bak"),
        (TEMP, "prefetch/p.pf"),  # prefetch counts only in the Windows folder
        (RECYCLED, "sub/nested.tmp"), (RECYCLED, "sub.tmp/nested.bak"),
        (WINDOWS, "notes.bakery"), (WINDOWS, "keep.tmp"), (WINDOWS, "app.log"),
        (WINDOWS, "folder.bak/inside.bak"),
        (WINDOWS, "temp/y.tmp"), (WINDOWS, "temp/z.bak"),
        (PREFETCH, "sub/inner.pf"),
    ]

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix = Prefix(cls.rig)
        cls.win = MainWindow(cls.rig)
        cls.first_windows_tree = set(all_paths(cls.prefix.linux[WINDOWS]))

    def setUp(self):
        # Back to the prefix as the program found it: an empty Temp folder,
        # nothing added to the Windows folder.
        linux = self.prefix.linux
        for name in os.listdir(linux[TEMP]):
            remove_tree(os.path.join(linux[TEMP], name))
        for path in sorted(set(all_paths(linux[WINDOWS])) - self.first_windows_tree, reverse=True):
            remove_tree(path)
        cls = type(self)
        if not cls.win.prog.running() or cls.win.state()[0]:
            cls.win.prog.kill()
            cls.win = MainWindow(self.rig)
        self.win = cls.win

    def test_clean_deletes_exactly_the_listed_files(self):
        prefix, win = self.prefix, self.win
        for where, name in self.JUNK + self.LOOK_ALIKES:
            prefix.put(where, name, content_for(name))
        # Taken with the program up, so that only the scan and the clean are
        # judged, not what its start may write.
        before = fixture_trees(prefix)
        # The rest of the Windows folder must not hold junk of its own, or
        # the expected list below would be wrong.
        stray = [p for p in before if os.path.dirname(p) == "windows" and p.lower().endswith(".bak")
                 and before[p][0] == "file"]
        self.assertEqual(stray, ["windows/old.bak"])

        win.scan()
        rows, _, _ = win.state()
        listed = collections.Counter(r[0] for r in rows)
        wanted = collections.Counter(prefix.win(w, n) for w, n in self.JUNK)
        wanted[prefix.win(TEMP, "b.CHK")] += 1  # the list pass looks for *.chk twice
        self.assertEqual(listed, wanted)
        self.assertEqual({r[2] for r in rows}, {CATEGORY})

        win.clean()
        rows, _, status = win.state()
        self.assertEqual((rows, status), ([], CLEANED))

        after = fixture_trees(prefix)
        self.assertEqual(set(before) - set(after), {prefix.relative(p) for p in listed}, "what the clean deleted")
        self.assertEqual(set(after) - set(before), set(), "what appeared")
        self.assertEqual({p for p in after if after[p] != before[p]}, set(), "what changed")


    def test_clean_never_deletes_the_target_of_a_listed_link(self):
        # Under Wine a link to a file looks like a plain file, and deleting
        # it by name deletes the file it points to.
        prefix, win = self.prefix, self.win
        precious = prefix.put(TEMP, "documents/precious.doc", b"thesis, final version\n")
        outside = os.path.join(prefix.profile, "outside.txt")
        with open(outside, "wb") as f:
            f.write(b"not in Temp at all\n")
        self.addCleanup(lambda: os.path.exists(outside) and os.remove(outside))
        os.makedirs(prefix.linux[RECYCLED])
        os.symlink(precious, prefix.path(TEMP, "link.tmp"))
        os.symlink(outside, prefix.path(RECYCLED, "link.txt"))
        prefix.put(TEMP, "plain.tmp", b"plain junk\n")

        win.scan()
        rows, _, _ = win.state()
        self.assertEqual(sorted(r[0] for r in rows),
                         sorted([prefix.win(TEMP, "link.tmp"), prefix.win(RECYCLED, "link.txt"),
                                 prefix.win(TEMP, "plain.tmp")]))
        win.clean()
        rows, _, status = win.state()
        self.assertEqual((rows, status), ([], CLEANED))
        self.assertFalse(os.path.lexists(prefix.path(TEMP, "plain.tmp")))
        for target, text in [(precious, b"thesis, final version\n"), (outside, b"not in Temp at all\n")]:
            with self.subTest(target=target):
                self.assertTrue(os.path.exists(target), "the clean deleted %s through a link" % target)
                with open(target, "rb") as f:
                    self.assertEqual(f.read(), text)


    def test_held_file_stays_its_row_goes_and_the_clean_ends(self):
        prefix, win = self.prefix, self.win
        # The clean takes row 0 first, the newest: last.log, then the held
        # file, then first.bak, so a file after the held one must go too.
        paths = {name: prefix.put(TEMP, name, content_for(name)) for name in ("first.bak", "held.tmp", "last.log")}
        win.scan()
        rows, bar, _ = win.state()
        self.assertEqual([r[0] for r in rows],
                         [prefix.win(TEMP, n) for n in ("last.log", "held.tmp", "first.bak")])

        holder = self.rig.start_driver("hold", prefix.win(TEMP, "held.tmp"), "--seconds", 120)
        self.addCleanup(holder.kill)
        self.assertEqual(holder.first_json(timeout=30).get("ok"), True, holder.output())

        report = win.clean()
        self.assertEqual(report["texts"], [SCANNED, CLEANED])
        rows, bar, status = win.state()
        self.assertEqual((rows, bar, status), ([], {"low": 0, "high": 3, "pos": 4}, CLEANED))
        self.assertFalse(os.path.exists(paths["first.bak"]))
        self.assertFalse(os.path.exists(paths["last.log"]))
        self.assertTrue(holder.running(), "the holder let go before the clean ended")
        holder.kill()
        self.assertTrue(os.path.exists(paths["held.tmp"]), "the held file was deleted")
        with open(paths["held.tmp"], "rb") as f:
            self.assertEqual(f.read(), content_for("held.tmp"))
        self.assertTrue(win.prog.running())
        self.assertEqual(self.rig.msgboxes(), [])


if __name__ == "__main__":
    jcwine.main()
