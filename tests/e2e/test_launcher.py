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

    def start(self, data_home=None):
        """Runs the launcher; returns (what it wrote to the terminal, the
        calls, each as (name, arguments, WINEPREFIX, folder))."""
        if os.path.exists(self.log):
            os.remove(self.log)
        env = {"PATH": f"{self.bin}:/usr/bin:/bin", "HOME": self.home, "DUNKO_TEST_LOG": self.log}
        if data_home is not None:
            env["XDG_DATA_HOME"] = data_home
        done = subprocess.run([os.path.join(self.root, "usr", "games", "dunko")], env=env, cwd=self.folder,
                              stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=5)
        if done.returncode != 0:
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
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    if failures:
        print(f"launcher: FAILED at: {'; '.join(failures)}")
        sys.exit(1)
    print("launcher: all checks passed")


if __name__ == "__main__":
    main()
