#!/usr/bin/env bash
# Measures the hit sound as a player hears it: plays the real x86_64 game,
# started by scripts/play.sh, on a desktop of its own (Xvfb, openbox and a
# PulseAudio server with a null sink, see tests/e2e/desktop.py), hitting
# moles at a brisk pace (one each 0.4 s) until HITS hits, while recording the
# speakers. Prints how many hits sounded within 150 ms and how many of those
# whole, the delays from hit to sound, and the sounds' lengths.
# Usage: scripts/measure-hit-sound.sh [HITS, default 60]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source scripts/lib/build.sh
build --desktop x64:Dunko
PYTHONDONTWRITEBYTECODE=1 python3 tests/e2e/test_desktop.py --measure "${1:-60}" build/x64/src/Dunko.exe
