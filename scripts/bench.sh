#!/usr/bin/env bash
# Builds both targets and runs the benchmark program under Wine and a virtual
# display; prints its table and writes it, with the machine, the date and the
# Wine version, to docs/benchmarks.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source scripts/lib/build.sh
build i686 x64

# No Wine desktop process up front: the figures are measured without one.
table=$(scripts/lib/wine-session.sh --no-desktop build/x64 bash -c '
  set -eu
  root="$1"
  w() { winepath -w "$1" 2>/dev/null; }
  wine "$root/build/x64/bench/dunko_bench.exe" \
    "$(w "$root/build/x64/src/Dunko.exe")" "$(w "$root/build/x64/bench/minimal_dialog.exe")" "$(w "$root")" \
    "i686 Dunko.exe=$(w "$root/build/i686/src/Dunko.exe")" \
    "x86_64 Dunko.exe=$(w "$root/build/x64/src/Dunko.exe")" </dev/null | tr -d "\r"
' bash "$root")

# DUNKO_BENCH=paint,hit (any of paint, hit, cpu, stop, startup) runs only
# those: the table is printed, and docs/benchmarks.md keeps the full run.
if [ -n "${DUNKO_BENCH:-}" ]; then
  echo "$table"
  exit 0
fi

cpu=$(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n1)
{
  echo "# Benchmarks"
  echo
  echo "Made by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "- Machine: $(nproc) cores, $(free -g | awk '/^Mem:/{print $2}') GiB, ${cpu:-unknown processor}"
  echo "- Wine: $(wine --version 2>/dev/null), x86_64 build under Xvfb (24-bit)"
  echo "- Compiler: $(x86_64-w64-mingw32-g++-posix --version | head -n1)"
  echo
  echo "$table"
  echo
  cat <<'TEXT'
Paint times are one call of the board's Draw into a 478 x 482 memory bitmap
(GDI flushed), 600 samples after 50 for warm-up. The off-screen rows add the
window's way of painting: draw into the back buffer, blit it to a window. The
back buffer (a memory context and its bitmap) is kept between paints; the row
below it makes both for every paint, which is what keeping them saves.

Hit latency runs from PushClick of a click on the mole to the end of the first
paint that shows the hit in the status line, on a window that paints on a
thread of its own as the game's dialog does. Clicks come after the game's
100 ms pause after placing a mole, spread over its 20 ms poll; a pushed click
ends the poll's wait, and the sound's thread is started after the repaint is
asked for. On this 2-core virtual machine the maximum varies from run to run
(5 to 10 ms mostly, now and then 15 to 35 ms, from one late thread wake-up or
preempted paint); p99 shows the tail without that one sample.

Processor time is user plus kernel time of the game thread and of the thread
painting the board on every repaint request. Start-up is from CreateProcess to
the client area showing the title view's colour on the screen.
TEXT
} > docs/benchmarks.md
cat docs/benchmarks.md
