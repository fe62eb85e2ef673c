#!/usr/bin/env bash
# Sets up what is missing, builds the i686 product and the x86_64 build, and
# runs every test of both: x86_64 under Wine and a virtual display (the
# desktop test brings its own display, window manager and sound server), then
# i686 under Wine's WoW64 mode. CTest arguments go to both runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source scripts/lib/build.sh
hold_build_trees build/i686 build/x64 -- "$@"
build --desktop i686 x64

scripts/check-imports.sh build/i686 build/x64
scripts/run-tests.sh "$@"
scripts/run-tests-i686.sh "$@"
