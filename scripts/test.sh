#!/usr/bin/env bash
# One command: install what is missing, configure, build with warnings on, run
# every test through CTest. Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

dvdutil_install_deps
build="${DVDUTIL_BUILD_DIR:-$root/build}"
dvdutil_build "$build"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300
