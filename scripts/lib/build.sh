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

# Usage: hold_build_trees DIR... -- "$@"   (from the top of a script, in the
#   repository's root)
#   Runs the calling script again, with its arguments, holding a lock on each
#   build tree DIR until it ends; returns at once for the trees it already
#   holds. Two runs on one tree would otherwise build over each other, and
#   the second's set-up would delete the first's Wine, or end its
#   wineserver. The lock is taken by flock(1), which keeps it from the
#   script's own processes (a wineserver left behind cannot hold it).
#   Name the trees in one order everywhere (build/i686 before build/x64).
hold_build_trees() {
  local dir trees=()
  while [ "$1" != -- ]; do trees+=("$1"); shift; done
  shift
  for dir in "${trees[@]}"; do
    case ":${DUNKO_HELD_TREES:-}:" in *":$dir:"*) continue ;; esac
    mkdir -p "$dir"
    if ! flock -n "$dir/.dunko-lock" true; then
      echo "Waiting for another run on $dir to end"
    fi
    DUNKO_HELD_TREES="${DUNKO_HELD_TREES:-}:$dir" exec flock -o "$dir/.dunko-lock" "$dunko_scripts/$(basename "$0")" "$@"
  done
}
