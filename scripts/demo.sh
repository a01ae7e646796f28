#!/usr/bin/env bash
# Installs what is missing, builds, and starts flashspti on the emulated demo
# machine in .demo/ (kept between runs, so the drives keep their firmware).
# Pass "aspi" as the first argument to start flashaspi instead, "pace" for the
# speed utility pacespti, "pace-aspi" for paceaspi.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

program=flashspti
programs_dir=flash/app
if [ "${1:-}" = "aspi" ]; then
  program=flashaspi
fi
case "${1:-}" in
  pace) program=pacespti programs_dir=pace/app ;;
  pace-aspi) program=paceaspi programs_dir=pace/app ;;
esac

dvdutil_install_deps
build="${DVDUTIL_BUILD_DIR:-$root/build}"
dvdutil_build "$build"

demo="$root/.demo"
mkdir -p "$demo"
if [ ! -f "$demo/demo.json" ]; then
  cp "$root/emulator/machines/demo.json" "$demo/demo.json"
fi
# Our own generated image for the KD-410 drive on D:, one version ahead.
if [ ! -f "$demo/UPDATE.HEX" ]; then
  "$build/tools/fwgen/fwgen" --model KD-410 --version 1.05 "$demo/UPDATE.HEX"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display is available to show the window." >&2
  echo "Run it under a virtual display:  xvfb-run scripts/demo.sh" >&2
  echo "or without any window at all:    QT_QPA_PLATFORM=offscreen scripts/demo.sh" >&2
  exit 1
fi

cd "$demo"
echo "Starting $program on the demo machine ($demo/demo.json); the demo image is UPDATE.HEX."
if [ "$programs_dir" = pace/app ]; then
  echo "Its drives show each speed case: see README.md, \"Speed utilities\"."
fi
DVDUTIL_MACHINE="$demo/demo.json" exec "$build/$programs_dir/$program"
