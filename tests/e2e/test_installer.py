#!/usr/bin/env python3
"""The Windows installer under Wine, as a player uses it.

Makes the installer of this build tree (cpack -G NSIS) and runs it
silently (/S) in the prefix scripts/play.sh plays in. Then:
- the game's files are in the player's own folder (no administrator
  rights needed), the same as the build's;
- the Start-menu shortcut, named with the game's Japanese name, points at
  the installed Dunko.exe and starts it in the installed folder;
- the list of programs has the uninstaller, with the version and the icon;
- the game started as the shortcut starts it shows its title view on a
  desktop of the test's own (desktop.py) and every hit is heard: the sound
  comes from the installed folder, the only data\\piko1.wav below it;
- the uninstaller run silently leaves no file, shortcut or entry behind.

With --by-window, for the i686 tree, whose Wine (WoW64) cannot draw: in
that tree's own prefix and display, and the game checked by its window
alone (its title, the folder it runs in, Enter ending it).

Usage: test_installer.py BUILD_DIR VERSION [--by-window]
"""
import glob
import os
import shutil
import struct
import subprocess
import sys

import desktop as dt
import dunko_driver as d
import player

NAME = "Dunko叩き"
UNINSTALL_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dunko"
# The shell link's flags (MS-SHLLINK 2.1.1).
HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON, \
    IS_UNICODE = (1 << i for i in range(8))


def read_shortcut(path):
    """(target, working folder) of a Windows shell link (.lnk) file."""
    with open(path, "rb") as f:
        data = f.read()
    flags = struct.unpack_from("<I", data, 0x14)[0]
    pos = 0x4C
    if flags & HAS_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    target = None
    if flags & HAS_LINK_INFO:
        size, header, info_flags, _, base, _, suffix = struct.unpack_from("<7I", data, pos)
        if info_flags & 1:
            if header >= 0x24:
                base_w = struct.unpack_from("<I", data, pos + 0x1C)[0]
                start = pos + base_w
                end = data.index(b"\0\0", start)
                end += (end - start) % 2
                target = data[start:end].decode("utf-16-le")
            else:
                target = data[pos + base:data.index(b"\0", pos + base)].decode("cp1252")
            target += data[pos + suffix:data.index(b"\0", pos + suffix)].decode("cp1252")
        pos += size
    strings = {}
    for flag in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, HAS_ARGUMENTS, HAS_ICON):
        if flags & flag:
            count = struct.unpack_from("<H", data, pos)[0]
            width = 2 if flags & IS_UNICODE else 1
            raw = data[pos + 2:pos + 2 + count * width]
            # Wine counts the terminating null in.
            strings[flag] = raw.decode("utf-16-le" if width == 2 else "cp1252").rstrip("\0")
            pos += 2 + count * width
    return target, strings.get(HAS_WORKING_DIR)


class Prefix:
    """Paths of one Wine prefix, both ways."""

    def __init__(self, env, folder):
        self.env = env
        self.folder = folder
        self.root = env["WINEPREFIX"]
        users = [u for u in glob.glob(os.path.join(self.root, "drive_c", "users", "*"))
                 if os.path.basename(u) != "Public"]
        self.user = os.path.basename(users[0])
        self.install_dir = f"C:\\users\\{self.user}\\AppData\\Local\\Programs\\Dunko"
        self.shortcut = self.unix(f"C:\\users\\{self.user}\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"
                                  f"\\Programs\\{NAME}.lnk")
        # The uninstaller copies itself to the user's temporary folder,
        # %TEMP% (C:\users\<user>\Temp in Wine 8). Asked of Wine, never
        # searched for: the user's folders in a prefix link to the Unix home,
        # which may hold other prefixes and, through their drive Z:, the whole
        # file system. The answer goes to a file: a Wine helper that inherits
        # a pipe holds its reader until it ends.
        with open(os.path.join(folder, "temp.txt"), "w+") as out:
            subprocess.run(["wine", "cmd", "/c", "echo %TEMP%"], env=env, stdin=subprocess.DEVNULL, stdout=out,
                           stderr=subprocess.DEVNULL, timeout=10, check=True)
            out.seek(0)
            self.temp = self.unix(out.read().strip())

    def unix(self, windows_path):
        drive, rest = windows_path.split(":", 1)
        assert drive.upper() == "C", windows_path
        return os.path.join(self.root, "drive_c", *[p for p in rest.split("\\") if p])

    def uninstall_entry(self):
        """The uninstall key's values as reg export writes them, or None
        when there is no such key."""
        out = os.path.join(self.folder, "entry.reg")
        if os.path.exists(out):
            os.remove(out)
        code = player.run_quietly(["wine", "reg", "export", UNINSTALL_KEY, "Z:" + out.replace("/", "\\"), "/y"],
                                  self.env, 10)
        if code != 0 or not os.path.exists(out):
            return None
        with open(out, "rb") as f:
            return f.read().decode("utf-16")

    def uninstaller_copies(self):
        """The files in the uninstaller's temporary folders (%TEMP%\\~nsu*.tmp)."""
        return glob.glob(os.path.join(self.temp, "~nsu*.tmp", "*"))

    def clear(self):
        """Takes away what an earlier run that failed half-way left."""
        shutil.rmtree(self.unix(self.install_dir), ignore_errors=True)
        for copy in glob.glob(os.path.join(self.temp, "~nsu*.tmp")):
            shutil.rmtree(copy, ignore_errors=True)
        if os.path.exists(self.shortcut):
            os.remove(self.shortcut)
        if self.uninstall_entry() is not None:
            player.run_quietly(["wine", "reg", "delete", UNINSTALL_KEY, "/f"], self.env, 10)


def same_file(a, b):
    with open(a, "rb") as x, open(b, "rb") as y:
        return x.read() == y.read()


def play_on_desktop(c, desktop, env, target, working):
    """The game as the shortcut starts it (its target, in its working
    folder), on the desktop: a managed window, the title view, every hit
    heard."""
    with dt.listening(desktop) as listening:
        game = d.Game(exe=target, cwd=working, env=env, launcher=["wine"])
        player.play_and_exit(c, game, player.managed_title_view(c, game), listening)


def start_by_window(c, env, target, working):
    """The game as the shortcut starts it, for a Wine that cannot draw (the
    i686 build under WoW64): its window, the folder it runs in, and Enter
    (the dialog's OK) ending it with exit code 0."""
    try:
        game = d.Game(exe=target, cwd=working, env=env, launcher=["wine"])
    except (TimeoutError, RuntimeError) as error:
        # The uninstaller's checks do not depend on the game; a game still
        # running would hold its file, so the prefix's processes end first.
        c.ok(False, "the game's window appears", str(error), go_on=True)
        player.run_quietly(["wineserver", "-k"], env, 10)
        return
    title = game.title()
    c.ok(title == NAME, f"the game's window appears, titled {NAME}", repr(title))
    where = os.readlink(f"/proc/{game.pid}/cwd")
    c.ok(where == working, "the game runs in the installed folder", f"got {where!r}", go_on=True)
    left, top, right, bottom = game.geometry()
    game.move(((left + right) // 2, (top + bottom) // 2))
    game.key("Return")
    code = game.wait_exit(5)
    c.ok(code == 0, "Enter ends the game with exit code 0", str(code))


def files(folder):
    return sorted(os.path.relpath(os.path.join(p, f), folder) for p, _, fs in os.walk(folder) for f in fs)


def install_older(c, tree, folder, env):
    """An older version, with a file (Old.txt) that the newer one has not,
    installed first: the newer one installed over it must leave exactly its
    own files, one shortcut and one entry."""
    extra = os.path.join(folder, "older files")
    os.makedirs(extra)
    open(os.path.join(extra, "Old.txt"), "w").close()
    subprocess.run(["cpack", "-G", "NSIS", "-B", os.path.join(folder, "older"), "-D", "CPACK_PACKAGE_VERSION=0.0.0.1",
                    "-D", f"CPACK_INSTALLED_DIRECTORIES={extra};."], cwd=tree, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, timeout=30)
    code = player.run_quietly(["wine", *glob.glob(os.path.join(folder, "older", "*-setup.exe")), "/S"], env, 20)
    c.ok(code == 0, "an older version, with a file of its own, is installed first", str(code))


def refused_while_running(c, env, setup, prefix, folder, target, working):
    """With the game's window open, the uninstaller (run in place, _?=, to
    give its exit code) and the installer, both silent, end non-zero and
    change no file and no entry."""
    installed = prefix.unix(prefix.install_dir)

    def state():
        return prefix.uninstall_entry(), [(f, os.stat(os.path.join(installed, f)).st_ctime_ns)
                                                for f in files(installed)]
    before = state()
    game = d.Game(exe=target, cwd=working, env=env, launcher=["wine"])
    try:
        codes = [player.run_quietly(["wine", os.path.join(installed, "Uninstall.exe"), "/S",
                                     "_?=" + prefix.install_dir], env, 20),
                 player.run_quietly(["wine", setup, "/S"], env, 20)]
    finally:
        game.kill()
        player.run_quietly(["wineserver", "-k"], env, 10)
    c.ok(0 not in codes and state() == before,
         "with the game running, the uninstaller and the installer end non-zero and change nothing", str(codes))


def body(c, folder, desktop, tree, version):
    subprocess.run(["cpack", "-G", "NSIS", "-B", folder], cwd=tree, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, timeout=30)
    setups = glob.glob(os.path.join(folder, f"Dunko-{version}-win*-setup.exe"))
    c.ok(len(setups) == 1, "cpack -G NSIS makes the installer", str(setups))
    c.note(f"{os.path.basename(setups[0])}: {os.path.getsize(setups[0])} bytes")

    env = player.play_env(desktop) if desktop else d.wine_environment()
    prefix = Prefix(env, folder)
    prefix.clear()
    install_older(c, tree, folder, env)
    code = player.run_quietly(["wine", setups[0], "/S"], env, 20)
    c.ok(code == 0, "the installer run with /S ends with exit code 0", str(code))

    installed = prefix.unix(prefix.install_dir)
    for name, built in (("Dunko.exe", os.path.join(tree, "src", "Dunko.exe")),
                        ("data/piko1.wav", os.path.join(d.ROOT, "data", "piko1.wav")),
                        *((name, os.path.join(tree, "dist", name))
                          for name in ("ReadMe.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt"))):
        path = os.path.join(installed, name)
        c.ok(os.path.isfile(path) and same_file(path, built), f"{name} is installed as built", path, go_on=True)
    c.ok(os.path.isfile(os.path.join(installed, "Uninstall.exe")), "the uninstaller is installed beside it")
    want = sorted(["Dunko.exe", "data/piko1.wav", "ReadMe.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt",
                   "Uninstall.exe"])
    c.ok(files(installed) == want, "exactly the newer version's files", str(files(installed)), go_on=True)

    c.ok(os.path.isfile(prefix.shortcut), f"the Start menu has the shortcut {NAME}.lnk", prefix.shortcut)
    target, working = read_shortcut(prefix.shortcut)
    want_target = prefix.install_dir + "\\Dunko.exe"
    c.ok((target or "").lower() == want_target.lower(), "the shortcut points at the installed Dunko.exe",
         f"got {target!r}, want {want_target!r}", go_on=True)
    c.ok((working or "").lower() == prefix.install_dir.lower(), "the shortcut starts it in the installed folder",
         f"got {working!r}, want {prefix.install_dir!r}", go_on=True)

    entry = prefix.uninstall_entry() or ""
    for value in (f'"DisplayName"="{NAME}"', f'"DisplayVersion"="{version}"',
                  '"DisplayIcon"="' + (prefix.install_dir + "\\Dunko.exe,0").replace("\\", "\\\\") + '"',
                  '"UninstallString"="\\"' + (prefix.install_dir + "\\Uninstall.exe").replace("\\", "\\\\")
                  + '\\""'):
        c.ok(value in entry, f"the list of programs has {value}", "" if value in entry else entry, go_on=True)

    refused_while_running(c, env, setups[0], prefix, folder, prefix.unix(target), prefix.unix(working))
    if desktop:
        play_on_desktop(c, desktop, env, prefix.unix(target), prefix.unix(working))
    else:
        start_by_window(c, env, prefix.unix(target), prefix.unix(working))

    # The uninstaller copies itself to the temporary folder and goes on
    # from there; the folder is its last step.
    code = player.run_quietly(["wine", os.path.join(installed, "Uninstall.exe"), "/S"], env, 20)
    c.ok(code == 0, "the uninstaller run with /S ends with exit code 0", str(code))
    gone = d.wait_for(lambda: not os.path.exists(installed), 10, interval=0.2)
    left = sorted(os.path.relpath(os.path.join(p, f), installed)
                  for p, _, fs in os.walk(installed, followlinks=False) for f in fs)
    c.ok(gone, "the uninstaller takes the installed folder away", str(left), go_on=True)
    c.ok(not os.path.exists(prefix.shortcut), "and the shortcut", go_on=True)
    c.ok(prefix.uninstall_entry() is None, "and the entry in the list of programs", go_on=True)
    # Its copy in the temporary folder is left for Windows to delete at the
    # next restart, which wineboot -r stands for. (Wine runs the two entries
    # the folder first, so the folder itself stays, empty.)
    copies = prefix.uninstaller_copies()
    c.ok(copies, "the uninstaller leaves its temporary copy for the next restart",
         str(copies or f"none in {prefix.temp}"), go_on=True)
    player.run_quietly(["wineboot", "-r"], env, 20)
    copies = prefix.uninstaller_copies()
    c.ok(not copies, "after a restart the uninstaller's temporary copy is gone too", str(copies), go_on=True)


def main():
    tree, version = sys.argv[1], sys.argv[2]
    by_window = sys.argv[3:] == ["--by-window"]
    player.run("e2e_installer_windows" if by_window else "e2e_installer",
               lambda c, folder, desktop: body(c, folder, desktop, tree, version), on_desktop=not by_window)


if __name__ == "__main__":
    main()
