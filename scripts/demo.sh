#!/usr/bin/env bash
# Installs what is missing, builds, installs the suite into .demo/suite and
# starts it on the emulated demo machine in .demo/ (kept between runs, so the
# drives keep their firmware).
#   scripts/demo.sh               toolgate on the Windows 2000 demo machine
#   scripts/demo.sh launcher-98   toolgate on the Windows 98 SE demo machine
#   scripts/demo.sh spti | aspi   flashspti | flashaspi on the Windows 2000 one
#   scripts/demo.sh pace | pace-aspi   the speed utility pacespti | paceaspi
#   scripts/demo.sh zone          the region utility zonespti
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

program=toolgate
machine=demo.json
case "${1:-}" in
  "") ;;
  launcher-98) machine=demo98.json ;;
  spti) program=flashspti ;;
  aspi) program=flashaspi ;;
  pace) program=pacespti ;;
  pace-aspi) program=paceaspi ;;
  zone) program=zonespti ;;
  *) echo "usage: scripts/demo.sh [launcher-98 | spti | aspi | pace | pace-aspi | zone]" >&2; exit 2 ;;
esac

dvdutil_install_deps
build="${DVDUTIL_BUILD_DIR:-$root/build}"
dvdutil_build "$build"

demo="$root/.demo"
mkdir -p "$demo"
for file in demo.json demo98.json; do
  if [ ! -f "$demo/$file" ]; then
    cp "$root/emulator/machines/$file" "$demo/$file"
  fi
done
# The installed suite: toolgate finds the programs beside itself.
cmake --install "$build" --prefix "$demo/suite" >/dev/null
# Our own generated image for the KD-410 drive on D:, one version ahead.
if [ ! -f "$demo/UPDATE.HEX" ]; then
  "$build/tools/fwgen/fwgen" --model KD-410 --firmware-version 1.05 "$demo/UPDATE.HEX"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display is available to show the window." >&2
  echo "Run it under a virtual display:  xvfb-run scripts/demo.sh" >&2
  echo "or without any window at all:    QT_QPA_PLATFORM=offscreen scripts/demo.sh" >&2
  exit 1
fi

cd "$demo"
echo "Starting $program on the demo machine ($demo/$machine); the demo image is UPDATE.HEX."
case "$program" in
  pace*) echo "Its drives show each speed case: see README.md, \"Speed utilities\"." ;;
  zonespti) echo "Its drives: E: is new, Y: has region 2 and a region 2 DVD, Z: is permanent." ;;
esac
DVDUTIL_MACHINE="$demo/$machine" exec "$demo/suite/bin/$program"
