"""What the tests on a desktop of their own share: their run (checks, a
temporary folder and the desktop, cleared away at the end), the prefix
scripts/play.sh plays in (e2e.cmake's play_prefix makes it beforehand), and
a short game in which every hit must be heard."""
import contextlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import desktop as dt
import dunko_driver as d
import test_desktop as td

HITS = 2
# Hits this far apart: each is matched with the first sound between it and
# the next, so a sound the cold sound path starts late still counts.
HIT_PACE = 1.0


def run(name, body, on_desktop=True):
    """Runs body(checks, folder, desktop) as the test name, with a temporary
    folder and a desktop of its own (desktop.py; None when not on_desktop),
    which the driver's screenshots and input go to. At the end the play
    prefix's Wine processes end with the desktop, the folder goes, and the
    test exits as d.finish says. A stop from outside still clears it all."""
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(f"{name}: stopped"))
    c = d.Checks(name)
    code = 1
    folder = tempfile.mkdtemp(prefix=f"dunko-{name}-")
    try:
        with dt.Desktop() if on_desktop else contextlib.nullcontext() as desktop:
            if desktop:
                os.environ["DISPLAY"] = desktop.env["DISPLAY"]
            try:
                code = d.run_checks(c, lambda: body(c, folder, desktop))
            finally:
                if desktop:
                    run_quietly(["wineserver", "-k"], d.wine_variables("play"), 10)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    d.finish(c, code)


def play_env(desktop):
    """scripts/wine-env.sh's environment for play, on the desktop."""
    return dict(d.wine_variables("play"), DISPLAY=desktop.env["DISPLAY"], PULSE_SERVER=desktop.env["PULSE_SERVER"])


def run_quietly(command, env, timeout, cwd=None):
    """Runs a command with no pipes to inherit (a Wine helper that inherits
    a pipe holds its reader until it ends); returns its exit code."""
    return subprocess.run(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=timeout).returncode


def managed_title_view(c, game):
    """The window is the window manager's, and the title view shows."""
    td.window_checks(c, game)
    client = game.find_client()
    c.ok(td.is_title_view(game.screen(), client), "the title view shows")
    return client


def hits_heard(c, game, client, listening, count=HITS, pace=HIT_PACE, what="every hit is heard"):
    """Starts a game and hits count moles, at most one each pace seconds;
    then stops the recording and the stream reports and checks that each
    hit has a sound of its own, noting the figures."""
    hits = []
    td.start_game(c, game, client)
    td.hit(game, client, count, hits, pace, timeout=15)
    # The last hit's sound, however late it starts, within the recording.
    time.sleep(pace)
    recorder, streams = listening
    recorder.stop()
    streams.stop()
    sounds = td.Sounds(hits, recorder.bursts(), streams.opened)
    for line in sounds.figures():
        c.note(line)
    heard = sum(1 for burst in sounds.matched if burst is not None)
    c.ok(heard == len(hits), what, f"{heard} of {len(hits)}")


def play_and_exit(c, game, client, listening):
    """A game with HITS hits, each of which must be heard; then the exit
    area, which ends the program with exit code 0."""
    hits_heard(c, game, client, listening)
    game.key("Escape")
    question = game.wait_window(5, exclude=(game.window,))
    game.key("Return")
    c.ok(game.wait_window_gone(question, 3) and d.wait_for(
        lambda: td.is_title_view(game.screen(), client), 3), "Escape and OK stop the game: the title view")
    game.click(game.at(d.EXIT_CENTRE))
    code = game.wait_exit(5)
    c.ok(code == 0, "a click on Exit ends the game with exit code 0", str(code))
