"""The main window of the real program on an X display: screen-sized with caption and menu,
the invitation text on white, and the about box. (Alt+F4 is tested with guard mode, in both
modes; Ctrl+C with the play surface's keys.)"""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402
from zzdriver import is_dark, is_white  # noqa: E402

ABOUT_CAPTION = "ずーむざっぷのﾊﾞｰｼﾞｮﾝ情報"
# Wine's menu bar at its default size; the client area starts below it.
MENU_HEIGHT = 19


class MainWindowTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.app = zzdriver.Zoomzap()
        cls.app.__enter__()
        cls.app.focus()
        x, y, width, height = cls.app.geometry()
        cls.frame = (x, y, width, height)
        # Middle of the client area, as the view computes it.
        cls.cx = x + width // 2
        cls.cy = y + MENU_HEIGHT + (height - MENU_HEIGHT) // 2
        cls.text_area = (cls.cx - 260, cls.cy - 70, cls.cx + 260, cls.cy + 40)

    @classmethod
    def tearDownClass(cls):
        cls.app.__exit__(None, None, None)

    def tearDown(self):
        # For a person to look at: ZZ_E2E_SCREENSHOTS names a folder for the last screen.
        folder = os.environ.get("ZZ_E2E_SCREENSHOTS")
        if folder:
            self.app.save_screenshot(os.path.join(folder, self._testMethodName + ".png"))

    def assert_still_open(self):
        self.assertTrue(self.app.is_running(), "the program ended")
        self.assertIsNotNone(self.app.find_window(self.app.title), "the main window is gone")

    def invitation_shown(self, shot):
        return shot.count(self.text_area, is_dark) > 300

    def test_frame_covers_the_screen_with_caption_and_menu(self):
        shot = self.app.wait_for_screen(self.invitation_shown)
        self.assertIsNotNone(shot, "the window never painted")
        x, y, width, height = self.frame
        # Without a window manager the X window is the Win32 window less its caption and
        # borders: equal borders left, right and below, and more above for the caption.
        border = x
        self.assertEqual(shot.width - (x + width), border, self.frame)
        self.assertEqual(shot.height - (y + height), border, self.frame)
        self.assertGreater(y, border + 10, "no room for a caption: %s" % (self.frame,))
        # The menu bar: entries at its left, nothing far to the right.
        menu = (x, y, x + 400, y + MENU_HEIGHT)
        self.assertGreater(shot.count(menu, is_dark), 30, "no menu entries")
        self.assertEqual(shot.count((x + 600, y, x + 900, y + MENU_HEIGHT), is_dark), 0)

    def test_invitation_text_stands_left_of_and_above_the_middle(self):
        shot = self.app.wait_for_screen(self.invitation_shown)
        self.assertIsNotNone(shot, "no invitation text")
        text = shot.bounding_box(self.text_area, is_dark)
        self.assertIsNotNone(text)
        left, top, right, bottom = text
        self.assertTrue(self.cx - 200 <= left <= self.cx - 190, text)
        self.assertTrue(self.cy - 25 - 3 <= top and bottom <= self.cy + 3, text)
        self.assertGreater(right - left, 300, "fifteen characters of a 25-pixel font")
        # White all around the text and over the rest of the client area.
        ring = (left - 30, top - 30, right + 30, bottom + 30)
        ink = shot.bounding_box(ring, lambda p: not is_white(p))
        # Smoothed edges may reach a pixel or two past the dark strokes.
        self.assertTrue(ink[0] >= left - 2 and ink[1] >= top - 2 and ink[2] <= right + 2
                        and ink[3] <= bottom + 2, (ink, text))
        x, y, width, height = self.frame
        for sx in range(x + 20, x + width - 20, 97):
            for sy in range(y + MENU_HEIGHT + 10, y + height - 10, 89):
                if not (ring[0] <= sx < ring[2] and ring[1] <= sy < ring[3]):
                    self.assertTrue(is_white(shot.pixel(sx, sy)), (sx, sy, shot.pixel(sx, sy)))

    def test_about_box_opens_from_the_menu_and_closes_with_enter_or_escape(self):
        for close_key in ("Return", "Escape"):
            self.app.focus()
            self.app.key("alt+h", "a")
            about = self.app.wait_for_window(ABOUT_CAPTION, timeout=15)
            self.assertIsNotNone(about, "no about box after Alt+H, A")
            ax, ay, awidth, aheight = self.app.geometry(about)
            # Centred over the frame.
            self.assertLess(abs(ax + awidth // 2 - self.cx), 40)
            self.app.key(close_key)
            self.assertTrue(self.app.wait_for_window_gone(ABOUT_CAPTION, timeout=15),
                            "%s left the about box open" % close_key)
            self.assert_still_open()


if __name__ == "__main__":
    unittest.main(verbosity=2)
