#!/usr/bin/env bash
# Fails when an executable of the given build trees imports a DLL that is not
# part of Windows itself (a C++ runtime, winpthread, ...): the game must run
# from a plain folder. For the game itself (Dunko.exe) it also checks each
# function it imports against scripts/windows7-imports.txt, the functions
# known to exist on Windows 7, so that the game still starts there: a newer
# function is looked up at run time instead. Reads the imports with the mingw-w64 binutils' objdump
# (scripts/install-deps.sh installs it), which reads 32-bit and 64-bit
# programs alike; fails when that tool is missing or cannot read a program.
set -euo pipefail
objdump=x86_64-w64-mingw32-objdump
if ! command -v "$objdump" >/dev/null; then
  echo "check-imports: $objdump is missing (package binutils-mingw-w64-x86-64)" >&2
  exit 2
fi
allowed='^(kernel32|user32|gdi32|winmm|msvcrt|advapi32|shell32|comctl32|ole32|oleaut32|comdlg32|uxtheme|version|ws2_32|ntdll|imm32|bcrypt|api-ms-win-[a-z0-9-]+)\.dll$'
known=$(grep -v '^#' "$(dirname "$0")/windows7-imports.txt")
status=0
checked=0
for dir in "$@"; do
  # The Wine prefixes and the WoW64 Wine are pruned, never walked: a prefix
  # is large, and links to the user's home and, by its drive Z:, to /.
  exes=$(find "$dir" \( -name wineprefix -o -name playprefix -o -name scaledprefix -o -name wow64 -o -name CMakeFiles \) -prune \
    -o -name '*.exe' -print)
  while IFS= read -r exe; do
    [ -n "$exe" ] || continue
    # Read first, so that a failure of objdump fails the check.
    if ! headers=$("$objdump" -p "$exe"); then
      echo "check-imports: $objdump cannot read $exe" >&2
      exit 2
    fi
    checked=$((checked + 1))
    while IFS= read -r dll; do
      [ -n "$dll" ] || continue
      lower=$(echo "$dll" | tr 'A-Z' 'a-z')
      if ! [[ "$lower" =~ $allowed ]]; then
        echo "check-imports: $exe imports $dll" >&2
        status=1
      fi
    done <<<"$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")"
    [ "$(basename "$exe")" = Dunko.exe ] || continue
    functions=$(awk '/DLL Name:/ { dll = tolower($3); next } /^\t[0-9a-f]+\t/ && dll != "" { print dll " " $3 }' <<<"$headers")
    if [ -z "$functions" ]; then
      echo "check-imports: no imported function read from $exe" >&2
      exit 2
    fi
    while IFS= read -r function; do
      if ! grep -qxF "$function" <<<"$known"; then
        echo "check-imports: $exe imports $function, not known to exist on Windows 7 (scripts/windows7-imports.txt)" >&2
        status=1
      fi
    done <<<"$functions"
  done <<<"$exes"
done
if [ "$checked" -eq 0 ]; then
  echo "check-imports: no executable found in $*" >&2
  exit 2
fi
exit $status
