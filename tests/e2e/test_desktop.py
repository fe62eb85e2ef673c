#!/usr/bin/env python3
"""Plays the game the way scripts/play.sh runs it, on a desktop of its own
with a window manager and a sound server (desktop.py), as a player would.

- The window is managed: not override-redirect, framed by the window
  manager, and among the desktop's client windows (what a taskbar lists).
- Escape, the question's answers and Alt+Space reach the game through the
  window manager's focus, question after question.
- Every hit is heard, whole: the recording of the speakers holds, for each
  hit, one burst that starts within 150 ms of the hit and lasts as long as
  the piko does, and nothing before the first hit.

Usage: test_desktop.py [path of Dunko.exe]
       test_desktop.py --measure HITS [path of Dunko.exe]
The second form checks nothing: it plays games until HITS hits and prints
how many were heard, how late and how whole (scripts/measure-hit-sound.sh).
"""
import os
import signal
import statistics
import subprocess
import sys
import time

import desktop as dt
import dunko_driver as d

PLAY = os.path.join(d.ROOT, "scripts", "play.sh")
PIKO = os.path.join(d.ROOT, "data", "piko1.wav")
# A hit must sound this soon.
HEARD_WITHIN = 0.150
# A player's brisk pace: each piko (0.2 s) ends before the next hit starts
# another, which would cut it short.
HIT_PACE = 0.4
MOLE_FRESH = 0.5
# The tests prefix starts warm; the play prefix may still have to be made.
WINDOW_TIMEOUT = 150


def xwininfo(*args):
    return d.run("xwininfo", *args)


def is_running_view(screen, client):
    return screen.bbox(d.FIELD, client) == client and screen.bbox(d.TITLE_BACKGROUND, client) is None


def is_title_view(screen, client):
    return screen.bbox(d.TITLE_BACKGROUND, client) == client


def hit(game, client, count, hits, timeout=30, until=None):
    """Clicks count moles, at most one per HIT_PACE, each within MOLE_FRESH
    of showing up (a mole lives a second: one that was already up when this
    began may go just as it is clicked, so it is left alone). Appends the
    moment of each click (just before it is sent) to hits. Returns early
    when until(screenshot) is true."""
    end = time.monotonic() + timeout
    shown = game.screen().bbox(d.MOLE_FRAME, client)
    since = None
    done = 0
    while done < count:
        if time.monotonic() > end:
            raise TimeoutError(f"only {done} of {count} moles showed up to be hit")
        shot = game.screen()
        if until and until(shot):
            return
        box = shot.bbox(d.MOLE_FRAME, client)
        now = time.monotonic()
        if box != shown:
            shown, since = box, now
        if box is None or since is None or now - since > MOLE_FRESH or (hits and now < hits[-1] + HIT_PACE):
            time.sleep(0.02)
            continue
        hits.append(time.monotonic())
        game.tap(((box[0] + box[2]) // 2, (box[1] + box[3]) // 2))
        since = None
        done += 1


def match_sounds(hits, bursts):
    """For each hit, the first burst that starts after it and before the
    next hit (None if there is none); and the bursts left over."""
    matched = []
    for moment, bound in zip(hits, hits[1:] + [float("inf")]):
        matched.append(next((b for b in bursts if moment <= b.start < bound), None))
    return matched, [b for b in bursts if b not in matched]


class Sounds:
    """The hits set against the recording's bursts."""

    def __init__(self, hits, bursts):
        self.hits = hits
        self.matched, self.stray = match_sounds(hits, bursts)
        # A whole piko: no dropout, and all of it but the last 20 ms, which
        # are below 2% (-34 dB) of its peak.
        self.whole_length = dt.sound_length(PIKO) - 0.02

    def delay(self, i):
        return self.matched[i].start - self.hits[i] if self.matched[i] else None

    def in_time(self, i):
        return self.matched[i] is not None and self.delay(i) <= HEARD_WITHIN

    def whole(self, i):
        burst = self.matched[i]
        return burst is not None and burst.holes == 0 and burst.length >= self.whole_length

    def describe(self, i):
        burst = self.matched[i]
        if burst is None:
            return f"#{i + 1} unheard"
        holes = f", {burst.holes * 1000:.0f} ms of dropouts" if burst.holes else ""
        return f"#{i + 1} +{self.delay(i) * 1000:.0f} ms, {burst.length * 1000:.0f} ms long{holes}"

    def figures(self):
        count = len(self.hits)
        heard = [i for i in range(count) if self.in_time(i)]
        lines = [f"hits: {count}; heard within {HEARD_WITHIN * 1000:.0f} ms: {len(heard)}; "
                 f"of those whole (no dropout, >= {self.whole_length * 1000:.0f} ms): "
                 f"{sum(1 for i in heard if self.whole(i))}; sounds belonging to no hit: {len(self.stray)}"]
        delays = sorted(self.delay(i) * 1000 for i in range(count) if self.matched[i])
        if delays:
            lines.append("hit to sound, ms: min {:.0f}, median {:.0f}, 90% {:.0f}, max {:.0f}".format(
                delays[0], statistics.median(delays), delays[int(0.9 * (len(delays) - 1))], delays[-1]))
            lengths = [b.length * 1000 for b in self.matched if b]
            lines.append("sound lengths, ms: min {:.0f}, median {:.0f}, max {:.0f}; with dropouts: {}".format(
                min(lengths), statistics.median(lengths), max(lengths),
                sum(1 for b in self.matched if b and b.holes)))
        return lines


def start_game(c, game, client):
    game.click(game.at(d.START_CENTRE))
    c.ok(d.wait_for(lambda: is_running_view(game.screen(), client), 3), "a click on Start starts a game")


def window_checks(c, game):
    info = xwininfo("-all", "-id", game.window)
    c.ok("Override Redirect State: no" in info, "the window is not override-redirect (xwininfo -all)",
         next((line.strip() for line in info.splitlines() if "Override Redirect" in line), "no such line"),
         go_on=True)
    tree = xwininfo("-tree", "-id", game.window)
    root = tree.split("Root window id:")[1].split()[0]
    parent = tree.split("Parent window id:")[1].split()[0]
    c.ok(parent != root, "the window manager has framed the window (its parent is not the root)", parent,
         go_on=True)
    listed = d.run("xprop", "-root", "_NET_CLIENT_LIST")
    ids = {int(token.strip(","), 16) for token in listed.split()[4:] if token.startswith("0x")}
    state = d.run("xprop", "-id", game.window, "_NET_WM_STATE")
    c.ok(int(game.window) in ids and "SKIP_TASKBAR" not in state,
         "the window manager lists it among the desktop's windows, for a taskbar", state, go_on=True)


def question_round(c, game, answer, round_no):
    """Escape opens the question; answer (a key) closes it."""
    game.key("Escape")
    question = game.wait_window(5, exclude=(game.window,))
    c.ok(True, f"Escape opens the question ({round_no})", question)
    game.key(answer)
    c.ok(game.wait_window_gone(question, 3), f"{answer} in the question closes it ({round_no})")


def body(c, game, recorder):
    hits = []
    window_checks(c, game)
    client = game.find_client()
    start_game(c, game, client)

    hit(game, client, 10, hits)
    c.note(f"stage 1: {len(hits)} moles hit at a player's pace")

    # Stage 2: the question three times, Cancel each time; the keys keep
    # reaching the game.
    c.ok(d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client), 5), "stage 2 begins: a mole shows")
    for round_no in (1, 2, 3):
        question_round(c, game, "Escape", round_no)
        c.ok(is_running_view(game.screen(), client), f"after Cancel the game goes on ({round_no})")
    hit(game, client, 12, hits)
    c.note(f"stage 2: 12 more, {len(hits)} hits in all")

    # Stage 3: OK stops the game.
    c.ok(d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client), 5), "stage 3 begins: a mole shows")
    question_round(c, game, "Return", 4)
    c.ok(d.wait_for(lambda: is_title_view(game.screen(), client), 2), "after OK the title view shows")

    # The system menu and its About item, by keyboard.
    windows = set(game.windows())
    game.key("alt+space")
    menu = game.wait_window(3, exclude=windows)
    c.ok(True, "Alt+Space opens the system menu", menu)
    game.key("Up", "Return")
    about = game.wait_window(3, exclude=windows | {menu})
    c.ok(game.title(about) == "Dunkoのﾊﾞｰｼﾞｮﾝ情報", "its last item opens the About box", game.title(about))
    game.key("Escape")
    c.ok(game.wait_window_gone(about, 3), "Escape closes the About box")

    game.click(game.at(d.EXIT_CENTRE))
    c.ok(game.wait_exit(10) == 0, "a click on Exit ends the game")

    time.sleep(0.5)
    recorder.stop()
    sounds = Sounds(hits, recorder.bursts())
    for line in sounds.figures():
        c.note(line)
    before = [b for b in sounds.stray if b.start < hits[0]]
    c.ok(not before, "nothing sounds before the first hit", str(before), go_on=True)
    late = [sounds.describe(i) for i in range(len(hits)) if not sounds.in_time(i)]
    c.ok(not late, f"each of the {len(hits)} hits sounds within {HEARD_WITHIN * 1000:.0f} ms", "; ".join(late),
         go_on=True)
    broken = [sounds.describe(i) for i in range(len(hits)) if sounds.matched[i] and not sounds.whole(i)]
    c.ok(not broken, "each hit's piko sounds whole", "; ".join(broken), go_on=True)
    c.ok(not sounds.stray, "no other sound", str(sounds.stray), go_on=True)


def measure(game, recorder, wanted):
    """Plays games until wanted hits; prints the figures."""
    hits = []
    client = game.find_client()
    deadline = time.monotonic() + 30 + 2 * wanted
    while len(hits) < wanted:
        if time.monotonic() > deadline:
            raise TimeoutError(f"only {len(hits)} hits in the time given")
        game.click(game.at(d.START_CENTRE))
        d.wait_for(lambda: is_running_view(game.screen(), client), 3)
        # Clicks until enough hits or the game is over (the title view).
        hit(game, client, wanted - len(hits), hits, timeout=max(0, deadline - time.monotonic()),
            until=lambda shot: is_title_view(shot, client))
        d.wait_for(lambda: is_title_view(game.screen(), client), 15)
    time.sleep(0.5)
    recorder.stop()
    sounds = Sounds(hits, recorder.bursts())
    print("\n".join(sounds.figures()))
    for i in range(len(hits)):
        if not (sounds.in_time(i) and sounds.whole(i)):
            print("  " + sounds.describe(i))
    for burst in sounds.stray:
        print(f"  a sound at +{(burst.start - hits[0]) * 1000:.0f} ms from the first hit, "
              f"{burst.length * 1000:.0f} ms long, belongs to no hit")


def main():
    args = sys.argv[1:]
    wanted = None
    if args[:1] == ["--measure"]:
        wanted, args = int(args[1]), args[2:]
    exe = args[0] if args else d.DEFAULT_EXE
    name = "e2e_desktop"
    # A stop from outside still clears the desktop away (the finally below).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(f"{name}: stopped"))
    c = d.Checks(name)
    code = 1
    with dt.Desktop() as desktop:
        # The driver's screenshots and input go to this desktop.
        os.environ["DISPLAY"] = desktop.env["DISPLAY"]
        recorder = dt.Recorder(desktop)
        game = None
        try:
            game = d.Game(exe=exe, env=desktop.env, launcher=[PLAY, "--exe"], timeout=WINDOW_TIMEOUT)
            c.note(f"the game's window appeared {time.monotonic() - game.started:.1f}s after play.sh started")
            if wanted:
                measure(game, recorder, wanted)
                code = 0
            else:
                body(c, game, recorder)
                code = 2 if c.failed else 0
        except d.CheckFailed as failure:
            print(f"{name}: FAILED at: {failure}")
        except Exception as error:
            print(f"{name}: FAILED with {type(error).__name__}: {error}")
        finally:
            if code == 1:
                d.save_failure_picture(name)
            if game is not None:
                game.kill()
            # The play prefix's Wine processes end with this desktop.
            subprocess.run(["wineserver", "-k"], env=d.wine_variables("play"), check=False)
            if recorder.process.poll() is None:
                recorder.stop()
    if not wanted:
        if code == 0:
            print(f"{name}: all {c.passed} checks passed in {c.elapsed():.1f}s")
        elif code == 2:
            print(f"{name}: FAILED at: {'; '.join(c.failed)}")
    sys.exit(1 if code else 0)


if __name__ == "__main__":
    main()
