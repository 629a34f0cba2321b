"""The start as a user sees it: the welcome box, the splash window and its
status texts with their waits, the update check against the local update
server (and every way it can go wrong), and the hand-over to the main
window."""

import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import jcwine  # noqa: E402

WELCOME = "欢迎使用垃圾清理器 By：Varnel"
FINAL = "欢迎使用！"
UPDATE = "请更新软件！"
TEXTS = ["链接服务器···", "连接服务器成功···", "正在读取服务器更新信息···", "等待软件载入···"]
MAIN_TITLE = "清除系统垃圾 Beta2.0"
UPDATE_PATH = "/blog/static/223821106201362955440953/"


def status_label(rig, splash_hwnd):
    tree = rig.dump(splash_hwnd)
    labels = jcwine.find_controls(tree, cls="JunkcleanLabel")
    return next(l for l in labels if jcwine.rect_tuple(l["rel"]) == (16, 280, 632, 48))


class NormalStart(jcwine.WineTestCase):
    """An update page that publishes 2.0: the whole sequence to the main window."""

    def test_sequence_texts_waits_and_hand_over(self):
        rig = self.rig
        server = rig.serve_updates()
        prog = rig.start_program()

        box = rig.wait_box(WELCOME)
        self.assertEqual(box["title"], "信息：")
        splash = rig.splash_window()
        self.assertIsNotNone(splash, "the splash window exists while the welcome box is open")
        self.assertFalse(splash["visible"], "the splash window is hidden while the welcome box is open")

        # Watch the status line from before the splash window shows.
        label = status_label(rig, splash["hwnd"])
        watch = rig.start_driver("watch", label["hwnd"], "--until", TEXTS[-1], "--timeout", 90000)
        rig.answer_box(WELCOME)
        self.assertEqual(watch.wait_exit(120), 0)
        seen = [(s["text"], s["visible"], s["ms"]) for s in json.loads(watch.output())["texts"]]
        self.assertEqual([text for text, visible, _ in seen if visible], TEXTS,
                         "the texts once the splash window shows")
        self.assertEqual(seen[0][:2], (TEXTS[0], False), "the first text, while the window is hidden")
        shown = seen[1][2]
        at = {text: ms for text, visible, ms in seen[2:]}
        # Each wait lasts at least its time; the upper bounds leave room for a
        # busy machine. The window's showing is seen up to a few hundred
        # milliseconds late (it is mapped on the X server), a text change at once.
        waits = ((shown, at[TEXTS[1]], 3000, 400), (at[TEXTS[1]], at[TEXTS[2]], 2000, 20),
                 (at[TEXTS[2]], at[TEXTS[3]], 1000, 20))
        for before, after, wait, late in waits:
            self.assertGreaterEqual(after - before, wait - late, waits)
            self.assertLess(after - before, wait + 2000, waits)

        main = rig.find_window(title=MAIN_TITLE, timeout=30)
        final = rig.wait_box(FINAL)
        self.assertEqual(final["title"], "信息：")
        # The deferred destruction happens inside the box's own loop.
        jcwine.wait_for(lambda: rig.splash_window() is None, timeout=10, message="the splash window to go")
        self.assertTrue(rig.window_exists(main))
        rig.answer_box(FINAL)

        requests = server.requests()
        self.assertEqual(len(requests), 1)
        request = requests[0]
        self.assertEqual(request["method"], "GET")
        self.assertTrue(request["target"].endswith(UPDATE_PATH), request["target"])
        self.assertEqual(request["version"], "HTTP/1.0")
        self.assertIn("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)", request["headers"])
        self.assertTrue(any(h.startswith("Accept: */*") for h in request["headers"]), request["headers"])

        rig.driver("close", main)
        self.assertEqual(prog.wait_exit(30), 0)


class UpdateOutcomes(jcwine.WineTestCase):
    """What the program does with each kind of answer from the update page."""

    def start_with(self, *switches, proxy=None):
        rig = self.rig
        if proxy:
            rig.use_proxy(proxy)
        else:
            rig.serve_updates(*switches)
        urls = rig.record_browser()
        prog = rig.start_program()
        rig.answer_box(WELCOME)
        return prog, urls

    def expect_update_required(self, prog, urls):
        rig = self.rig
        box = rig.wait_box(UPDATE, timeout=60)
        self.assertEqual(box["title"], "信息：")
        splash = rig.splash_window()
        self.assertEqual(status_label(rig, splash["hwnd"])["text"], TEXTS[2])
        rig.answer_box(UPDATE)
        self.assertEqual(prog.wait_exit(60), 0)
        opened = jcwine.wait_for(lambda: open(urls).read().split() if os.path.exists(urls) else None,
                                 timeout=20, message="the browser to be asked")
        self.assertEqual(len(opened), 1)
        self.assertRegex(opened[0], r"^http://[^/]+/share/link\?shareid=[^&]+&uk=.+$")
        self.assertFalse(any(w["title"] == MAIN_TITLE for w in rig.driver("list")))

    def expect_up_to_date(self, prog):
        rig = self.rig
        main = rig.find_window(title=MAIN_TITLE, timeout=60)
        rig.answer_box(FINAL)
        rig.driver("close", main)
        self.assertEqual(prog.wait_exit(30), 0)

    def test_other_versions_require_an_update(self):
        for version in ("2.1", "1.9"):
            with self.subTest(version=version):
                self.expect_update_required(*self.start_with("--version", version))

    def test_no_server_at_all_requires_an_update(self):
        self.expect_update_required(*self.start_with(proxy="http://127.0.0.1:9"))

    def test_pages_whose_markers_cannot_be_read_require_an_update(self):
        for switches in (("--zero-before",), ("--utf8",), ("--drop", "before")):
            with self.subTest(switches=switches):
                self.expect_update_required(*self.start_with(*switches))

    def test_readable_pages_are_up_to_date(self):
        cases = (
            ("--status", "404"),                       # an error page that still carries the markers
            ("--pad", "150000"),                       # markers behind 102,400 bytes, read in several chunks
            ("--no-content-length",),
            ("--drop", "after"),                       # dropped mid-body, after the markers
        )
        for switches in cases:
            with self.subTest(switches=switches):
                prog, _ = self.start_with(*switches)
                self.expect_up_to_date(prog)

    def test_an_endless_body_is_cut_off_and_memory_stays_bounded(self):
        prog, urls = self.start_with("--endless")
        box = self.rig.wait_box(UPDATE, timeout=120)
        memory = self.rig.driver("memory", box["pid"])
        self.assertLess(memory["peak_working_set"], 200 * 1024 * 1024, memory)
        self.expect_update_required(prog, urls)


class EscOnTheSplash(jcwine.WineTestCase):
    def test_closing_the_splash_during_the_first_wait_is_fatal(self):
        rig = self.rig
        rig.serve_updates()
        prog = rig.start_program()
        rig.answer_box(WELCOME)
        splash = rig.visible_splash_window()
        rig.driver("key", splash["hwnd"], "esc")
        box = rig.wait_box("运行时出错!\r\n\r\n错误信息：指定窗口尚未载入\r\n", timeout=20)
        self.assertEqual(box["title"], "错误")
        rig.answer_box(box["texts"][0])
        self.assertEqual(prog.wait_exit(30), 255)


if __name__ == "__main__":
    jcwine.main()
