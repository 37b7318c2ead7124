"""Guard mode's ways out, each of which was open once: Ctrl+N, O, S and P, Alt+F4 in every order
of its events in both modes, Ctrl+Shift+Del held down, the exit hint wiped by the next tick, a
listed picture that cannot be read found while the child plays, the menu command, and closing.
Only Ctrl+Shift+Del brings the caption and the menu back; closing leaves the settings be."""

import os
import tempfile
import unittest

import zzdriver as zz


def hint_shown(shot):
    cx, cy = shot.width // 2, shot.height // 2
    return zz.dark(shot, (cx - 370, cy - 25, cx + 370, cy + 5)) > 300


class WaysOutTest(unittest.TestCase):
    def test_each_way_out_that_was_open_is_closed(self):
        # Started guarded in the stored order with a listed file that is no picture between two.
        settings = {"初期表示": 1, "表示": 1, "画像ファイル名0": "a.png", "画像ファイル名1": "bad.jpg",
                    "画像ファイル名2": "b.png", "速さ": 10, "最大画像拡大率": 30}
        with tempfile.TemporaryDirectory() as media:
            images = zz.make_images(media, {"a.png": zz.RED, "b.png": zz.BLUE})
            zz.write_file(os.path.join(images, "bad.jpg"), "写真ではありません".encode("cp932"))
            with zz.Zoomzap(images=images, settings=settings) as app:
                stored = zz.read_settings(app.settings_path)
                app.wait_guarded("at start-up")
                self.assertTrue(zz.wait_for_screen(hint_shown), "no exit hint")
                self.play_guarded(app)
                self.leave_and_read_the_message(app)
                self.play_in_the_normal_window(app)
                self.hold_the_way_out(app)

                # The menu command enters guard mode too: 表示(&V), then 全画面表示(&F).
                app.leave_guard("before the menu command")
                app.key("alt+v")
                zz.settle(0.5)
                app.key("Return")
                self.assertTrue(zz.wait_until(app.guarded), "the menu command did not guard")
                self.assertTrue(zz.wait_for_screen(
                    lambda s: zz.dark(s, (0, 0, 400, zz.MENU_HEIGHT)) == 0), "the menu stayed")

                # Closed from guard mode, without a menu, it ends normally and leaves the
                # settings be: taskkill without /f asks the window to close, as its close box.
                zz.run("wine", "taskkill", "/im", "Zoomzap.exe", check=False, timeout=60)
                self.assertEqual(app.process.wait(timeout=30), 0, "it did not end cleanly")
                self.assertEqual(zz.read_settings(app.settings_path), stored)

    def play_guarded(self, app):
        # The bad file is found while the child plays: no message, the picture after it shows.
        app.key("q")
        self.assertTrue(zz.wait_for_screen(lambda s: zz.shown(s) == [zz.RED]))
        app.key("w")
        self.assertTrue(zz.wait_for_screen(lambda s: zz.shown(s) == [zz.BLUE]),
                        "the picture listed after the bad file never came")
        app.assert_guarded("after a bad file was found")
        # Document commands: only their Ctrl presses count, each the next picture. A new
        # document would have started the order afresh, and ended on red.
        app.key("ctrl+n", "ctrl+o", "ctrl+s", "ctrl+p")
        zz.settle(1.0)
        self.assertEqual(zz.shown(zz.screenshot()), [zz.BLUE], "a document command ran")
        for events in zz.ALT_F4:
            zz.xdo(*events)
        zz.settle(1.5)
        app.assert_guarded("after Ctrl+N, O, S, P and Alt+F4")
        app.assert_key_shows_a_new_picture("after Ctrl+N, O, S, P and Alt+F4")

    def leave_and_read_the_message(self, app):
        # At the normal window the parent is told of the bad file, and play goes on.
        app.leave_guard("the first time")
        message = app.other_window()
        self.assertIsNotNone(message, "the unreadable picture was never told")
        app.focus(message)
        app.key("Return")
        self.assertTrue(zz.wait_until(app.alone))
        app.focus()

    def play_in_the_normal_window(self, app):
        # Alt+F4 in each order leaves the keys on the play surface, and a later Alt of the
        # user's own still opens the menu.
        x, y = app.geometry()[:2]
        menu = (x, y, x + 400, y + zz.MENU_HEIGHT)
        for events in zz.ALT_F4:
            before = zz.screenshot().crop(menu)
            zz.xdo(*events)
            zz.settle(1.0)
            self.assertEqual(zz.screenshot().crop(menu), before, "menu active after %s" % events)
            self.assertTrue(app.running())
            app.assert_key_shows_a_new_picture("after %s" % events)
        before = zz.screenshot().crop(menu)
        app.key("alt")
        self.assertTrue(zz.wait_for_screen(lambda s: s.crop(menu) != before, 10),
                        "Alt alone no longer reaches the menu bar")
        app.key("Escape")
        zz.settle(0.5)

    def hold_the_way_out(self, app):
        # Held, Ctrl+Shift+Del switches once however long it repeats; entered by the keys, the
        # exit hint stays readable until the next key.
        zz.xdo("keydown", "ctrl", "keydown", "shift", "keydown", "Delete")
        try:
            samples = []
            for _ in range(6):
                zz.settle(0.4)
                samples.append(app.guarded())
        finally:
            zz.xdo("keyup", "Delete", "keyup", "shift", "keyup", "ctrl")
        self.assertEqual(samples[1:], [True] * 5, "held, the keys switched more than once")
        app.wait_guarded("after Ctrl+Shift+Del")
        self.assertTrue(hint_shown(zz.screenshot()), "the exit hint did not stay")
        app.assert_key_shows_a_new_picture("after the hint")


if __name__ == "__main__":
    unittest.main()
