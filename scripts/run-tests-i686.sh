#!/usr/bin/env bash
# Builds the i686 tree and runs CTest for it, the product, under Wine's WoW64 mode
# (scripts/wow64-wine.sh makes that Wine and its prefix once per build
# tree), on a virtual X display with one warm wineserver, like
# scripts/run-tests.sh does for the x86_64 build.
# Usage: scripts/run-tests-i686.sh [ctest arguments...]
#
# WoW64 runs the 32-bit code on the processor in its 32-bit mode, which the
# kernel must offer to user programs. Where it does not (some virtual
# machines' kernels run 64-bit user code only: they refuse a 32-bit Linux
# program as a format they cannot execute), no i686 program can start: then
# this says so and runs nothing (without setting up that Wine), or fails
# when DUNKO_I686_TESTS=require. Any other failure to start that probe, and
# a 32-bit program that does not start where the kernel runs 32-bit code,
# fail the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/lib/build.sh

if [ "${1:-}" = "--in-session" ]; then
  shift
  # This Wine cannot draw with GDI: the tests that draw skip themselves here,
  # and only here, when the probe at their start finds that drawing fails.
  export DUNKO_GDI_MAY_NOT_DRAW="the i686 tests under Wine's WoW64 mode"
  echo "i686 tests: the tests that draw skip themselves where GDI does not draw (Wine's WoW64 mode)"
  exec ctest --preset i686 "$@"
fi

hold_build_trees build/i686 -- "$@"

# Whether the kernel runs a 32-bit Linux program: the smallest one there is,
# an ELF header, one segment and three instructions (exit(0) via int 0x80).
# Exits 0 when it ran, 3 when the kernel refused its format (ENOEXEC), and
# fails with what happened otherwise (a folder mounted noexec, say).
kernel_runs_32bit_code() {
  python3 - "$root/build/i686/ia32-exit0" <<'PY'
import errno, os, struct, subprocess, sys
path = sys.argv[1]
base = 0x08048000
code = bytes([0xB8, 1, 0, 0, 0, 0x31, 0xDB, 0xCD, 0x80])  # mov eax,1; xor ebx,ebx; int 0x80
size = 52 + 32 + len(code)
header = struct.pack("<16sHHIIIIIHHHHHH", b"\x7fELF\x01\x01\x01" + bytes(9), 2, 3, 1, base + 84, 52, 0, 0,
                     52, 32, 1, 0, 0, 0)
segment = struct.pack("<8I", 1, 0, base, base, size, size, 5, 0x1000)
with open(path, "wb") as f:
    f.write(header + segment + code)
os.chmod(path, 0o755)
try:
    status = subprocess.run([path]).returncode
except OSError as error:
    if error.errno == errno.ENOEXEC:
        sys.exit(3)
    sys.exit(f"i686 tests: could not start the 32-bit probe {path}: {error}")
finally:
    os.unlink(path)
if status != 0:
    sys.exit(f"i686 tests: the 32-bit probe {path} started but ended with status {status}, not 0")
PY
}

build i686
# Asked first, so that a machine that cannot run them spends nothing on
# setting up their Wine.
status=0
kernel_runs_32bit_code || status=$?
if [ $status -eq 3 ]; then
  echo "i686 tests NOT RUN: this kernel runs no 32-bit user code, so Wine's WoW64 mode cannot either" >&2
  [ "${DUNKO_I686_TESTS:-}" = require ] && exit 1
  exit 0
elif [ $status -ne 0 ]; then
  exit 1
fi
scripts/wow64-wine.sh build/i686
exec scripts/lib/wine-session.sh build/i686 "$root/scripts/run-tests-i686.sh" --in-session "$@"
