"""The release zip as a parent downloads it: its files, names, texts and media, and the program
unpacked into a fresh folder whose path holds a blank and Japanese, started from elsewhere in
two locales, shows a shipped picture at the shipped size and leaves the settings as they came.
The committed media are what tools/make_media makes."""

import array
import io
import os
import pathlib
import subprocess
import tempfile
import unittest
import wave
import zipfile

import zzdriver as zz

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOP_LEVEL = {"Zoomzap.exe", "Kidlock.dll", "Zoomzap.ini", "LICENSE.txt", "LICENSES.txt",
             "使いかた.txt", "images/", "sounds/"}
GUIDE_MUST_SAY = ("Ctrl", "Shift", "Del", "Ctrl＋Alt＋Del", "Windows キー＋L", "Program Files",
                  "images", "sounds", "アンインストール", "Zoomzap.exe\" /Unregister")


def files(root):
    return {p.relative_to(root).as_posix(): p for p in root.rglob("*") if p.is_file()}


def png_chunk_kinds(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    kinds, at = set(), 8
    while at < len(data):
        kinds.add(data[at + 4:at + 8].decode("ascii"))
        at += 12 + int.from_bytes(data[at:at + 4], "big")
    return kinds


class DistZipTest(unittest.TestCase):
    def test_the_release_zip_plays_out_of_the_box(self):
        version = next(line.split()[2] for line in (ROOT / "CMakeLists.txt").open()
                       if line.startswith("project(Zoomzap VERSION "))
        with tempfile.TemporaryDirectory() as work:
            subprocess.run([ROOT / "tools" / "dist", "--bin", os.environ["ZZ_BIN_DIR"], "--out",
                            work], check=True)
            path = pathlib.Path(work) / ("Zoomzap-%s-win64.zip" % version)
            self.assertLess(path.stat().st_size, 25 * 1024 * 1024)  # a quick download
            folder = pathlib.Path(work) / "ドキュメント" / "ずーむ ざっぷ"
            with zipfile.ZipFile(path) as archive:
                self.check_contents(archive)
                self.check_shipped_media(archive)
                archive.extractall(folder)
            settings = (folder / "Zoomzap.ini").read_bytes()
            # Wine reads Unix file names in the locale's character set: both are UTF-8.
            for locale in ("C.UTF-8", "ja_JP.UTF-8"):
                with zz.Zoomzap(folder=str(folder), locale=locale) as app:
                    self.check_a_shipped_picture_at_the_shipped_size(app)
                self.assertEqual((folder / "Zoomzap.ini").read_bytes(), settings,
                                 "starting and playing rewrote the settings in " + locale)

    def check_contents(self, archive):
        self.assertIsNone(archive.testzip())
        names = archive.namelist()
        self.assertEqual({n for n in names if n.rstrip("/").count("/") == 0}, TOP_LEVEL)
        for info in archive.infolist():  # without the UTF-8 flag Explorer reads the local code
            self.assertTrue(info.filename.isascii() or info.flag_bits & 0x800, info.filename)
        committed = files(ROOT / "media")
        committed.pop("LICENSES.txt")  # the zip's adds the runtime's notices to the media's
        self.assertGreater(len(committed), 40)
        for name, path in committed.items():
            self.assertEqual(archive.read(name), path.read_bytes(), name)
        for name in ("LICENSE.txt", "LICENSES.txt", "使いかた.txt"):
            self.assertNotIn(b"\n", archive.read(name).replace(b"\r\n", b""), "bare LF: " + name)
        guide = archive.read("使いかた.txt")
        self.assertTrue(guide.startswith(b"\xef\xbb\xbf"), "Notepad needs the BOM")
        for words in GUIDE_MUST_SAY:
            self.assertIn(words, guide.decode("utf-8-sig"))
        self.assertTrue(archive.read("Zoomzap.exe").startswith(b"MZ"))
        library = archive.read("Kidlock.dll")
        self.assertTrue(library.startswith(b"MZ"))
        self.assertIn(b"Kidlock\0", library, "stripping must keep the exports")
        self.assertIn(b"SetHHook\0", library, "stripping must keep the exports")
        notices = archive.read("LICENSES.txt")
        self.assertIn(b"creativecommons.org/licenses/by/4.0/", notices)  # the pictures'
        self.assertIn(b"winpthreads", notices)

    def check_shipped_media(self, archive):
        names = archive.namelist()
        pictures = [n[7:] for n in names if n.startswith("images/") and not n.endswith("/")]
        sounds = sorted((n[7:] for n in names if n.startswith("sounds/") and n != "sounds/"),
                        key=str.casefold)
        self.assertTrue(all("/" in p for p in pictures), "every picture in a group")
        self.assertEqual(len({p.split("/")[0] for p in pictures}), 3)
        self.assertTrue(30 <= len(pictures) <= 100 and 10 <= len(sounds) <= 100)
        lines = archive.read("Zoomzap.ini").decode("cp932").split("\r\n")
        sections = {}
        for line in lines:
            if line.startswith("["):
                section = sections.setdefault(line[1:-1], {})
            elif "=" in line:
                section.update([line.split("=", 1)])
        main = sections["設定"]
        self.assertEqual((main["タイトル"], main["音声"], main["グループ"]), ("ずーむざっぷ", "1", ""))
        self.assertNotEqual(main["最大画像数"], "0", "with 10 only a third would show")
        for key in ("一回に広がる大きさ", "速さ", "最大画像拡大率"):
            self.assertGreater(int(main[key]), 0, key)
        sound_of = sections["SoundFile"]
        self.assertEqual(sorted(sound_of), sorted(p.replace("/", "\\") for p in pictures))
        self.assertTrue(all(int(index) in range(len(sounds)) for index in sound_of.values()))
        # Sizes and colours: tests/win/bundled_pictures_test.cpp, as the program decodes them.
        for name in pictures:
            kinds = png_chunk_kinds(archive.read("images/" + name))
            self.assertFalse(kinds & {"tIME", "tEXt", "iTXt", "zTXt"}, "stamped: " + name)
        for name in sounds:
            with wave.open(io.BytesIO(archive.read("sounds/" + name))) as sound:
                self.assertEqual((sound.getsampwidth(), sound.getnchannels()), (2, 1), name)
                self.assertLess(sound.getnframes() / sound.getframerate(), 1.0, name)
                samples = array.array("h", sound.readframes(sound.getnframes()))
            self.assertTrue(32767 // 4 < max(map(abs, samples)) < 32767, "too quiet or clips")
            self.assertLess(max(map(abs, samples[:3] + samples[-3:])), 200, "clicks: " + name)

    def check_a_shipped_picture_at_the_shipped_size(self, app):
        app.focus()
        app.key("a")
        x, y, w, h = app.geometry()

        def picture(shot):  # the card and the picture, saturated, unlike text or white
            return zz.mask(shot.convert("HSV"), (0, 21, 0), (255, 255, 255), (x, y, x + w, y + h))

        previous = None
        for _ in range(60):  # until two large screenshots half a second apart agree
            zz.settle(0.5)
            shown = picture(zz.screenshot())
            found = (shown.getbbox(), shown.histogram()[255])
            if found[1] > 16000 and found == previous:
                break
            previous = found
        else:
            self.fail("no large settled picture: %s" % (previous,))
        left, right = found[0][0], found[0][2]
        # The shipped maximum of 50 % of the width, not the built-in 100 %.
        self.assertTrue(0.4 < (right - left) / w < 0.65, found)
        self.assertLess(abs((left + right) / 2 - w / 2), w * 0.05, found)

    def test_committed_media_is_what_the_generator_makes(self):
        with tempfile.TemporaryDirectory() as made:
            subprocess.run(["/usr/bin/python3", ROOT / "tools" / "make_media", made], check=True)
            made, committed = files(pathlib.Path(made)), files(ROOT / "media")
            self.assertEqual(sorted(made), sorted(committed))
            for name, path in made.items():
                self.assertEqual(path.read_bytes(), committed[name].read_bytes(),
                                 name + ": run tools/make_media and commit the result")


if __name__ == "__main__":
    unittest.main()
