# Sourced by the scripts that build the game before they use it.
# Usage: build [--desktop] PRESET[:TARGET]...
#   Installs what is missing (scripts/install-deps.sh, given the leading
#   --desktop when there is one), then configures each CMake preset and builds
#   it: the whole tree, or only TARGET when one follows a colon (x64:Dunko).
build() {
  local deps=() step preset
  if [ "${1:-}" = "--desktop" ]; then deps+=("$1"); shift; fi
  "$dunko_scripts/install-deps.sh" "${deps[@]}"
  for step in "$@"; do
    preset=${step%%:*}
    cmake --preset "$preset" >/dev/null
    if [ "$step" = "$preset" ]; then
      cmake --build --preset "$preset"
    else
      cmake --build --preset "$preset" --target "${step#*:}"
    fi
  done
}
dunko_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
