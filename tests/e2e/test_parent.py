"""A parent sets up the real program: a start repairs its automation entries and takes a file
from the command line; the document commands, the recent-file list, printing, /Unregister and /p;
the settings, group, order and start-up group dialogs, with a code page 932 file and a UTF-16 one
(tests/README.md lists the checks)."""

import os
import pathlib
import unittest

import zzdriver as zz

SETTINGS, GROUP, ORDER, PICKER = "設定", "グループ選択", "並べ替え", "グループを選択して下さい"
CLASSES = r"HKCU\Software\Classes"
SERVER = CLASSES + r"\CLSID\{7A23AB85-429D-4B22-BF08-F6F0CCFDA4AE}\LocalServer32"
PROG_ID = CLASSES + "\\Zoomzap.Document"
RECENT = r"HKCU\Software\Local AppWizard-Generated Applications\Zoomzap\Recent File List"


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def reg(*args):
    return zz.run("wine", "reg", *args, check=False)


def reg_value(key, name=None):
    """A string value of the registry, or None when the key or value is missing."""
    lines = reg("query", key, *(["/v", name] if name else ["/ve"])).splitlines()
    return next((line.split("REG_SZ", 1)[1].strip() for line in lines if "REG_SZ" in line), None)


class ParentTest(unittest.TestCase):
    def test_a_parent_sets_up_the_toy(self):
        reg("delete", RECENT, "/f")
        reg("add", SERVER, "/ve", "/d", "broken", "/f")
        reg("delete", PROG_ID, "/f")
        # Values that no list entry equals (20 would show as 200, 15 as 150), a rotation that
        # no button shows, the stored order and a sound of another group.
        settings = {"一回に広がる大きさ": 10, "速さ": 20, "最大画像拡大率": 15, "回転": 5,
                    "表示": 1, "最大画像数": 1, "画像ファイル名0": "あお\\b.png"}
        # Listed by name: 〜あか, whose wave dash code page 932 cannot hold, comes first.
        app = zz.Zoomzap({"〜あか/r.png": zz.RED, "あお/b.png": zz.BLUE}, settings,
                         {"SoundFile": {"あお\\b.png": 0}})
        spaced = os.path.join(app.folder, "my file.zz")
        zz.write_file(spaced, b"")
        app.args = ["/Unknown", wine_path(os.path.join(app.folder, "my")), "file.zz"]
        with app:
            program = wine_path(os.path.join(app.folder, "Zoomzap.exe"))
            self.assertEqual([reg_value(SERVER), reg_value(PROG_ID)],
                             ['"%s" /Automation' % program, "Zoomz Document"])
            self.check_documents(app, wine_path(spaced))
            # As the guide has a parent type it: removes the entries, says so and ends.
            self.assertEqual(self.told_and_ended(app, "/Unregister"), 0)
            self.assertEqual([reg_value(SERVER), reg_value(PROG_ID)], [None, None])
            # A Windows path: a Unix one starts with "/" and would be taken for an option.
            self.assertEqual(self.told_and_ended(app, "/p", wine_path(spaced)), 1)
            self.assertTrue(app.running())
            self.check_settings(app)

    def check_documents(self, app, spaced):
        first, second, saved = (os.path.join(app.folder, name)
                                for name in ("first.txt", "second.txt", "saved.zz"))
        for name in (first, second):
            zz.write_file(name, b"keep me")
        app.focus()
        self.assertTrue(app.shows("a", zz.BLUE), "no picture")
        self.answer_file_dialog(app, "ctrl+o", first)
        self.assertTrue(zz.wait_for_screen(lambda s: zz.box(s, zz.BLUE) is None),
                        "the picture stayed after a file was opened")
        self.answer_file_dialog(app, "ctrl+o", second)
        self.assertEqual([reg_value(RECENT, "File%d" % n) for n in (1, 2, 3)],
                         [wine_path(second), wine_path(first), spaced])
        # The opened file is never written over unasked: Ctrl+S asks, and Escape leaves it.
        app.answer("Escape", opened_by=["ctrl+s"])
        self.assertEqual(pathlib.Path(second).read_bytes(), b"keep me")
        self.answer_file_dialog(app, "ctrl+s", saved)
        self.assertTrue(zz.wait_until(lambda: os.path.exists(saved)), "Ctrl+S saved nothing")
        self.assertEqual(os.path.getsize(saved), 0)
        self.assertEqual(reg_value(RECENT, "File1"), wine_path(saved))
        # This Wine has no printer: its dialog says so, once, and nothing else follows; a
        # message of the program's own would carry the program's name.
        app.answer("Return", opened_by=["ctrl+p"])
        self.assertIsNone(zz.wait_until(lambda: zz.find_window("Zoomzap"), 3))
        self.assertTrue(zz.wait_until(app.alone))

    def check_settings(self, app):
        self.untouched_ok_keeps_the_values(app)
        before = zz.read_settings(app.settings_path)
        for confirm in ("Escape", "Return"):
            app.dialog("alt+s", caption=SETTINGS)  # "設定(&S)", first on the menu bar
            # The growth box has the focus; each Tab selects the next box's whole text.
            for number in ("10", "30"):  # xdotool's type takes every argument after it
                zz.xdo("key", "Tab", "type", number)
            app.answer(confirm, caption=SETTINGS)
            self.assertEqual(zz.read_settings(app.settings_path) == before, confirm == "Escape",
                             "Cancel changed the file, or OK did not")
        values = zz.settings_values(app.settings_path)["設定"]
        self.assertEqual([values[key] for key in ("速さ", "最大画像拡大率")], ["10", "30"])
        client = app.client()
        app.key("a")  # the stored order's: あお's picture
        # Grown to the first width past the new maximum, one 10 % step beyond at most.
        found = zz.width(zz.steady(lambda s: zz.box(s, zz.BLUE, client)))
        full = client[2] - client[0]
        self.assertTrue(full * 30 // 100 < found <= full * 33 // 100 + 4, found)

        dialog = app.dialog("alt+s", caption=SETTINGS)
        # From the growth box back past Cancel and OK to "グループ選択" ("割り付け" is off), then
        # from 全グループ past 起動時に選択 to the first group, whose OK opens the order dialog,
        # whose OK stores the group's order.
        app.dialog("shift+Tab", "shift+Tab", "shift+Tab", "space", caption=GROUP, at=dialog)
        app.dialog("Down", "Down", "Return", caption=ORDER, at=zz.find_window(GROUP))
        app.answer("Return", caption=ORDER)
        app.answer("Tab", "Return", caption=SETTINGS)  # from "グループ選択" on to OK
        values = zz.settings_values(app.settings_path)
        self.assertEqual([values["設定"][key] for key in ("グループ", "画像ファイル名0",
                                                          "画像ファイル名1")],
                         ["?あか", "あお\\b.png", "?あか\\r.png"])  # as the platform writes them
        self.assertEqual(values["SoundFile"], {"あお\\b.png": "0"})
        self.check_only(app, zz.RED, zz.BLUE)
        app.restart()
        self.check_only(app, zz.RED, zz.BLUE)

        # A title that code page 932 cannot hold, in a file as a Unicode editor saves it.
        values["設定"].update({"グループ": "〜あか", "画像ファイル名1": "〜あか\\r.png"})
        app.sections = values
        self.assertTrue(app.rewrite(zz.TITLE + " 〜", unicode=True), "not in the caption")
        self.untouched_ok_keeps_the_values(app)
        data = pathlib.Path(app.settings_path).read_bytes()
        self.assertEqual(data[:2], b"\xff\xfe", "the save left UTF-16")

        app.sections["設定"]["グループ"] = "起動時に選択"  # groups by name: 〜あか 1, あお 2
        zz.write_settings(app.settings_path, app.sections, unicode=True)
        app.restart(first_window=PICKER)
        self.assertIsNone(zz.find_window(app.title), "the main window came before the picker")
        app.focus()
        app.key("2")
        app.window = zz.wait_until(lambda: zz.find_window(app.title))
        self.assertIsNotNone(app.window, "no main window after the pick")
        self.assertIsNone(zz.find_window(PICKER), "the picker stayed open")
        self.check_only(app, zz.BLUE, zz.RED)

    def untouched_ok_keeps_the_values(self, app):
        before = zz.settings_values(app.settings_path)
        app.answer("Return", caption=SETTINGS, opened_by=["alt+s"])
        after = zz.settings_values(app.settings_path)
        self.assertEqual({key: after["設定"].get(key) for key in before["設定"]}, before["設定"])
        self.assertEqual(after["SoundFile"], before["SoundFile"])

    def check_only(self, app, colour, other):
        app.focus()
        for key in ("a", "s"):
            self.assertTrue(app.shows(key, colour, 10), "no picture of the chosen group")
            self.assertIsNone(zz.box(zz.screenshot(), other, app.client()), "the other group's")

    def answer_file_dialog(self, app, key, path):
        app.dialog(key)
        # The name field has the focus: a full path there picks the file.
        zz.xdo("key", "ctrl+a", "type", wine_path(path))
        app.answer("Return")

    def told_and_ended(self, app, *args):
        """Another start with args: its exit code once its message, captioned Zoomzap, is answered."""
        process = app.start(*args)  # ended with the test's Wine server if it hangs
        app.answer("Return", caption="Zoomzap")
        return process.wait(timeout=30)


if __name__ == "__main__":
    unittest.main()