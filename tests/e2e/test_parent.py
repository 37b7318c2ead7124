"""A parent sets up the real program through its menu and dialogs: the settings dialog, and the
group and order dialogs after it (tests/README.md lists the checks)."""

import unittest

import zzdriver as zz

SETTINGS, GROUP, ORDER = "設定", "グループ選択", "並べ替え"


class ParentTest(unittest.TestCase):
    def test_a_parent_sets_up_the_toy(self):
        # Values that no list entry equals (20 would show as 200, 15 as 150), a rotation that
        # no button shows, the stored order and a sound of another group.
        settings = {"一回に広がる大きさ": 10, "速さ": 20, "最大画像拡大率": 15, "回転": 5,
                    "表示": 1, "最大画像数": 1, "画像ファイル名0": "あお\\b.png"}
        # Listed by name: 〜あか, whose wave dash code page 932 cannot hold, comes first.
        with zz.Zoomzap({"〜あか/r.png": zz.RED, "あお/b.png": zz.BLUE}, settings,
                        {"SoundFile": {"あお\\b.png": 0}}) as app:
            before = zz.settings_values(app.settings_path)
            app.answer("Return", caption=SETTINGS, opened_by=["alt+s"])  # "設定(&S)", first
            after = zz.settings_values(app.settings_path)
            self.assertEqual({key: after["設定"].get(key) for key in before["設定"]},
                             before["設定"], "an untouched OK changed a value")
            self.assertEqual(after["SoundFile"], before["SoundFile"])
            self.check_settings(app)

    def check_settings(self, app):
        app.dialog("alt+s", caption=SETTINGS)
        # The growth box has the focus; each Tab selects the next box's whole text.
        for number in ("10", "30"):  # xdotool's type takes every argument after it
            zz.xdo("key", "Tab", "type", number)
        app.answer("Return", caption=SETTINGS)
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
        for key in ("a", "s"):  # only the chosen group's pictures
            self.assertTrue(app.shows(key, zz.RED, 10), "no picture of the chosen group")
            self.assertIsNone(zz.box(zz.screenshot(), zz.BLUE, client), "the other group's")


if __name__ == "__main__":
    unittest.main()
