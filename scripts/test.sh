#!/usr/bin/env bash
# One command: install what is missing, configure, build with warnings on, run
# every test through CTest. Exits non-zero on any failure.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   the same tests under AddressSanitizer and
#                                UndefinedBehaviorSanitizer, in build-sanitize/
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

sanitize=0
case "${1:-}" in
  "") ;;
  --sanitize) sanitize=1 ;;
  *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
esac

dvdutil_install_deps
if [ "$sanitize" -eq 1 ]; then
  build="${DVDUTIL_BUILD_DIR:-$root/build-sanitize}"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DDVDUTIL_WERROR=ON \
    -DDVDUTIL_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
    >/dev/null
  cmake --build "$build" -j "$(nproc)"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  build="${DVDUTIL_BUILD_DIR:-$root/build}"
  dvdutil_build "$build"
fi
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300
