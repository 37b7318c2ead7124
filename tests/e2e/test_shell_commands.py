"""The document commands and the registry of the real program: Ctrl+O asks for a file and starts
the play surface afresh (Ctrl+N, which runs the start-up again, is tested with guard mode), the opened files enter the recent-file list, Ctrl+S writes an empty file and
never overwrites an opened file unasked, and a stand-alone start repairs the automation entries
that /Unregister removes and reports."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import zzdriver  # noqa: E402
from test_play import RED, colour_box, make_images  # noqa: E402

CLASS_ID = "{7A23AB85-429D-4B22-BF08-F6F0CCFDA4AE}"
CLASSES = r"HKCU\Software\Classes"
RECENT = r"HKCU\Software\Local AppWizard-Generated Applications\Zoomzap\Recent File List"


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def reg(*args):
    env = dict(os.environ, WINEDEBUG="-all")
    result = subprocess.run(["wine", "reg"] + list(args), env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
    return result.returncode, result.stdout.decode("utf-8", errors="replace")


def reg_value(key, name=None):
    """A string value of the registry, or None when the key or value is missing."""
    code, output = reg("query", key, *(["/v", name] if name else ["/ve"]))
    if code != 0:
        return None
    for line in output.splitlines():
        parts = line.strip().split("REG_SZ", 1)
        if len(parts) == 2:
            return parts[1].strip()
    return None


class ShellTestCase(unittest.TestCase):
    def visible_caption(self, pid):
        """The caption "Zoomzap" once a window of the process shows it, focused for the key."""
        found = zzdriver._run(["xdotool", "search", "--onlyvisible", "--pid", str(pid),
                               "--name", ""], check=False).split()
        for window in found:
            caption = zzdriver._run(["xdotool", "getwindowname", window], check=False).strip()
            if caption == "Zoomzap":
                zzdriver._run(["xdotool", "windowfocus", window], check=False)
                return caption
        return None

    def dialog(self, app):
        """The program's visible window that is not the main frame, once there is one."""
        return zzdriver.wait_until(
            lambda: next((w for w, c in app.windows().items() if c != app.title), None), 20)

    def answer_file_dialog(self, app, key, path):
        app.focus()
        app.key(key)
        dialog = self.dialog(app)
        self.assertIsNotNone(dialog, "%s showed no file dialog" % key)
        app.focus(dialog)
        if path is None:
            app.key("Escape")
        else:
            # The name field has the focus: a full path there picks the file.
            zzdriver._run(["xdotool", "key", "ctrl+a"])
            zzdriver._run(["xdotool", "type", "--delay", "30", wine_path(path)])
            app.key("Return")
        self.assertTrue(zzdriver.wait_until(
            lambda: len(app.windows()) == 1, 20), "the file dialog stayed open")


class DocumentCommandsTest(ShellTestCase):
    def test_open_starts_afresh_and_fills_the_recent_list_and_save_writes_empty(self):
        reg("delete", RECENT, "/f")
        with tempfile.TemporaryDirectory() as media:
            images = make_images(media, {"a.png": "red"})
            settings = {"速さ": 10, "最大画像拡大率": 30}
            # An option it does not know and a path with a blank that nobody quoted: it starts
            # all the same, with that file.
            spaced = os.path.join(media, "my file.zz")
            open(spaced, "w").close()
            args = ["/Unknown", wine_path(os.path.join(media, "my")), "file.zz"]
            with zzdriver.Zoomzap(images=images, settings=settings, args=args) as app:
                self.assertEqual(reg_value(RECENT, "File1"), wine_path(spaced))
                x, y, width, height = app.geometry()
                frame = (x, y, x + width, y + height)
                first = os.path.join(app.folder, "first.txt")
                second = os.path.join(app.folder, "second.txt")
                for name in (first, second):
                    with open(name, "w") as file:
                        file.write("keep me")

                app.focus()
                app.key("a")
                self.assertIsNotNone(app.wait_for_screen(lambda s: colour_box(s, RED, frame)),
                                     "no picture before the open command")
                self.answer_file_dialog(app, "ctrl+o", first)
                self.assertIsNotNone(
                    app.wait_for_screen(lambda s: colour_box(s, RED, frame) is None),
                    "the picture stayed after a file was opened")
                self.assertEqual(reg_value(RECENT, "File1"), wine_path(first))

                self.answer_file_dialog(app, "ctrl+o", second)
                self.assertEqual(reg_value(RECENT, "File1"), wine_path(second))
                self.assertEqual(reg_value(RECENT, "File2"), wine_path(first))
                self.assertEqual(reg_value(RECENT, "File3"), wine_path(spaced))

                # The opened file is never written over unasked: Ctrl+S asks, and Escape
                # leaves it as it was.
                self.answer_file_dialog(app, "ctrl+s", None)
                with open(second) as file:
                    self.assertEqual(file.read(), "keep me")

                saved = os.path.join(app.folder, "saved.zz")
                self.answer_file_dialog(app, "ctrl+s", saved)
                self.assertTrue(zzdriver.wait_until(lambda: os.path.exists(saved), 10),
                                "Ctrl+S wrote no file")
                self.assertEqual(os.path.getsize(saved), 0)
                self.assertEqual(reg_value(RECENT, "File1"), wine_path(saved))
                self.assertTrue(app.is_running())
        reg("delete", RECENT, "/f")

    def test_print_asks_through_the_print_dialog(self):
        # This Wine has no printer: the dialog says so itself, once, and nothing else follows.
        with zzdriver.Zoomzap() as app:
            app.focus()
            app.key("ctrl+p")
            dialog = self.dialog(app)
            self.assertIsNotNone(dialog, "Ctrl+P showed no print dialog")
            app.focus(dialog)
            app.key("Return")
            self.assertTrue(zzdriver.wait_until(lambda: len(app.windows()) == 1, 20))
            # Wine's dialog may flash once more while it gives up; a message of the program's
            # own would carry the program's name.
            ours = zzdriver.wait_until(lambda: "Zoomzap" in app.windows().values(), 3)
            self.assertIsNone(ours, "a second message followed")
            self.assertTrue(zzdriver.wait_until(lambda: len(app.windows()) == 1, 20))
            self.assertTrue(app.is_running())

    def test_print_option_without_a_printer_says_so_and_ends(self):
        with tempfile.TemporaryDirectory() as folder:
            shutil.copy2(os.path.join(os.environ["ZZ_BIN_DIR"], "Zoomzap.exe"), folder)
            document = os.path.join(folder, "a.zz")
            open(document, "w").close()
            env = dict(os.environ, WINEDEBUG="-all")
            # A Windows path: a Unix one starts with "/" and would be taken for an option.
            process = subprocess.Popen(["wine", os.path.join(folder, "Zoomzap.exe"), "/p",
                                        wine_path(document)], env=env, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                message = zzdriver.wait_until(lambda: self.visible_caption(process.pid), 30)
                self.assertEqual(message, "Zoomzap", "no message about the missing printer")
                zzdriver._run(["xdotool", "key", "Return"])
                self.assertEqual(process.wait(timeout=30), 1)
            finally:
                if process.poll() is None:
                    process.kill()
                    process.wait(timeout=10)

class RegistryTest(ShellTestCase):
    def test_stand_alone_start_repairs_and_unregister_removes_the_entries(self):
        server_key = CLASSES + "\\CLSID\\" + CLASS_ID + "\\LocalServer32"
        reg("add", server_key, "/ve", "/d", "broken", "/f")
        reg("delete", CLASSES + "\\Zoomzap.Document", "/f")
        with zzdriver.Zoomzap() as app:
            program = wine_path(os.path.join(app.folder, "Zoomzap.exe"))
            self.assertEqual(reg_value(server_key), '"%s" /Automation' % program)
            self.assertEqual(reg_value(CLASSES + "\\Zoomzap.Document"), "Zoomz Document")
            self.assertEqual(reg_value(CLASSES + "\\Zoomzap.Document\\CLSID"), CLASS_ID)
            # A second instance with /Unregister, as the guide has a parent type it, removes
            # them, says so and ends.
            env = dict(os.environ, WINEDEBUG="-all")
            done = subprocess.Popen(["wine", os.path.join(app.folder, "Zoomzap.exe"),
                                     "/Unregister"], env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                message = zzdriver.wait_until(lambda: self.visible_caption(done.pid), 30)
                self.assertEqual(message, "Zoomzap", "no message after /Unregister")
                zzdriver._run(["xdotool", "key", "Return"])
                self.assertEqual(done.wait(timeout=30), 0)
            finally:
                if done.poll() is None:
                    done.kill()
                    done.wait(timeout=10)
            self.assertIsNone(reg_value(server_key))
            self.assertIsNone(reg_value(CLASSES + "\\Zoomzap.Document"))
            self.assertEqual(reg("query", CLASSES + "\\CLSID\\" + CLASS_ID)[0], 1)


if __name__ == "__main__":
    unittest.main(verbosity=2)
