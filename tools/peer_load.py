#!/usr/bin/python3
"""The peer's own picture loading, headless, on a folder of photos: prints its figures for
tools/bench. Runs the loader of Debian's bambam package as installed, with the Python it is
installed for; copies none of it.

usage: peer_load.py PHOTO_FOLDER
"""
import gettext
import os
import resource
import sys
import time
import types

START = time.perf_counter()
os.environ.setdefault("SDL_VIDEODRIVER", "dummy")
os.environ.setdefault("SDL_AUDIODRIVER", "dummy")
os.environ["PYGAME_HIDE_SUPPORT_PROMPT"] = "1"
PEER = "/usr/games/bambam"


def peak_rss_mb():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024.0


def load_peer():
    # A script without a .py name: its source run as a module of its own, so its main never runs.
    module = types.ModuleType("peer")
    module.__file__ = PEER
    with open(PEER, encoding="utf-8") as file:
        exec(compile(file.read(), PEER, "exec"), module.__dict__)
    return module


def main():
    if len(sys.argv) != 2 or not os.path.isdir(sys.argv[1]):
        sys.exit(__doc__)
    gettext.install("bambam")
    peer = load_peer()
    import pygame

    pygame.init()
    # Its loader converts every picture to the screen's format: a screen must exist.
    pygame.display.set_mode((1920, 1080))
    window_ms = (time.perf_counter() - START) * 1000
    before_mb = peak_rss_mb()
    game = peer.Bambam()
    game.data_dirs = [sys.argv[1]]
    # A key pressed as the load starts; the peer reads its events only between its own steps.
    pygame.event.post(pygame.event.Event(pygame.KEYDOWN, key=pygame.K_a))
    start = time.perf_counter()
    images = game.load_items(
        game.glob_data([".gif", ".jpg", ".jpeg", ".png", ".tif", ".tiff"]), [],
        game.load_image, "no picture loaded")
    seconds = time.perf_counter() - start
    key_read = any(event.type == pygame.KEYDOWN for event in pygame.event.get())
    silence_ms = (time.perf_counter() - start) * 1000
    print(f"PEER bambam window_ms={window_ms:.0f} loaded_s={seconds:.1f} count={len(images)} "
          f"peak_mb={peak_rss_mb():.0f} before_mb={before_mb:.0f} "
          f"silence_ms={silence_ms if key_read else -1:.0f}")


if __name__ == "__main__":
    main()
