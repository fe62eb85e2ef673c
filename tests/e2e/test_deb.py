#!/usr/bin/env python3
"""The Debian package, as a Linux player gets it, without installing it.

Makes the package of this build tree (cpack -G DEB), checks it with
lintian (no error, no warning) and its dependencies (Wine and the Japanese
font, nothing that builds), unpacks it with dpkg-deb -x into a temporary
root and starts the unpacked launcher, usr/games/dunko, on a desktop of the
test's own (desktop.py), from another folder and with a home of its own:
- the game's window is managed and its title view shows;
- the game runs in the prefix below $XDG_DATA_HOME, in the folder that
  holds data\\piko1.wav, and every hit is heard;
- nothing is made in ~/.wine.
The player's prefix is the play prefix (scripts/play.sh's), linked in, so
no prefix has to be made: the launcher finds it made with the same settings.

Usage: test_deb.py BUILD_DIR VERSION
"""
import os
import re
import subprocess
import sys

import desktop as dt
import dunko_driver as d
import player

DEPENDS = "wine, wine64, fonts-ipafont-gothic"


def body(c, folder, desktop, tree, version):
    subprocess.run(["cpack", "-G", "DEB", "-B", folder], cwd=tree, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, timeout=30)
    deb = os.path.join(folder, f"dunko_{version}_amd64.deb")
    c.ok(os.path.isfile(deb), "cpack -G DEB makes the package", deb)

    lint = subprocess.run(["lintian", "--pedantic", "--fail-on", "error,warning", "--display-info", deb],
                          stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=30)
    tags = [line for line in lint.stdout.splitlines() if line[:2] in ("E:", "W:", "I:", "P:")]
    for line in tags:
        c.note(line)
    c.ok(lint.returncode == 0 and not any(t[:2] in ("E:", "W:") for t in tags),
         "lintian reports no error and no warning", lint.stdout + lint.stderr if lint.returncode else "")
    depends = d.run("dpkg-deb", "-f", deb, "Depends")
    c.ok(depends == DEPENDS, "it depends on Wine and the Japanese font only", f"got {depends!r}", go_on=True)

    root = os.path.join(folder, "root")
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True, timeout=10)
    home = os.path.join(folder, "home")
    data_home = os.path.join(folder, "data home")
    os.makedirs(home)
    os.makedirs(os.path.join(data_home, "dunko"))
    prefix = os.path.join(data_home, "dunko", "wineprefix")
    os.symlink(d.wine_variables("play")["WINEPREFIX"], prefix)

    # The launcher gets the environment of a player's desktop session, none
    # of the tests' Wine settings.
    for name in [n for n in os.environ if n.startswith("WINE")] + ["PULSE_LATENCY_MSEC"]:
        os.environ.pop(name, None)
    env = dict(DISPLAY=desktop.env["DISPLAY"], PULSE_SERVER=desktop.env["PULSE_SERVER"], HOME=home,
               XDG_DATA_HOME=data_home)
    launcher = os.path.join(root, "usr", "games", "dunko")
    # Game adds the program's path to the command; the launcher takes none.
    with dt.listening(desktop) as listening:
        game = d.Game(exe=launcher, cwd=folder, env=env, launcher=["sh", "-c", 'exec "$0"', launcher])
        client = player.managed_title_view(c, game)
        # The desktop ends a start's busy cursor (StartupNotify) when a window of StartupWMClass shows.
        entry = open(os.path.join(root, "usr", "share", "applications", "dunko.desktop"), encoding="utf-8").read()
        wm_class = d.run("xprop", "-id", game.window, "WM_CLASS")
        c.ok(f'"{re.search(r"^StartupWMClass=(.*)$", entry, re.M)[1]}"' in wm_class,
             "the window's class is the desktop entry's StartupWMClass", wm_class, go_on=True)
        with open(f"/proc/{game.pid}/environ", "rb") as f:
            environ = dict(item.split(b"=", 1) for item in f.read().split(b"\0") if b"=" in item)
        used = environ.get(b"WINEPREFIX", b"").decode()
        c.ok(used == prefix, "the game runs in the prefix below XDG_DATA_HOME", f"got {used!r}", go_on=True)
        where = os.readlink(f"/proc/{game.pid}/cwd")
        game_dir = os.path.join(root, "usr", "lib", "games", "dunko")
        c.ok(where == game_dir and os.path.isfile(os.path.join(where, "data", "piko1.wav")),
             "in the game's folder, which holds data/piko1.wav", f"got {where!r}", go_on=True)
        player.play_and_exit(c, game, client, listening)
    c.ok(not os.path.exists(os.path.join(home, ".wine")), "nothing is made in ~/.wine", go_on=True)


def main():
    tree, version = sys.argv[1], sys.argv[2]
    player.run("e2e_deb", lambda c, folder, desktop: body(c, folder, desktop, tree, version))


if __name__ == "__main__":
    main()
