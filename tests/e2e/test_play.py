"""A session with the real program started in guard mode among files that cannot be used
(tests/README.md lists the checks)."""

import os
import unittest

import zzdriver as zz

SHORT_WAVE = (b"RIFF\xff\xff\xff\x7fWAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00"
              b"\x10\xb1\x02\x00\x04\x00\x10\x00data\xff\xff\xff\x7f" + bytes(64))


class PlayTest(unittest.TestCase):
    def test_a_guarded_session(self):
        # The stored order lists a text file between a red picture in a folder named like a
        # picture and a blue one whose code page 932 name ends in a 0x5C byte. Sound on and every
        # sound broken, the blue picture's promising far more than it holds. Slow enough to catch
        # the picture small: 10 % per 100 ms tick, up to 30 % of the width.
        settings = {"初期表示": 1, "表示": 1, "音声": 1, "一回に広がる大きさ": 10, "速さ": 100,
                    "最大画像拡大率": 30, "画像ファイル名0": "x.png\\inner.png",
                    "画像ファイル名1": "text.jpg", "画像ファイル名2": "表.png"}
        app = zz.Zoomzap({"x.png/inner.png": zz.RED, "表.png": zz.BLUE}, settings,
                         {"SoundFile": {"表.png": 2}})
        os.makedirs(os.path.join(app.folder, "sounds", "d_folder.wav"))
        for name, data in (("sounds/b_empty.wav", b""), ("sounds/c_short.wav", SHORT_WAVE),
                           ("images/text.jpg", "写真ではありません".encode("cp932")),
                           ("sounds/a_noise.wav", os.urandom(4096))):
            zz.write_file(os.path.join(app.folder, name), data)
        stored = zz.read_settings(app.settings_path)
        with app:
            app.wait_guarded("at start-up")
            client = app.client()
            small = app.shows("q", zz.RED)
            final = zz.steady(lambda s: zz.box(s, zz.RED, client))
            self.assertLess(zz.width(small), zz.width(final), "the picture did not grow")
            # It stops at the first width past 30 % of the screen: one 10 % step beyond at most.
            full = client[2] - client[0]
            self.assertTrue(full * 30 // 100 < zz.width(final) <= full * 33 // 100 + 4, final)
            self.check_the_ways_out(app)
            # Closed from guard mode, without a menu, it ends normally and leaves the settings
            # be: taskkill without /f asks the window to close, as its close box would.
            zz.run("wine", "taskkill", "/im", "Zoomzap.exe", check=False)
            self.assertEqual(app.process.wait(timeout=30), 0, "it did not end cleanly")
            self.assertEqual(zz.read_settings(app.settings_path), stored)

    def check_the_ways_out(self, app):
        # The bad file is found while the child plays: no message, the picture after it shows.
        app.key("w")
        self.assertTrue(zz.wait_for_screen(lambda s: zz.shown(s) == [zz.BLUE]), "no blue")
        app.assert_guarded("after a bad file was found")
        # Document commands: only their Ctrl presses count, each the next picture. A new
        # document would have started the order afresh, and ended on red.
        app.key("ctrl+n", "ctrl+o", "ctrl+s", "ctrl+p")
        zz.settle(1.0)
        self.assertEqual(zz.shown(zz.screenshot()), [zz.BLUE], "a document command ran")
        app.assert_guarded("after Ctrl+N, O, S and P")  # Alt+F4's orders: test_toddler

        # Out of guard mode the parent is told of the bad file, once, and play goes on: Ctrl
        # makes a picture like any key, and the C that the shortcut table turns into the copy
        # command must not make another, which would show the same picture again.
        app.leave_guard("the first time")
        self.assertEqual(len(app.answer("Return", caption="Zoomzap")), 1, "told more than once")
        before = zz.wait_for_screen(lambda s: len(zz.shown(s, app.client())) == 1)
        app.key("ctrl+c")
        zz.settle(1.5)
        after = zz.shown(zz.screenshot(), app.client())
        self.assertTrue(before and len(after) == 1 and after != zz.shown(before, app.client()),
                        "Ctrl+C made other than one picture")

        # The menu command guards again: 表示(&V), then 全画面表示(&F).
        app.key("alt+v")
        zz.settle(0.5)
        app.key("Return")
        app.wait_guarded("after the menu command")


if __name__ == "__main__":
    unittest.main()
