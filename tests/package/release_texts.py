#!/usr/bin/env python3
"""The version and the release date of CMakeLists.txt (project()'s version,
DUNKO_RELEASE_DATE) as every text and resource filled from them states
them: the players' ReadMe.txt (all its versions and dates), Dunko.exe's
version block (and its copyright line, LICENSE's) and manifest, and the
Debian package's changelog (its newest entry), manual page and AppStream
release. Names each that disagrees.

Usage: release_texts.py VERSION DATE EXE README CHANGELOG MANPAGE METAINFO
"""
import email.utils
import os
import re
import struct
import sys


def main():
    version, date, exe, *paths = sys.argv[1:]
    readme, changelog, man, meta = (open(path, encoding="utf-8-sig").read() for path in paths)
    licence = open(os.path.join(os.path.dirname(__file__), "..", "..", "LICENSE")).read()
    data = open(exe, "rb").read()
    fixed = struct.unpack_from("<4H", data, data.index(b"\xbd\x04\xef\xfe") + 8)  # VS_FIXEDFILEINFO's versions
    strings = data.decode("utf-16-le", "replace")  # the version block's texts: key, padding, value
    texts = [re.search(key + "\0+([^\0]*)", strings)[1] for key in ("FileVersion", "ProductVersion", "LegalCopyright")]
    newest = re.search(r"\((\S+)\).*?^ -- .*?  (.*)$", changelog, re.M | re.S)
    stated = [
        ("the version block", (*texts[:2], ".".join(map(str, fixed[1::-1] + fixed[:1:-1])), texts[2]),
         (version.replace(".", ", "),) * 2 + (version, re.search(r"^Copyright .*", licence, re.M)[0])),
        ("the manifest", re.findall(rb'name="Dunko.Dunko" version="([^"]*)"', data), [version.encode()]),
        ("ReadMe.txt", (set(re.findall(r"version (\d[\d.]*\d)", readme)), set(re.findall(r"\d{4}-\d\d-\d\d", readme))),
         ({version}, {date})),
        ("the changelog", newest and (newest[1], str(email.utils.parsedate_to_datetime(newest[2]).date())),
         (version, date)),
        ("the manual page", re.findall(r'^\.TH \S+ \S+ (\S+) "Dunko (\S+)"', man, re.M), [(date, version)]),
        ("the AppStream release", re.findall(r'<release version="([^"]*)" date="([^"]*)"', meta)[:1],
         [(version, date)]),
    ]
    wrong = [f"{what}: {got!r}, not {want!r}" for what, got, want in stated if got != want]
    print("\n".join(wrong) or f"version {version} of {date} everywhere")
    sys.exit(1 if wrong else 0)


if __name__ == "__main__":
    main()
