"""The settings command of the real program: OK without a change leaves every stored value as
it was, also values no list entry equals; Cancel keeps the file; OK saves a changed speed and
maximum size and the play surface takes them over; a group whose name the file's code page
cannot hold, chosen in the group dialog with the order dialog that follows, keeps another
group's order entries and shows its pictures then and at the next start; a UTF-16 settings
file's title shows in the caption and a save keeps the file UTF-16; with the group chosen at
start-up, the group picker comes before the main window and a digit picks the group shown."""

import os
import tempfile
import unittest

import zzdriver as zz

SETTINGS_CAPTION, GROUP_CAPTION, ORDER_CAPTION = "設定", "グループ選択", "並べ替え"
PICKER_CAPTION = "グループを選択して下さい"
# Values that no list entry equals (20 would show as 200, 15 as 150), a rotation that no button
# shows, the stored order and a sound of another group.
SETTINGS = {"一回に広がる大きさ": 10, "速さ": 20, "最大画像拡大率": 15, "回転": 5, "表示": 1,
            "最大画像数": 1, "画像ファイル名0": "あお\\b.png"}


class SettingsTest(unittest.TestCase):
    def test_settings_keep_what_the_parent_did_not_change_and_take_what_they_did(self):
        with tempfile.TemporaryDirectory() as media, zz.Zoomzap(
                # Listed by name: 〜あか, whose wave dash code page 932 cannot hold, comes first.
                images=zz.make_images(media, {"〜あか/r.png": zz.RED, "あお/b.png": zz.BLUE}),
                settings=SETTINGS, sections={"SoundFile": {"あお\\b.png": 0}}) as app:
            self.untouched_ok_keeps_the_values(app)
            before = zz.read_settings(app.settings_path)
            self.enter_speed_and_maximum(app, "Escape")
            self.assertEqual(zz.read_settings(app.settings_path), before, "Cancel changed it")
            self.enter_speed_and_maximum(app, "Return")
            saved = app.settings()["設定"]
            self.assertEqual((saved["速さ"], saved["最大画像拡大率"]), ("10", "30"))
            self.check_growth_to_30_percent(app)

            self.choose_the_first_group_with_order_and_ok(app)
            values = app.settings()
            self.assertEqual(values["設定"]["グループ"], "?あか")  # as the platform writes it
            self.assertEqual(values["設定"]["画像ファイル名0"], "あお\\b.png",
                             "the order dialog lost another group's entry")
            self.assertEqual(values["設定"]["画像ファイル名1"], "?あか\\r.png")
            self.assertEqual(values["SoundFile"], {"あお\\b.png": "0"})
            self.check_only(app, zz.RED, zz.BLUE)
            app.restart()
            self.check_only(app, zz.RED, zz.BLUE)

            # A title that code page 932 cannot hold, in a file as a Unicode editor saves it.
            values["設定"].update({"グループ": "〜あか", "画像ファイル名1": "〜あか\\r.png"})
            app.sections = values
            self.assertTrue(app.rewrite(zz.TITLE + " 〜", unicode=True),
                            "the title of a UTF-16 file is not in the caption")
            self.untouched_ok_keeps_the_values(app)
            with open(app.settings_path, "rb") as file:
                data = file.read()
            self.assertTrue(data.startswith(b"\xff\xfe"), "the save left UTF-16")
            self.assertEqual(data[2:].decode("utf-16-le").encode("utf-16-le"), data[2:])
            self.assertEqual(app.settings()["設定"]["タイトル"], app.title)
            self.check_only(app, zz.RED, zz.BLUE)

            # Groups listed by name: 〜あか is 1, あお 2.
            app.sections["設定"]["グループ"] = "起動時に選択"
            zz.write_settings(app.settings_path, app.sections, unicode=True)
            app.restart(first_window=PICKER_CAPTION)
            self.assertIsNone(zz.find_window(app.title), "the main window came before the picker")
            app.focus()
            app.key("2")
            app.window = zz.wait_until(lambda: zz.find_window(app.title))
            self.assertIsNotNone(app.window, "no main window after the pick")
            self.assertIsNone(zz.find_window(PICKER_CAPTION), "the picker stayed open")
            self.check_only(app, zz.BLUE, zz.RED)

    def untouched_ok_keeps_the_values(self, app):
        before = app.settings()
        app.focus(self.open_settings(app))
        app.key("Return")
        self.assertTrue(zz.wait_until(lambda: not zz.find_window(SETTINGS_CAPTION)))
        after = app.settings()
        for key, value in before["設定"].items():
            self.assertEqual(after["設定"].get(key), value, "an untouched OK changed " + key)
        self.assertEqual(after["SoundFile"], before["SoundFile"])

    def choose_the_first_group_with_order_and_ok(self, app):
        dialog = self.open_settings(app)
        app.focus(dialog)
        # From the growth box back past Cancel and OK to "グループ選択" ("割り付け" is off).
        app.key("shift+Tab", "shift+Tab", "shift+Tab", "space")
        app.focus(self.wait_for(GROUP_CAPTION))
        # From 全グループ past 起動時に選択 to the first group found, then OK; with the stored
        # order on, the order dialog follows, and its OK stores the group's order.
        app.key("Down", "Down", "Return")
        app.focus(self.wait_for(ORDER_CAPTION))
        app.key("Return")
        self.assertTrue(zz.wait_until(lambda: not zz.find_window(ORDER_CAPTION)))
        # "グループ選択" keeps the focus, and Enter would press it: on to OK first.
        app.focus(dialog)
        app.key("Tab", "Return")
        self.assertTrue(zz.wait_until(lambda: not zz.find_window(SETTINGS_CAPTION)))

    def wait_for(self, caption):
        window = zz.wait_until(lambda: zz.find_window(caption))
        self.assertIsNotNone(window, "no window " + caption)
        return window

    def open_settings(self, app):
        app.focus()
        app.key("alt+s")  # "設定(&S)", first on the menu bar
        return self.wait_for(SETTINGS_CAPTION)

    def enter_speed_and_maximum(self, app, confirm):
        app.focus(self.open_settings(app))
        # The growth box has the focus; each Tab selects the next box's whole text.
        app.key("Tab")
        zz.xdo("type", "--delay", "50", "10")
        app.key("Tab")
        zz.xdo("type", "--delay", "50", "30")
        app.key(confirm)
        self.assertTrue(zz.wait_until(lambda: not zz.find_window(SETTINGS_CAPTION)), confirm)

    def check_growth_to_30_percent(self, app):
        app.focus()
        client = app.client()
        client_width = client[2] - client[0]
        app.key("a")  # in the stored order: あお's picture
        self.assertTrue(zz.wait_for_screen(
            lambda s: zz.width(zz.box(s, zz.BLUE, client)) > client_width * 30 // 100),
            "the picture did not grow past the old maximum to the new one")
        zz.settle(1.0)
        # The first width past the maximum, one 10 % step beyond it at most.
        final = zz.width(zz.box(zz.screenshot(), zz.BLUE, client))
        self.assertLessEqual(final, client_width * 33 // 100 + 4)

    def check_only(self, app, colour, other):
        app.focus()
        for key in ("a", "s"):
            app.key(key)
            shot = zz.wait_for_screen(lambda s: zz.box(s, colour, app.client()), timeout=10)
            self.assertIsNotNone(shot, "no picture of the chosen group")
            self.assertIsNone(zz.box(shot, other, app.client()), "a picture of the other group")


if __name__ == "__main__":
    unittest.main()
