#!/usr/bin/env bash
# Builds the i686 game (the product, for 32-bit and 64-bit Windows) and packs
# it for Windows users, and the x86_64 game for Linux players:
# - build/i686/Dunko-<version>-win32.zip: one folder with Dunko.exe,
#   data/piko1.wav beside it, the players' text ReadMe.txt, the licence
#   LICENSE.txt and THIRD-PARTY-NOTICES.txt;
# - build/i686/Dunko-<version>-win32-setup.exe: the installer (NSIS), a
#   per-user install with a Start-menu shortcut and an uninstaller;
# - build/x64/dunko_<version>_amd64.deb: the Debian package, which runs the
#   game under Wine (see /usr/games/dunko in it), checked with lintian.
# Lists each and checks that the packed executable imports system DLLs only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source scripts/lib/build.sh
# The build trees' lock, as the test scripts take it: a test run beside this
# would otherwise be built over.
hold_build_trees build/i686 build/x64 -- "$@"
build i686 x64

# cpack's staging folder goes as soon as the package is made: it holds
# copies of the programs that scripts/check-imports.sh would read too.
package() {
  local tree=$1 generator=$2
  (cd "$tree" && cpack -G "$generator" >/dev/null && rm -rf _CPack_Packages)
}
rm -f build/i686/Dunko-*-win32.zip build/i686/Dunko-*-win32-setup.exe build/x64/dunko_*_amd64.deb
package build/i686 ZIP
package build/i686 NSIS
package build/x64 DEB
zip=$(ls build/i686/Dunko-*-win32.zip)
setup=$(ls build/i686/Dunko-*-win32-setup.exe)
deb=$(ls build/x64/dunko_*_amd64.deb)

echo "$zip:"
cmake -E tar tvf "$zip"

# Unpack it as a user would and look at what is inside.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
(cd "$check" && cmake -E tar xf "$root/$zip")
folder="$check/$(basename "$zip" .zip)"
status=0
for file in Dunko.exe data/piko1.wav ReadMe.txt LICENSE.txt THIRD-PARTY-NOTICES.txt; do
  if [ ! -f "$folder/$file" ]; then
    echo "package: $file is missing from the ZIP" >&2
    status=1
  fi
done
if [ -f "$folder/Dunko.exe" ]; then
  echo "Dunko.exe imports:"
  # The mingw-w64 binutils' objdump, which the build installs.
  x86_64-w64-mingw32-objdump -p "$folder/Dunko.exe" | sed -n 's/^\s*DLL Name: /  /p'
  x86_64-w64-mingw32-objdump -f "$folder/Dunko.exe" | grep -q 'file format pei-i386' ||
    { echo "package: Dunko.exe is not a 32-bit Windows program" >&2; status=1; }
  # Fails when the program would need a DLL that is not part of Windows.
  scripts/check-imports.sh "$folder" || status=1
fi

echo
echo "$setup: $(stat -c %s "$setup") bytes"
x86_64-w64-mingw32-objdump -f "$setup" | grep -q 'file format pei-i386' ||
  { echo "package: the installer is not a 32-bit Windows program" >&2; status=1; }

echo
echo "$deb:"
dpkg-deb -I "$deb" | sed -n 's/^ \(Package\|Version\|Architecture\|Depends\|Recommends\|Installed-Size\):/  \1:/p'
dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { print "  " $6 ($7 ? " " $7 " " $8 : "") }'
# No error and no warning; the info-level and pedantic tags are shown.
lintian --pedantic --fail-on error,warning --display-info "$deb" || { echo "package: lintian finds faults in $deb" >&2; status=1; }
exit $status
