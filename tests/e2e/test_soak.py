"""A child at the keyboard and the mouse for a while: random keys in bursts, held keys that
auto-repeat, pointer moves, clicks and right clicks, guard mode on and off, the about box
opened and closed, and settings changed and reloaded. Afterwards the program still answers and
still shows pictures, its GDI and USER objects, kernel handles and memory are back at their
level after the warm-up, and the cursor shows in the normal window and hides in guard mode, so
its counter is balanced.

ZZ_SOAK_SECONDS sets the length of the soak (default 60); ZZ_SOAK_SEED repeats a run. The
figures are printed, for the long runs in tests/README.md."""

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

SOAK_SECONDS = float(os.environ.get("ZZ_SOAK_SECONDS", "60"))
WARM_UP_SECONDS = min(30.0, max(15.0, SOAK_SECONDS / 5))

# What a child reaches: no Alt or F10, which would put the keys into the menu bar, no Windows
# key, and no Ctrl+O, Ctrl+S or Ctrl+P, whose file and print dialogs would take the keys.
# Ctrl combinations include the ones the shortcut table swallows; Ctrl+N comes with the
# settings changes.
KEYS = (list("abcdefghijklmnopqrstuvwxyz0123456789") +
        ["space", "Return", "Escape", "Tab", "BackSpace", "Delete", "Insert", "Home", "End",
         "Prior", "Next", "Left", "Right", "Up", "Down", "minus", "comma", "period", "slash",
         "F1", "F2", "F3", "F5", "F6", "F7", "F8", "F9", "F11", "F12", "shift+a", "shift+F6",
         "shift+Delete", "shift+Insert", "ctrl+c", "ctrl+v", "ctrl+z", "ctrl+Insert", "Shift_L",
         "Control_L"])

# Allowed growth over the warm-up level: a leak per key press or per switch would be
# thousands of objects or many megabytes by the end. Wine's heaps grow in steps of megabytes
# and never give memory back, hence the room for private memory.
GDI_SLACK = 8
HANDLE_SLACK = 8
PRIVATE_SLACK_KB = 16 * 1024


def linux_private_kb(pid):
    """Private memory of the process as Linux counts it, Wine's own included."""
    total = 0
    with open("/proc/%d/smaps_rollup" % pid) as file:
        for line in file:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
    return total


def probe(app):
    """The program's objects and memory, read from inside Wine."""
    exe = os.path.join(os.environ["ZZ_BIN_DIR"], "process_probe.exe")
    result = subprocess.run(["wine", exe, "Zoomzap.exe"], stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    values = {}
    for line in result.stdout.decode(errors="replace").splitlines():
        key, _, value = line.strip().partition("=")
        values[key] = int(value) if value.lstrip("-").isdigit() else value
    values["exit"] = result.returncode
    # Wine gives no private bytes of another process; the Wine process is the program's.
    if not values.get("private_kb") and app.is_running():
        values["private_kb"] = linux_private_kb(app.process.pid)
        values["private_source"] = "linux"
    return values


class Child:
    """Random input at the program, within its client area."""

    def __init__(self, app, rng):
        self.app = app
        self.rng = rng
        self.counts = dict(keys=0, repeats=0, moves=0, clicks=0, right_clicks=0, switches=0,
                           settings_writes=0, reloads_by_dialog=0, reloads_by_new_document=0,
                           about_boxes=0)
        self.reloads = [self.reload_by_dialog, self.reload_by_new_document]

    def guarded(self):
        return self.app.geometry()[1] == 0

    def area(self):
        x, y, width, height = self.app.geometry()
        top = y + (0 if y == 0 else MENU_HEIGHT) + 5
        return x + 5, top, x + width - 5, y + height - 5

    def point(self):
        left, top, right, bottom = self.area()
        return str(self.rng.randrange(left, right)), str(self.rng.randrange(top, bottom))

    def burst(self):
        keys = [self.rng.choice(KEYS) for _ in range(self.rng.randrange(10, 40))]
        zzdriver._run(["xdotool", "key", "--delay", "4"] + keys)
        self.counts["keys"] += len(keys)

    def held_key(self):
        # Presses while the key is down reach the program as its auto-repeat.
        key = self.rng.choice(KEYS[:36])
        zzdriver._run(["xdotool", "keydown", key] + ["keydown", key] * self.rng.randrange(5, 30)
                      + ["keyup", key])
        self.counts["repeats"] += 1

    def pointer(self):
        moves = []
        for _ in range(self.rng.randrange(5, 20)):
            moves += ["mousemove"] + list(self.point())
        zzdriver._run(["xdotool"] + moves)
        self.counts["moves"] += len(moves) // 3

    def click(self):
        button = self.rng.choice(["1", "1", "3"])
        zzdriver._run(["xdotool", "mousemove"] + list(self.point()) + ["click", button])
        self.counts["clicks" if button == "1" else "right_clicks"] += 1

    def switch_guard_mode(self):
        was = self.guarded()
        self.app.key_down("ctrl")
        self.app.key_down("shift")
        self.app.key("Delete")
        self.app.key_up("shift")
        self.app.key_up("ctrl")
        changed = zzdriver.wait_until(lambda: self.guarded() != was, 20)
        if not changed:
            raise AssertionError("Ctrl+Shift+Del did not switch the guard mode")
        # The restyled window needs the focus again, as after any switch.
        self.app.settle(1.0)
        self.app.focus()
        self.counts["switches"] += 1

    def change_settings(self, reload=None):
        """Writes new values into the settings file as a parent would, then has the program
        reload them: OK in the settings dialog, or a new document. Ways the program does not
        offer are dropped."""
        settings = dict(self.app.sections)
        values = dict(settings["設定"])
        values["速さ"] = self.rng.choice([1, 10, 30])
        values["一回に広がる大きさ"] = self.rng.choice([5, 20, 50])
        values["最大画像拡大率"] = self.rng.choice([30, 80, 150])
        values["タイトル"] = "%s-%d" % (self.app.title, self.counts["settings_writes"])
        settings["設定"] = values
        zzdriver.write_settings(self.app.settings_path, settings)
        self.counts["settings_writes"] += 1
        reload = reload or (self.rng.choice(self.reloads) if self.reloads else None)
        if reload is not None and reload(values["タイトル"]) is False:
            self.reloads.remove(reload)

    def warm_up(self, seconds):
        """Every dialog and reload once first: the first dialog of a run makes Wine's dialog
        and control caches (about 50 GDI objects, once), which belong to the warm-up level."""
        self.about_box()
        for reload in list(self.reloads):
            self.change_settings(reload)
        self.play(seconds)

    def reload_by_dialog(self, title):
        """The settings command, then OK; None when the menu is not there to ask."""
        if self.guarded():
            return None
        if not self.dialog_round_trip(["alt+s"]):
            return False
        self.counts["reloads_by_dialog"] += 1
        return True

    def reload_by_new_document(self, title):
        """Ctrl+N: a new document rereads the settings, caption included; None while guarded,
        where it does nothing."""
        if self.guarded():
            return None
        self.app.key("ctrl+n")

        def caption():
            return zzdriver._run(["xdotool", "getwindowname", str(self.app.window)],
                                 check=False).rstrip("\n")

        if not zzdriver.wait_until(lambda: caption() == title, 3):
            return False
        # It may have entered guard mode: the restyled window needs the focus again.
        self.app.settle(1.0)
        self.app.focus()
        self.counts["reloads_by_new_document"] += 1
        return True

    def dialog_round_trip(self, keys):
        """Presses keys that should open a dialog, then OK; True when one came and went."""
        before = set(self.app.windows())
        self.app.key(*keys)
        if not zzdriver.wait_until(lambda: set(self.app.windows()) - before, 3):
            return False
        self.app.key("Return")
        if not zzdriver.wait_until(lambda: not (set(self.app.windows()) - before), 10):
            raise AssertionError("the dialog opened by %s did not close" % (keys,))
        return True

    def about_box(self):
        """Help, About, OK: a dialog made and destroyed, from the normal window only."""
        if self.guarded():
            return
        if not self.dialog_round_trip(["alt+h", "a"]):
            raise AssertionError("Help, About opened no dialog")
        self.counts["about_boxes"] += 1

    def play(self, seconds):
        actions = [(self.burst, 10), (self.held_key, 3), (self.pointer, 3), (self.click, 4)]
        choices = [action for action, weight in actions for _ in range(weight)]
        end = time.monotonic() + seconds
        next_switch = time.monotonic() + self.rng.uniform(4, 10)
        next_settings = time.monotonic() + self.rng.uniform(8, 15)
        while time.monotonic() < end:
            if not self.app.is_running():
                raise AssertionError("the program ended")
            now = time.monotonic()
            if now >= next_switch:
                self.switch_guard_mode()
                next_switch = now + self.rng.uniform(4, 10)
            elif now >= next_settings:
                self.rng.choice([self.change_settings, self.about_box])()
                next_settings = now + self.rng.uniform(6, 12)
            else:
                self.rng.choice(choices)()

    def to_normal_mode(self):
        if self.guarded():
            self.switch_guard_mode()


class SoakTest(unittest.TestCase):
    def test_a_long_session_leaves_nothing_behind(self):
        seed = int(os.environ.get("ZZ_SOAK_SEED", str(int(time.time()))))
        print("soak: %.0f s after %.0f s of warm-up, seed %d" % (SOAK_SECONDS, WARM_UP_SECONDS,
                                                                  seed))
        with tempfile.TemporaryDirectory() as media:
            # Formats that keep the colours exact, for the last check.
            images = make_images(media, {"a.png": "red", "b.png": "blue", "c.bmp": "red",
                                         "d.bmp": "blue"})
            sounds = os.path.join(media, "sounds")
            os.makedirs(sounds)
            subprocess.run(["sox", "-n", "-r", "8000", "-b", "16", os.path.join(sounds, "a.wav"),
                            "synth", "0.05", "sine", "440"], check=True)
            settings = {"マウス操作": 1, "音声": 1, "速さ": 10, "最大画像拡大率": 80}
            with zzdriver.Zoomzap(images=images, sounds=sounds, settings=settings) as app:
                app.focus()
                child = Child(app, random.Random(seed))
                child.warm_up(WARM_UP_SECONDS)
                base = self.measure(app, child, "warm")
                samples = []
                end = time.monotonic() + SOAK_SECONDS
                while time.monotonic() < end:
                    child.play(min(30.0, end - time.monotonic()))
                    sample = probe(app)
                    self.assertEqual(sample.get("answers"), 1, "no answer mid-soak: %s" % sample)
                    samples.append(sample)
                after = self.measure(app, child, "after")
                print("soak: input %s" % child.counts)
                print("soak: private KB during the soak %s" % [s.get("private_kb")
                                                              for s in samples])
                if not child.reloads:
                    print("soak: neither the settings command nor a new document reloads the "
                          "settings here; they were written but not reloaded")
                self.check_levels(base, after)
                self.check_still_plays(app)

    def measure(self, app, child, label):
        """Levels in the normal window once the input has settled, and the cursor in both
        modes."""
        child.to_normal_mode()
        app.settle(2.0)
        app.focus()
        levels = probe(app)
        self.assertEqual(levels.get("exit"), 0, "the probe found no program: %s" % levels)
        child.switch_guard_mode()
        app.settle(1.0)
        levels["cursor_guarded"] = probe(app).get("cursor")
        child.switch_guard_mode()
        app.settle(1.0)
        levels["cursor_normal"] = probe(app).get("cursor")
        print("soak: %s %s" % (label, levels))
        return levels

    def check_levels(self, base, after):
        self.assertEqual(after["answers"], 1)
        self.assertGreater(base["gdi"], 0, "the probe could not count GDI objects")
        self.assertLessEqual(after["gdi"], base["gdi"] + GDI_SLACK, "GDI objects grew")
        self.assertLessEqual(after["user"], base["user"], "USER objects (%s) grew" %
                             after["user_source"])
        self.assertGreater(base["handles"], 0, "the probe could not count handles")
        self.assertLessEqual(after["handles"], base["handles"] + HANDLE_SLACK, "handles grew")
        self.assertGreater(base["private_kb"], 0, "the probe could not read the memory")
        self.assertLessEqual(after["private_kb"], base["private_kb"] + PRIVATE_SLACK_KB,
                             "private memory grew")
        for levels in (base, after):
            self.assertEqual((levels["cursor_normal"], levels["cursor_guarded"]),
                             ("shown", "hidden"), "cursor counter out of balance")

    def check_still_plays(self, app):
        x, y, width, height = app.geometry()
        client = (x, y + MENU_HEIGHT, x + width, y + height)
        app.key("a")
        shown = app.wait_for_screen(
            lambda shot: colour_box(shot, RED, client) or colour_box(shot, BLUE, client), 20)
        self.assertIsNotNone(shown, "a key press no longer shows a picture")


if __name__ == "__main__":
    unittest.main()
