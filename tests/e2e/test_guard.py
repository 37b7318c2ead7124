"""Guard mode of the real program: a toddler at the keyboard and the mouse cannot leave it, and
only Ctrl+Shift+Del brings the caption and the menu back.

The toddler test sends a seeded random sequence of keys, chords and clicks through xdotool, as
from a real keyboard and mouse, first with the mouse setting off, then on (reread through a new
document in the normal window). ZZ_TODDLER_SEED replays a sequence (the seed is printed),
ZZ_TODDLER_EVENTS sets its length (default 1000, half with each mouse setting).

The focused test walks each way out that was open once: Ctrl+N, the orders of Alt+F4's events
in both modes, Ctrl+Shift+Del held down, the exit hint wiped by the next tick, a listed picture
that cannot be read found while the child plays, the menu command, and closing."""

import os
import random
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402
from test_play import BLUE, MENU_HEIGHT, RED, colour_box, make_images  # noqa: E402
from zzdriver import is_dark  # noqa: E402

GREEN = b"\x00\xff\x00"
COLOURS = (RED, GREEN, BLUE)
EVENTS = int(os.environ.get("ZZ_TODDLER_EVENTS", "1000"))
BATCH = 40  # events per xdotool call; the guard is checked after each call

LETTERS = list("abcdefghijklmnopqrstuvwxyz")
KEYS = (LETTERS + list("0123456789") +
        ["space", "Return", "Escape", "Tab", "BackSpace", "Delete", "Insert", "Home", "End",
         "Prior", "Next", "Left", "Right", "Up", "Down", "Print", "Pause", "Super_L", "Super_R",
         "Menu", "Alt_L", "Alt_R", "Control_L", "Shift_R"] +
        ["F%d" % n for n in range(1, 13)] +
        ["KP_%d" % n for n in range(10)] +
        ["KP_Add", "KP_Subtract", "KP_Multiply", "KP_Divide", "KP_Enter", "KP_Decimal"])
LOCKS = ["Caps_Lock", "Num_Lock", "Scroll_Lock"]
# Keypad keys become Delete with Num Lock off: with Ctrl and Shift they would be the way out.
CHORD_KEYS = [k for k in KEYS if not k.startswith(("KP_", "Alt", "Control", "Shift", "Super"))
              and k != "Delete"]
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


class Toddler:
    """Random events from the keys, chords and clicks a child reaches, as xdotool commands."""

    def __init__(self, rng, screen):
        self.rng = rng
        self.screen = screen
        self.lock_presses = {key: 0 for key in LOCKS}

    def sequence(self, count):
        """count events: every key, chord and button of the list once, in random order, then
        random ones."""
        events = [["key", key] for key in KEYS]
        events += [["key", chord] for chord in (
            "ctrl+n", "ctrl+o", "ctrl+s", "ctrl+p", "ctrl+w", "ctrl+q", "alt+space", "alt+Tab",
            "alt+Escape", "shift+F10", "ctrl+alt+t", "ctrl+shift+Escape", "super+d")]
        events += [list(order) for order in ALT_F4]
        for key in LOCKS:
            self.lock_presses[key] += 1
            events.append(["key", key])
        for button in "12345":
            events.append(self.click()[:-1] + [button])
        self.rng.shuffle(events)
        return events + [self.event() for _ in range(count - len(events))]

    def event(self):
        kind = self.rng.choices(
            ["key", "chord", "alt_f4", "lock", "click", "move"], [50, 22, 3, 2, 15, 8])[0]
        return getattr(self, kind)()

    def key(self):
        return ["key", self.rng.choice(KEYS)]

    def chord(self):
        modifiers = self.rng.choice(
            [["ctrl"], ["ctrl"], ["alt"], ["shift"], ["super"], ["ctrl", "alt"],
             ["ctrl", "shift"], ["alt", "shift"]])
        key = self.rng.choice(LETTERS if self.rng.random() < 0.5 else CHORD_KEYS)
        return ["key", "+".join(modifiers + [key])]

    def alt_f4(self):
        return list(self.rng.choice(ALT_F4))

    def lock(self):
        key = self.rng.choice(LOCKS)
        self.lock_presses[key] += 1
        return ["key", key]

    def click(self):
        x, y = self.rng.randrange(self.screen[0]), self.rng.randrange(self.screen[1])
        # Left, middle, right, and the wheel both ways.
        return ["mousemove", str(x), str(y), "click", self.rng.choice("11123345")]

    def move(self):
        x, y = self.rng.randrange(self.screen[0]), self.rng.randrange(self.screen[1])
        return ["mousemove", str(x), str(y)]


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


class ToddlerTest(GuardTestCase):
    def test_a_toddler_cannot_leave_guard_mode(self):
        seed = int(os.environ.get("ZZ_TODDLER_SEED", str(time.time_ns() % 2**31)))
        print("toddler: %d events, seed %d (ZZ_TODDLER_SEED=%d replays them)" %
              (EVENTS, seed, seed), flush=True)
        rng = random.Random(seed)
        settings = {"初期表示": 1, "表示": 1, "画像ファイル名0": "a.png", "画像ファイル名1": "b.png",
                    "画像ファイル名2": "c.png", "速さ": 10, "最大画像拡大率": 30, "マウス操作": 0}
        app = self.start(settings, {"a.png": "red", "b.png": "lime", "c.png": "blue"})
        self.wait_guarded(app, "at start-up")
        shot = app.screenshot()
        toddler = Toddler(rng, (shot.width, shot.height))
        self.addCleanup(release_everything, toddler.lock_presses)

        self.play(app, toddler, EVENTS // 2, seed, "with the mouse off")
        self.leave(app, "after the mouse-off half")

        # A new document in the normal window rereads the settings and enters guard mode.
        title = app.title + "-mouse"
        sections = dict(app.sections)
        sections["設定"] = dict(sections["設定"], マウス操作=1, タイトル=title)
        zzdriver.write_settings(app.settings_path, sections)
        app.key("ctrl+n")
        self.wait_guarded(app, "after Ctrl+N asked for it")
        self.assertEqual(zzdriver._run(["xdotool", "getwindowname", str(app.window)]).strip(),
                         title, "Ctrl+N did not reread the settings")

        self.play(app, toddler, EVENTS - EVENTS // 2, seed, "with the mouse on")
        self.leave(app, "at the end")

    def play(self, app, toddler, count, seed, setting):
        app.focus()
        events = toddler.sequence(count)
        sent = 0
        while sent < len(events):
            batch = events[sent:sent + BATCH]
            args = ["xdotool"]
            for event in batch:
                args += event
            zzdriver._run(args, timeout=60)
            sent += len(batch)
            context = "%s after event %d of seed %d; last events %s" % (setting, sent, seed,
                                                                        batch)
            self.assert_guarded(app, context)
        release_everything(toddler.lock_presses)
        toddler.lock_presses.update({key: 0 for key in LOCKS})
        app.settle(1.0)
        self.assert_guarded(app, "%s at the end of seed %d" % (setting, seed))
        self.assert_key_shows_a_new_picture(app, "%s, seed %d" % (setting, seed))


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
