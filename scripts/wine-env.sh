# Sourced by the scripts that run the game or its tests under Wine.
# Sets the Wine prefix of a build tree and keeps Wine quiet and non-interactive.
# Usage: source scripts/wine-env.sh BUILD_DIR [tests|play]
#   tests (the default): BUILD_DIR/wineprefix, for the test suite's display
#     without a window manager, on machines without a sound device.
#   play: BUILD_DIR/playprefix, for a person at a desktop: the window manager
#     manages the window, and the hit sound goes to the desktop's sound server.
#   scaled: BUILD_DIR/scaledprefix, as tests but at 144 dots per inch (150 %),
#     for the test of the game at another scaling.
dunko_build_dir=$(cd "$1" && pwd)
dunko_wine_kind=${2:-tests}
export WINEARCH=win64
# The i686 build tree runs its programs under a Wine of its own in WoW64 mode
# (scripts/wow64-wine.sh): its wine, wineserver, wineboot and winepath first.
if [ -x "$dunko_build_dir/wow64/bin/wine" ]; then
  case ":$PATH:" in
    *":$dunko_build_dir/wow64/bin:"*) ;;
    *) export PATH="$dunko_build_dir/wow64/bin:$PATH" ;;
  esac
fi
# Wine maps file names through the Unix locale's character set: under the
# POSIX locale (a login shell without LANG, a plain container) it cannot
# name a folder "ダンコ", and a game started from one finds no sound. A
# caller without a UTF-8 locale gets C.UTF-8, which Debian's C library
# always has; a test that wants another locale sets LC_ALL itself.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi
export WINEDEBUG=-all,err+module
# No .NET or Gecko installers, no desktop menu entries.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
case "$dunko_wine_kind" in
  tests|scaled)
    export WINEPREFIX="$dunko_build_dir/wineprefix"
    [ "$dunko_wine_kind" = tests ] || export WINEPREFIX="$dunko_build_dir/${dunko_wine_kind}prefix"
    # No sound drivers either: PlaySound then fails quietly.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv,winepulse.drv=d"
    ;;
  play)
    export WINEPREFIX="$dunko_build_dir/playprefix"
    # Wine's PulseAudio driver asks the server for a buffer of about 25 ms
    # and tops it up from a 10 ms timer thread; whenever that thread runs
    # late by more than the buffer holds, the server runs dry and the piko
    # has a hole. 190 ms takes nearly all of the 200 ms piko at once, so a
    # hole needs a stall of most of the sound: none in 100 hits with both
    # processors busy with other work, where 100 ms broke one hit in 40 and
    # broke one in CI. The buffer must stay shorter than the piko: the
    # server starts a stream once the buffer is full, and at 250 ms each hit
    # sounded some 60 ms later and cut short. The hit sounds within about
    # 30-80 ms (scripts/measure-hit-sound.sh). libpulse reads this for each
    # stream, with PulseAudio and with PipeWire's PulseAudio server alike.
    export PULSE_LATENCY_MSEC=190
    ;;
  *)
    echo "wine-env.sh: unknown kind '$dunko_wine_kind' (tests, play or scaled)" >&2
    return 2
    ;;
esac
