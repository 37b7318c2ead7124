"""The settings command of the real program: the dialog opens from the menu, Cancel keeps the
file as it was, OK saves a changed speed and maximum size and the play surface takes them over;
with the group set to choose at start-up, the group picker comes before the main window and a
digit key picks the group whose pictures then appear."""

import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402
from test_play import BLUE, MENU_HEIGHT, RED, colour_box, make_images  # noqa: E402

SETTINGS_CAPTION = "設定"
PICKER_CAPTION = "グループを選択して下さい"


def client_area(app):
    x, y, width, height = app.geometry()
    return (x, y + MENU_HEIGHT, x + width, y + height)


class SettingsCommandTest(unittest.TestCase):
    def test_settings_are_saved_and_taken_over_by_the_play_surface(self):
        # A tick a second would take about a minute to grow the picture to its maximum.
        settings = {"一回に広がる大きさ": 10, "速さ": 1000, "最大画像拡大率": 50}
        with tempfile.TemporaryDirectory() as media:
            images = make_images(media, {"a.png": "red"})
            with zzdriver.Zoomzap(images=images, settings=settings) as app:
                before = app.read_settings()
                self.enter_speed_and_maximum(app, "10", "30", confirm="Escape")
                self.assertEqual(app.read_settings(), before, "Cancel changed the file")

                self.enter_speed_and_maximum(app, "10", "30", confirm="Return")
                saved = app.read_settings().splitlines()
                self.assertIn("速さ=10", saved)
                self.assertIn("最大画像拡大率=30", saved)
                self.check_growth_to(app, 30)

    def open_settings(self, app):
        app.focus()
        x, y, _, _ = app.geometry()
        app.click(x + 25, y + MENU_HEIGHT // 2)  # "設定(&S)", first on the menu bar
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

    def check_growth_to(self, app, percent):
        app.focus()
        client = client_area(app)
        client_width = client[2] - client[0]
        app.key("a")
        started = time.monotonic()
        grown = app.wait_for_screen(
            lambda shot: self.width_of(colour_box(shot, RED, client)) > client_width * percent
            // 100, timeout=15)
        self.assertIsNotNone(grown, "the picture did not grow to %d %% at the new speed" % percent)
        # At the old speed of a tick a second it would still be small.
        self.assertLess(time.monotonic() - started, 15)
        app.settle(1.0)
        final = self.width_of(colour_box(app.screenshot(), RED, client))
        # The first width past the maximum, one 10 % step beyond it at most.
        self.assertLessEqual(final, client_width * percent * 11 // 1000 + 4)

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
