"""Guard mode of the real program: each way out that was open is closed, and only
Ctrl+Shift+Del brings the caption and the menu back.

The test walks each way out once: Ctrl+N, the orders of Alt+F4's events in both modes,
Ctrl+Shift+Del held down, the exit hint wiped by the next tick, a listed picture that cannot be
read found while the child plays, the menu command, and closing."""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402
from test_play import BLUE, MENU_HEIGHT, RED, colour_box, make_images  # noqa: E402
from zzdriver import is_dark  # noqa: E402

GREEN = b"\x00\xff\x00"
COLOURS = (RED, GREEN, BLUE)
ALT_F4 = [
    ["key", "alt+F4"],
    ["keydown", "Alt_L", "keydown", "F4", "keyup", "F4", "keyup", "Alt_L"],
    ["keydown", "Alt_L", "keydown", "F4", "keyup", "Alt_L", "keyup", "F4"],
    ["keydown", "F4", "keydown", "Alt_L", "keyup", "F4", "keyup", "Alt_L"],
]


def ctrl_shift_del(app):
    app.key_down("ctrl")
    app.key_down("shift")
    app.key("Delete")
    app.key_up("shift")
    app.key_up("ctrl")


def release_everything(lock_presses):
    """Lets go of every modifier and puts back each lock key pressed an odd number of times, so
    that the display is as it was for the tests after this one."""
    args = []
    for key in ("Control_L", "Control_R", "Shift_L", "Shift_R", "Alt_L", "Alt_R", "Super_L",
                "Super_R", "F4", "Delete"):
        args += ["keyup", key]
    for key, presses in lock_presses.items():
        if presses % 2:
            args += ["key", key]
    zzdriver._run(["xdotool"] + args, check=False)


def menu_like(pixel):
    """Grey or dark, as a menu bar, a caption or their text; never a pure picture colour."""
    return max(pixel) - min(pixel) < 40 and max(pixel) < 235


class GuardTestCase(unittest.TestCase):
    def start(self, settings, pictures, extra_files=()):
        media = tempfile.TemporaryDirectory()
        self.addCleanup(media.cleanup)
        images = make_images(media.name, pictures)
        for name, data in extra_files:
            with open(os.path.join(images, name), "wb") as file:
                file.write(data)
        app = zzdriver.Zoomzap(images=images, settings=settings)
        app.__enter__()
        self.addCleanup(app.__exit__, None, None, None)
        self.addCleanup(release_everything, {})
        return app

    def guarded(self, app):
        """Covers the whole screen, as only the frame without its caption does."""
        shot = app.screenshot()
        return app.geometry() == (0, 0, shot.width, shot.height)

    def assert_guarded(self, app, context):
        self.assertTrue(app.is_running(), "the program ended %s" % context)
        self.assertEqual(list(app.windows()), [app.window], "another window %s" % context)
        shot = app.screenshot()
        self.assertEqual(app.geometry(), (0, 0, shot.width, shot.height),
                         "not covering the screen %s" % context)
        self.assertEqual(shot.count((0, 0, shot.width // 2, MENU_HEIGHT + 20), menu_like), 0,
                         "a caption or menu bar %s" % context)

    def wait_guarded(self, app, context):
        self.assertTrue(zzdriver.wait_until(lambda: self.guarded(app), 20),
                        "not guarded %s" % context)
        # Restyled, the window takes the focus again once it has settled.
        app.settle(1.0)
        app.focus()

    def leave(self, app, context):
        ctrl_shift_del(app)
        self.assertTrue(zzdriver.wait_until(lambda: app.geometry()[1] > 0, 20),
                        "Ctrl+Shift+Del did not bring the caption back %s" % context)
        x, y, width, _ = app.geometry()
        self.assertIsNotNone(
            app.wait_for_screen(lambda s: s.count((x, y, x + 400, y + MENU_HEIGHT), is_dark) > 30,
                                20), "no menu bar %s" % context)
        app.focus()

    def shown(self, shot):
        return [c for c in COLOURS if colour_box(shot, c, (0, 0, shot.width, shot.height))]

    def assert_key_shows_a_new_picture(self, app, context):
        app.settle(0.5)
        before = self.shown(app.screenshot())
        app.key("x")
        after = app.wait_for_screen(lambda s: len(self.shown(s)) == 1 and self.shown(s) != before,
                                    20)
        self.assertIsNotNone(after, "a fresh key showed no new picture %s (before: %s)" %
                             (context, before))

    def hint_shown(self, shot):
        cx, cy = shot.width // 2, shot.height // 2
        return shot.count((cx - 370, cy - 25, cx + 370, cy + 5), is_dark) > 300


class WaysOutTest(GuardTestCase):
    def test_each_way_out_that_was_open_is_closed(self):
        # In the stored order with a listed file that is no picture between the two pictures.
        settings = {"初期表示": 1, "表示": 1, "画像ファイル名0": "a.png", "画像ファイル名1": "bad.jpg",
                    "画像ファイル名2": "b.png", "速さ": 10, "最大画像拡大率": 30}
        app = self.start(settings, {"a.png": "red", "b.png": "blue"},
                         [("bad.jpg", "写真ではありません\r\n".encode("cp932"))])
        stored = app.read_settings()
        self.wait_guarded(app, "at start-up")
        self.assertIsNotNone(app.wait_for_screen(self.hint_shown, 20), "no exit hint")

        # The bad file was found while the child plays: no message, the pictures after it show.
        app.key("q")
        self.assertIsNotNone(app.wait_for_screen(lambda s: self.shown(s) == [RED], 20))
        app.key("w")
        self.assertIsNotNone(app.wait_for_screen(lambda s: self.shown(s) == [BLUE], 20),
                             "the picture listed after the bad file never came")
        self.assert_guarded(app, "after a bad file was found")

        # Document commands: only their Ctrl presses count, each one the next picture. A new
        # document would have started the order afresh, and ended on red.
        app.key("ctrl+n", "ctrl+o", "ctrl+s", "ctrl+p")
        app.settle(1.0)
        self.assertEqual(self.shown(app.screenshot()), [BLUE], "a document command ran")
        # Alt+F4 in every order of its events, and as fast as xdotool sends them.
        for events in ALT_F4:
            zzdriver._run(["xdotool"] + events)
        app.settle(1.5)
        self.assert_guarded(app, "after Ctrl+N, O, S, P and Alt+F4")
        self.assert_key_shows_a_new_picture(app, "after Ctrl+N, O, S, P and Alt+F4")

        # Now that the parent is at the normal window, the bad file is named, and play goes on.
        self.leave(app, "the first time")
        message = zzdriver.wait_until(
            lambda: next((w for w in app.windows() if w != app.window), None), 20)
        self.assertIsNotNone(message, "the unreadable picture was never told")
        app.focus(message)
        app.key("Return")
        self.assertTrue(zzdriver.wait_until(lambda: list(app.windows()) == [app.window], 20))
        app.focus()

        # The normal window: Alt+F4 in each order leaves the keys on the play surface, and a
        # later Alt of the user's own still opens the menu.
        for events in ALT_F4:
            x, y, width, height = app.geometry()
            menu = (x, y, x + 400, y + MENU_HEIGHT)
            before = app.screenshot().crop(menu)
            zzdriver._run(["xdotool"] + events)
            app.settle(1.0)
            self.assertEqual(app.screenshot().crop(menu), before, "menu bar active after %s" %
                             (events,))
            self.assertTrue(app.is_running())
            self.assert_key_shows_a_new_picture(app, "after %s" % (events,))
        before = app.screenshot().crop(menu)
        app.key("alt")
        self.assertIsNotNone(app.wait_for_screen(lambda s: s.crop(menu) != before, 10),
                             "Alt alone no longer reaches the menu bar")
        app.key("Escape")
        app.settle(0.5)

        # Held, Ctrl+Shift+Del switches once, however long it auto-repeats; entered by the keys,
        # the exit hint stays readable until the next key.
        for key in ("ctrl", "shift", "Delete"):
            app.key_down(key)
        try:
            samples = []
            for _ in range(6):
                app.settle(0.4)
                samples.append(app.geometry()[:2] == (0, 0))
        finally:
            for key in ("Delete", "shift", "ctrl"):
                app.key_up(key)
        self.assertEqual(samples[1:], [True] * 5, "held, the keys switched more than once")
        self.wait_guarded(app, "after Ctrl+Shift+Del")
        self.assertTrue(self.hint_shown(app.screenshot()), "the exit hint did not stay")
        self.assert_key_shows_a_new_picture(app, "after the hint")

        # The menu command enters guard mode too: 表示(&V), then 全画面表示(&F). By keyboard:
        # after the switch back Wine places the menu's pop-ups as if the caption were missing.
        self.leave(app, "before the menu command")
        app.key("alt+v")
        app.settle(0.5)
        app.key("Return")
        self.assertTrue(zzdriver.wait_until(lambda: app.geometry()[:2] == (0, 0), 20),
                        "the menu command did not enter guard mode")
        self.assertIsNotNone(app.wait_for_screen(
            lambda s: s.count((0, 0, 400, MENU_HEIGHT), is_dark) == 0, 20), "the menu stayed")

        # Closed from guard mode, without a menu, it ends normally and leaves the settings be.
        # taskkill without /f asks the window to close, as its close box would.
        subprocess.run(["wine", "taskkill", "/im", "Zoomzap.exe"], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        self.assertEqual(app.process.wait(timeout=30), 0, "the program did not end cleanly")
        self.assertEqual(app.read_settings(), stored)


if __name__ == "__main__":
    unittest.main()
