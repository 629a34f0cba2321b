"""The main window as a user first sees it: layout, styles, list view and
progress bar, the buttons that must do nothing yet, Esc, and the texts under
a non-Chinese code page."""

import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import jcwine  # noqa: E402
from jcwine import describe, rect_tuple  # noqa: E402

TITLE = "清除系统垃圾 Beta2.0"
FRAME = (261, 207, 501, 354)  # outer rect on a 1024x768 screen: centred

LABEL, BUTTON, PROGRESS, LISTVIEW = "label", "button", "progress", "listview"
KIND_CLASS = {BUTTON: "Button", PROGRESS: "msctls_progress32", LISTVIEW: "SysListView32"}

# The controls in z-order, topmost first: name, kind, text, (left, top,
# width, height) in the main window's client area, enabled. A text of None
# is not checked; labels are the program's own class and are told apart by
# their text.
CONTROLS = [
    ("透明标签1", LABEL, "By：Varnel", (352, 248, 136, 32), True),
    ("标签1", LABEL, "", (368, 291, 120, 24), True),
    ("按钮5", BUTTON, "快速扫描", (368, 8, 105, 32), True),
    ("进度条1", PROGRESS, None, (0, 296, 360, 16), True),
    ("按钮4", BUTTON, "全部清理（调试中）", (360, 192, 128, 32), False),
    ("按钮3", BUTTON, "清理注册表缓存", (368, 98, 105, 32), True),
    ("按钮2", BUTTON, "清理IE缓存", (368, 149, 105, 32), True),
    ("按钮1", BUTTON, "清理系统垃圾", (368, 56, 105, 32), True),
    ("超级列表框1", LISTVIEW, None, (0, 0, 355, 288), True),
]
BY_NAME = {c[0]: c for c in CONTROLS}


def kind_of(node):
    for kind, cls in KIND_CLASS.items():
        if node["class"].lower() == cls.lower():
            return kind
    return LABEL


def identify(tree, name):
    """The direct children of the main window that are the named control."""
    _, kind, text, _, _ = BY_NAME[name]
    return [c for c in tree["children"]
            if kind_of(c) == kind and (kind not in (LABEL, BUTTON) or c["text"] == text)]


def at_position(tree, rect):
    """The one direct child at a client rect. Found by position so a garbled
    text shows up as a wrong text, not as a missing control."""
    found = [c for c in tree["children"] if rect_tuple(c["rel"]) == rect]
    if len(found) != 1:
        raise AssertionError("%d controls at %s among %s" % (
            len(found), rect, [describe(c) for c in tree["children"]]))
    return found[0]


def start_main_window(rig):
    prog = rig.start_program()
    return prog, rig.main_window(timeout=30)["hwnd"]


class MainWindowChinese(jcwine.WineTestCase):
    locale = "zh_CN.UTF-8"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prog, cls.hwnd = start_main_window(cls.rig)
        # Every layout check reads this one dump, taken before any test
        # pokes the window.
        cls.tree = cls.rig.settled_dump(cls.hwnd)
        cls.shot = cls.rig.screenshot(os.path.join(cls.shots_dir(), "main_window_zh.png"),
                                          cls.tree["rect"])

    def control(self, name):
        found = identify(self.tree, name)
        self.assertEqual(len(found), 1, "%s: expected one match among %s" % (
            name, [describe(c) for c in self.tree["children"]]))
        return found[0]

    def test_runs_under_code_page_936(self):
        self.assertEqual(self.rig.driver("codepage")["acp"], 936)

    def test_caption_and_outer_rect(self):
        self.assertEqual(self.tree["text"], TITLE)
        # The title the system keeps for drawing the caption, not only what
        # the window procedure answers.
        self.assertEqual(self.rig.find_window(title=TITLE, timeout=5), self.hwnd)
        self.assertEqual(rect_tuple(self.tree["rect"]), FRAME)
        self.assertTrue(self.tree["visible"])
        self.assertTrue(self.tree["enabled"])

    def test_frame_styles(self):
        style = self.tree["style"]
        for flag, name, wanted in [
            (jcwine.WS_MAXIMIZEBOX, "WS_MAXIMIZEBOX", False),
            (jcwine.WS_MINIMIZEBOX, "WS_MINIMIZEBOX", True),
            (jcwine.WS_SYSMENU, "WS_SYSMENU", True),
            (jcwine.WS_THICKFRAME, "WS_THICKFRAME", False),
            (jcwine.WS_CAPTION, "WS_CAPTION", True),
        ]:
            with self.subTest(flag=name):
                self.assertEqual(bool(style & flag), wanted, "style 0x%08x" % style)

    def test_has_exactly_the_nine_controls(self):
        self.assertEqual(len(self.tree["children"]), len(CONTROLS),
                         [describe(c) for c in self.tree["children"]])

    def test_control_positions_texts_and_states(self):
        for name, kind, text, rect, enabled in CONTROLS:
            with self.subTest(control=name):
                node = self.control(name)
                self.assertEqual(rect_tuple(node["rel"]), rect, describe(node))
                if text is not None:
                    self.assertEqual(node["text"], text)
                self.assertEqual(node["enabled"], enabled, describe(node))
                self.assertTrue(node["visible"], describe(node))

    def test_z_order_of_controls(self):
        order = [c["hwnd"] for c in self.tree["children"]]
        wanted = []
        for name, *_ in CONTROLS:
            found = identify(self.tree, name)
            self.assertEqual(len(found), 1, name)
            wanted.append(found[0]["hwnd"])
        names = {h: n for h, (n, *_) in zip(wanted, CONTROLS)}
        self.assertEqual([names.get(h, h) for h in order], [c[0] for c in CONTROLS])

    def test_list_view_styles_and_columns(self):
        node = self.control("超级列表框1")
        lv = node["listview"]
        style, ex = node["style"], lv["extended_style"]
        self.assertEqual(style & jcwine.LVS_TYPEMASK, jcwine.LVS_REPORT, "style 0x%08x" % style)
        for value, flag, name, wanted in [
            (style, jcwine.LVS_SINGLESEL, "LVS_SINGLESEL", True),
            (style, jcwine.LVS_SHOWSELALWAYS, "LVS_SHOWSELALWAYS", False),
            (node["exstyle"], jcwine.WS_EX_CLIENTEDGE, "WS_EX_CLIENTEDGE", True),
            (ex, jcwine.LVS_EX_FULLROWSELECT, "LVS_EX_FULLROWSELECT", True),
            (ex, jcwine.LVS_EX_GRIDLINES, "LVS_EX_GRIDLINES", True),
        ]:
            with self.subTest(flag=name):
                self.assertEqual(bool(value & flag), wanted, "0x%08x" % value)
        self.assertEqual([(c["title"], c["width"], c["align"]) for c in lv["columns"]],
                         [("垃圾文件", 150, "left"), ("大小", 100, "left"), ("类型", 100, "left")])
        self.assertEqual(lv["item_count"], 0)
        self.assertEqual(lv["rows"], [])

    def test_progress_bar_styles_and_initial_state(self):
        node = self.control("进度条1")
        self.assertTrue(node["style"] & jcwine.PBS_SMOOTH, "style 0x%08x" % node["style"])
        self.assertTrue(node["exstyle"] & jcwine.WS_EX_STATICEDGE, "exstyle 0x%08x" % node["exstyle"])
        self.assertEqual(node["progress"], {"low": 0, "high": 100, "pos": 0})

    def test_progress_bar_keeps_values_and_clamps_its_limits(self):
        pb = self.control("进度条1")["hwnd"]
        s = self.rig
        # Each step: a message with its parameters, then what reads back.
        steps = [
            (("PBM_SETRANGE32", 0, 40000), {"low": 0, "high": 32767}),
            (("PBM_SETPOS", -5, 0), {"pos": 0}),
            (("PBM_SETRANGE32", 0, 10), {"low": 0, "high": 10}),
            # The drawing is clamped to the range, the stored value is not.
            (("PBM_SETPOS", 12, 0), {"pos": 12}),
        ]
        for (msg, wparam, lparam), expected in steps:
            s.send(pb, msg, wparam, lparam)
            got = {"low": s.send(pb, "PBM_GETRANGE", 1, 0),
                   "high": s.send(pb, "PBM_GETRANGE", 0, 0),
                   "pos": s.send(pb, "PBM_GETPOS", 0, 0)}
            with self.subTest(step="%s(%d, %d)" % (msg, wparam, lparam)):
                self.assertEqual({k: got[k] for k in expected}, expected)

    def visible_state(self):
        tree = self.rig.dump(self.hwnd)
        return (tree["text"], rect_tuple(tree["rect"]),
                [(c["class"], c["text"], rect_tuple(c["rel"]), c["enabled"], c["visible"])
                 for c in tree["children"]],
                identify(tree, "超级列表框1")[0]["listview"]["item_count"])

    def click_and_settle(self, button, marker):
        """Posts a click, then waits until the program has handled it.

        Posted messages of one thread are handled in order, so once a
        position posted to the progress bar after the click reads back, the
        click has been handled too.
        """
        pb = self.control("进度条1")["hwnd"]
        s = self.rig
        s.send(pb, "PBM_SETRANGE32", 0, 100)
        s.send(pb, "PBM_SETPOS", 0, 0)
        s.driver("click", button)
        s.post(pb, "PBM_SETPOS", marker, 0)
        jcwine.wait_for(lambda: s.send(pb, "PBM_GETPOS") == marker, timeout=20,
                        message="the program to handle the click")

    def test_ie_and_registry_buttons_do_nothing(self):
        for marker, name in [(37, "按钮2"), (53, "按钮3")]:
            with self.subTest(button=name):
                before = self.visible_state()
                self.click_and_settle(self.control(name)["hwnd"], marker)
                self.assertTrue(self.prog.running(), "the program ended")
                self.assertTrue(self.rig.window_exists(self.hwnd))
                self.assertEqual(self.rig.msgboxes(), [])
                self.assertEqual(self.visible_state(), before)

    def test_screenshot_shows_the_window(self):
        # A window that was never drawn shows as one flat colour; the real
        # one has text, edges and the list view's grid.
        colours = subprocess.run(["identify", "-format", "%k", self.shot], capture_output=True, text=True,
                                 check=True, timeout=60).stdout
        self.assertGreater(int(colours), 16)


class EscapeKey(jcwine.WineTestCase):
    locale = "zh_CN.UTF-8"

    def test_esc_in_list_view_ends_the_program_with_code_0(self):
        prog, hwnd = start_main_window(self.rig)
        lv = identify(self.rig.settled_dump(hwnd), "超级列表框1")
        self.assertEqual(len(lv), 1)
        self.rig.driver("key", lv[0]["hwnd"], "esc")
        self.assertEqual(prog.wait_exit(timeout=30), 0)
        self.assertFalse(self.rig.window_exists(hwnd))


class RealInput(jcwine.WineTestCase):
    """Keys and clicks as a user gives them (xdotool on the test display),
    where Wine would deliver a posted message even to a disabled button."""

    def xdotool(self, *args):
        env = dict(os.environ, DISPLAY=":%d" % self.rig.display)
        subprocess.run(["xdotool"] + [str(a) for a in args], env=env, check=True, timeout=30)

    def focus(self):
        return self.rig.driver("focus", self.hwnd)["focus"]

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prog, cls.hwnd = start_main_window(cls.rig)
        cls.tree = cls.rig.settled_dump(cls.hwnd)
        cls.name_of = {c["hwnd"]: c["text"] or c["class"] for c in cls.tree["children"]}

    def test_tab_cycles_the_tab_stops_and_never_reaches_the_disabled_button(self):
        r = self.tree["rect"]
        self.xdotool("mousemove", r["left"] + 100, r["top"] + 200, "click", 1)  # into the list
        jcwine.wait_for(lambda: self.name_of.get(self.focus()) == "SysListView32", timeout=10,
                        message="the list to take the focus")
        visited = []
        for _ in range(10):
            before = self.focus()
            visited.append(self.name_of.get(before))
            self.xdotool("key", "Tab")
            jcwine.wait_for(lambda: self.focus() != before, timeout=10, message="the focus to move")
        self.assertNotIn("全部清理（调试中）", visited)
        self.assertEqual(set(visited), {"SysListView32", "快速扫描", "清理系统垃圾", "清理注册表缓存", "清理IE缓存"})

    def test_the_disabled_button_takes_no_click(self):
        r = self.tree["rect"]
        self.xdotool("mousemove", r["left"] + 100, r["top"] + 200, "click", 1)  # into the list
        jcwine.wait_for(lambda: self.name_of.get(self.focus()) == "SysListView32", timeout=10,
                        message="the list to take the focus")
        button = next(c for c in self.tree["children"] if c["text"] == "全部清理（调试中）")
        self.xdotool("mousemove", button["rect"]["left"] + 20, button["rect"]["top"] + 10, "click", 1)
        # Events are handled in order: had the click reached the button, it
        # would hold the focus and Tab would move on to the button below it.
        self.xdotool("key", "Tab")
        jcwine.wait_for(lambda: self.name_of.get(self.focus()) != "SysListView32", timeout=10,
                        message="the focus to move")
        self.assertEqual(self.name_of.get(self.focus()), "快速扫描")
        self.assertTrue(self.prog.running())


class MainWindowWesternCodePage(jcwine.WineTestCase):
    """Under code page 1252 the texts must still come out as Chinese: the
    program converts them from 936 itself instead of trusting the ANSI page."""

    locale = "en_US.UTF-8"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prog, cls.hwnd = start_main_window(cls.rig)
        cls.tree = cls.rig.settled_dump(cls.hwnd)
        cls.rig.screenshot(os.path.join(cls.shots_dir(), "main_window_en.png"), cls.tree["rect"])

    def test_runs_under_code_page_1252(self):
        self.assertEqual(self.rig.driver("codepage")["acp"], 1252)

    def test_caption(self):
        self.assertEqual(self.tree["text"], TITLE)
        self.assertEqual(self.rig.find_window(title=TITLE, timeout=5), self.hwnd)
        self.assertEqual(rect_tuple(self.tree["rect"]), FRAME)

    def test_button_and_label_texts(self):
        for name, kind, text, rect, _ in CONTROLS:
            if text is None:
                continue
            with self.subTest(control=name):
                self.assertEqual(at_position(self.tree, rect)["text"], text)

    def test_draws_the_same_pixels_as_under_code_page_936(self):
        # Right texts drawn with a font that has no Chinese glyphs show as
        # boxes; drawn with the same font as under 936 they match exactly.
        zh = jcwine.WineRig("zh_CN.UTF-8", self.screen, name="ReferenceChinese").start()
        self.addCleanup(zh.close)
        _, zh_hwnd = start_main_window(zh)
        zh_tree = zh.settled_dump(zh_hwnd)
        zh_shot = zh.screenshot(os.path.join(zh.logs, "screen.png"))
        en_shot = self.rig.screenshot(os.path.join(self.rig.logs, "screen.png"))
        for name, kind, text, rect, _ in CONTROLS:
            with self.subTest(control=name):
                en_node, zh_node = at_position(self.tree, rect), at_position(zh_tree, rect)
                self.assertEqual(en_node["rect"], zh_node["rect"])
                diff = jcwine.pixel_difference(en_shot, zh_shot, en_node["rect"])
                self.assertEqual(diff, 0, "%d pixels differ; see %s and %s" % (diff, en_shot, zh_shot))

    def test_column_titles(self):
        lv = identify(self.tree, "超级列表框1")[0]["listview"]
        self.assertEqual([c["title"] for c in lv["columns"]], ["垃圾文件", "大小", "类型"])


if __name__ == "__main__":
    jcwine.main()
