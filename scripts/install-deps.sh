#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing, quietly. Safe to run any number of times. Needs root (or sudo).
# Usage: scripts/install-deps.sh [--desktop] [more packages...]
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64
  libz-mingw-w64  # zlib1.dll, for the WoW64 Wine of the i686 tests (scripts/wow64-wine.sh)
  xvfb xauth xdotool x11-utils imagemagick python3
  fonts-ipafont-gothic
  googletest
  locales
  nsis lintian  # the Windows installer, and the check of the Debian package (scripts/package.sh)
)
# --desktop: the window manager and the sound server that the desktop test
# starts for itself. Not for playing: on a desktop whose sound server is
# PipeWire, installing PulseAudio would replace it.
if [ "${1:-}" = "--desktop" ]; then
  shift
  packages+=(openbox pulseaudio pulseaudio-utils)
fi
# Extra packages a caller needs on top (for example screenshot tools).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
