#!/usr/bin/env bash
# Sets up what is missing, builds the i686 product and the x86_64 build, and
# runs every test (x86_64, under Wine and a virtual display; the desktop test
# brings its own display, window manager and sound server).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh --desktop

cmake --preset i686 >/dev/null
cmake --build --preset i686
cmake --preset x64 >/dev/null
cmake --build --preset x64

scripts/check-imports.sh build/i686 build/x64
scripts/run-tests.sh "$@"
