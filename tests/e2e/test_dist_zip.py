#!/usr/bin/env python3
"""The release zip: what a parent downloads, unpacked into a fresh folder and started from there.

Needs ZZ_BIN_DIR (the Windows tree's bin folder), a display and a Wine prefix, as tools/test
sets them up.
"""

import os
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import wave
import zipfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import zzdriver  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
BIN_DIR = pathlib.Path(os.environ.get("ZZ_BIN_DIR", ROOT / "build" / "win" / "bin"))
TITLE = "ずーむざっぷ"
TOP_LEVEL = {"Zoomzap.exe", "Kidlock.dll", "Zoomzap.ini", "LICENSE.txt", "LICENSES.txt",
             "使いかた.txt", "images/", "sounds/"}


def project_version():
    for line in (ROOT / "CMakeLists.txt").read_text().splitlines():
        if line.startswith("project(Zoomzap VERSION "):
            return line.split()[2]
    raise AssertionError("no project() VERSION in CMakeLists.txt")


def read_settings(data):
    """Sections of a code page 932 settings file, keys in file order."""
    sections, current = {}, None
    for line in data.decode("cp932").split("\r\n"):
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif "=" in line:
            key, value = line.split("=", 1)
            current[key] = value
    return sections


def png_chunks(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    chunks, at = [], 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks.append((kind.decode("ascii"), data[at + 8:at + 8 + length]))
        at += 12 + length
    return chunks


class DistZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = pathlib.Path(tempfile.mkdtemp(prefix="zz-dist-"))
        out = cls.work / "out"
        subprocess.run([str(ROOT / "tools" / "dist"), "--bin", str(BIN_DIR), "--out", str(out)],
                       check=True)
        cls.zip_path = out / f"Zoomzap-{project_version()}-win64.zip"
        cls.archive = zipfile.ZipFile(cls.zip_path)
        cls.names = [info.filename for info in cls.archive.infolist()]

    @classmethod
    def tearDownClass(cls):
        cls.archive.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_contents_and_names(self):
        self.assertIsNone(self.archive.testzip())
        self.assertLess(self.zip_path.stat().st_size, 25 * 1024 * 1024)  # a quick download
        self.assertEqual({n for n in self.names if n.count("/") == 0 or
                          (n.count("/") == 1 and n.endswith("/"))}, TOP_LEVEL)
        for info in self.archive.infolist():
            if not info.filename.isascii():
                # Without the UTF-8 flag Explorer reads the names in the local code page.
                self.assertTrue(info.flag_bits & 0x800, info.filename)
        # The zip's LICENSES.txt adds the runtime's notices to the media's.
        committed = [p.relative_to(ROOT / "media").as_posix() for p in (ROOT / "media").rglob("*")
                     if p.is_file() and p.name != "LICENSES.txt"]
        self.assertGreater(len(committed), 40)
        for name in committed:
            self.assertEqual(self.archive.read(name), (ROOT / "media" / name).read_bytes(), name)
        for name in ("LICENSE.txt", "LICENSES.txt", "使いかた.txt"):
            text = self.archive.read(name)
            self.assertNotIn(b"\n", text.replace(b"\r\n", b""), f"{name}: bare line feed")
        guide = self.archive.read("使いかた.txt")
        self.assertTrue(guide.startswith(b"\xef\xbb\xbf"), "Notepad needs the BOM")
        for must in ("Ctrl", "Shift", "Del", "Ctrl＋Alt＋Del", "Windows キー＋L", "Program Files",
                     "images", "sounds", "アンインストール", "Zoomzap.exe\" /Unregister"):
            self.assertIn(must, guide.decode("utf-8-sig"))
        library = self.archive.read("Kidlock.dll")
        self.assertTrue(library.startswith(b"MZ"))
        for export in (b"Kidlock\0", b"SetHHook\0"):
            self.assertIn(export, library, "stripping must keep the exports")
        self.assertTrue(self.archive.read("Zoomzap.exe").startswith(b"MZ"))
        notices = self.archive.read("LICENSES.txt")
        self.assertIn(b"creativecommons.org/licenses/by/4.0/", notices)  # the pictures' licence
        self.assertIn(b"winpthreads", notices)

    def test_shipped_media_play_out_of_the_box(self):
        pictures = sorted(n[len("images/"):] for n in self.names
                          if n.startswith("images/") and not n.endswith("/"))
        sounds = sorted((n[len("sounds/"):] for n in self.names
                         if n.startswith("sounds/") and not n.endswith("/")), key=str.casefold)
        groups = {p.split("/")[0] for p in pictures}
        self.assertEqual(len(groups), 3)
        self.assertTrue(all("/" in p for p in pictures), "every picture in a group")
        self.assertGreaterEqual(len(pictures), 30)
        self.assertGreaterEqual(len(sounds), 10)

        settings = read_settings(self.archive.read("Zoomzap.ini"))
        main = settings["設定"]
        self.assertEqual(main["タイトル"], TITLE)
        self.assertEqual(main["音声"], "1")
        self.assertNotEqual(main["最大画像数"], "0", "with 10 only a third would show")
        self.assertEqual(main["グループ"], "")
        self.assertLessEqual(len(pictures), 100)
        self.assertLessEqual(len(sounds), 100)
        for key in ("一回に広がる大きさ", "速さ", "最大画像拡大率"):
            self.assertGreater(int(main[key]), 0, key)

        sound_map = settings["SoundFile"]
        self.assertEqual(sorted(sound_map), sorted(p.replace("/", "\\") for p in pictures))
        for picture, index in sound_map.items():
            self.assertIn(int(index), range(len(sounds)), picture)

        # Size and colours: tests/win/bundled_pictures_test.cpp, as the program decodes them.
        for name in pictures:
            chunks = png_chunks(self.archive.read("images/" + name))
            stamps = {kind for kind, _ in chunks} & {"tIME", "tEXt", "iTXt", "zTXt"}
            self.assertEqual(stamps, set(), name)
        for name in sounds:
            self.assertTrue(name.endswith(".wav"), name)
            self.check_sound(name, self.archive.read("sounds/" + name))

    def check_sound(self, name, data):
        path = self.work / "sound.wav"
        path.write_bytes(data)
        with wave.open(str(path)) as wav:
            self.assertEqual((wav.getsampwidth(), wav.getnchannels()), (2, 1), name)
            frames = wav.getnframes()
            self.assertLess(frames / wav.getframerate(), 1.0, name)
            samples = struct.unpack(f"<{frames}h", wav.readframes(frames))
        peak = max(abs(s) for s in samples)
        self.assertGreater(peak, 32767 // 4, f"{name} is too quiet")
        self.assertLess(peak, 32767, f"{name} clips")
        self.assertLess(max(abs(s) for s in samples[:3] + samples[-3:]), 200,
                        f"{name} starts or ends with a click")

    def test_runs_from_a_fresh_unpacked_folder(self):
        if not os.environ.get("DISPLAY"):
            self.fail("needs a display and a Wine prefix: run it through tools/test")
        # A folder with a space and Japanese in its path, as under a parent's documents.
        folder = self.work / "ドキュメント" / "ずーむ ざっぷ"
        self.archive.extractall(folder)
        settings_before = (folder / "Zoomzap.ini").read_bytes()
        for locale in ("C.UTF-8", "ja_JP.UTF-8"):
            with self.subTest(locale=locale):
                # Wine reads Unix file names in the locale's character set: Japanese names
                # need a UTF-8 locale that the C library really has.
                if locale not in installed_locales():
                    self.skipTest(f"{locale} is not generated on this machine")
                self.play_once(folder, locale)
                self.assertEqual((folder / "Zoomzap.ini").read_bytes(), settings_before,
                                 "starting and playing must not rewrite the settings")

    def play_once(self, folder, locale):
        with UnpackedProgram(folder, locale, cwd=self.work) as program:
            program.focus()
            program.key("a")
            x, y, width, height = program.geometry()
            box, _ = settled_picture(program, (x, y, x + width, y + height))
            left, right = box[0] - x, box[1] - x
            # The shipped maximum of 50 % of the width, not the built-in 100 %.
            self.assertGreater((right - left) / width, 0.4, box)
            self.assertLess((right - left) / width, 0.65, box)
            self.assertLess(abs((left + right) / 2 - width / 2), width * 0.05, box)


class UnpackedProgram(zzdriver.Zoomzap):
    """The program in a folder as a parent unpacked it, with the settings file it ships."""

    def __init__(self, folder, locale, cwd):
        super().__init__(locale=locale, title=TITLE)
        self.unpacked = folder
        self.cwd = cwd

    def start(self, timeout=90):
        env = dict(os.environ, LC_ALL=self.locale, LANG=self.locale, WINEDEBUG="-all")
        # Started from elsewhere: the program must find its media beside itself. The driver's
        # folder stays unset, so stopping ends the program and deletes nothing.
        self.process = subprocess.Popen(["wine", str(self.unpacked / "Zoomzap.exe")],
                                        cwd=self.cwd, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Polled rather than waited for with xdotool --sync, which stumbles over the
        # short-lived windows of a cold Wine start.
        self.window = zzdriver.wait_until(lambda: self.find_window(TITLE), timeout, interval=0.5)
        if self.window is None:
            raise zzdriver.DriverError(f"no window {TITLE!r} within {timeout} s")


class MediaGenerator(unittest.TestCase):
    def test_committed_media_is_what_the_generator_makes(self):
        with tempfile.TemporaryDirectory() as made:
            # Debian's python3, which has python3-pil.
            subprocess.run(["/usr/bin/python3", str(ROOT / "tools" / "make_media"), made],
                           check=True)
            made_files = sorted(p.relative_to(made).as_posix()
                                for p in pathlib.Path(made).rglob("*") if p.is_file())
            committed = sorted(p.relative_to(ROOT / "media").as_posix()
                               for p in (ROOT / "media").rglob("*") if p.is_file())
            self.assertEqual(made_files, committed)
            for name in made_files:
                self.assertEqual((pathlib.Path(made) / name).read_bytes(),
                                 (ROOT / "media" / name).read_bytes(),
                                 f"{name}: run tools/make_media and commit the result")


def installed_locales():
    listed = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    return {name.replace(".utf8", ".UTF-8") for name in listed}


def colourful_columns(shot, area):
    """Leftmost and rightmost screen column in area holding picture colour, and how many such
    pixels; every other column of every fourth row is enough and keeps this quick."""
    area_left, top, area_right, bottom = area
    left, right, count = area_right, -1, 0
    for y in range(top, bottom, 4):
        row = shot.data[y * shot.width * 3:(y + 1) * shot.width * 3]
        for x in range(area_left, area_right, 2):
            r, g, b = row[3 * x:3 * x + 3]
            if max(r, g, b) - min(r, g, b) > 20:  # the card and the picture, not text or white
                left, right, count = min(left, x), max(right, x), count + 1
    return (left, right), count


def settled_picture(program, area, timeout=30):
    """The picture's columns once it has grown and stopped: two large screenshots alike."""
    last = None
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        time.sleep(0.5)
        box, count = colourful_columns(program.screenshot(), area)
        if count > 2000 and (box, count) == last:
            return box, count
        last = (box, count)
    if not last[1]:
        raise AssertionError("no picture appeared after a key press")
    raise AssertionError(f"no large settled picture: {last}")


if __name__ == "__main__":
    unittest.main(verbosity=2)
