#!/usr/bin/env bash
# Prepares a Wine prefix of a build tree (see wine-env.sh for the kinds):
# created once, and the game's registry settings applied again whenever they
# change: those of every prefix (wine-settings.reg.txt), 96 dpi but in the
# scaled one (wine-settings-96dpi.reg.txt), then those of its kind
# (wine-settings-KIND.reg.txt).
# Usage: scripts/wine-prefix.sh BUILD_DIR [tests|play|scaled]   (needs an X display or runs headless)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh" "$1" "${2:-tests}"

# One .reg text: the kind's file without its header line (and before it, in
# the prefixes at 96 dpi, that setting's).
settings=$(cat "$here/wine-settings.reg.txt"; echo
           [ "$dunko_wine_kind" = scaled ] || sed 1d "$here/wine-settings-96dpi.reg.txt"
           sed 1d "$here/wine-settings-$dunko_wine_kind.reg.txt")
stamp="$WINEPREFIX/.dunko-settings"
wanted=$(printf '%s\n' "$settings" | sha256sum | cut -d' ' -f1)

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating Wine prefix $WINEPREFIX (once; takes a while)"
  mkdir -p "$WINEPREFIX"
  # wineboot's own status says little (it fails for a missing display
  # driver, say, with a usable prefix); the prefix's registry says it all.
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wineserver -w
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-prefix.sh: Wine could not make the prefix $WINEPREFIX (does 'wine cmd /c exit' start?)" >&2
    rm -rf "$WINEPREFIX"
    exit 1
  fi
fi

# Wine draws the caption buttons and menu marks with its Marlett font; a
# prefix made without it shows letters there instead.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
  mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi

if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$wanted" ]; then
  # regedit reads UTF-16 .reg files, which keeps the Japanese face names
  # intact whatever the locale of this shell is.
  regfile="$WINEPREFIX/dunko-settings.reg"
  { printf '\xff\xfe'; printf '%s\n' "$settings" | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } > "$regfile"
  wine regedit /S "$(winepath -w "$regfile" 2>/dev/null)" </dev/null >/dev/null 2>&1
  wineserver -w
  echo "$wanted" > "$stamp"
fi
