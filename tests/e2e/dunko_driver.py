"""Drives the real game under Wine and an X display with real input.

Starts the game with `wine`, finds its windows by process id, reads the
screen with ImageMagick's `import` and sends pointer and key input with
xdotool. Used by the end-to-end tests and by the screenshot script.

Under Xvfb without a window manager the keyboard focus follows the pointer,
and Wine ignores key events xdotool sends to a given window; so keys are
sent plainly, with the pointer over one of the game's windows.
"""
import collections
import math
import os
import signal
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
DEFAULT_EXE = os.path.join(ROOT, "build", "x64", "src", "Dunko.exe")

# The About box's caption.
ABOUT_TITLE = "Dunkoのﾊﾞｰｼﾞｮﾝ情報"

# Colours of the game screen (RGB).
TITLE_BACKGROUND = (38, 38, 38)
FIELD = (0, 140, 75)
BAND = (183, 196, 224)
TITLE_BOX = (255, 240, 240)
STATUS = (229, 209, 0)
MOLE_FRAME = (204, 0, 0)
BUTTON_FRAME = (250, 250, 250)
HOVER_FILL = (239, 117, 152)

# The start and exit areas in dialog units of the 319 x 297 client: their
# centres as fractions of the client area.
START_CENTRE = ((118 + 91 / 2) / 319, (144 + 32 / 2) / 297)
EXIT_CENTRE = ((118 + 91 / 2) / 319, (199 + 32 / 2) / 297)
# The main window and the About box use the same dialog font, so the same
# dialog units: the About box's OK button (178, 7, 50, 14) and its client.
ABOUT_OK_CENTRE_DU = (178 + 50 / 2, 7 + 14 / 2)
MAIN_CLIENT_DU = (319, 297)


def run(*args, check=True, env=None, timeout=20):
    """Runs a command and returns its standard output as UTF-8 text."""
    out = subprocess.run(args, check=check, capture_output=True, env=env, timeout=timeout).stdout
    return out.decode("utf-8", errors="replace").strip()


def wine_variables(kind="tests"):
    """The caller's environment with what scripts/wine-env.sh sets for a
    kind of prefix ("tests" or "play") of the x86_64 build tree."""
    dump = subprocess.run(
        ["bash", "-c", 'source "$1/scripts/wine-env.sh" "$1/build/x64" "$2" && env -0', "bash", ROOT, kind],
        check=True, capture_output=True, timeout=20).stdout
    env = {}
    for item in dump.split(b"\0"):
        if b"=" in item:
            key, value = item.split(b"=", 1)
            env[key.decode()] = value.decode("utf-8", errors="replace")
    return env


def wine_environment(extra=None):
    """The environment for wine: the caller's, or scripts/wine-env.sh's for
    the x86_64 build tree when the caller has not set a prefix."""
    env = dict(os.environ)
    if "WINEPREFIX" not in env:
        env = wine_variables()
    env.update(extra or {})
    return env


def open_about_box(c, game):
    """Alt+Space opens the game's system menu and its last item the About
    box, by keyboard; checks both and returns the About box's window."""
    windows = set(game.windows())
    game.key("alt+space")
    menu = c.window(game, "Alt+Space opens the system menu", 3, windows)
    game.key("Up", "Return")
    about = game.wait_window(3, exclude=windows | {menu})
    title = game.title(about)
    c.ok(title == ABOUT_TITLE, "its last item opens the About box", repr(title))
    return about


def wait_for(condition, timeout, interval=0.05):
    """Polls condition() until it returns something true; returns that value,
    or None when the time is up."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= end:
            return None
        time.sleep(interval)


class Screen:
    """One screenshot of a part of the X display (all of it by default), as
    RGB rows. Coordinates are always screen coordinates."""

    def __init__(self, region=None):
        if region is None:
            geometry = run("xdpyinfo").split("dimensions:")[1].split()[0]
            width, height = (int(v) for v in geometry.split("x"))
            region = (0, 0, width, height)
        self.region = region
        x0, y0, x1, y1 = region
        self.width, self.height = x1 - x0, y1 - y0
        self.data = subprocess.run(
            ["import", "-silent", "-window", "root", "-crop", f"{self.width}x{self.height}+{x0}+{y0}",
             "+repage", "-depth", "8", "rgb:-"], check=True, capture_output=True, timeout=20).stdout
        if len(self.data) != self.width * self.height * 3:
            raise RuntimeError(f"screenshot of {region} has {len(self.data)} bytes")

    def _clip(self, region):
        rx0, ry0, rx1, ry1 = self.region
        x0, y0, x1, y1 = region or self.region
        return max(x0, rx0), max(y0, ry0), min(x1, rx1), min(y1, ry1)

    def pixel(self, x, y):
        i = ((y - self.region[1]) * self.width + (x - self.region[0])) * 3
        return tuple(self.data[i:i + 3])

    def row(self, y, x0, x1):
        base = (y - self.region[1]) * self.width - self.region[0]
        return self.data[(base + x0) * 3:(base + x1) * 3]

    def bbox(self, colour, region=None):
        """Bounding box (left, top, right, bottom exclusive) of the pixels of
        one colour, or None."""
        x0, y0, x1, y1 = self._clip(region)
        target = bytes(colour)
        left = top = None
        right = bottom = -1
        for y in range(y0, y1):
            row = self.row(y, x0, x1)
            pos = row.find(target)
            while pos != -1 and pos % 3 != 0:
                pos = row.find(target, pos + 1)
            if pos == -1:
                continue
            first = pos // 3
            pos = row.rfind(target)
            while pos != -1 and pos % 3 != 0:
                pos = row.rfind(target, 0, pos + 2)
            last = pos // 3
            left = x0 + first if left is None else min(left, x0 + first)
            right = max(right, x0 + last + 1)
            top = y if top is None else top
            bottom = y + 1
        return None if left is None else (left, top, right, bottom)

    def count(self, colour, region=None):
        x0, y0, x1, y1 = self._clip(region)
        target = bytes(colour)
        n = 0
        for y in range(y0, y1):
            row = self.row(y, x0, x1)
            n += sum(1 for i in range(0, len(row), 3) if row[i:i + 3] == target)
        return n

    def crop(self, region):
        """The raw RGB bytes of a region, to compare two screenshots."""
        x0, y0, x1, y1 = self._clip(region)
        return b"".join(self.row(y, x0, x1) for y in range(y0, y1))

    def save(self, path, region=None):
        """Writes a region of this screenshot as an image file (PNG by name)."""
        x0, y0, x1, y1 = self._clip(region)
        subprocess.run(["convert", "-size", f"{x1 - x0}x{y1 - y0}", "-depth", "8", "rgb:-", path],
                       input=self.crop((x0, y0, x1, y1)), check=True)


def text_glyphs(screen, region, ink_distance=80):
    """Splits the text lines of a region into glyph-like pieces.

    The most common colour of the region is its background; a pixel that
    differs from it by more than ink_distance in some channel is ink. Rows
    with ink form lines; within a line, columns without ink separate the
    pieces. Returns one entry per line: (top, bottom, pieces), each piece
    being its ink pattern (a tuple of row strings)."""
    x0, y0, x1, y1 = screen._clip(region)
    counts = collections.Counter()
    rows = []
    for y in range(y0, y1):
        row = screen.row(y, x0, x1)
        pixels = [row[i:i + 3] for i in range(0, len(row), 3)]
        rows.append(pixels)
        counts.update(pixels)
    background = counts.most_common(1)[0][0]
    mask = [[max(abs(a - b) for a, b in zip(p, background)) > ink_distance for p in pixels]
            for pixels in rows]

    def runs(flags):
        out, start = [], None
        for i, flag in enumerate(list(flags) + [False]):
            if flag and start is None:
                start = i
            elif not flag and start is not None:
                out.append((start, i))
                start = None
        return out

    lines = []
    for top, bottom in runs(any(r) for r in mask):
        columns = [any(mask[y][x] for y in range(top, bottom)) for x in range(x1 - x0)]
        pieces = [tuple("".join("#" if mask[y][x] else "." for x in range(left, right))
                        for y in range(top, bottom))
                  for left, right in runs(columns)]
        lines.append((y0 + top, y0 + bottom, pieces))
    return lines


def judge_glyphs(pieces, text):
    """Decides whether pieces of ink are the glyphs of text or missing-glyph
    boxes. A character the font cannot draw comes out as the same small
    box, and several such boxes side by side either run together into one
    piece or repeat one shape: so the text must fall into at least three
    quarters as many pieces as it has characters, and no shape may occur
    more often than the most frequent character of the text (plus one, for
    a stroke that happens to match another). Returns (ok, explanation)."""
    chars = [c for c in text if not c.isspace()]
    needed = (3 * len(chars)) // 4
    allowed = max(collections.Counter(chars).values()) + 1
    shapes = collections.Counter(pieces)
    repeat = max(shapes.values()) if shapes else 0
    ok = len(pieces) >= needed and repeat <= allowed
    return ok, (f"{len(pieces)} pieces (need >= {needed}), {len(shapes)} shapes, "
                f"most frequent shape x{repeat} (allowed <= {allowed})")


def pieces_picture(pieces):
    """The pieces of a text line side by side, for a failure message."""
    if not pieces:
        return "(no ink)"
    height = len(pieces[0])
    return "\n".join(" ".join(piece[y] for piece in pieces) for y in range(height))


# The games started in this run: run_checks ends them, after the failure
# picture.
_games = []


class Game:
    """The running game process and its windows."""

    def __init__(self, exe=None, cwd=ROOT, env=None, timeout=15, launcher=None):
        """Starts the game with wine in the tests' environment, or with
        launcher (a command, the game's path appended) in the caller's
        environment; env adds to either. Its window must show within timeout
        seconds: it shows in about a second in a prefix made beforehand."""
        self.exe = os.path.abspath(exe or DEFAULT_EXE)
        if launcher is None:
            self.env = wine_environment(env)
            command = ["wine", self.exe]
        else:
            self.env = dict(os.environ, **(env or {}))
            command = [*launcher, self.exe]
        self.process = subprocess.Popen(command, cwd=cwd, env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        _games.append(self)
        self.started = time.monotonic()
        self.window = self.wait_window(timeout)
        self.client = None

    @property
    def pid(self):
        return self.process.pid

    def pids(self):
        """The process started and every process running the game's
        executable that it started: a Wine that cannot run the program in its
        own process (a 32-bit one under WoW64, or one begun through "wine
        start") runs it in another, whose Unix parent is process 1 and whose
        command line is the program's Windows path."""
        since = _start_time(self.pid)
        started = [pid for pid, _ in self.leftovers() if pid != self.pid and _start_time(pid) >= since]
        return [self.pid, *started]

    def windows(self):
        """The ids of the visible top-level windows of the game's processes."""
        found = []
        for pid in self.pids():
            out = run("xdotool", "search", "--onlyvisible", "--pid", str(pid), check=False)
            found += [w for w in out.split() if w and w not in found]
        return found

    def wait_window(self, timeout=10, exclude=()):
        """Waits for a visible window of the process that is not in exclude."""
        def new_window():
            if self.process.poll() is not None:
                raise RuntimeError(f"the game exited with {self.process.returncode}")
            return next((w for w in self.windows() if w not in exclude), None)
        window = wait_for(new_window, timeout)
        if window is None:
            raise TimeoutError("no new window of the game appeared")
        return window

    def wait_window_gone(self, window, timeout=10):
        return wait_for(lambda: window not in self.windows(), timeout) is not None

    def title(self, window=None):
        return run("xdotool", "getwindowname", window or self.window)

    def geometry(self, window=None):
        """(left, top, right, bottom) of a window's X window on the screen:
        the whole window with the frame Wine draws itself, the client area
        alone where a window manager frames it. (xdotool's geometry of a
        window that a window manager has reparented is off by the frame.)"""
        values = {}
        for line in run("xwininfo", "-id", window or self.window).splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        x, y = int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])
        return (x, y, x + int(values["Width"]), y + int(values["Height"]))

    def screen(self, window=None):
        """A screenshot of one window (the main one by default)."""
        return Screen(self.geometry(window))

    def find_client(self, colour=TITLE_BACKGROUND, timeout=5):
        """Locates the client area as the box of the title view's background."""
        def look():
            box = self.screen().bbox(colour)
            return box if box and box[2] - box[0] > 200 and box[3] - box[1] > 200 else None
        box = wait_for(look, timeout)
        if box is None:
            raise TimeoutError("the title view did not show")
        self.client = box
        return box

    def at(self, fraction):
        left, top, right, bottom = self.client
        return (int(left + fraction[0] * (right - left)), int(top + fraction[1] * (bottom - top)))

    def du_to_screen(self, window, du):
        """A point of a dialog (given in the main dialog's units) on the screen,
        taking the dialog's client to start where the main window's does."""
        left, top, _, _ = self.geometry(window)
        main_left, main_top, _, _ = self.geometry()
        x = left + (self.client[0] - main_left) + du[0] * (self.client[2] - self.client[0]) / MAIN_CLIENT_DU[0]
        y = top + (self.client[1] - main_top) + du[1] * (self.client[3] - self.client[1]) / MAIN_CLIENT_DU[1]
        return (int(x), int(y))

    def move(self, point):
        run("xdotool", "mousemove", str(point[0]), str(point[1]))

    def click(self, point):
        self.move(point)
        time.sleep(0.1)
        run("xdotool", "click", "1")

    def tap(self, point):
        """Moves the pointer and clicks in one go, for a quick hit."""
        run("xdotool", "mousemove", str(point[0]), str(point[1]), "click", "1")

    def hit_moles(self, until, timeout, most=None):
        """Clicks each mole that shows until until(screen) is true of a
        screenshot of the window, or most clicks are made. Returns (how many
        clicks, the last screenshot), or (clicks, None) when the time ran out."""
        clicks = 0
        last = None
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            shot = self.screen()
            if until(shot) or clicks == most:
                return clicks, shot
            box = shot.bbox(MOLE_FRAME, self.client)
            if box is not None and box != last:
                self.tap(((box[0] + box[2]) // 2, (box[1] + box[3]) // 2))
                clicks += 1
                last = box
        return clicks, None

    def drag(self, start, end, steps=20):
        """Drags with the left button held, in small steps (a window's
        caption, say: Wine moves the window itself)."""
        self.move(start)
        run("xdotool", "mousedown", "1")
        for i in range(1, steps + 1):
            self.move((start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps))
            time.sleep(0.02)
        run("xdotool", "mouseup", "1")

    def press(self):
        run("xdotool", "mousedown", "1")

    def release(self):
        run("xdotool", "mouseup", "1")

    def key(self, *keys):
        run("xdotool", "key", *keys)

    def wait_exit(self, timeout=15):
        return self.process.wait(timeout=timeout)

    def leftovers(self):
        """Processes still running this executable in this Wine prefix on
        this display (the game's own process once it has exited, or any
        other copy started the same way)."""
        found = []
        name = os.path.basename(self.exe).lower().encode()
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/cmdline", "rb") as f:
                    cmdline = f.read()
                # Wine shows a program's own path as its command name.
                program = cmdline.split(b"\0")[0].replace(b"\\", b"/").rsplit(b"/", 1)[-1]
                if program.lower() != name:
                    continue
                with open(f"/proc/{entry}/environ", "rb") as f:
                    environ = dict(item.split(b"=", 1) for item in f.read().split(b"\0") if b"=" in item)
            except OSError:
                continue
            if (environ.get(b"WINEPREFIX", b"").decode(errors="replace") == self.env.get("WINEPREFIX")
                    and environ.get(b"DISPLAY", b"").decode(errors="replace") == self.env.get("DISPLAY")):
                found.append((int(entry), cmdline.replace(b"\0", b" ").decode(errors="replace").strip()))
        return found

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def _start_time(pid):
    """When a process started, in clock ticks since boot (math.inf once gone)."""
    try:
        with open(f"/proc/{pid}/stat", "rb") as f:
            # The fields after the command name, which is in parentheses.
            return int(f.read().rsplit(b")", 1)[1].split()[19])
    except (OSError, IndexError, ValueError):
        return math.inf


class Checks:
    """Prints each check as it goes; the first failure ends the script."""

    def __init__(self, name):
        self.name = name
        self.start = time.monotonic()
        self.passed = 0
        self.failed = []

    def elapsed(self):
        return time.monotonic() - self.start

    def ok(self, condition, what, detail="", go_on=False):
        """One check. A failure ends the run, unless go_on: then the run
        carries on (the next steps do not depend on it) and fails at its end."""
        mark = "ok  " if condition else "FAIL"
        extra = f" ({detail})" if detail else ""
        print(f"[{self.elapsed():5.1f}s] {mark} {what}{extra}", flush=True)
        if condition:
            self.passed += 1
        elif go_on:
            self.failed.append(what)
        else:
            raise CheckFailed(what)

    def window(self, game, what, timeout, exclude):
        """One check: a new window of the game (not in exclude) appears within
        timeout seconds; returns it."""
        try:
            window = game.wait_window(timeout, exclude=exclude)
        except TimeoutError:
            window = None
        self.ok(window is not None, what, window or f"none within {timeout} s")
        return window

    def note(self, text):
        print(f"[{self.elapsed():5.1f}s]      {text}", flush=True)


class CheckFailed(Exception):
    pass


class OutOfTime(Exception):
    pass


def _out_of_time(*_):
    raise OutOfTime(f"the test's own limit of {os.environ['DUNKO_E2E_LIMIT']} s ran out")


def _step(error):
    """The lines of the tests' own code (not the driver's) that the error
    went through, outermost first: the step it stopped."""
    return " > ".join(f"{os.path.basename(f.filename)}:{f.lineno}: {f.line}"
                      for f in traceback.extract_tb(error.__traceback__)
                      if os.path.dirname(os.path.abspath(f.filename)) == HERE and f.name != "<lambda>"
                      and not f.filename.endswith("dunko_driver.py")) or "the driver"


def run_checks(checks, body):
    """Runs body(); returns 0 when every check of checks passed, 2 when only
    checks that let the run go on failed (they kept their own pictures), and
    1 when a check or a tool failed, or the test's own limit ran out: then
    the step is named and the screen is kept. The limit, DUNKO_E2E_LIMIT
    seconds from the checks' start (e2e.cmake sets it under CTest's
    timeout), stops the run wherever it waits. The games started meanwhile
    end with the run."""
    code = 1
    if os.environ.get("DUNKO_E2E_LIMIT"):
        signal.signal(signal.SIGALRM, _out_of_time)
        signal.setitimer(signal.ITIMER_REAL, max(0.001, float(os.environ["DUNKO_E2E_LIMIT"]) - checks.elapsed()))
    try:
        body()
        code = 2 if checks.failed else 0
    except CheckFailed as failure:
        print(f"{checks.name}: FAILED at: {failure}")
    except Exception as error:  # a timeout or a tool failing counts as a failure
        print(f"{checks.name}: FAILED with {type(error).__name__}: {error}; at {_step(error)}")
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        if code == 1:
            save_failure_picture(checks.name)
        for game in _games:
            game.kill()
    return code


def finish(checks, code):
    """Says how run_checks ended and exits 0 when every check passed, 1 otherwise."""
    if code == 0:
        print(f"{checks.name}: all {checks.passed} checks passed in {checks.elapsed():.1f}s")
    elif code == 2:
        print(f"{checks.name}: FAILED at: {'; '.join(checks.failed)}")
    sys.exit(1 if code else 0)


def main(name, body, game_env=None, exe=None):
    """Runs body(checks, game) against a freshly started game; exits 0 when
    every check passed, 1 otherwise."""
    checks = Checks(name)
    if not os.environ.get("DISPLAY"):
        print(f"{name}: no X display (run it through scripts/run-tests.sh or xvfb-run)")
        sys.exit(1)
    finish(checks, run_checks(checks, lambda: body(checks, Game(exe=exe, env=game_env))))


def save_failure_picture(name, screen=None):
    """Keeps the screen of a failure (the whole screen as it is now, unless
    given one) in the current directory, next to the test's output."""
    path = os.path.abspath(f"{name}-failure.png")
    try:
        (screen or Screen()).save(path)
        print(f"{name}: the screen at the failure is in {path}")
    except Exception as error:
        print(f"{name}: could not save the screen: {error}")
