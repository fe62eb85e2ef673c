#!/usr/bin/env python3
"""Plays the game the way scripts/play.sh runs it, on a desktop of its own
with a window manager and a sound server (desktop.py), as a player would.

- The window is managed: not override-redirect, framed by the window
  manager, and among the desktop's client windows (what a taskbar lists).
- Escape, the question's answers and Alt+Space reach the game through the
  window manager's focus, question after question.
- Every hit is heard, whole: the recording of the speakers holds, for each
  hit, one burst that starts within 150 ms of the hit and lasts as long as
  the piko does, and nothing before the first hit. The sound server's own
  report of each new playback stream is a second instrument: each hit opens
  a stream, and its burst starts when that stream does.
- A sound server that hangs (frozen with SIGSTOP after a hit) holds nothing:
  each later hit's mole goes at once, the status line moves on, and Enter
  ends the program within a second, with code 0.

Usage: test_desktop.py [path of Dunko.exe]
       test_desktop.py --measure HITS [path of Dunko.exe]
The second form checks nothing: it plays games until HITS hits at each of
two paces and prints how many were heard, how late and how whole, by both
instruments (scripts/measure-hit-sound.sh).
"""
import os
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
# The paces at which hits come: the last stage's quota (18 hits in 10 s)
# needs one each 0.55 s, and a brisk player hits one each 0.4 s. Each piko
# (0.2 s) ends before the next hit starts another, which would cut it short.
STAGE5_PACE = 0.55
BRISK_PACE = 0.4
# How far the two instruments may place one sound apart: the recording's
# clock is known to within about 10 ms, and the stream reports arrive a few
# ms after the server makes them.
INSTRUMENT_ERROR = 0.025
MOLE_FRESH = 0.5
# With the sound server frozen: the hits made, and how soon each hit mole
# must go (a hit is counted and shown at once; a mole that is not hit lives
# a second, and these are clicked as soon as they show).
FROZEN_HITS = 3
GONE_WITHIN = 0.4


def xwininfo(*args):
    return d.run("xwininfo", *args)


def is_running_view(screen, client):
    return screen.bbox(d.FIELD, client) == client and screen.bbox(d.TITLE_BACKGROUND, client) is None


def is_title_view(screen, client):
    return screen.bbox(d.TITLE_BACKGROUND, client) == client


def hit(game, client, count, hits, pace, timeout=30, until=None):
    """Clicks count moles, at most one per pace seconds, each within MOLE_FRESH
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
        if box is None or since is None or now - since > MOLE_FRESH or (hits and now < hits[-1] + pace):
            time.sleep(0.02)
            continue
        hits.append(time.monotonic())
        game.tap(((box[0] + box[2]) // 2, (box[1] + box[3]) // 2))
        since = None
        done += 1


def match_sounds(hits, sounds):
    """For each hit, the first sound (a burst or a stream's opening, anything
    with a start) that starts after it and before the next hit, each moment
    taken INSTRUMENT_ERROR early: a sound placed a few ms before its hit is
    still its own, not the previous hit's. None where there is none; and the
    sounds left over."""
    matched = []
    for moment, bound in zip(hits, hits[1:] + [float("inf")]):
        matched.append(next((s for s in sounds
                             if moment - INSTRUMENT_ERROR <= s.start < bound - INSTRUMENT_ERROR), None))
    return matched, [s for s in sounds if s not in matched]


class Opened:
    """A playback stream's opening, as the sound server reported it."""

    def __init__(self, start):
        self.start = start


def describe_spread(values):
    ordered = sorted(values)
    return "min {:.0f}, median {:.0f}, 90% {:.0f}, max {:.0f}".format(
        ordered[0], statistics.median(ordered), ordered[int(0.9 * (len(ordered) - 1))], ordered[-1])


class Sounds:
    """The hits set against the recording's bursts, and against the streams
    the server reports opening."""

    def __init__(self, hits, bursts, opened):
        self.hits = hits
        self.matched, self.stray = match_sounds(hits, bursts)
        self.streams = [self._stream_of(i, opened) for i in range(len(hits))]
        # Wine opens a stream or two that play nothing when it first plays
        # a sound; they are counted, not held against the game.
        self.silent_streams = len(opened) - sum(1 for s in self.streams if s)
        # A whole piko: no dropout, and all of it but the last 20 ms, which
        # are below 2% (-34 dB) of its peak.
        self.whole_length = dt.sound_length(PIKO) - 0.02

    def _stream_of(self, i, opened):
        """The stream that played hit i's sound: the last one opened after
        the hit and before its sound starts (each moment taken with the
        instruments' error); without a sound, the first opened after the
        hit and before the next."""
        low = self.hits[i] - INSTRUMENT_ERROR
        high = self.hits[i + 1] - INSTRUMENT_ERROR if i + 1 < len(self.hits) else float("inf")
        if self.matched[i]:
            high = min(high, self.matched[i].start + INSTRUMENT_ERROR)
        candidates = [t for t in opened if low <= t < high]
        if not candidates:
            return None
        return Opened(candidates[-1] if self.matched[i] else candidates[0])

    def delay(self, i):
        return self.matched[i].start - self.hits[i] if self.matched[i] else None

    def in_time(self, i):
        return self.matched[i] is not None and self.delay(i) <= HEARD_WITHIN

    def whole(self, i):
        burst = self.matched[i]
        return burst is not None and burst.holes == 0 and burst.length >= self.whole_length

    def disagreement(self, i):
        """How far the burst starts from its stream's opening (seconds), or
        None when one of the two is missing."""
        if self.matched[i] is None or self.streams[i] is None:
            return None
        return self.matched[i].start - self.streams[i].start

    def agree(self, i):
        gap = self.disagreement(i)
        return gap is not None and abs(gap) <= INSTRUMENT_ERROR

    def describe(self, i):
        burst, stream = self.matched[i], self.streams[i]
        opened = (f"stream opened +{(stream.start - self.hits[i]) * 1000:.0f} ms" if stream
                  else "no stream opened")
        if burst is None:
            return f"#{i + 1} unheard, {opened}"
        holes = f", {burst.holes * 1000:.0f} ms of dropouts" if burst.holes else ""
        return f"#{i + 1} +{self.delay(i) * 1000:.0f} ms, {burst.length * 1000:.0f} ms long{holes}; {opened}"

    def figures(self):
        count = len(self.hits)
        heard = [i for i in range(count) if self.in_time(i)]
        late = sum(1 for i in range(count) if self.matched[i] and not self.in_time(i))
        lines = [f"hits: {count}; heard within {HEARD_WITHIN * 1000:.0f} ms: {len(heard)}; late: {late}; "
                 f"unheard: {self.matched.count(None)}; of those heard in time, whole (no dropout, "
                 f">= {self.whole_length * 1000:.0f} ms): {sum(1 for i in heard if self.whole(i))}; "
                 f"sounds belonging to no hit: {len(self.stray)}"]
        delays = [self.delay(i) * 1000 for i in range(count) if self.matched[i]]
        if delays:
            lines.append("recording, hit to sound, ms: " + describe_spread(delays))
            lengths = [b.length * 1000 for b in self.matched if b]
            lines.append("sound lengths, ms: min {:.0f}, median {:.0f}, max {:.0f}; with dropouts: {}".format(
                min(lengths), statistics.median(lengths), max(lengths),
                sum(1 for b in self.matched if b and b.holes)))
        opened = [(s.start - h) * 1000 for s, h in zip(self.streams, self.hits) if s]
        lines.append(f"stream reports (the server's own, a second instrument): hits that opened a stream: "
                     f"{len(opened)} of {count}; other streams (Wine's, silent): {self.silent_streams}")
        if opened:
            lines.append("stream reports, hit to stream, ms: " + describe_spread(opened))
        gaps = [self.disagreement(i) * 1000 for i in range(count) if self.disagreement(i) is not None]
        if gaps:
            lines.append(f"the instruments agree within {INSTRUMENT_ERROR * 1000:.0f} ms for "
                         f"{sum(1 for i in range(count) if self.agree(i))} of {count} hits; "
                         f"sound minus stream, ms: " + describe_spread(gaps))
        return lines


def tap_new_mole(game, client, old=None, timeout=5):
    """Clicks a new mole as soon as it shows: one whose box differs from old
    (the box of the mole clicked last), or without old, from what is up now.
    Returns its box and the moment of the click."""
    end = time.monotonic() + timeout
    shown = old or game.screen().bbox(d.MOLE_FRAME, client)
    while time.monotonic() < end:
        box = game.screen().bbox(d.MOLE_FRAME, client)
        if box is not None and box != shown:
            moment = time.monotonic()
            game.tap(((box[0] + box[2]) // 2, (box[1] + box[3]) // 2))
            return box, moment
        shown = box
        time.sleep(0.01)
    raise TimeoutError(f"no new mole showed up in {timeout} s")


def status_line(shot, client):
    """The pixels of the status line's rows, to tell whether it changed."""
    box = shot.bbox(d.STATUS, client)
    return shot.crop((client[0], box[1], client[2], box[3])) if box else None


def frozen_sound_server(c, game, desktop, client):
    """A game whose sound server freezes after its first hit; Enter then
    ends the program. The server is thawed on the way out."""
    start_game(c, game, client)
    tap_new_mole(game, client)
    time.sleep(0.3)
    desktop.freeze_sound_server()
    try:
        c.note("the sound server is frozen (SIGSTOP) after a hit")
        box = None
        for n in range(1, FROZEN_HITS + 1):
            box, moment = tap_new_mole(game, client, box)
            gone = d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client) != box, 2, interval=0.01)
            took = time.monotonic() - moment
            c.ok(gone and took <= GONE_WITHIN, f"frozen server, hit {n}: the mole goes within "
                 f"{GONE_WITHIN * 1000:.0f} ms", f"{took * 1000:.0f} ms" if gone else "still there after 2 s",
                 go_on=True)
        before = status_line(game.screen(), client)
        c.ok(d.wait_for(lambda: status_line(game.screen(), client) != before, 1), "frozen server: the status "
             "line moves on", go_on=True)
        game.key("Return")
        pressed = time.monotonic()
        try:
            code = game.wait_exit(3)
        except subprocess.TimeoutExpired:
            code = None
        took = time.monotonic() - pressed
        c.ok(code == 0 and took <= 1.0, "frozen server: Enter ends the program within a second, with code 0",
             f"code {code} after {took:.2f} s" if code is not None else "still running after 3 s")
    finally:
        desktop.thaw_sound_server()


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
    question = c.window(game, f"Escape opens the question ({round_no})", 5, (game.window,))
    game.key(answer)
    c.ok(game.wait_window_gone(question, 3), f"{answer} in the question closes it ({round_no})")


def body(c, game, recorder, streams, desktop):
    hits = []
    window_checks(c, game)
    client = game.find_client()
    start_game(c, game, client)

    hit(game, client, 10, hits, STAGE5_PACE)
    c.note(f"stage 1: {len(hits)} moles hit, at most one each {STAGE5_PACE} s")

    # Stage 2: the question three times, Cancel each time; the keys keep
    # reaching the game.
    c.ok(d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client), 5), "stage 2 begins: a mole shows")
    for round_no in (1, 2, 3):
        question_round(c, game, "Escape", round_no)
        c.ok(is_running_view(game.screen(), client), f"after Cancel the game goes on ({round_no})")
    hit(game, client, 12, hits, BRISK_PACE)
    c.note(f"stage 2: 12 more, at most one each {BRISK_PACE} s; {len(hits)} hits in all")

    # Stage 3: OK stops the game.
    c.ok(d.wait_for(lambda: game.screen().bbox(d.MOLE_FRAME, client), 5), "stage 3 begins: a mole shows")
    question_round(c, game, "Return", 4)
    c.ok(d.wait_for(lambda: is_title_view(game.screen(), client), 2), "after OK the title view shows")

    # The system menu and its About item, by keyboard.
    about = d.open_about_box(c, game)
    game.key("Escape")
    c.ok(game.wait_window_gone(about, 3), "Escape closes the About box")

    # The hits so far are the ones heard: the last was a while ago.
    recorder.stop()
    streams.stop()
    sounds = Sounds(hits, recorder.bursts(), streams.opened)
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
    apart = [sounds.describe(i) for i in range(len(hits)) if not sounds.agree(i)]
    c.ok(not apart, f"the stream reports agree: each hit opened a stream, its sound starting within "
         f"{INSTRUMENT_ERROR * 1000:.0f} ms of it", "; ".join(apart), go_on=True)

    # Last, the server hangs; Enter ends the program.
    frozen_sound_server(c, game, desktop, client)


def measure(game, recorder, streams, wanted):
    """Plays games until wanted hits at each pace; prints the figures for
    each pace and for all hits."""
    hits = {}
    client = game.find_client()
    for pace in (STAGE5_PACE, BRISK_PACE):
        hits[pace] = []
        deadline = time.monotonic() + 30 + 2 * wanted
        while len(hits[pace]) < wanted:
            if time.monotonic() > deadline:
                raise TimeoutError(f"only {len(hits[pace])} hits in the time given")
            game.click(game.at(d.START_CENTRE))
            d.wait_for(lambda: is_running_view(game.screen(), client), 3)
            # Clicks until enough hits or the game is over (the title view).
            hit(game, client, wanted - len(hits[pace]), hits[pace], pace,
                timeout=max(0, deadline - time.monotonic()), until=lambda shot: is_title_view(shot, client))
            d.wait_for(lambda: is_title_view(game.screen(), client), 15)
    time.sleep(0.5)
    recorder.stop()
    streams.stop()
    bursts = recorder.bursts()
    print(f"(the recording placed on the clock with the sink's latency, "
          f"{recorder.sink_latency * 1000:.0f} ms, taken into account)")
    everything = Sounds(hits[STAGE5_PACE] + hits[BRISK_PACE], bursts, streams.opened)
    for pace, label in ((STAGE5_PACE, "the last stage's pace"), (BRISK_PACE, "a brisk pace")):
        # Each pace's hits against the sounds between its first hit and the
        # other pace's (the bursts after its last hit belong to it).
        first, last = hits[pace][0], hits[pace][-1]
        after = [h for h in everything.hits if h > last]
        end = after[0] - INSTRUMENT_ERROR if after else float("inf")
        sounds = Sounds(hits[pace], [b for b in bursts if first - INSTRUMENT_ERROR <= b.start < end],
                        [t for t in streams.opened if first - INSTRUMENT_ERROR <= t < end])
        print(f"== one hit at most each {pace} s ({label}):")
        print("\n".join(sounds.figures()))
        for i in range(len(sounds.hits)):
            if not (sounds.in_time(i) and sounds.whole(i) and sounds.agree(i)):
                print("  " + sounds.describe(i))
    print("== all hits:")
    print("\n".join(everything.figures()))
    for burst in everything.stray:
        print(f"  a sound at +{(burst.start - everything.hits[0]) * 1000:.0f} ms from the first hit, "
              f"{burst.length * 1000:.0f} ms long, belongs to no hit")


def play(c, desktop, exe, wanted):
    with dt.listening(desktop) as (recorder, streams):
        game = d.Game(exe=exe, env=desktop.env, launcher=[PLAY, "--exe"])
        c.note(f"the game's window appeared {time.monotonic() - game.started:.1f}s after play.sh started")
        if wanted:
            measure(game, recorder, streams, wanted)
        else:
            body(c, game, recorder, streams, desktop)


def main():
    args = sys.argv[1:]
    wanted = None
    if args[:1] == ["--measure"]:
        wanted, args = int(args[1]), args[2:]
    exe = args[0] if args else d.DEFAULT_EXE
    # Here, not above: player imports this module.
    import player
    player.run("e2e_desktop", lambda c, folder, desktop: play(c, desktop, exe, wanted))


if __name__ == "__main__":
    main()
