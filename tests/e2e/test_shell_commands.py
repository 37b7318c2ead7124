"""The document commands, the command line and the registry of the real program: a stand-alone
start repairs the automation entries and takes a file named on the command line, also after an
option it does not know and with an unquoted blank; Ctrl+O asks for a file and starts the play
surface afresh, and the opened files enter the recent-file list; Ctrl+S writes an empty file and
never overwrites an opened file unasked; Ctrl+P asks through the print dialog; /Unregister
removes the entries and says so; /p without a printer says so and ends. (Ctrl+N, which runs the
start-up again, is tested with the settings and guard mode.)"""

import os
import tempfile
import unittest

import zzdriver as zz

CLASS_ID = "{7A23AB85-429D-4B22-BF08-F6F0CCFDA4AE}"
CLASSES = r"HKCU\Software\Classes"
SERVER = CLASSES + "\\CLSID\\" + CLASS_ID + "\\LocalServer32"
PROG_ID = CLASSES + "\\Zoomzap.Document"
RECENT = r"HKCU\Software\Local AppWizard-Generated Applications\Zoomzap\Recent File List"


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def reg(*args):
    return zz.run("wine", "reg", *args, check=False, timeout=60)


def reg_value(key, name=None):
    """A string value of the registry, or None when the key or value is missing."""
    for line in reg("query", key, *(["/v", name] if name else ["/ve"])).splitlines():
        if "REG_SZ" in line:
            return line.split("REG_SZ", 1)[1].strip()
    return None


class ShellCommandsTest(unittest.TestCase):
    def test_command_line_document_commands_and_registry(self):
        reg("delete", RECENT, "/f")
        reg("add", SERVER, "/ve", "/d", "broken", "/f")
        reg("delete", PROG_ID, "/f")
        with tempfile.TemporaryDirectory() as media:
            spaced = os.path.join(media, "my file.zz")
            open(spaced, "w").close()
            args = ["/Unknown", wine_path(os.path.join(media, "my")), "file.zz"]
            with zz.Zoomzap(images=zz.make_images(media, {"a.png": zz.RED}), args=args,
                            settings={"速さ": 10, "最大画像拡大率": 30}) as app:
                program = wine_path(os.path.join(app.folder, "Zoomzap.exe"))
                self.assertEqual(reg_value(SERVER), '"%s" /Automation' % program)
                self.assertEqual(reg_value(PROG_ID), "Zoomz Document")
                self.assertEqual(reg_value(PROG_ID + "\\CLSID"), CLASS_ID)
                self.assertEqual(reg_value(RECENT, "File1"), wine_path(spaced))
                self.open_and_save(app, wine_path(spaced))

                # This Wine has no printer: its dialog says so, once, and nothing else follows;
                # a message of the program's own would carry the program's name.
                self.answer_dialog(app, "ctrl+p", "Return")
                self.assertIsNone(zz.wait_until(lambda: zz.find_window("Zoomzap"), 3))
                self.assertTrue(zz.wait_until(app.alone))

                # As the guide has a parent type it: removes the entries, says so and ends.
                self.assertEqual(self.told_and_ended(app, "/Unregister"), 0)
                self.assertIsNone(reg_value(SERVER))
                self.assertIsNone(reg_value(PROG_ID))
                self.assertNotIn(CLASS_ID, reg("query", CLASSES + "\\CLSID"))
                # A Windows path: a Unix one starts with "/" and would be taken for an option.
                self.assertEqual(self.told_and_ended(app, "/p", wine_path(spaced)), 1,
                                 "/p without a printer")
                self.assertTrue(app.running())

    def open_and_save(self, app, spaced):
        first, second, saved = (os.path.join(app.folder, name)
                                for name in ("first.txt", "second.txt", "saved.zz"))
        for name in (first, second):
            zz.write_file(name, b"keep me")
        app.focus()
        app.key("a")
        self.assertTrue(zz.wait_for_screen(lambda s: zz.box(s, zz.RED)), "no picture")
        self.answer_dialog(app, "ctrl+o", first)
        self.assertTrue(zz.wait_for_screen(lambda s: zz.box(s, zz.RED) is None),
                        "the picture stayed after a file was opened")
        self.answer_dialog(app, "ctrl+o", second)
        self.assertEqual([reg_value(RECENT, "File%d" % n) for n in (1, 2, 3)],
                         [wine_path(second), wine_path(first), spaced])
        # The opened file is never written over unasked: Ctrl+S asks, and Escape leaves it.
        self.answer_dialog(app, "ctrl+s", "Escape")
        with open(second, "rb") as file:
            self.assertEqual(file.read(), b"keep me")
        self.answer_dialog(app, "ctrl+s", saved)
        self.assertTrue(zz.wait_until(lambda: os.path.exists(saved)), "Ctrl+S wrote no file")
        self.assertEqual(os.path.getsize(saved), 0)
        self.assertEqual(reg_value(RECENT, "File1"), wine_path(saved))

    def answer_dialog(self, app, key, answer):
        """Presses key, then answers the dialog it opens with a key, or with a full path in
        the name field, which has the focus."""
        app.focus()
        app.key(key)
        dialog = app.other_window()
        self.assertIsNotNone(dialog, "%s showed no dialog" % key)
        app.focus(dialog)
        if answer.startswith("/"):
            zz.xdo("key", "ctrl+a", "type", "--delay", "30", wine_path(answer))
            answer = "Return"
        app.key(answer)
        self.assertTrue(zz.wait_until(app.alone),
                        "the dialog of %s stayed open" % key)

    def told_and_ended(self, app, *args):
        """Starts another process of the program with args; its exit code once its message,
        captioned with the program's name, is answered."""
        process = app.start(*args)
        try:
            message = zz.wait_until(lambda: zz.find_window("Zoomzap"), 30)
            self.assertIsNotNone(message, "no message after %s" % (args,))
            app.focus(message)
            app.key("Return")
            return process.wait(timeout=30)
        finally:
            if process.poll() is None:
                process.kill()
                process.wait()


if __name__ == "__main__":
    unittest.main()
