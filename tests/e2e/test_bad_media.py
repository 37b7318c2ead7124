"""The real program with media folders full of files it cannot use: in random order every key
press still shows one of the pictures that can be shown, and sounds that are no sounds stay
silent. (A listed file that cannot be shown in the stored order is tested with guard mode.)"""

import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402
from test_play import BLUE, MENU_HEIGHT, RED, colour_box  # noqa: E402

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "pictures")


def picture(path, colour):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["convert", "-size", "200x100", "xc:" + colour, path], check=True)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(data)


def make_bad_media(folder):
    """images and sounds folders; the only pictures that can be shown are a red one in a folder
    named like a picture and a blue one whose code page 932 name ends in a 0x5C byte."""
    images = os.path.join(folder, "images")
    write(os.path.join(images, "empty.png"), b"")
    write(os.path.join(images, "text.jpg"), "写真ではありません\r\n".encode("cp932"))
    with open(os.path.join(DATA, "huge_header.png"), "rb") as file:
        write(os.path.join(images, "huge.png"), file.read())
    picture(os.path.join(images, "x.png", "inner.png"), "red")
    picture(os.path.join(images, "表.png"), "blue")
    sounds = os.path.join(folder, "sounds")
    write(os.path.join(sounds, "a_noise.wav"), os.urandom(4096))
    write(os.path.join(sounds, "b_empty.wav"), b"")
    # A RIFF header that promises far more than the file holds.
    write(os.path.join(sounds, "c_short.wav"),
          b"RIFF\xff\xff\xff\x7fWAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00"
          b"\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data\xff\xff\xff\x7f" + b"\x00" * 64)
    os.makedirs(os.path.join(sounds, "d_folder.wav"))
    return images, sounds


class RandomOrderTest(unittest.TestCase):
    def test_every_press_shows_a_picture_that_can_be_shown(self):
        with tempfile.TemporaryDirectory() as media:
            images, sounds = make_bad_media(media)
            settings = {"音声": 1, "速さ": 10, "最大画像拡大率": 30}
            sections = {"SoundFile": {"表.png": 2}}
            with zzdriver.Zoomzap(images=images, sounds=sounds, settings=settings,
                                  sections=sections) as app:
                app.focus()
                x, y, width, height = app.geometry()
                client = (x, y + MENU_HEIGHT, x + width, y + height)
                seen = set()
                for key in "asdfghjk":
                    app.key(key)
                    app.settle(1.0)
                    shot = app.screenshot()
                    shown = [c for c in (RED, BLUE) if colour_box(shot, c, client)]
                    self.assertEqual(len(shown), 1, "after %r: pictures shown %r" % (key, shown))
                    seen.update(shown)
                    self.assertTrue(app.is_running(), "the program ended")
                self.assertTrue(seen)


if __name__ == "__main__":
    unittest.main()
