#!/usr/bin/env bash
# Prepares the Wine that runs the i686 build's programs here: Debian 12's
# wine64 (8.0) starts a 32-bit Windows program in its WoW64 mode by itself,
# with no 32-bit Linux libraries, but the wine64 package lacks the 32-bit
# Windows libraries, which Debian ships in libwine:i386. That package is
# downloaded and unpacked only, never installed: installing it would pull
# 32-bit Linux libraries that these machines cannot run.
#
# Made once per build tree, in BUILD_DIR/wow64/:
#   tree/  a private Wine: the system's wine64 and wineserver64, its x86_64
#          libraries and /usr/share/wine (hard links where the file system
#          allows, copies otherwise), plus the unpacked i386-windows folder
#          and zlib1.dll (Debian's 32-bit user32 imports it), all at the
#          relative paths Wine looks them up by;
#   bin/   wine, wineserver, wineboot and winepath that run that Wine;
#          scripts/wine-env.sh puts them first in PATH for this build tree.
# and the tests' prefix BUILD_DIR/wineprefix, made by that Wine, with its
# syswow64 folder filled with the 32-bit libraries (wineboot leaves it empty).
# Usage: scripts/wow64-wine.sh BUILD_DIR   (as root or with sudo, the first time)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
wow=$build/wow64
tree=$wow/tree
winedir=usr/lib/x86_64-linux-gnu/wine

version=$(dpkg-query -W -f='${Version}' wine64)
stamp="$tree/.dunko-wine-version"

# Hard links cost no space; a build tree on another file system gets copies.
link_or_copy() {
  mkdir -p "$(dirname "$2")"
  rm -rf "$2"
  cp -al "$1" "$2" 2>/dev/null || cp -a "$1" "$2"
}

if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$version" ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  # The 32-bit libraries must be those of the very Wine installed.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture to apt (for downloading libwine:i386)"
    $sudo dpkg --add-architecture i386
  fi
  if ! apt-cache show "libwine:i386=$version" >/dev/null 2>&1; then
    $sudo apt-get update -qq
  fi
  rm -rf "$wow"
  mkdir -p "$wow/deb"
  echo "Downloading libwine:i386 $version and making the WoW64 Wine in $wow (once)"
  # apt's download sandbox user may not write into the build tree.
  (cd "$wow/deb" && apt-get download -qq -o APT::Sandbox::User=root "libwine:i386=$version")
  dpkg-deb -x "$wow"/deb/libwine_*_i386.deb "$wow/unpacked"

  link_or_copy /usr/lib/wine/wine64 "$tree/usr/lib/wine/wine64"
  link_or_copy /usr/lib/wine/wineserver64 "$tree/usr/lib/wine/wineserver64"
  for part in x86_64-unix x86_64-windows; do
    link_or_copy "/$winedir/$part" "$tree/$winedir/$part"
  done
  link_or_copy /usr/share/wine "$tree/usr/share/wine"
  link_or_copy "$wow/unpacked/usr/lib/i386-linux-gnu/wine/i386-windows" "$tree/$winedir/i386-windows"
  cp /usr/i686-w64-mingw32/lib/zlib1.dll "$tree/$winedir/i386-windows/"
  rm -rf "$wow/unpacked" "$wow/deb"

  mkdir -p "$wow/bin"
  cat > "$wow/bin/wine" <<EOF
#!/bin/sh
# The private WoW64 Wine of this build tree (scripts/wow64-wine.sh).
export WINELOADER="$tree/usr/lib/wine/wine64"
export WINESERVER="$tree/usr/lib/wine/wineserver64"
exec "\$WINELOADER" "\$@"
EOF
  cat > "$wow/bin/wineserver" <<EOF
#!/bin/sh
exec "$tree/usr/lib/wine/wineserver64" "\$@"
EOF
  for tool in wineboot winepath; do
    printf '#!/bin/sh\nexec "%s" %s.exe "$@"\n' "$wow/bin/wine" "$tool" > "$wow/bin/$tool"
  done
  chmod +x "$wow/bin"/*
  rm -rf "$build/wineprefix"
  echo "$version" > "$stamp"
fi

# The prefix, made by this Wine (wine-env.sh puts bin/ first in PATH), then
# the 32-bit libraries where a WoW64 process looks for them.
"$here/wine-prefix.sh" "$build"
syswow64="$build/wineprefix/drive_c/windows/syswow64"
if [ ! -f "$syswow64/.dunko-filled" ]; then
  mkdir -p "$syswow64"
  cp -alf "$tree/$winedir/i386-windows/." "$syswow64/" 2>/dev/null ||
    cp -af "$tree/$winedir/i386-windows/." "$syswow64/"
  echo "$version" > "$syswow64/.dunko-filled"
fi
