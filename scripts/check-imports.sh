#!/usr/bin/env bash
# Fails when an executable of the given build trees imports a DLL that is not
# part of Windows itself (a C++ runtime, winpthread, ...): the game must run
# from a plain folder.
set -euo pipefail
allowed='^(kernel32|user32|gdi32|winmm|msvcrt|advapi32|shell32|comctl32|ole32|oleaut32|comdlg32|uxtheme|version|ws2_32|ntdll|imm32|bcrypt|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
for dir in "$@"; do
  while IFS= read -r -d '' exe; do
    while read -r dll; do
      lower=$(echo "$dll" | tr 'A-Z' 'a-z')
      if ! [[ "$lower" =~ $allowed ]]; then
        echo "check-imports: $exe imports $dll" >&2
        status=1
      fi
    done < <(objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
  done < <(find "$dir" -name '*.exe' -not -path '*/wineprefix/*' -not -path '*/playprefix/*' -not -path '*/wow64/*' -not -path '*/CMakeFiles/*' -print0)
done
exit $status
