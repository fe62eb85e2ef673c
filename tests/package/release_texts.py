#!/usr/bin/env python3
"""The version and the release date of CMakeLists.txt (project()'s version,
DUNKO_RELEASE_DATE) as every text and resource filled from them states
them: the players' ReadMe.txt, Dunko.exe's version block (and its copyright
line, LICENSE's) and manifest, and the Debian package's changelog (its
newest entry), manual page and AppStream release. Names each that
disagrees.

Usage: release_texts.py VERSION DATE EXE README CHANGELOG MANPAGE METAINFO
"""
import email.utils
import os
import re
import struct
import sys

LICENSE = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "LICENSE")


def main():
    version, date, exe, readme, changelog, manpage, metainfo = sys.argv[1:]
    text = {name: open(path, encoding="utf-8-sig").read()
            for name, path in (("readme", readme), ("changelog", changelog), ("man", manpage), ("meta", metainfo))}
    data = open(exe, "rb").read()
    ms, ls = struct.unpack_from("<II", data, data.index(b"\xbd\x04\xef\xfe") + 8)  # VS_FIXEDFILEINFO
    strings = data.decode("utf-16-le", "replace")

    def value(key):  # a string of the version block: its key, padding, then the value
        found = re.search(key + "\0+([^\0]*)", strings)
        return found and found[1]
    entry = re.search(r"^\S+ \((\S+)\).*?^ -- .*?  (.*)$", text["changelog"], re.M | re.S)
    release = re.search(r'<release version="([^"]*)" date="([^"]*)"', text["meta"])
    th = re.search(r'^\.TH \S+ \S+ (\S+) "Dunko (\S+)"', text["man"], re.M)
    stated = [
        ("the version block's numbers", f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}", version),
        ("its FileVersion and ProductVersion", {value("FileVersion"), value("ProductVersion")},
         {version.replace(".", ", ")}),
        ("its LegalCopyright", value("LegalCopyright"), re.search(r"^Copyright .*$", open(LICENSE).read(), re.M)[0]),
        ("the manifest's version", re.search(rb'name="Dunko.Dunko" version="([^"]*)"', data)[1].decode(), version),
        ("ReadMe.txt's versions and dates", (set(re.findall(r"version (\d[\d.]*\d)", text["readme"])),
                                             set(re.findall(r"\d{4}-\d\d-\d\d", text["readme"]))), ({version}, {date})),
        ("the changelog's newest entry", entry and (entry[1], str(email.utils.parsedate_to_datetime(entry[2]).date())),
         (version, date)),
        ("the manual page's date and version", th and th.groups(), (date, version)),
        ("the AppStream release", release and release.groups(), (version, date)),
    ]
    wrong = [f"{what}: {got!r}, not {want!r}" for what, got, want in stated if got != want]
    for line in wrong or [f"version {version} of {date} everywhere"]:
        print(line)
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
