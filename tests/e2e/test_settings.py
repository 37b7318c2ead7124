"""The settings command of the real program: the dialog opens from the menu; OK without a
change leaves every stored value as it was, also values no list entry equals; Cancel keeps the
file as it was, OK saves a changed speed and maximum size and the play surface takes them over;
a group whose name the file's code page cannot hold, chosen in the group dialog with the order
dialog that follows, keeps another group's order entries and shows its pictures then and at
the next start; a UTF-16 settings file's title shows in the caption and a save keeps the file
UTF-16. With the group set to choose at start-up, the group picker comes before the main window
and a digit key picks the group whose pictures then appear."""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402
from test_play import BLUE, MENU_HEIGHT, RED, colour_box, make_images  # noqa: E402

SETTINGS_CAPTION = "設定"
GROUP_CAPTION = "グループ選択"
ORDER_CAPTION = "並べ替え"
PICKER_CAPTION = "グループを選択して下さい"


def client_area(app):
    x, y, width, height = app.geometry()
    return (x, y + MENU_HEIGHT, x + width, y + height)


def make_groups(media, groups):
    """groups: group folder name -> (picture file name, colour)."""
    images = os.path.join(media, "images")
    for group, (name, colour) in groups.items():
        make_images(os.path.join(media, "made"), {name: colour})
        os.rename(os.path.join(media, "made", "images"), os.path.join(images, group))
    return images


class SettingsCommandTest(unittest.TestCase):
    # Stored values that no list entry equals (20 would show as 200, 15 as 150), a rotation
    # that no button shows, the stored order and a sound of another group.
    SETTINGS = {"一回に広がる大きさ": 10, "速さ": 20, "最大画像拡大率": 15, "回転": 5, "表示": 1,
                "最大画像数": 1, "画像ファイル名0": "あお\\b.png"}
    SOUNDS = {"あお\\b.png": 0}

    def test_settings_keep_what_the_parent_did_not_change_and_take_what_they_did(self):
        with tempfile.TemporaryDirectory() as media:
            os.makedirs(os.path.join(media, "images"))
            # Listed by name: 〜あか (its wave dash has no code in code page 932) comes first.
            images = make_groups(media, {"〜あか": ("r.png", "red"), "あお": ("b.png", "blue")})
            with zzdriver.Zoomzap(images=images, settings=self.SETTINGS,
                                  sections={"SoundFile": self.SOUNDS}) as app:
                self.untouched_ok_keeps_the_values(app)
                before = app.read_settings()
                self.enter_speed_and_maximum(app, "10", "30", confirm="Escape")
                self.assertEqual(app.read_settings(), before, "Cancel changed the file")
                self.enter_speed_and_maximum(app, "10", "30", confirm="Return")
                saved = app.settings_values()["設定"]
                self.assertEqual((saved["速さ"], saved["最大画像拡大率"]), ("10", "30"))
                self.check_growth_to(app, 30, BLUE)  # in the stored order: あお's picture

                self.choose_the_first_group_with_order_and_ok(app)
                values = app.settings_values()
                self.assertEqual(values["設定"]["グループ"], "?あか")  # as the platform writes it
                self.assertEqual(values["設定"]["画像ファイル名0"], "あお\\b.png",
                                 "the order dialog lost another group's entry")
                self.assertEqual(values["設定"]["画像ファイル名1"], "?あか\\r.png")
                self.assertEqual(values["SoundFile"], {"あお\\b.png": "0"})
                self.check_only(app, RED, BLUE)
                app.restart()
                self.check_only(app, RED, BLUE)

                self.a_unicode_file_shows_its_title_and_stays_unicode(app)

    def untouched_ok_keeps_the_values(self, app):
        before = app.settings_values()
        dialog = self.open_settings(app)
        app.focus(dialog)
        app.key("Return")
        self.assertTrue(app.wait_for_window_gone(SETTINGS_CAPTION, 20))
        after = app.settings_values()
        for key, value in before["設定"].items():
            self.assertEqual(after["設定"].get(key), value, "an untouched OK changed %s" % key)
        self.assertEqual(after["SoundFile"], before["SoundFile"])

    def choose_the_first_group_with_order_and_ok(self, app):
        dialog = self.open_settings(app)
        app.focus(dialog)
        # From the growth box back past Cancel and OK to "グループ選択" ("割り付け" is off).
        app.key("shift+Tab", "shift+Tab", "shift+Tab", "space")
        group_dialog = app.wait_for_window(GROUP_CAPTION, 20)
        self.assertIsNotNone(group_dialog, "the group dialog did not open")
        app.focus(group_dialog)
        # From 全グループ past 起動時に選択 to the first group found, then OK.
        app.key("Down", "Down", "Return")
        # With the stored order on, the order dialog follows; its OK stores the group's order.
        order_dialog = app.wait_for_window(ORDER_CAPTION, 20)
        self.assertIsNotNone(order_dialog, "the order dialog did not follow the group")
        app.focus(order_dialog)
        app.key("Return")
        self.assertTrue(app.wait_for_window_gone(ORDER_CAPTION, 20))
        # "グループ選択" keeps the focus, and Enter would press it: on to OK first.
        app.focus(dialog)
        app.key("Tab", "Return")
        self.assertTrue(app.wait_for_window_gone(SETTINGS_CAPTION, 20))

    def a_unicode_file_shows_its_title_and_stays_unicode(self, app):
        # A title that code page 932 cannot hold, in a file as a Unicode editor saves it; the
        # new-document command runs the start-up again.
        sections = app.settings_values()
        sections["設定"].update({"タイトル": app.title + " 〜", "グループ": "〜あか",
                               "画像ファイル名1": "〜あか\\r.png"})
        zzdriver.write_settings(app.settings_path, sections, unicode=True)
        app.focus()
        app.key("ctrl+n")
        app.title += " 〜"
        app.window = app.wait_for_window(app.title, 20)
        self.assertIsNotNone(app.window, "the title of a UTF-16 file is not in the caption")
        self.untouched_ok_keeps_the_values(app)
        with open(app.settings_path, "rb") as file:
            data = file.read()
        self.assertTrue(data.startswith(b"\xff\xfe"), "the save left UTF-16")
        self.assertEqual(data[2:].decode("utf-16-le").encode("utf-16-le"), data[2:])
        self.assertEqual(app.settings_values()["設定"]["タイトル"], app.title)
        self.check_only(app, RED, BLUE)

    def open_settings(self, app):
        app.focus()
        app.key("alt+s")  # "設定(&S)", first on the menu bar
        dialog = app.wait_for_window(SETTINGS_CAPTION, 20)
        self.assertIsNotNone(dialog, "the settings dialog did not open from the menu")
        return dialog

    def enter_speed_and_maximum(self, app, speed, maximum, confirm):
        dialog = self.open_settings(app)
        app.focus(dialog)
        # The growth box has the focus; each Tab selects the next box's whole text.
        app.key("Tab")
        app.type_text(speed)
        app.key("Tab")
        app.type_text(maximum)
        app.key(confirm)
        self.assertTrue(app.wait_for_window_gone(SETTINGS_CAPTION, 20),
                        "the settings dialog did not close with %s" % confirm)

    def check_growth_to(self, app, percent, colour):
        app.focus()
        client = client_area(app)
        client_width = client[2] - client[0]
        app.key("a")
        # Past the old maximum of 15 %, to the new one.
        grown = app.wait_for_screen(
            lambda shot: self.width_of(colour_box(shot, colour, client)) > client_width * percent
            // 100, timeout=15)
        self.assertIsNotNone(grown, "the picture did not grow to the new %d %%" % percent)
        app.settle(1.0)
        final = self.width_of(colour_box(app.screenshot(), colour, client))
        # The first width past the maximum, one 10 % step beyond it at most.
        self.assertLessEqual(final, client_width * percent * 11 // 1000 + 4)

    def check_only(self, app, shown, other):
        app.focus()
        client = client_area(app)
        for key in ("a", "s"):
            app.key(key)
            shot = app.wait_for_screen(lambda s: colour_box(s, shown, client), timeout=10)
            self.assertIsNotNone(shot, "no picture of the chosen group")
            self.assertIsNone(colour_box(shot, other, client), "a picture of the other group")

    @staticmethod
    def width_of(box):
        return 0 if box is None else box[2] - box[0]


class StartupGroupPickerTest(unittest.TestCase):
    def test_a_digit_picks_the_group_whose_pictures_appear(self):
        with tempfile.TemporaryDirectory() as media:
            # Listed by name: あお is group 1, あか group 2.
            images = os.path.join(media, "images")
            make_images(os.path.join(media, "blue"), {"b.png": "blue"})
            make_images(os.path.join(media, "red"), {"r.png": "red"})
            os.makedirs(images)
            os.rename(os.path.join(media, "blue", "images"), os.path.join(images, "あお"))
            os.rename(os.path.join(media, "red", "images"), os.path.join(images, "あか"))
            settings = {"グループ": "起動時に選択", "速さ": 10, "最大画像拡大率": 30}
            with zzdriver.Zoomzap(images=images, settings=settings,
                                  first_window=PICKER_CAPTION) as app:
                self.assertIsNone(app.find_window(app.title),
                                  "the main window came before the group picker")
                app.focus()
                app.key("2")
                app.window = app.wait_for_window(app.title, 20)
                self.assertIsNotNone(app.window, "no main window after the pick")
                self.assertIsNone(app.find_window(PICKER_CAPTION), "the picker stayed open")
                self.check_only_red(app)

    def check_only_red(self, app):
        app.focus()
        client = client_area(app)
        for key in ("a", "s", "d"):
            app.key(key)
            app.settle(1.0)
            shot = app.screenshot()
            self.assertIsNotNone(colour_box(shot, RED, client), "no picture of group あか")
            self.assertIsNone(colour_box(shot, BLUE, client), "a picture of the other group")


if __name__ == "__main__":
    unittest.main()
