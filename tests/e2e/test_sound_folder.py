#!/usr/bin/env python3
"""Plays the real game from a folder named `Müller` in a Japanese locale
(ANSI code page 932, which has no ü), on a desktop of its own with a sound
server (desktop.py), in the play prefix, where the sound drivers are on:
each hit must be heard. Wine's PlaySoundW passes the file name on through
the ANSI code page, so the game has to hand it a name that code page holds.

The folder holds a copy of Dunko.exe and data\\piko1.wav, as a player's
unpacked folder does. Hits are matched with the recording of the speakers
as in test_desktop.py. The name is the same for every hit of a game, so a
wrong one silences all of them: the check is that every hit is heard, not
how soon or how whole (e2e_desktop measures that).

Usage: test_sound_folder.py [path of Dunko.exe]
"""
import os
import shutil
import sys

import desktop as dt
import dunko_driver as d
import player
import test_desktop as td

FOLDER = "Müller"
HITS = 4
# Hits this far apart: each is matched with the first sound between it and
# the next, so a sound the cold sound path starts late still counts.
HIT_PACE = 1.2


def body(c, folder, desktop, exe):
    where = os.path.join(folder, FOLDER)
    os.makedirs(os.path.join(where, "data"))
    shutil.copy(exe, os.path.join(where, "Dunko.exe"))
    shutil.copy(td.PIKO, os.path.join(where, "data", "piko1.wav"))
    env = dict(player.play_env(desktop), LC_ALL="ja_JP.UTF-8")
    with dt.listening(desktop) as listening:
        game = d.Game(exe=os.path.join(where, "Dunko.exe"), cwd=where, env=env, launcher=["wine"])
        player.hits_heard(c, game, game.find_client(), listening, HITS, HIT_PACE,
                          f"every hit is heard, played from {FOLDER} in code page 932")


if __name__ == "__main__":
    player.run("e2e_sound_folder", lambda c, folder, desktop: body(
        c, folder, desktop, sys.argv[1] if len(sys.argv) > 1 else d.DEFAULT_EXE))
