"""Drives the real Zoomzap.exe under Wine on the test's own X display (tools/wine-run sets
DISPLAY and WINEPREFIX, CTest ZZ_BIN_DIR): keys and clicks by xdotool, screenshots by Pillow."""

import configparser
import os
import pathlib
import shutil
import subprocess
import tempfile
import time

from PIL import Image, ImageChops, ImageGrab

RED, GREEN, BLUE = (255, 0, 0), (0, 255, 0), (0, 0, 255)
MENU_HEIGHT = 19  # Wine's menu bar; the client area starts below it
TITLE = "ZZE2E"


def run(*args, check=True):
    done = subprocess.run(args, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
    assert done.returncode == 0 or not check, "%s: %s" % (args, done.stderr.decode())
    return done.stdout.decode("utf-8", errors="replace")


def xdo(*args):
    return run("xdotool", *args)


def wait_until(condition, timeout=20, interval=0.2):
    """Polls condition until it gives something true: that, or None."""
    deadline = time.monotonic() + timeout
    while not (value := condition()) and time.monotonic() < deadline:
        time.sleep(interval)
    return value or None


def settle(seconds=1.0):  # time for input whose effect is that nothing happens
    time.sleep(seconds)


def screenshot():
    return ImageGrab.grab(xdisplay=os.environ["DISPLAY"])


def wait_for_screen(condition, timeout=20):  # the first screenshot that meets it, or None
    return wait_until(lambda: next(filter(condition, [screenshot()]), None), timeout, 0.3)


def steady(measure, interval=1.0, tries=30):
    """measure(screenshot) once two in a row, interval apart, agree and are true."""
    previous = None
    for _ in range(tries):
        found = measure(screenshot())
        if found and found == previous:
            return found
        previous = found
        settle(interval)
    raise AssertionError("the screen never settled: %s" % (previous,))


def mask(image, low, high, area=None):  # the pixels whose every channel is within low..high
    bands = [band.point(lambda v, lo=lo, hi=hi: 255 if lo <= v <= hi else 0)
             for band, lo, hi in zip((image.crop(area) if area else image).split(), low, high)]
    return ImageChops.darker(ImageChops.darker(bands[0], bands[1]), bands[2])


def dark(shot, area=None):
    return mask(shot, (0, 0, 0), (99, 99, 99), area).histogram()[255]


def box(shot, colour, area=None, high=None):  # of that colour (to high), or None
    found = mask(shot, colour, high or colour, area).getbbox()
    return found and tuple(a + b for a, b in zip(found, (area or (0, 0))[:2] * 2))


def shown(shot, area=None):
    return [colour for colour in (RED, GREEN, BLUE) if box(shot, colour, area)]


def width(found):
    return found[2] - found[0] if found else 0


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    pathlib.Path(path).write_bytes(data)


def write_settings(path, sections):
    """Sections {name: {key: value}} as the platform writes them on a Japanese system."""
    text = "".join("[%s]\r\n" % name + "".join("%s=%s\r\n" % item for item in values.items())
                   for name, values in sections.items())
    write_file(path, text.encode("cp932"))


def read_settings(path):
    return pathlib.Path(path).read_bytes().decode("cp932")


def settings_values(path):
    parser = configparser.ConfigParser(delimiters="=", interpolation=None, strict=False)
    parser.optionxform = str
    parser.read_string(read_settings(path))
    return {name: dict(parser[name]) for name in parser.sections()}


def windows(pid=None):  # X window id -> caption in UTF-8 (_NET_WM_NAME), of a process or all
    only = ["--pid", str(pid)] if pid else []
    found = run("xdotool", "search", "--all", "--onlyvisible", *only, "--name", "", check=False)
    return {int(w): run("xdotool", "getwindowname", w, check=False).rstrip("\n")
            for w in found.split()}


def find_window(caption):
    return next((w for w, name in windows().items() if name == caption), None)


class Zoomzap:
    """The program in a fresh folder, or in one as a parent unpacked it; ended on the way out."""

    def __init__(self, pictures=None, settings=(), sections=(), locale="ja_JP.UTF-8",
                 folder=None):
        if folder is None:  # a fresh one, removed with this object
            self.temporary = tempfile.TemporaryDirectory(prefix="zz-e2e-")
            folder = self.temporary.name
            for name in ("Zoomzap.exe", "Kidlock.dll"):
                shutil.copy2(os.path.join(os.environ["ZZ_BIN_DIR"], name), folder)
            for name, colour in dict(pictures or {}).items():  # 200x100 pictures: path -> colour
                os.makedirs(os.path.dirname(os.path.join(folder, "images", name)), exist_ok=True)
                Image.new("RGB", (200, 100), colour).save(os.path.join(folder, "images", name))
            write_settings(os.path.join(folder, "Zoomzap.ini"),
                           {"設定": dict({"タイトル": TITLE}, **dict(settings)), **dict(sections)})
        self.folder, self.settings_path = folder, os.path.join(folder, "Zoomzap.ini")
        self.sections = settings_values(self.settings_path)
        self.title = self.sections["設定"]["タイトル"]
        self.locale = locale

    def __enter__(self):
        # From elsewhere: it must find its files beside itself. wine becomes the program.
        self.process = subprocess.Popen(
            ["wine", os.path.join(self.folder, "Zoomzap.exe")], cwd=os.path.dirname(self.folder),
            env=dict(os.environ, LC_ALL=self.locale, LANG=self.locale), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = wait_until(lambda: find_window(self.title), 60, 0.5)
        assert self.window, "no window %r" % self.title
        return self

    def __exit__(self, *exc):
        self.process.kill()
        self.process.wait()

    def alone(self):
        return self.process.poll() is None and list(windows(self.process.pid)) == [self.window]

    def dialog(self, *keys, caption=None, at=None):
        """Keys at window at (or the main one); the focus to the window captioned so, or any."""
        if keys:
            self.focus(at)
            self.key(*keys)
        found = wait_until(lambda: find_window(caption) if caption else next(
            (w for w in windows(self.process.pid) if w != self.window), None))
        assert found, "%s opened no window %s" % (keys, caption or "")
        self.focus(found)
        return found

    def answer(self, *keys, caption=None, opened_by=()):
        """Keys at the dialog (opened by those keys at the main window), again if a busy Wine
        lost them; then the main window. The dialogs answered: two if another came after it."""
        answered = {self.dialog(*opened_by, caption=caption)}
        for _ in range(3):
            self.key(*keys)
            if wait_until(lambda: not find_window(caption) if caption else self.alone(), 10):
                self.focus()
                return answered
            answered.add(self.dialog(caption=caption))
        raise AssertionError("%s left open: %s" % (keys, windows(self.process.pid)))

    def geometry(self):  # x, y, width, height of the X window
        values = dict(line.partition("=")[::2] for line in
                      xdo("getwindowgeometry", "--shell", str(self.window)).split())
        return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))

    def client(self):  # the play surface: below the menu, unless guarded
        x, y, w, h = self.geometry()
        return x, y + (MENU_HEIGHT if y > 0 else 0), x + w, y + h

    def guarded(self):
        return self.geometry()[:2] == (0, 0)

    def focus(self, window=None):
        xdo("windowfocus", str(window or self.window))
        settle(0.3)

    def key(self, *keys):  # each pressed and released, as xdotool names them: "a", "ctrl+c"
        xdo("key", "--delay", "50", *keys)

    def shows(self, key, colour, timeout=20):  # after the key, the box of the colour, or None
        self.key(key)
        return wait_until(lambda: box(screenshot(), colour, self.client()), timeout, 0.3)

    def assert_guarded(self, context):
        assert self.process.poll() is None, "the program ended " + context
        assert self.alone(), "another window " + context
        shot = screenshot()
        assert self.geometry() == (0, 0) + shot.size, "not covering the screen " + context
        # The text of a menu bar or caption: pictures are pure colours blended with white.
        assert dark(shot, (0, 0, shot.width // 2, MENU_HEIGHT + 20)) == 0, (
            "a menu bar or caption " + context)

    def wait_guarded(self, context):
        assert wait_until(self.guarded), "not guarded " + context
        settle(1.0)  # restyled, the window takes the focus again once it has settled
        self.focus()

    def leave_guard(self, context):
        xdo("keydown", "ctrl", "keydown", "shift", "key", "Delete", "keyup", "shift", "keyup",
            "ctrl")
        assert wait_until(lambda: not self.guarded()), "still guarded " + context

        def back(shot):  # room for a caption and a menu bar where the window is now
            x, y = self.geometry()[:2]
            return y > x + 10 and dark(shot, (x, y, x + 400, y + MENU_HEIGHT)) > 30

        assert wait_for_screen(back), "no caption or menu bar " + context
        self.focus()

    def assert_key_shows_a_new_picture(self, context):
        settle(0.5)
        before = shown(screenshot())
        self.key("x")
        assert wait_for_screen(lambda s: len(shown(s)) == 1 and shown(s) != before), (
            "a key showed no new picture %s (before: %s)" % (context, before))
