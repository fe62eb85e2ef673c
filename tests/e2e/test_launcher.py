#!/usr/bin/env python3
"""The Debian package's launcher (dist/linux/dunko) with Wine's commands
replaced by stand-ins that note how they are called, so each start takes
a moment and no prefix is made:
- the first start says on the terminal and as a notification that it takes
  tens of seconds, makes the prefix below XDG_DATA_HOME (or
  ~/.local/share), and applies the settings for play as a UTF-16 .reg file;
- a later start says nothing, makes nothing and applies nothing, unless
  the settings it carries have changed;
- every start runs Dunko.exe with wine in the game's folder;
- no notify-send: the terminal alone; never ~/.wine.

Usage: test_launcher.py BUILD_DIR (which holds the settings, deb/wine-settings.reg)
"""
import concurrent.futures
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SLOW_NOTE = "数十秒"

# Each stand-in notes its name, its arguments, WINEPREFIX and its folder.
# Without WINEPREFIX, Wine's commands make and use ~/.wine, as Wine does.
STAND_IN = """#!/bin/sh
printf '%s|%s|%s|%s\\n' "$(basename "$0")" "$*" "${WINEPREFIX:-}" "$(pwd)" >> "$DUNKO_TEST_LOG"
case "$(basename "$0")" in wine|wineboot|winepath) [ -n "${WINEPREFIX:-}" ] || mkdir -p "$HOME/.wine" ;; esac
case "$(basename "$0") $1" in
  "wineboot -i") mkdir -p "$WINEPREFIX" && : > "$WINEPREFIX/system.reg" ;;
  "winepath -w") echo "Z:$2" ;;
  "wine regedit") cp "$(echo "$3" | sed 's/^Z://')" "$DUNKO_TEST_LOG.reg" ;;
esac
"""


class Launcher:
    """An unpacked copy of the package's files that the launcher needs,
    and stand-ins for Wine's commands (and notify-send, when asked)."""

    def __init__(self, tree, folder, notify=True):
        self.folder = folder
        self.root = os.path.join(folder, "root")
        games, lib = os.path.join(self.root, "usr", "games"), os.path.join(self.root, "usr", "lib", "games", "dunko")
        share = os.path.join(self.root, "usr", "share", "games", "dunko")
        for path in (games, lib, share):
            os.makedirs(path)
        shutil.copy(os.path.join(ROOT, "dist", "linux", "dunko"), games)
        shutil.copy(os.path.join(tree, "deb", "wine-settings.reg"), share)
        self.settings = os.path.join(share, "wine-settings.reg")
        self.game_dir = lib
        self.bin = os.path.join(folder, "bin")
        os.makedirs(self.bin)
        for name in ["wine", "wineboot", "wineserver", "winepath"] + (["notify-send"] if notify else []):
            path = os.path.join(self.bin, name)
            with open(path, "w") as f:
                f.write(STAND_IN)
            os.chmod(path, 0o755)
        self.home = os.path.join(folder, "home")
        os.makedirs(self.home)
        self.log = os.path.join(folder, "calls")

    def start(self, data_home=None, status=0, **more_env):
        """Runs the launcher, which must end with status; returns (what it
        wrote to the terminal, the calls, each as (name, arguments,
        WINEPREFIX, folder))."""
        if os.path.exists(self.log):
            os.remove(self.log)
        env = {"PATH": f"{self.bin}:/usr/bin:/bin", "HOME": self.home, "DUNKO_TEST_LOG": self.log, "DISPLAY": ":9",
               **more_env}
        if data_home is not None:
            env["XDG_DATA_HOME"] = data_home
        done = subprocess.run([os.path.join(self.root, "usr", "games", "dunko")], env=env, cwd=self.folder,
                              stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=15)
        if done.returncode != status:
            raise AssertionError(f"the launcher ended with {done.returncode}: {done.stderr}")
        # notify-send runs in the background: give it a moment to note itself.
        end = time.monotonic() + 2
        while SLOW_NOTE in done.stderr and not self._noted("notify-send") and time.monotonic() < end \
                and os.path.exists(os.path.join(self.bin, "notify-send")):
            time.sleep(0.05)
        return done.stdout + done.stderr, self.calls()

    def _noted(self, name):
        return any(call[0] == name for call in self.calls())

    def calls(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as f:
            return [tuple(line.rstrip("\n").split("|")) for line in f]


def names(calls):
    """The calls as "name first-argument", Wine's server left out;
    notify-send, which runs in the background, by its name alone and first."""
    named = [f"{c[0]} {c[1].split()[0]}" if c[0] != "notify-send" else c[0] for c in calls if c[0] != "wineserver"]
    return sorted(named, key=lambda n: n != "notify-send")


def failures_and_meetings(check, tree, folder):
    """The launcher without a display, with a set-up step that fails, with
    two first starts at once in the C locale, and with a game running."""
    def fresh(name, **stand_ins):  # a launcher with stand-ins of its own
        app = Launcher(tree, os.path.join(folder, name), notify=False)
        for command, script in stand_ins.items():
            with open(os.path.join(app.bin, command), "w") as f:
                f.write("#!/bin/sh\n" + script + "\n")
        return app, os.path.join(app.home, ".local", "share", "dunko")

    said, calls = fresh("no-display")[0].start(status=1, DISPLAY="")
    check("X11" in said and not calls, "no DISPLAY: it says it needs a desktop, exits 1, runs nothing", said, "X11")
    for step, command, script, gone in (("wineboot", "wineboot", "echo no driver; exit 1", "wineprefix"),
                                        ("regedit", "wine", '[ "$1" != regedit ] || { echo no driver; exit 1; }',
                                         "wineprefix/.dunko-settings")):
        app, game_home = fresh(step, **{command: script})
        said, _ = app.start(status=1)
        log = os.path.join(game_home, "wine-setup.log")
        check(f"({step})" in said and log in said and "no driver" in open(log).read()
              and not os.path.exists(os.path.join(game_home, gone)), f"a {step} that fails: the step and the log "
              f"(with Wine's output) named, no {gone} left, so that the next start tries again", said, log)

    # wineboot leaves a process behind, as Wine's server stays a while; a
    # running game's server, which wineserver -w waits for, stays.
    app, _ = fresh("together", wine='locale charmap >> "$DUNKO_TEST_LOG.charmap"',
                   wineserver='[ "$1" != -w ] || [ ! -e "$DUNKO_TEST_LOG.game" ] || sleep 9',
                   wineboot='echo >> "$DUNKO_TEST_LOG.boots"; sleep 1; (sleep 9 &)\n'
                            'mkdir -p "$WINEPREFIX" && : > "$WINEPREFIX/system.reg"')
    home = os.path.join(folder, "ホーム x")
    for what, starts in (("two first starts at once: one set-up, which the other waits for, and no more", 2),
                         ("new settings while a game runs: the start does not wait for its server", 1)):
        began = time.monotonic()
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            list(pool.map(lambda _: app.start(HOME=home, LC_ALL="C"), range(starts)))
        took, boots = time.monotonic() - began, len(open(app.log + ".boots").readlines())
        check(boots == 1 and took < 5, what, (boots, round(took, 1)), (1, "< 5 s"))
        with open(app.settings, "ab") as f, open(app.log + ".game", "w"):
            f.write(b"\n")
    charmaps = set(open(app.log + ".charmap").read().split())
    check(charmaps == {"UTF-8"}, "with a home named in Japanese in the C locale, Wine gets UTF-8", charmaps, "UTF-8")


def scaling(check, tree, folder):
    """The prefix takes the desktop's Xft.dpi once it is the launcher's own
    (stamped) or Wine's 96; a value the player set stays."""
    app = Launcher(tree, os.path.join(folder, "dpi"), notify=False)
    with open(os.path.join(app.bin, "xrdb"), "w") as f:
        f.write('#!/bin/sh\nprintf "Xft.dpi:\\t%s\\n" "$DUNKO_TEST_DPI"\n')
    os.chmod(os.path.join(app.bin, "xrdb"), 0o755)
    user_reg = os.path.join(app.home, ".local", "share", "dunko", "wineprefix", "user.reg")
    for what, desktop, prefix_dpi, want in (("the desktop's 144 dpi goes to a new prefix", 144, None, "144"),
                                            ("the desktop's 192 replaces the launcher's own 144", 192, 144, "192"),
                                            ("a dpi the player set (120) stays", 144, 120, None)):
        if prefix_dpi:
            with open(user_reg, "w") as f:
                f.write(f'[Control Panel\\\\Desktop] 1700000000\n"LogPixels"=dword:{prefix_dpi:08x}\n\n')
        _, calls = app.start(DUNKO_TEST_DPI=str(desktop))
        added = [c[1].split("/d ")[1].split()[0] for c in calls if c[0] == "wine" and c[1].startswith("reg add")]
        check(added == ([want] if want else []), what, added, want)


def main():
    tree = sys.argv[1]
    failures = []

    def check(condition, what, got, want):
        print(f"{'ok  ' if condition else 'FAIL'} {what}" + ("" if condition else f": got {got!r}, want {want!r}"))
        if not condition:
            failures.append(what)

    folder = tempfile.mkdtemp(prefix="dunko-launcher-")
    try:
        app = Launcher(tree, os.path.join(folder, "a"))
        data_home = os.path.join(folder, "a", "data")
        prefix = os.path.join(data_home, "dunko", "wineprefix")
        game = os.path.join(app.game_dir, "Dunko.exe")
        with open(app.settings, "rb") as f:
            settings = f.read()

        said, calls = app.start(data_home)
        check(SLOW_NOTE in said, "the first start says it takes tens of seconds", said, SLOW_NOTE)
        want = ["notify-send", "wineboot -i", "winepath -w", "wine regedit", "wine " + game]
        check(names(calls) == want, "first start: notification, prefix made, settings applied, game started",
              names(calls), want)
        notes = [c[1] for c in calls if c[0] == "notify-send"]
        check(notes and SLOW_NOTE in notes[0], "the notification says so too", notes, SLOW_NOTE)
        check({c[2] for c in calls if c[0] != "notify-send"} == {prefix}, "in the prefix below XDG_DATA_HOME",
              {c[2] for c in calls}, prefix)
        last = calls[-1] if calls else ("", "", "", "")
        check(last[1] == game and last[3] == app.game_dir, "wine runs Dunko.exe in the game's folder",
              last, (game, app.game_dir))
        with open(app.log + ".reg", "rb") as f:
            reg = f.read()
        want_reg = b"\xff\xfe" + settings.decode("utf-8").replace("\n", "\r\n").encode("utf-16-le")
        check(reg == want_reg, "the settings go to regedit as UTF-16 with a byte-order mark, CR LF",
              reg[:40], want_reg[:40])
        stamp_file = os.path.join(prefix, ".dunko-settings")
        stamp = open(stamp_file).read().strip() if os.path.exists(stamp_file) else None
        check(stamp == hashlib.sha256(settings).hexdigest(), "the prefix is stamped with the settings' hash",
              stamp, hashlib.sha256(settings).hexdigest())

        said, calls = app.start(data_home)
        check(SLOW_NOTE not in said and names(calls) == ["wine " + game],
              "a later start says nothing and only starts the game", (said, names(calls)), ["wine " + game])

        with open(app.settings, "ab") as f:
            f.write(b"\n")
        said, calls = app.start(data_home)
        check(SLOW_NOTE not in said and names(calls) == ["winepath -w", "wine regedit", "wine " + game],
              "other settings are applied again, without a new prefix", names(calls), "winepath, regedit, wine")

        for data_home in (None, "", "relative/path"):
            other = Launcher(tree, os.path.join(folder, f"b{len(os.listdir(folder))}"), notify=False)
            said, calls = other.start(data_home)
            want = os.path.join(other.home, ".local", "share", "dunko", "wineprefix")
            check(calls and calls[-1][2] == want, f"XDG_DATA_HOME {data_home!r}: the prefix in ~/.local/share",
                  calls[-1][2] if calls else None, want)
            check(SLOW_NOTE in said, "without notify-send, told on the terminal", said, SLOW_NOTE)
            check(not os.path.exists(os.path.join(other.home, ".wine")), "never ~/.wine", True, False)
        failures_and_meetings(check, tree, folder)
        scaling(check, tree, folder)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    if failures:
        print(f"launcher: FAILED at: {'; '.join(failures)}")
        sys.exit(1)
    print("launcher: all checks passed")


if __name__ == "__main__":
    main()
