"""What the tests of the packages share: the prefix scripts/play.sh plays
in, and a short game on a desktop of the test's own (desktop.py) in which
every hit must be heard."""
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
# The game's window in a warm prefix; a prefix being made takes longer.
WINDOW_TIMEOUT = 120


def play_prefix(display):
    """scripts/wine-env.sh's environment for play, with that prefix made
    (as scripts/play.sh makes it) when missing. Wine's output goes nowhere:
    a Wine helper that inherits a pipe holds its reader until it ends."""
    env = d.wine_variables("play")
    subprocess.run([os.path.join(d.ROOT, "scripts", "wine-prefix.sh"), os.path.join(d.ROOT, "build", "x64"),
                    "play"], env=dict(env, DISPLAY=display), check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return env


def run_quietly(command, env, timeout, cwd=None):
    """Runs a command with no pipes to inherit; returns its exit code."""
    return subprocess.run(command, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=timeout).returncode


def managed_title_view(c, game):
    """The window is the window manager's, and the title view shows."""
    td.window_checks(c, game)
    client = game.find_client()
    c.ok(td.is_title_view(game.screen(), client), "the title view shows")
    return client


def play_and_exit(c, game, client, recorder, streams):
    """A game with HITS hits, each of which must be heard; then the exit
    area, which ends the program with exit code 0."""
    hits = []
    td.start_game(c, game, client)
    td.hit(game, client, HITS, hits, HIT_PACE)
    # The last hit's sound, however late it starts, within the recording.
    time.sleep(HIT_PACE)
    recorder.stop()
    streams.stop()
    sounds = td.Sounds(hits, recorder.bursts(), streams.opened)
    for line in sounds.figures():
        c.note(line)
    heard = sum(1 for burst in sounds.matched if burst is not None)
    c.ok(heard == len(hits), "every hit is heard", f"{heard} of {len(hits)}")
    game.key("Escape")
    question = game.wait_window(5, exclude=(game.window,))
    game.key("Return")
    c.ok(game.wait_window_gone(question, 3) and d.wait_for(
        lambda: td.is_title_view(game.screen(), client), 3), "Escape and OK stop the game: the title view")
    game.click(game.at(d.EXIT_CENTRE))
    code = game.wait_exit(10)
    c.ok(code == 0, "a click on Exit ends the game with exit code 0", str(code))


def main_on_desktop(name, body, folder_prefix):
    """The main of a test that plays on a desktop of its own (desktop.py):
    runs body(checks, folder, desktop) with a temporary folder; the play
    prefix's Wine processes, the desktop and the folder go however it ends,
    a stop from outside too. Exits as dunko_driver.finish says."""
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(f"{name}: stopped"))
    c = d.Checks(name)
    code = 1
    folder = tempfile.mkdtemp(prefix=folder_prefix)
    try:
        with dt.Desktop() as desktop:
            os.environ["DISPLAY"] = desktop.env["DISPLAY"]
            try:
                code = d.run_checks(c, lambda: body(c, folder, desktop))
            finally:
                run_quietly(["wineserver", "-k"], d.wine_variables("play"), 30)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    d.finish(c, code)
