"""A toddler at the real program in guard mode: every key, chord and button once, then seeded
random events, the parent visiting between rounds. The child never gets out; objects, handles and
memory end at their level after the first round (tests/README.md lists the checks).
ZZ_TODDLER_SEED replays a run, ZZ_TODDLER_EVENTS sets the random events (default 1000)."""

import os
import random
import time
import unittest

import zzdriver as zz

EVENTS = int(os.environ.get("ZZ_TODDLER_EVENTS", "1000"))
ROUND, BATCH = 250, 40  # events between the parent's visits; per xdotool call, then a check
LETTERS = list("abcdefghijklmnopqrstuvwxyz")
KEYS = LETTERS + list("0123456789") + ["F%d" % n for n in range(1, 13)] + [
    "KP_%d" % n for n in range(10)] + """space Return Escape Tab BackSpace Delete Insert Home End
    Prior Next Left Right Up Down Print Pause Super_L Super_R Menu Alt_L Alt_R Control_L Shift_R
    KP_Add KP_Subtract KP_Multiply KP_Divide KP_Enter KP_Decimal""".split()
LOCKS = ["Caps_Lock", "Num_Lock", "Scroll_Lock"]
# Keypad keys become Delete with Num Lock off: with Ctrl and Shift they would be the way out.
CHORD_KEYS = [k for k in KEYS if not k.startswith(("KP_", "Alt", "Control", "Shift", "Super",
                                                   "Delete"))]
CHORDS = """ctrl+n ctrl+o ctrl+s ctrl+p ctrl+w ctrl+q alt+space alt+Tab alt+Escape shift+F10
    ctrl+alt+t ctrl+shift+Escape super+d""".split()
MODIFIERS = ["ctrl", "ctrl", "alt", "shift", "super", "ctrl+alt", "ctrl+shift", "alt+shift"]
ALT_F4 = [["key", "alt+F4"]] + [order.split() for order in (  # in every order of its events
    "keydown Alt_L keydown F4 keyup F4 keyup Alt_L",
    "keydown Alt_L keydown F4 keyup Alt_L keyup F4",
    "keydown F4 keydown Alt_L keyup F4 keyup Alt_L")]
HELD = "Control_L Control_R Shift_L Shift_R Alt_L Alt_R Super_L Super_R F4 Delete".split()
# Allowed growth over the level after the first round: a leak per key, dialog or switch would be
# many objects or megabytes by the end. Wine's heaps grow in steps and give nothing back.
SLACK = {"gdi": 8, "user": 0, "handles": 8, "private_kb": 16 * 1024}


def every_event_once(rng, screen):
    events = [["key", key] for key in KEYS + CHORDS + LOCKS] + ALT_F4
    events += [random_point(rng, screen) + ["click", button] for button in "12345"]
    rng.shuffle(events)
    return events


def random_event(rng, screen):
    """A key, chord, held key, click or move a child makes, as xdotool arguments."""
    kind = rng.choices("key chord hold altf4 lock click move".split(), [45, 22, 5, 3, 2, 15, 8])[0]
    if kind == "chord":
        return ["key", rng.choice(MODIFIERS) + "+" + rng.choice(rng.choice([LETTERS, CHORD_KEYS]))]
    if kind == "hold":  # presses while the key is down reach the program as auto-repeat
        key = rng.choice(KEYS[:36])
        return ["keydown", key] * rng.randrange(5, 30) + ["keyup", key]
    if kind in ("click", "move"):  # left, middle, right, and the wheel both ways
        return random_point(rng, screen) + ["click", rng.choice("11123345")] * (kind == "click")
    return list(rng.choice(ALT_F4)) if kind == "altf4" else [
        "key", rng.choice(LOCKS if kind == "lock" else KEYS)]


def random_point(rng, screen):
    return ["mousemove", str(rng.randrange(screen[0])), str(rng.randrange(screen[1]))]


def levels(app):
    """Objects read inside Wine; memory as Linux counts it (Wine gives none of it)."""
    output = zz.run("wine", os.path.join(os.environ["ZZ_BIN_DIR"], "process_probe.exe"),
                    app.title)
    found = {key: int(value) for key, _, value in (line.partition("=") for line in output.split())}
    with open("/proc/%d/smaps_rollup" % app.process.pid) as file:
        found["private_kb"] = sum(int(line.split()[1]) for line in file
                                  if line.startswith(("Private_Clean:", "Private_Dirty:")))
    return found


class ToddlerTest(unittest.TestCase):
    def test_a_toddler_cannot_leave_guard_mode_and_a_long_session_leaves_nothing_behind(self):
        seed = int(os.environ.get("ZZ_TODDLER_SEED", time.time_ns() % 2**31))
        print("toddler: %d events, ZZ_TODDLER_SEED=%d replays them" % (EVENTS, seed))
        rng = random.Random(seed)
        settings = {"初期表示": 1, "表示": 1, "画像ファイル名0": "a.png", "画像ファイル名1": "b.bmp",
                    "画像ファイル名2": "c.png", "速さ": 10, "最大画像拡大率": 30, "音声": 1}
        app = zz.Zoomzap({"a.png": zz.RED, "b.bmp": zz.GREEN, "c.png": zz.BLUE}, settings)
        os.makedirs(os.path.join(app.folder, "sounds"))
        zz.run("sox", "-n", "-r", "8000", "-b", "16", os.path.join(app.folder, "sounds", "a.wav"),
               "synth", "0.05", "sine", "440")
        with app:
            app.wait_guarded("at start-up")
            screen = zz.screenshot().size
            # Wine's dialog and control caches (about 50 GDI objects, once) are made in the
            # first round and belong to the level it leaves.
            self.play(app, every_event_once(rng, screen), "every event once")
            self.parent_visits(app, 1)
            base = levels(app)
            for sent in range(0, EVENTS, ROUND):
                self.play(app, [random_event(rng, screen) for _ in range(ROUND)],
                          "events %d to %d of seed %d" % (sent, sent + ROUND, seed))
                self.parent_visits(app, sent // ROUND + 2)
            after = levels(app)
            print("toddler: levels %s, then %s" % (base, after))
            self.assertGreater(min(*base.values(), *after.values()), 0, "the probe read nothing")
            for key, slack in SLACK.items():
                self.assertLessEqual(after[key], base[key] + slack, key + " grew")
            app.assert_key_shows_a_new_picture("at the end")

    def play(self, app, events, context):
        for start in range(0, len(events), BATCH):
            batch = sum(events[start:start + BATCH], [])
            # As fast as a child's fists: 4 ms after each key event rather than xdotool's 12.
            zz.xdo(*sum(([arg, "--delay", "4"] if arg.startswith("key") else [arg]
                         for arg in batch), []))
            app.assert_guarded("%s, after %s" % (context, events[start:start + BATCH]))
        zz.xdo(*sum((["keyup", key] for key in HELD), []))
        zz.settle(1.0)
        app.assert_guarded(context + ", at its end")
        app.assert_key_shows_a_new_picture(context)

    def parent_visits(self, app, visit):
        """Out of guard mode: the about box, the settings' OK, Ctrl+N rereading new settings."""
        app.leave_guard("at visit %d" % visit)
        for keys in (["alt+h", "a"], ["alt+s"]):
            app.answer("Return", opened_by=keys)
        # New settings and caption; Ctrl+N rereads them.
        app.title = "%s-%d" % (zz.TITLE, visit)
        app.sections["設定"].update(タイトル=app.title, マウス操作=visit % 2, 速さ=visit % 3 * 10 + 1)
        zz.write_settings(app.settings_path, app.sections)
        app.key("ctrl+n")
        self.assertTrue(zz.wait_until(lambda: zz.find_window(app.title) == app.window),
                        "Ctrl+N did not reread the settings")
        app.wait_guarded("after Ctrl+N at visit %d" % visit)


if __name__ == "__main__":
    unittest.main()
