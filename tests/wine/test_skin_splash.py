"""The splash window and the skin deployment: the two files written into the
program's folder at every start, what happens when they cannot be written or
the engine cannot be loaded, and the splash window's layout."""

import json
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import jcwine  # noqa: E402

WELCOME = "欢迎使用垃圾清理器 By：Varnel"
REPO = jcwine.REPO
ENGINE = os.path.join(jcwine.dist_dir(), "jedata.dll")
SKIN = os.path.join(REPO, "skin", "1.she")
MISSING_ENGINE = ("运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“jedata.dll”中的输出命令“SkinH_AttachEx”\r\n")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class SkinFiles(jcwine.WineTestCase):
    """What lands in the program's folder, start after start."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.rig.serve_updates()

    def start_until_welcome(self, folder=None):
        prog = self.rig.start_program(folder=folder)
        self.rig.wait_box(WELCOME, timeout=30)
        return prog

    def test_the_engine_exports_its_entry_under_its_module_name(self):
        exports = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", ENGINE], capture_output=True, text=True,
                                 check=True).stdout
        table = exports[exports.index("The Export Tables"):exports.index("The Function Table")]
        self.assertRegex(table, r"(?m)^Name\s+[0-9a-f]+ SkinH_EL\.dll$")
        self.assertEqual(re.findall(r"(?m)^\t\[\s*\d+\] (\S+)$", table), ["SkinH_AttachEx"])

    def test_every_start_writes_both_files_byte_for_byte(self):
        prog = self.start_until_welcome()
        self.assertEqual(read(os.path.join(prog.folder, "jedata.dll")), read(ENGINE))
        self.assertEqual(read(os.path.join(prog.folder, "1.she")), read(SKIN))
        prog.kill()
        # A second start in the same folder overwrites what is there.
        for name in ("jedata.dll", "1.she"):
            with open(os.path.join(prog.folder, name), "wb") as f:
                f.write(b"stale")
        again = self.start_until_welcome(folder=prog.folder)
        self.assertEqual(read(os.path.join(prog.folder, "jedata.dll")), read(ENGINE))
        self.assertEqual(read(os.path.join(prog.folder, "1.she")), read(SKIN))
        again.kill()

    def test_an_engine_held_by_another_process_is_used_as_it_is(self):
        folder = self.rig.new_program_folder()
        engine = os.path.join(folder, "jedata.dll")
        # A valid engine with a few extra bytes at its end, so it shows whether it was rewritten.
        with open(engine, "wb") as f:
            f.write(read(ENGINE) + b"kept")
        holder = self.rig.start_driver("hold", "C:\\jc\\%s\\jedata.dll" % os.path.basename(folder),
                                       "--share", "read", "--seconds", 120)
        jcwine.wait_for(lambda: holder.first_json(), timeout=20, message="the file to be held")
        prog = self.start_until_welcome(folder=folder)
        self.assertEqual(read(engine), read(ENGINE) + b"kept")
        self.assertEqual(read(os.path.join(folder, "1.she")), read(SKIN))
        prog.kill()
        holder.kill()

    def test_a_second_copy_starts_while_the_first_holds_the_engine(self):
        first = self.start_until_welcome()
        second = self.rig.start_program(folder=first.folder)
        boxes = jcwine.wait_for(lambda: [b for b in self.rig.msgboxes() if b["texts"] == [WELCOME]][1:] or None,
                                timeout=30, message="the second copy's welcome box")
        self.assertTrue(boxes)
        self.assertEqual(read(os.path.join(first.folder, "jedata.dll")), read(ENGINE))
        second.kill()
        first.kill()

    def test_no_loadable_engine_is_fatal(self):
        folder = self.rig.new_program_folder()
        os.makedirs(os.path.join(folder, "jedata.dll"))  # a folder where the engine should be
        prog = self.rig.start_program(folder=folder)
        box = self.rig.wait_box(MISSING_ENGINE, timeout=30)
        self.assertEqual(box["title"], "错误")
        self.assertNotIn("错误代码", box["texts"][0])
        splash = self.rig.splash_window()
        self.assertTrue(splash is None or not splash["visible"])
        self.rig.answer_box(MISSING_ENGINE)
        self.assertEqual(prog.wait_exit(30), 255)


class StackCheck(jcwine.WineTestCase):
    """The check the program makes after calling the engine's entry, under
    Wine, against an entry that returns as it should and one that removes 8
    bytes too many from the stack."""

    def test_a_wrong_entry_is_caught_and_a_right_one_passes(self):
        out = os.path.join(self.rig.logs, "stack_probe.out")
        with open(out, "wb") as f:
            code = subprocess.run([jcwine.WINE, os.path.join(jcwine.dist_dir(), "stack_probe.exe")], env=self.rig.env,
                                  stdout=f, stderr=subprocess.DEVNULL, timeout=120).returncode
        self.assertEqual(code, 0)
        with open(out) as f:
            self.assertEqual(json.load(f), {"balanced": 1, "unbalanced": 0, "results": [7, 7]})


class SplashLayout(jcwine.WineTestCase):
    """The splash window as it stands during the first wait."""

    def test_window_and_labels(self):
        rig = self.rig
        rig.serve_updates()
        prog = rig.start_program()
        rig.answer_box(WELCOME)
        splash = rig.visible_splash_window()
        tree = rig.dump(splash["hwnd"])
        self.assertEqual(jcwine.rect_tuple(tree["rect"]), (190, 172, 644, 424))
        self.assertEqual(tree["style"] & (jcwine.WS_CAPTION | jcwine.WS_THICKFRAME | jcwine.WS_SYSMENU), 0)
        self.assertEqual(tree["text"], "")
        (picture,) = tree["children"]
        self.assertEqual(picture["class"], "JunkcleanPicture")
        self.assertEqual(jcwine.rect_tuple(picture["rel"]), (0, 0, 648, 424))
        labels = [(c["text"], jcwine.rect_tuple(c["rel"]), c["visible"]) for c in picture["children"]]
        self.assertEqual(labels, [
            ("2.0", (624, 384, 24, 40), False),
            ("Varnel为您打造系统垃圾一键清理", (0, 400, 224, 24), True),
            ("链接服务器···", (16, 280, 632, 48), True),
        ])
        shot = os.path.join(self.shots_dir(), "splash.png")
        rig.screenshot(shot, rect=tree["rect"])
        prog.kill()


if __name__ == "__main__":
    jcwine.main()
