# Sourced by the scripts that run the game or its tests under Wine.
# Sets the prefix of a build tree and keeps Wine quiet and non-interactive.
# Usage: source scripts/wine-env.sh BUILD_DIR
dunko_build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$dunko_build_dir/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all,err+module
# No .NET or Gecko installers, no desktop menu entries, no sound drivers
# (the machines have no sound device; PlaySound then fails quietly).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"
