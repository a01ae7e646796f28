#!/usr/bin/env bash
# Takes an image of every program's window that is built, on fresh copies of
# the demo machines, with the offscreen platform (no display needed), into
# docs/screenshots/<program>.png. Programs not built are skipped with a note.
#   scripts/screenshots.sh [output folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

out="${1:-$root/docs/screenshots}"
dvdutil_install_deps
build="${DVDUTIL_BUILD_DIR:-$root/build}"
dvdutil_build "$build"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/suite" >/dev/null
mkdir -p "$out"

# The older family's builds are shown on the Windows 98 machine, the others on Windows 2000.
for program in toolgate flashspti flashaspi zonespti pacespti paceaspi; do
  if [ ! -x "$work/suite/bin/$program" ]; then
    echo "skipping $program: not built"
    continue
  fi
  machine=demo.json
  case "$program" in *aspi) machine=demo98.json ;; esac
  run="$work/$program"
  mkdir -p "$run"
  cp "$root/emulator/machines/$machine" "$run/machine.json"
  rm -f "$out/$program.png"
  (cd "$run" && HOME="$run" XDG_RUNTIME_DIR="$run" QT_QPA_PLATFORM=offscreen \
    DVDUTIL_MACHINE="$run/machine.json" DVDUTIL_SNAPSHOT="$out" \
    timeout 60 "$work/suite/bin/$program" >/dev/null 2>&1) || true
  if [ -s "$out/$program.png" ]; then
    echo "wrote $out/$program.png"
  else
    echo "error: $program showed no window" >&2
    exit 1
  fi
done
