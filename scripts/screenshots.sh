#!/usr/bin/env bash
# Takes an image of every program's window that is built, on fresh copies of
# the demo machines, into docs/screenshots/<program>.png: the Qt build with the
# offscreen platform (no display needed), or with --windows the Windows build
# under Wine on a virtual X display, into docs/screenshots/windows/.
# Programs not built are skipped with a note.
#   scripts/screenshots.sh [output folder]
#   scripts/screenshots.sh --windows [output folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

programs=(toolgate flashspti flashaspi zonespti pacespti paceaspi)

# The older family's builds are shown on the Windows 98 machine, the others on Windows 2000.
machine_of() {
  case "$1" in *aspi) echo demo98.json ;; *) echo demo.json ;; esac
}

# Each built program's window into $out: $1 is where a program is installed
# ("%s" its name); start_program <executable> <run folder> starts it there on a
# fresh copy of its demo machine, its snapshot asked for.
take_snapshots() {
  local program executable run
  for program in "${programs[@]}"; do
    # shellcheck disable=SC2059  # the pattern is ours
    executable="$(printf "$1" "$program")"
    if [ ! -f "$executable" ]; then
      echo "skipping $program: not built"
      continue
    fi
    run="$work/$program"
    mkdir -p "$run"
    cp "$root/emulator/machines/$(machine_of "$program")" "$run/machine.json"
    rm -f "$out/$program.png"
    (cd "$run" && start_program "$executable" "$run") || true
    rm -f "$out/$program.txt"  # the window's text dump: the tests' business
    if [ -s "$out/$program.png" ]; then
      echo "wrote $out/$program.png"
    else
      echo "error: $program showed no window" >&2
      exit 1
    fi
  done
}

if [ "${1:-}" = "--windows" ]; then
  shift
  out="${1:-$root/docs/screenshots/windows}"
  dvdutil_install_deps
  dvdutil_install_windows_deps
  build="${DVDUTIL_BUILD_DIR:-$root/build-windows}"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVDUTIL_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-i686.cmake" >/dev/null
  cmake --build "$build" -j "$(nproc)"
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
  cmake --install "$build" --prefix "$work/suite" >/dev/null
  mkdir -p "$out"
  # One virtual display for every program; Wine draws the windows' own frames.
  dvdutil_start_xvfb "$work"
  trap 'wineserver -k >/dev/null 2>&1 || true; kill "$DVDUTIL_XVFB_PID" 2>/dev/null || true; rm -rf "$work"' EXIT
  # A new prefix is finished only when its first Wine server has ended.
  wineboot -i >/dev/null 2>&1
  wineserver -w
  wine winecfg -v win10 >/dev/null 2>&1
  wineserver -w
  dvdutil_wine_window_settings
  # The program under Wine, in its run folder $2, with Windows paths.
  start_program() {
    DVDUTIL_MACHINE="$(winepath -w "$2/machine.json")" DVDUTIL_SNAPSHOT="$(winepath -w "$out")" \
      timeout 120 wine "$1" </dev/null >/dev/null 2>&1
  }
  take_snapshots "$work/suite/%s.exe"
  exit 0
fi

out="${1:-$root/docs/screenshots}"
dvdutil_install_deps
build="${DVDUTIL_BUILD_DIR:-$root/build}"
dvdutil_build "$build"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/suite" >/dev/null
mkdir -p "$out"

# The program with Qt's offscreen platform, in its run folder $2.
start_program() {
  HOME="$2" XDG_RUNTIME_DIR="$2" QT_QPA_PLATFORM=offscreen DVDUTIL_MACHINE="$2/machine.json" \
    DVDUTIL_SNAPSHOT="$out" timeout 60 "$1" >/dev/null 2>&1
}
take_snapshots "$work/suite/bin/%s"
