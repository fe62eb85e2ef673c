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
  appstream desktop-file-utils  # the checks of the Debian package's metainfo and desktop entry
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
export DEBIAN_FRONTEND=noninteractive

# apt-get with its arguments, waiting while another apt or dpkg holds its
# locks (a machine just booted may be running its own updates) for up to ten
# minutes, instead of failing at once. Prints what apt said (on standard
# error when it failed) and returns its status.
apt_get() {
  local deadline=$((SECONDS + 600)) said status
  while :; do
    status=0
    said=$($sudo apt-get -o DPkg::Lock::Timeout=60 "$@" 2>&1) || status=$?
    if [ $status -ne 0 ] && [ $SECONDS -lt $deadline ] &&
      grep -qE 'Could not get lock|Unable to (acquire|lock)' <<<"$said"; then
      echo "apt is busy (another apt or dpkg holds its lock); waiting" >&2
      sleep 10
      continue
    fi
    if [ $status -ne 0 ]; then
      printf '%s\n' "$said" >&2
    elif [ -n "$said" ]; then
      printf '%s\n' "$said"
    fi
    return $status
  done
}

echo "Installing: ${missing[*]}"
# An index that cannot be fetched (a mirror in the middle of a sync, say)
# matters only when a package is then not to be had: the install says so.
if ! apt_get update -qq; then
  echo "install-deps.sh: some of apt's indexes could not be updated (above); installing from those it has"
fi
if ! apt_get install -y -qq "${missing[@]}" >/dev/null; then
  echo "install-deps.sh: could not install ${missing[*]}" >&2
  exit 1
fi
