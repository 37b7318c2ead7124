"""A first session with the real program: the invitation, keys and growth, the mouse, folders
full of files that cannot be used, and guard mode started with the program, whose every way out
that was once open stays closed (tests/README.md lists the checks)."""

import os
import shutil
import unittest

import zzdriver as zz

HUGE = os.path.join(os.path.dirname(zz.__file__), "..", "data", "pictures", "huge_header.png")
SHORT_WAVE = (b"RIFF\xff\xff\xff\x7fWAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00"
              b"\x10\xb1\x02\x00\x04\x00\x10\x00data\xff\xff\xff\x7f" + bytes(64))


def hint_shown(shot):
    cx, cy = shot.width // 2, shot.height // 2
    return zz.dark(shot, (cx - 370, cy - 25, cx + 370, cy + 5)) > 300


class PlayTest(unittest.TestCase):
    def test_a_first_session(self):
        # Slow enough to catch the picture small: 10 % per 100 ms tick, up to half the width.
        settings = {"一回に広がる大きさ": 10, "速さ": 100, "最大画像拡大率": 50, "表示": 1,
                    "画像ファイル名0": "a.png", "画像ファイル名1": "b.png"}
        with zz.Zoomzap({"a.png": zz.RED, "b.png": zz.BLUE}, settings) as app:
            app.focus()
            # The invitation in the middle and white everywhere else: no picture before a key.
            client = app.client()
            cx, cy = (client[0] + client[2]) // 2, (client[1] + client[3]) // 2
            area = (cx - 260, cy - 70, cx + 260, cy + 40)
            shot = zz.wait_for_screen(lambda s: zz.dark(s, area) > 300)
            self.assertIsNotNone(shot, "no invitation")
            shot.paste((255, 255, 255), area)
            blank = shot.crop(client)
            self.assertEqual(blank.getcolors(1), [(blank.width * blank.height, (255, 255, 255))])
            self.check_growth_and_keys(app, client)

            self.assertTrue(app.rewrite("mouse", マウス操作=1, 速さ=10, 最大画像拡大率=10))
            x, y = client[0] + 400, client[1] + 300
            zz.xdo("mousemove", "--sync", str(x), str(y), "click", "1")
            left, top, right, bottom = zz.steady(lambda s: zz.box(s, zz.RED, client))
            self.assertTrue(abs(left + right - 2 * x) <= 6 and abs(top + bottom - 2 * y) <= 6)

            # The only pictures that can be shown: a red one in a folder named like a picture and
            # a blue one whose code page 932 name ends in a 0x5C byte; sound on, every sound
            # broken, the blue picture's promising far more than it holds. In random order each
            # key shows one of them.
            shutil.rmtree(os.path.join(app.folder, "images"))
            zz.make_images(app.folder, {"x.png/inner.png": zz.RED, "表.png": zz.BLUE})
            shutil.copy(HUGE, os.path.join(app.folder, "images", "huge.png"))
            os.makedirs(os.path.join(app.folder, "sounds", "d_folder.wav"))
            for name, data in (("images/empty.png", b""), ("sounds/b_empty.wav", b""),
                               ("images/text.jpg", "写真ではありません".encode("cp932")),
                               ("sounds/a_noise.wav", os.urandom(4096)),
                               ("sounds/c_short.wav", SHORT_WAVE)):
                zz.write_file(os.path.join(app.folder, name), data)
            app.sections["設定"].update({"表示": 0, "音声": 1})
            app.sections["SoundFile"] = {"表.png": 2}
            zz.write_settings(app.settings_path, app.sections)
            app.restart()
            app.focus()
            for key in "asdfghjk":
                app.key(key)
                zz.settle(1.0)
                self.assertEqual(len(zz.shown(zz.screenshot(), app.client())), 1, key)

            # Guarded from the start, in the stored order with the text file listed between the
            # red and the blue picture.
            app.sections["設定"].update({"初期表示": 1, "表示": 1, "マウス操作": 0, "最大画像拡大率": 30,
                                       "画像ファイル名0": "x.png\\inner.png",
                                       "画像ファイル名1": "text.jpg", "画像ファイル名2": "表.png"})
            zz.write_settings(app.settings_path, app.sections)
            stored = zz.read_settings(app.settings_path)
            app.restart()
            app.wait_guarded("at start-up")
            self.assertTrue(zz.wait_for_screen(hint_shown), "no exit hint")
            self.check_the_ways_out(app)
            # Closed from guard mode, without a menu, it ends normally and leaves the settings
            # be: taskkill without /f asks the window to close, as its close box would.
            zz.run("wine", "taskkill", "/im", "Zoomzap.exe", check=False)
            self.assertEqual(app.process.wait(timeout=30), 0, "it did not end cleanly")
            self.assertEqual(zz.read_settings(app.settings_path), stored)

    def check_growth_and_keys(self, app, client):
        small = app.shows("a", zz.RED)  # the stored order's first
        final = zz.steady(lambda s: zz.box(s, zz.RED, client))
        self.assertLess(zz.width(small), zz.width(final), "the picture did not grow")
        # It stops at the first width past half the client width: one 10 % step beyond.
        full = client[2] - client[0]
        self.assertTrue(full // 2 < zz.width(final) <= full * 55 // 100 + 4, final)
        self.assertLessEqual(max(abs(a + b - c - d) for a, b, c, d in zip(
            final[:2], final[2:], client[:2], client[2:])), 4, "not centred")
        self.assertLessEqual(abs(zz.width(final) - 2 * (final[3] - final[1])), 3, "not 2:1")

        def settled():  # the pictures shown once a key's picture has grown
            zz.settle(1.5)
            return zz.shown(zz.screenshot(), client)

        # Ctrl makes a picture like any key; the C that the shortcut table turns into the copy
        # command must not make another.
        app.key("ctrl+c")
        self.assertEqual(settled(), [zz.BLUE], "Ctrl+C made other than one picture")
        # Held: one picture however long the auto-repeat runs, sampled while held, since an even
        # number of repeats would end on the same picture.
        zz.xdo("keydown", "space")
        held = [settled() for _ in range(3)]
        zz.xdo("keyup", "space")
        self.assertEqual(held, [[zz.RED]] * 3, "auto-repeat made pictures")

    def check_the_ways_out(self, app):
        # The bad file is found while the child plays: no message, the picture after it shows.
        for key, colour in (("q", zz.RED), ("w", zz.BLUE)):
            app.key(key)
            self.assertTrue(zz.wait_for_screen(lambda s: zz.shown(s) == [colour]), colour)
        app.assert_guarded("after a bad file was found")
        # Document commands: only their Ctrl presses count, each the next picture. A new
        # document would have started the order afresh, and ended on red.
        app.key("ctrl+n", "ctrl+o", "ctrl+s", "ctrl+p")
        zz.settle(1.0)
        self.assertEqual(zz.shown(zz.screenshot()), [zz.BLUE], "a document command ran")
        app.assert_guarded("after Ctrl+N, O, S and P")  # Alt+F4's orders: test_toddler

        # Out of guard mode the parent is told of the bad file, once, and play goes on; Alt+F4
        # in each order leaves the keys on the play surface, and a later Alt still opens the menu.
        app.leave_guard("the first time")
        self.assertEqual(len(app.answer("Return", caption="Zoomzap")), 1, "told more than once")
        x, y = app.geometry()[:2]
        menu = (x, y, x + 400, y + zz.MENU_HEIGHT)
        for events in zz.ALT_F4 + [["key", "alt"]]:
            before = zz.screenshot().crop(menu)
            zz.xdo(*events)
            opened = zz.wait_for_screen(lambda s: s.crop(menu) != before, 1.5)
            self.assertEqual(bool(opened), events == ["key", "alt"], "the menu after %s" % events)
            if not opened:
                app.assert_key_shows_a_new_picture("after %s" % events)
        app.key("Escape")

        # Held, Ctrl+Shift+Del switches once however long it repeats; entered by the keys, the
        # exit hint stays readable until the next key.
        zz.xdo("keydown", "ctrl", "keydown", "shift", "keydown", "Delete")
        samples = [zz.settle(0.4) or app.guarded() for _ in range(6)]
        zz.xdo("keyup", "Delete", "keyup", "shift", "keyup", "ctrl")
        self.assertEqual(samples[1:], [True] * 5, "held, the keys switched more than once")
        app.wait_guarded("after Ctrl+Shift+Del")
        self.assertTrue(hint_shown(zz.screenshot()), "the exit hint did not stay")
        app.assert_key_shows_a_new_picture("after the hint")

        # The menu command guards too: 表示(&V), then 全画面表示(&F).
        app.leave_guard("before the menu command")
        app.key("alt+v")
        zz.settle(0.5)
        app.key("Return")
        self.assertTrue(zz.wait_until(app.guarded), "the menu command did not guard")
        self.assertTrue(zz.wait_for_screen(
            lambda s: zz.dark(s, (0, 0, 400, zz.MENU_HEIGHT)) == 0), "the menu stayed")


if __name__ == "__main__":
    unittest.main()