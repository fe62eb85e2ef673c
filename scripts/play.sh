#!/usr/bin/env bash
# Sets up what is missing, builds the game and starts it. On Linux the
# x86_64 build runs under Wine (32-bit programs cannot run on these
# machines); the i686 build is the one to hand to Windows users.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target Dunko
game="$root/build/x64/src/Dunko.exe"

if [ -z "${DISPLAY:-}" ]; then
  echo "No X display: run this from a desktop session, or under 'xvfb-run -a'." >&2
  exit 1
fi

scripts/wine-prefix.sh build/x64
source scripts/wine-env.sh build/x64
# The game finds its hit sound as data\piko1.wav below the current directory.
cd "$root"
exec wine "$game"
