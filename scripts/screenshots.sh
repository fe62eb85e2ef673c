#!/usr/bin/env bash
# Takes the pictures of the game in docs/ (screenshot-title.png,
# -banner.png, -stage.png, -question.png, -sysmenu.png) from the real x86_64
# game under Wine on a virtual display, in the C.UTF-8 locale, driven with
# real pointer and key input by tests/e2e/screenshots.py.
#
# The game runs in a Wine prefix of its own (build/screenshots/wineprefix,
# made once with the project's settings) and every Wine program of the run
# gets the same locale: Wine rewrites some of the prefix's font links
# whenever the prefix last ran under another code page (the tests run
# programs under code page 932), and the pictures must not depend on that.
# Usage: scripts/screenshots.sh [output folder, default docs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
cd "$root"

source scripts/lib/build.sh
build x64:Dunko

mkdir -p build/screenshots
LC_ALL=C.UTF-8 PYTHONDONTWRITEBYTECODE=1 scripts/lib/wine-session.sh build/screenshots \
  python3 "$root/tests/e2e/screenshots.py" "$out" "$root/build/x64/src/Dunko.exe"
