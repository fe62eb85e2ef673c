#!/usr/bin/env bash
# Builds the i686 tree and runs CTest for it, the product, under Wine's WoW64 mode
# (scripts/wow64-wine.sh makes that Wine and its prefix once per build
# tree), on a virtual X display with one warm wineserver, like
# scripts/run-tests.sh does for the x86_64 build.
# Usage: scripts/run-tests-i686.sh [ctest arguments...]
#
# WoW64 runs the 32-bit code on the processor in its 32-bit mode, which the
# kernel must offer to user programs. Where it does not (some virtual
# machines' kernels run 64-bit user code only, and refuse 32-bit Linux
# programs too), no i686 program can start: then this says so and runs
# nothing (without setting up that Wine), or fails when
# DUNKO_I686_TESTS=require. Where the kernel does run 32-bit code, a 32-bit
# program that does not start is a fault of the setup, and fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Whether the kernel runs a 32-bit Linux program: the smallest one there is,
# an ELF header, one segment and three instructions (exit(0) via int 0x80).
kernel_runs_32bit_code() {
  local program status
  program="$root/build/i686/wow64/ia32-exit0"
  python3 - "$program" <<'PY'
import struct, sys
base = 0x08048000
code = bytes([0xB8, 1, 0, 0, 0, 0x31, 0xDB, 0xCD, 0x80])  # mov eax,1; xor ebx,ebx; int 0x80
size = 52 + 32 + len(code)
header = struct.pack("<16sHHIIIIIHHHHHH", b"\x7fELF\x01\x01\x01" + bytes(9), 2, 3, 1, base + 84, 52, 0, 0,
                     52, 32, 1, 0, 0, 0)
segment = struct.pack("<8I", 1, 0, base, base, size, size, 5, 0x1000)
with open(sys.argv[1], "wb") as f:
    f.write(header + segment + code)
PY
  chmod +x "$program"
  status=0
  "$program" 2>/dev/null || status=$?
  rm -f "$program"
  return $status
}

if [ "${1:-}" = "--in-session" ]; then
  shift
  if ! wine 'C:\windows\syswow64\cmd.exe' /c exit 0 </dev/null >/dev/null 2>&1; then
    echo "i686 tests: a 32-bit program does not start under the WoW64 Wine of build/i686" >&2
    exit 1
  fi
  exec ctest --preset i686 "$@"
fi

source scripts/lib/build.sh
build i686
# Asked first, so that a machine that cannot run them spends nothing on
# setting up their Wine.
mkdir -p build/i686/wow64
if ! kernel_runs_32bit_code; then
  echo "i686 tests NOT RUN: this kernel runs no 32-bit user code, so Wine's WoW64 mode cannot either" >&2
  [ "${DUNKO_I686_TESTS:-}" = require ] && exit 1
  exit 0
fi
scripts/wow64-wine.sh build/i686
exec scripts/lib/wine-session.sh build/i686 "$root/scripts/run-tests-i686.sh" --in-session "$@"
