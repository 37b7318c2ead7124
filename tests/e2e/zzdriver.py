"""Drives the real Zoomzap.exe under Wine on an X display, for the end-to-end tests.

Each run gets a fresh folder with the program, its hook library, the given media folders and a
settings file, so that tests never see each other's files. Keys and clicks go through xdotool
(XTEST, as from a real keyboard), screenshots through ImageMagick's import.

Environment (set by CTest and tools/test): ZZ_BIN_DIR, WINEPREFIX, WINEDEBUG and DISPLAY.
"""

import os
import shutil
import subprocess
import tempfile
import time

DEFAULT_TIMEOUT = 30.0


class DriverError(Exception):
    pass


def _run(args, timeout=DEFAULT_TIMEOUT, check=True):
    result = subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, timeout=timeout)
    if check and result.returncode != 0:
        raise DriverError("%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace")))
    return result.stdout.decode("utf-8", errors="replace")


def wait_until(condition, timeout, interval=0.2):
    """Polls condition until it returns something true; returns that, or None on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


class Screenshot:
    """The whole screen as RGB bytes."""

    def __init__(self, ppm):
        fields = []
        position = 0
        # Header: magic, width, height, maximum value, each separated by whitespace.
        while len(fields) < 4:
            while ppm[position:position + 1].isspace():
                position += 1
            if ppm[position:position + 1] == b"#":
                position = ppm.index(b"\n", position) + 1
                continue
            end = position
            while not ppm[end:end + 1].isspace():
                end += 1
            fields.append(ppm[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise DriverError("unexpected screenshot format %r" % fields)
        self.width = int(fields[1])
        self.height = int(fields[2])
        self.data = ppm[position + 1:]

    def pixel(self, x, y):
        index = (y * self.width + x) * 3
        return tuple(self.data[index:index + 3])

    def count(self, box, predicate):
        """Pixels in box (left, top, right, bottom; right and bottom exclusive) that match."""
        left, top, right, bottom = box
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if predicate(self.pixel(x, y)))

    def bounding_box(self, box, predicate):
        """Smallest box around the matching pixels inside box, or None when none match."""
        left, top, right, bottom = box
        found = None
        for y in range(top, bottom):
            for x in range(left, right):
                if predicate(self.pixel(x, y)):
                    if found is None:
                        found = [x, y, x + 1, y + 1]
                    else:
                        found = [min(found[0], x), min(found[1], y),
                                 max(found[2], x + 1), max(found[3], y + 1)]
        return tuple(found) if found else None

    def crop(self, box):
        left, top, right, bottom = box
        return [self.data[(y * self.width + left) * 3:(y * self.width + right) * 3]
                for y in range(top, bottom)]


def is_white(pixel):
    return pixel == (255, 255, 255)


def is_dark(pixel):
    return all(channel < 100 for channel in pixel)


def write_settings(path, sections, unicode=False):
    """Writes an INI file as the platform's profile functions do on a Japanese system:
    code page 932, or UTF-16 with its mark when unicode; CR LF. sections maps a section name
    to a dict of keys and values."""
    lines = []
    for section, values in sections.items():
        lines.append("[%s]" % section)
        lines.extend("%s=%s" % (key, value) for key, value in values.items())
    text = "\r\n".join(lines) + "\r\n"
    with open(path, "wb") as file:
        file.write(b"\xff\xfe" + text.encode("utf-16-le") if unicode else text.encode("cp932"))


class Zoomzap:
    """One run of the program in a folder of its own. Use as a context manager: the program is
    always ended on the way out, whatever the test did."""

    def __init__(self, images=None, sounds=None, settings=None, sections=None,
                 locale="ja_JP.UTF-8", title=None, first_window=None, args=()):
        self.bin_dir = os.environ.get("ZZ_BIN_DIR")
        if not self.bin_dir:
            raise DriverError("ZZ_BIN_DIR must name the folder that holds Zoomzap.exe")
        self.images = images
        self.sounds = sounds
        self.locale = locale
        # A title of our own finds our window among any others on the display.
        self.title = title or "ZZE2E-%d" % os.getpid()
        self.sections = {"設定": dict(settings or {})}
        self.sections["設定"].setdefault("タイトル", self.title)
        self.sections.update(sections or {})
        # The window that start() waits for: the main window, unless a dialog comes first.
        self.first_window = first_window or self.title
        self.args = list(args)  # the program's command line after its name
        self.folder = None
        self.process = None
        self.window = None

    # Start and stop.

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self, timeout=DEFAULT_TIMEOUT):
        self.folder = tempfile.mkdtemp(prefix="zz-e2e-")
        shutil.copy2(os.path.join(self.bin_dir, "Zoomzap.exe"), self.folder)
        kidlock = os.path.join(self.bin_dir, "Kidlock.dll")
        if os.path.exists(kidlock):
            shutil.copy2(kidlock, self.folder)
        for name, source in (("images", self.images), ("sounds", self.sounds)):
            if source is not None:
                shutil.copytree(source, os.path.join(self.folder, name))
        write_settings(self.settings_path, self.sections)
        self.launch(timeout)

    def restart(self, timeout=DEFAULT_TIMEOUT):
        """Ends the program and starts it again in the same folder, with the files as they
        are now: the next start of a parent's toy."""
        self.end_process()
        self.launch(timeout)

    def launch(self, timeout):
        env = dict(os.environ)
        env.setdefault("WINEDEBUG", "-all")
        env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
        env["LC_ALL"] = env["LANG"] = self.locale
        # A server that outlives us, unless tools/test started one already (then a no-op):
        # a server started by the program itself would hold our pipes and die with it.
        subprocess.run(["wineserver", "-p"], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        # wine replaces itself with the Windows process, so this pid is the program's.
        self.process = subprocess.Popen(["wine", os.path.join(self.folder, "Zoomzap.exe")]
                                        + self.args,
                                        cwd=self.folder, env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.window = self.wait_for_window(self.first_window, timeout)
        if self.window is None:
            raise DriverError("no window %r within %s s" % (self.first_window, timeout))

    def stop(self):
        self.end_process()
        if self.folder is not None:
            shutil.rmtree(self.folder, ignore_errors=True)
            self.folder = None

    def end_process(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        self.process = None

    def is_running(self):
        return self.process is not None and self.process.poll() is None

    @property
    def settings_path(self):
        return os.path.join(self.folder, "Zoomzap.ini")

    def read_settings(self):
        """The settings file as text, in the encoding its byte-order mark names, else cp932."""
        with open(self.settings_path, "rb") as file:
            data = file.read()
        for mark, encoding in ((b"\xff\xfe", "utf-16-le"), (b"\xef\xbb\xbf", "utf-8")):
            if data.startswith(mark):
                return data[len(mark):].decode(encoding)
        return data.decode("cp932")

    def settings_values(self):
        """section -> key -> value, the first of each as the platform reads them."""
        values = {}
        section = None
        for line in self.read_settings().replace("\r\n", "\n").replace("\r", "\n").split("\n"):
            line = line.strip()
            if line.startswith("[") and "]" in line:
                section = values.setdefault(line[1:line.rindex("]")].strip(), {})
            elif "=" in line and section is not None:
                key, _, value = line.partition("=")
                section.setdefault(key.strip(), value.strip())
        return values

    # Windows.

    def windows(self):
        """Visible windows of the program: X window id -> caption."""
        if not self.is_running():
            return {}
        result = _run(["xdotool", "search", "--all", "--onlyvisible", "--pid",
                       str(self.process.pid), "--name", ""], check=False)
        found = {}
        for line in result.split():
            # Wine's WM_NAME holds '?' for what the C locale cannot show; the UTF-8
            # _NET_WM_NAME that getwindowname reads has the real caption.
            name = _run(["xdotool", "getwindowname", line], check=False).rstrip("\n")
            found[int(line)] = name
        return found

    def find_window(self, name):
        for window, caption in self.windows().items():
            if caption == name:
                return window
        return None

    def wait_for_window(self, name, timeout=DEFAULT_TIMEOUT):
        """Waits until a window of the program with exactly this caption is visible."""
        # Polled: xdotool's own waiting fails when Wine's short-lived start-up windows vanish.
        return wait_until(lambda: self.find_window(name), timeout, interval=0.5)

    def wait_for_window_gone(self, name, timeout=DEFAULT_TIMEOUT):
        return wait_until(lambda: self.find_window(name) is None, timeout) is not None

    def geometry(self, window=None):
        """(x, y, width, height) of the X window on the screen."""
        values = {}
        output = _run(["xdotool", "getwindowgeometry", "--shell", str(window or self.window)])
        for line in output.splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value) if value.lstrip("-").isdigit() else value
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    # Input.

    def focus(self, window=None):
        _run(["xdotool", "windowfocus", str(window or self.window)])
        time.sleep(0.3)

    def key(self, *keys):
        """Presses and releases each key combination, xdotool style: "a", "ctrl+c", "alt+F4"."""
        _run(["xdotool", "key", "--delay", "50"] + list(keys))

    def type_text(self, text):
        """Types text as a run of key presses into whatever has the focus."""
        _run(["xdotool", "type", "--delay", "50", text])

    def key_down(self, key):
        _run(["xdotool", "keydown", key])

    def key_up(self, key):
        _run(["xdotool", "keyup", key])

    def move_mouse(self, x, y):
        _run(["xdotool", "mousemove", "--sync", str(x), str(y)])

    def click(self, x, y, button=1):
        self.move_mouse(x, y)
        _run(["xdotool", "click", str(button)])

    # Screen.

    def screenshot(self):
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"],
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=DEFAULT_TIMEOUT, check=True).stdout
        return Screenshot(ppm)

    def save_screenshot(self, path):
        """For a person to look at when a test fails."""
        subprocess.run(["import", "-window", "root", path], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=DEFAULT_TIMEOUT, check=False)

    def wait_for_screen(self, condition, timeout=DEFAULT_TIMEOUT):
        """Takes screenshots until condition(screenshot) holds; returns it, or None."""
        result = []

        def check():
            shot = self.screenshot()
            if condition(shot):
                result.append(shot)
                return True
            return False

        return result[0] if wait_until(check, timeout, interval=0.3) else None

    def settle(self, seconds=1.0):
        """Gives the program time to react to input whose effect is 'nothing happens'."""
        time.sleep(seconds)
