#!/usr/bin/env bash
# One command: install what is missing, configure, build with warnings on, run
# every test through CTest. Exits non-zero on any failure.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   the same tests under AddressSanitizer and
#                                UndefinedBehaviorSanitizer, in build-sanitize/
#   scripts/test.sh --windows    the Windows build (mingw-w64, i686) in
#                                build-windows/, every Qt-free test under Wine
#                                (the window tests on an Xvfb display of its
#                                own), and its tools compared with the Linux ones
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

sanitize=0
windows=0
case "${1:-}" in
  "") ;;
  --sanitize) sanitize=1 ;;
  --windows) windows=1 ;;
  *) echo "usage: scripts/test.sh [--sanitize | --windows]" >&2; exit 2 ;;
esac

dvdutil_install_deps
if [ "$windows" -eq 1 ]; then
  dvdutil_install_windows_deps
  # The Linux tools the .exe tools are compared with.
  linux="${DVDUTIL_LINUX_BUILD_DIR:-$root/build}"
  cmake -S "$root" -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVDUTIL_WERROR=ON >/dev/null
  cmake --build "$linux" -j "$(nproc)" --target drivelist dvdregion dvdspeed fwgen fwhex
  build="${DVDUTIL_BUILD_DIR:-$root/build-windows}"
  mkdir -p "$build"
  # A Wine prefix of the build's own, made once; no prompts for Mono or
  # Gecko, no debugger when a program crashes.
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    # The new prefix is finished only when its server has ended: dialogs made
    # before that fail to be created.
    wineserver -w
    # Windows 10, where a program without a manifest is told it runs on 6.2.
    wine winecfg -v win10 >/dev/null 2>&1
    wineserver -w
  fi
  # The window tests need an X display: a virtual one of the run's own, up
  # before Wine's first process.
  dvdutil_start_xvfb "$build"
  # One Wine server for the whole run, ended with it (then the display).
  wineserver -p >/dev/null 2>&1 || true  # 2 when one already runs
  trap 'wineserver -k >/dev/null 2>&1 || true; kill "$DVDUTIL_XVFB_PID" 2>/dev/null || true' EXIT
  trap 'exit 1' INT TERM  # an interrupted run ends them too
  dvdutil_wine_window_settings
  # Start Wine's own services now, away from CTest: started by the first test
  # they would inherit its output pipe, and CTest would wait for them to close it.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVDUTIL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-i686.cmake" \
    -DDVDUTIL_LINUX_BUILD_DIR="$linux" >/dev/null
  cmake --build "$build" -j "$(nproc)"
  cd "$build"
  ctest --output-on-failure -j "$(nproc)" --timeout 600
  exit 0
fi
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
