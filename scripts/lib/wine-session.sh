#!/usr/bin/env bash
# Runs a command under Wine on a virtual X display of its own (1280x1024,
# 24-bit): with the Wine prefix of BUILD_DIR prepared (scripts/wine-prefix.sh),
# the environment of scripts/wine-env.sh set, and one warm wineserver for the
# whole command, so each Wine process starts quickly and no Wine helper keeps
# the command's pipes open afterwards. The wineserver is killed at the end;
# exits with the command's status. The command runs in the current directory.
# Usage: scripts/lib/wine-session.sh [--no-desktop] BUILD_DIR COMMAND [ARGS...]
#   --no-desktop: do not start Wine's desktop process up front (see below).
if [ "${1:-}" != "--on-display" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-display "$@"
fi
shift
set -u
scripts=$(cd "$(dirname "$0")/.." && pwd)
desktop=yes
if [ "$1" = "--no-desktop" ]; then desktop=no; shift; fi
build="$1"; shift

"$scripts/wine-prefix.sh" "$build"
source "$scripts/wine-env.sh" "$build"
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1
if [ "$desktop" = yes ]; then
  # The desktop process starts with the first window a program makes and
  # would inherit the output pipes of that program, holding whoever reads
  # them until it ends. Start it here, detached from any program.
  wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  sleep 1
fi
"$@"
rc=$?
wineserver -k
exit $rc
