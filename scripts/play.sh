#!/usr/bin/env bash
# Sets up what is missing, builds the game and starts it. On Linux the
# x86_64 build runs under Wine (the i686 build runs here only under Wine's
# WoW64 mode, which cannot draw); the i686 build is the one to hand to
# Windows users.
#
# The game runs in a Wine prefix made for playing (build/x64/playprefix,
# never ~/.wine): the desktop's window manager manages its window and the
# hit sound goes to the desktop's sound server; without one it is silent.
# Usage: scripts/play.sh [--exe DUNKO_EXE]
#   --exe starts that build of the game as it is, without installing or
#   building anything (the end-to-end test of the desktop does that).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "${1:-}" = "--exe" ]; then
  game=$(realpath "$2")
else
  source scripts/lib/build.sh
  build x64:Dunko
  game="$root/build/x64/src/Dunko.exe"
fi

if [ -z "${DISPLAY:-}" ]; then
  echo "No X display: run this from a desktop session, or under 'xvfb-run -a'." >&2
  exit 1
fi

scripts/wine-prefix.sh build/x64 play
source scripts/wine-env.sh build/x64 play
# The game finds its hit sound as data\piko1.wav below the current directory.
exec wine "$game"
