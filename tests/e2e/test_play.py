"""The play surface of the real program: a key press shows a picture at the centre that grows
on the timer and stops at the maximum; held keys and shortcut keys make no extra picture; with
the mouse on, a click shows a picture where the pointer is."""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402

MENU_HEIGHT = 19  # Wine's menu bar; the client area starts below it


RED = b"\xff\x00\x00"
BLUE = b"\x00\x00\xff"


def colour_box(shot, colour, area):
    """Smallest box around the pixels of exactly this colour inside area, or None. Row by
    row with bytes.find: a pixel loop in Python is far too slow for a whole screen."""
    left, top, right, bottom = area
    stride = shot.width * 3
    found = None
    for y in range(top, bottom):
        row = shot.data[y * stride + left * 3:y * stride + right * 3]
        first = _aligned_find(row, colour, row.find)
        if first is None:
            continue
        last = _aligned_find(row, colour, row.rfind)
        x0, x1 = left + first // 3, left + last // 3 + 1
        if found is None:
            found = [x0, y, x1, y + 1]
        else:
            found = [min(found[0], x0), found[1], max(found[2], x1), y + 1]
    return tuple(found) if found else None


def _aligned_find(row, colour, find):
    """First (or last, with rfind) match that starts on a pixel boundary."""
    forward = find == row.find
    position = find(colour)
    while position != -1 and position % 3 != 0:
        position = row.find(colour, position + 1) if forward else row.rfind(colour, 0, position)
    return None if position == -1 else position


def make_images(folder, pictures):
    """pictures: file name -> ImageMagick colour; each 200x100 pixels."""
    images = os.path.join(folder, "images")
    os.makedirs(images)
    for name, colour in pictures.items():
        subprocess.run(["convert", "-size", "200x100", "xc:" + colour,
                        os.path.join(images, name)], check=True)
    return images


class PlayTestCase(unittest.TestCase):
    pictures = {"a.png": "red"}
    settings = {}

    @classmethod
    def setUpClass(cls):
        cls.media = tempfile.TemporaryDirectory()
        images = make_images(cls.media.name, cls.pictures)
        cls.app = zzdriver.Zoomzap(images=images, settings=cls.settings)
        cls.app.__enter__()
        cls.app.focus()
        x, y, width, height = cls.app.geometry()
        cls.client = (x, y + MENU_HEIGHT, x + width, y + height)
        cls.cx = (cls.client[0] + cls.client[2]) // 2
        cls.cy = (cls.client[1] + cls.client[3]) // 2

    @classmethod
    def tearDownClass(cls):
        cls.app.__exit__(None, None, None)
        cls.media.cleanup()

    def box_of(self, shot, colour):
        return colour_box(shot, colour, self.client)

    def wait_for_box(self, colour, condition=lambda box: True):
        found = []

        def check(shot):
            box = self.box_of(shot, colour)
            if box is not None and condition(box):
                found.append(box)
                return True
            return False

        self.app.wait_for_screen(check, timeout=20)
        return found[0] if found else None

    def steady_box(self, colour):
        """The picture's box once two screenshots a second apart agree."""
        previous = None
        for _ in range(30):
            box = self.box_of(self.app.screenshot(), colour)
            if box is not None and box == previous:
                return box
            previous = box
            self.app.settle(1.0)
        self.fail("the picture never stopped changing: %s" % (previous,))


class GrowthTest(PlayTestCase):
    # Slow enough to catch the picture small: 10 % per 100 ms tick.
    settings = {"一回に広がる大きさ": 10, "速さ": 100, "最大画像拡大率": 50}

    def test_key_press_shows_a_centred_picture_that_grows_and_stops_at_the_maximum(self):
        shot = self.app.screenshot()
        self.assertIsNone(self.box_of(shot, RED), "a picture before any key")
        self.app.key("a")
        small = self.wait_for_box(RED)
        self.assertIsNotNone(small, "no picture after a key press")
        final = self.steady_box(RED)

        def width(box):
            return box[2] - box[0]

        self.assertLess(width(small), width(final), "the picture did not grow")
        client_width = self.client[2] - self.client[0]
        # Stops at the first width past half the client width; one 10 % step beyond at most.
        self.assertGreater(width(final), client_width // 2)
        self.assertLessEqual(width(final), client_width * 55 // 100 + 4)
        # Centred, and twice as wide as high like the picture itself.
        self.assertLessEqual(abs((final[0] + final[2]) // 2 - self.cx), 2, final)
        self.assertLessEqual(abs((final[1] + final[3]) // 2 - self.cy), 2, final)
        height = final[3] - final[1]
        self.assertLessEqual(abs(width(final) - 2 * height), 3, final)


class KeysTest(PlayTestCase):
    pictures = {"a.png": "red", "b.png": "blue"}
    settings = {"表示": 1, "画像ファイル名0": "a.png", "画像ファイル名1": "b.png",
                "速さ": 10, "最大画像拡大率": 30}

    def shown(self):
        """The colour of the picture on the screen once it has settled, or None."""
        self.app.settle(1.5)
        shot = self.app.screenshot()
        colours = [c for c in (RED, BLUE) if self.box_of(shot, c) is not None]
        self.assertLessEqual(len(colours), 1, "two pictures at once")
        return colours[0] if colours else None

    def test_shortcut_and_held_keys_make_no_new_picture(self):
        # In order, each picture-making press switches between a.png (red) and b.png (blue).
        self.app.key("x")
        first = self.shown()
        self.assertIsNotNone(first, "a key press made no picture")
        other = BLUE if first == RED else RED

        # Ctrl is a key press like any other; the C that the shortcut table turns into the
        # copy command must not switch back.
        self.app.key("ctrl+c")
        self.assertEqual(self.shown(), other, "Ctrl+C must make exactly one picture (Ctrl's)")

        # Holding a key: one picture, however long the auto-repeat runs. Sampled while held,
        # since an even number of repeats would end on the same picture.
        self.app.key_down("space")
        try:
            seen = [self.shown() for _ in range(3)]
        finally:
            self.app.key_up("space")
        self.assertEqual(seen, [first] * 3, "auto-repeat switched the pictures")


class MouseTest(PlayTestCase):
    settings = {"マウス操作": 1, "速さ": 10, "最大画像拡大率": 10}

    def test_click_shows_the_picture_where_the_pointer_is(self):
        x = self.client[0] + 400
        y = self.client[1] + 300
        self.app.click(x, y)
        box = self.wait_for_box(RED)
        self.assertIsNotNone(box, "no picture after a click")
        final = self.steady_box(RED)
        self.assertLessEqual(abs((final[0] + final[2]) // 2 - x), 3, final)
        self.assertLessEqual(abs((final[1] + final[3]) // 2 - y), 3, final)


if __name__ == "__main__":
    unittest.main()
