#!/usr/bin/env bash
# Measures the hit sound as a player hears it: plays the real x86_64 game,
# started by scripts/play.sh, on a desktop of its own that it makes and
# clears away (Xvfb, openbox and a PulseAudio server with a null sink, see
# tests/e2e/desktop.py; no sound server of the machine is used), hitting
# moles at the last stage's pace (one each 0.55 s) and then at a brisk one
# (0.4 s), HITS hits each, while recording the speakers and noting each
# playback stream the sound server reports. Prints, for each pace and for
# all hits, how many sounded within 150 ms, how many late or not at all, how
# many whole, the delays from hit to sound by both instruments, and how far
# they agree. Checks nothing.
# Usage: scripts/measure-hit-sound.sh [HITS, default 60]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source scripts/lib/build.sh
build --desktop x64:Dunko
# The play prefix first (once; it takes a while): the game's window must
# show within seconds of play.sh starting.
scripts/wine-prefix.sh build/x64 play
PYTHONDONTWRITEBYTECODE=1 python3 tests/e2e/test_desktop.py --measure "${1:-60}" build/x64/src/Dunko.exe
