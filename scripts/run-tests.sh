#!/usr/bin/env bash
# Builds the x86_64 tree (installing what is missing; quick when it is up
# to date) and runs CTest for it under a virtual X display, with one warm
# wineserver for the whole run so each test process starts quickly and no
# Wine helper keeps CTest's pipes open afterwards.
# Usage: scripts/run-tests.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/lib/build.sh
hold_build_trees build/x64 -- "$@"
build --desktop x64

# The Wine desktop process is started up front (scripts/lib/wine-session.sh):
# started with the first window a test makes, it would inherit the output
# pipes of that test, holding CTest until it ends.
# No test is run twice: a test that fails once is a fault to find.
exec scripts/lib/wine-session.sh build/x64 ctest --preset x64 "$@"
