#!/usr/bin/env python3
"""A short scripted session of the toy on a display without a person: a few key presses,
guard mode on and off, a screenshot after each step.

Usage: play_session.py PROGRAM_FOLDER SCREENSHOT_FOLDER  (WINEPREFIX and DISPLAY set)
"""

import os
import subprocess
import sys
import time

TITLE = "ずーむざっぷ"


def run(*args, timeout=60):
    return subprocess.run(list(args), stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, timeout=timeout).stdout.decode()


def shot(folder, name):
    path = os.path.join(folder, name + ".png")
    run("import", "-window", "root", path)
    print(path)
    return path


def shows_picture(path):
    """Whether a picture covers much of the middle of the screen: the empty play surface is
    white there but for one line of text."""
    rgb = subprocess.run(["convert", path, "-gravity", "center", "-crop", "50%x50%+0+0",
                          "-resize", "64x36!", "-depth", "8", "rgb:-"],
                         stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, timeout=60).stdout
    pixels = [rgb[i:i + 3] for i in range(0, len(rgb) - 2, 3)]
    return sum(1 for pixel in pixels if min(pixel) < 240) > len(pixels) // 4


def main(program_folder, shots):
    os.makedirs(shots, exist_ok=True)
    program = subprocess.Popen(["wine", "Zoomzap.exe"], cwd=program_folder,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        window = run("xdotool", "search", "--sync", "--onlyvisible", "--name", TITLE,
                     timeout=120).split()[0]
        run("xdotool", "windowfocus", window)
        time.sleep(2)
        shot(shots, "1-start")
        pictures = 0
        for step, key in enumerate(["a", "s", "d"], start=2):
            run("xdotool", "key", key)
            time.sleep(2)
            pictures += shows_picture(shot(shots, "%d-key-%s" % (step, key)))
        # Guard mode through the menu (表示, then its one entry), and back with Ctrl+Shift+Del.
        run("xdotool", "key", "alt+v")
        time.sleep(1)
        run("xdotool", "key", "Return")
        time.sleep(2)
        shot(shots, "5-guard-mode")
        run("xdotool", "key", "space")
        time.sleep(2)
        pictures += shows_picture(shot(shots, "6-guard-mode-picture"))
        run("xdotool", "keydown", "ctrl", "keydown", "shift", "key", "Delete",
            "keyup", "shift", "keyup", "ctrl")
        time.sleep(2)
        shot(shots, "7-normal-again")
        print("%d of 4 screenshots after a key press show a picture" % pictures)
        return pictures == 4
    finally:
        run("wine", "taskkill", "/im", "Zoomzap.exe")
        try:
            program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            program.kill()


if __name__ == "__main__":
    sys.exit(0 if main(sys.argv[1], sys.argv[2]) else 1)
