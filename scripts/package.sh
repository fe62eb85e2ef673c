#!/usr/bin/env bash
# Builds the i686 game (the product, for 32-bit and 64-bit Windows) and packs
# it for Windows users as build/i686/Dunko-<version>-win32.zip: one folder
# with Dunko.exe, data/piko1.wav beside it and the players' text ReadMe.txt.
# Lists the ZIP and checks that the packed executable imports system DLLs only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

source scripts/lib/build.sh
build i686

rm -f build/i686/Dunko-*-win32.zip
(cd build/i686 && cpack -G ZIP >/dev/null)
zip=$(ls build/i686/Dunko-*-win32.zip)

echo "$zip:"
cmake -E tar tvf "$zip"

# Unpack it as a user would and look at what is inside.
check=$(mktemp -d)
trap 'rm -rf "$check"' EXIT
(cd "$check" && cmake -E tar xf "$root/$zip")
folder="$check/$(basename "$zip" .zip)"
status=0
for file in Dunko.exe data/piko1.wav ReadMe.txt; do
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
exit $status
