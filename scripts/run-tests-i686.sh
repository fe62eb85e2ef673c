#!/usr/bin/env bash
# Runs CTest for the i686 build, the product, under Wine's WoW64 mode
# (scripts/wow64-wine.sh makes that Wine and its prefix once per build
# tree), on a virtual X display with one warm wineserver, like
# scripts/run-tests.sh does for the x86_64 build.
# Usage: scripts/run-tests-i686.sh [ctest arguments...]
#
# WoW64 runs the 32-bit code on the processor in its 32-bit mode, which the
# kernel must offer to user programs. Where it does not (some virtual
# machines' kernels run 64-bit user code only), no i686 program can start:
# then this says so and runs nothing, or fails when DUNKO_I686_TESTS=require.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "${1:-}" = "--in-session" ]; then
  shift
  if ! wine 'C:\windows\syswow64\cmd.exe' /c exit 0 </dev/null >/dev/null 2>&1; then
    echo "i686 tests NOT RUN: a 32-bit program does not start under WoW64 on this machine" >&2
    echo "  (the kernel runs no 32-bit user code; see 'dmesg | grep -i ia-32')" >&2
    [ "${DUNKO_I686_TESTS:-}" = require ] && exit 1
    exit 0
  fi
  exec ctest --preset i686 "$@"
fi

scripts/wow64-wine.sh build/i686
exec scripts/lib/wine-session.sh build/i686 "$root/scripts/run-tests-i686.sh" --in-session "$@"
