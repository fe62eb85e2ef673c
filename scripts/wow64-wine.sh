#!/usr/bin/env bash
# Prepares the Wine that runs the i686 build's programs here: Debian 12's
# wine64 (8.0) starts a 32-bit Windows program in its WoW64 mode by itself,
# with no 32-bit Linux libraries, but the wine64 package lacks the 32-bit
# Windows libraries, which Debian ships in libwine:i386. That package is
# downloaded and unpacked only, never installed (installing it would pull
# 32-bit Linux libraries), and downloaded through an apt state of the build
# tree's own: the machine's apt configuration, its architectures and its
# package lists are left as they were. No root rights are needed.
#
# Made once per build tree, in BUILD_DIR/wow64/:
#   tree/  a private Wine: the system's wine64 and wineserver64 and its
#          x86_64 Unix libraries (hard links where allowed, copies
#          otherwise: Wine finds its libraries from the real path of its
#          loader), links to the system's x86_64 Windows libraries and
#          /usr/share/wine, and the unpacked i386-windows folder with
#          zlib1.dll (Debian's 32-bit user32 imports it);
#   bin/   wine, wineserver, wineboot and winepath that run that Wine;
#          scripts/wine-env.sh puts them first in PATH for this build tree.
# and the tests' prefix BUILD_DIR/wineprefix, made by that Wine, with its
# syswow64 folder filled with the 32-bit libraries (wineboot leaves it empty).
# The set-up is stamped as made only once a 32-bit program has started in
# it; anything less is made again from the start on the next run.
# Usage: scripts/wow64-wine.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
wow=$build/wow64
tree=$wow/tree
winedir=usr/lib/x86_64-linux-gnu/wine
version=$(dpkg-query -W -f='${Version}' wine64)
stamp="$wow/.dunko-wine-version"

fail() {
  echo "wow64-wine.sh: $*" >&2
  exit 1
}

# Downloads libwine:i386 of VERSION into DIR, with package lists of its own
# in DIR/apt. An index that cannot be fetched (a mirror in the middle of a
# sync, say) matters only when the package is then not to be had.
download_libwine_i386() {
  local version=$1 dir=$2 update_log status
  local apt=(apt-get -q -o "APT::Architecture=i386" -o "APT::Architectures=i386"
    -o "Dir::State::Lists=$dir/apt/lists" -o "Dir::Cache=$dir/apt/cache"
    -o "Dir::State::extended_states=$dir/apt/extended_states"
    -o "Acquire::Languages=none")
  # apt's download sandbox user may not write into the build tree.
  if [ "$(id -u)" -eq 0 ]; then apt+=(-o APT::Sandbox::User=root); fi
  mkdir -p "$dir/apt/lists/partial" "$dir/apt/cache/archives/partial"
  update_log=$("${apt[@]}" update 2>&1) || true
  status=0
  (cd "$dir" && "${apt[@]}" download "libwine:i386=$version" >/dev/null 2>&1) || status=$?
  if [ $status -ne 0 ] || ! ls "$dir"/libwine_*_i386.deb >/dev/null 2>&1; then
    printf '%s\n' "$update_log" >&2
    fail "libwine:i386 $version (the 32-bit libraries of the installed wine64) cannot be downloaded; apt's index update said the above"
  fi
  rm -rf "$dir/apt"
}

# Hard links cost no space, but need the right to link (fs.protected_hardlinks
# refuses a normal user root's files) and one file system; else a copy.
link_or_copy() {
  mkdir -p "$(dirname "$2")"
  rm -rf "$2"
  if ! cp -al "$1" "$2" 2>/dev/null; then
    rm -rf "$2"
    cp -a "$1" "$2"
  fi
}

make_tree() {
  local new=$1
  link_or_copy /usr/lib/wine/wine64 "$new/tree/usr/lib/wine/wine64"
  link_or_copy /usr/lib/wine/wineserver64 "$new/tree/usr/lib/wine/wineserver64"
  link_or_copy "/$winedir/x86_64-unix" "$new/tree/$winedir/x86_64-unix"
  # Looked up by path below the loader's folder, so links do: no 650 MB copy.
  ln -s "/$winedir/x86_64-windows" "$new/tree/$winedir/x86_64-windows"
  mkdir -p "$new/tree/usr/share"
  ln -s /usr/share/wine "$new/tree/usr/share/wine"
  dpkg-deb -x "$new"/libwine_*_i386.deb "$new/unpacked"
  mv "$new/unpacked/usr/lib/i386-linux-gnu/wine/i386-windows" "$new/tree/$winedir/i386-windows"
  cp /usr/i686-w64-mingw32/lib/zlib1.dll "$new/tree/$winedir/i386-windows/"
  rm -rf "$new/unpacked" "$new"/libwine_*_i386.deb

  mkdir -p "$new/bin"
  cat > "$new/bin/wine" <<EOF
#!/bin/sh
# The private WoW64 Wine of this build tree (scripts/wow64-wine.sh).
export WINELOADER="$tree/usr/lib/wine/wine64"
export WINESERVER="$tree/usr/lib/wine/wineserver64"
exec "\$WINELOADER" "\$@"
EOF
  cat > "$new/bin/wineserver" <<EOF
#!/bin/sh
exec "$tree/usr/lib/wine/wineserver64" "\$@"
EOF
  for tool in wineboot winepath; do
    printf '#!/bin/sh\nexec "%s" %s.exe "$@"\n' "$wow/bin/wine" "$tool" > "$new/bin/$tool"
  done
  chmod +x "$new/bin"/*
}

if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$version" ]; then
  echo "Downloading libwine:i386 $version and making the WoW64 Wine in $wow (once)"
  rm -rf "$wow" "$wow.new" "$build/wineprefix"
  mkdir -p "$wow.new"
  download_libwine_i386 "$version" "$wow.new"
  make_tree "$wow.new"
  mv "$wow.new" "$wow"
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

if [ ! -f "$stamp" ]; then
  source "$here/wine-env.sh" "$build"
  status=0
  wine 'C:\windows\syswow64\cmd.exe' /c exit 0 </dev/null >/dev/null 2>&1 || status=$?
  wineserver -k 2>/dev/null || true
  if [ $status -ne 0 ]; then
    fail "a 32-bit program does not start under the WoW64 Wine made in $wow (exit status $status); it will be made again on the next run"
  fi
  echo "$version" > "$stamp"
fi
