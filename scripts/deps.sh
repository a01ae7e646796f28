#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Sourced by test.sh and demo.sh.
set -euo pipefail

DVDUTIL_PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev libglx-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  fonts-dejavu-core
  fonts-lato  # a black face for the windows' "Arial Black"
  help2man  # the man pages, made from each program's --help
)

# Installs whichever of the named packages is missing (as root, or through
# sudo); a name with ":i386" first adds that architecture.
dvdutil_install_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ "${#missing[@]}" -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo="sudo"
    else
      echo "error: missing packages (${missing[*]}) and not root; install them or run as root" >&2
      return 1
    fi
  fi
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

dvdutil_install_deps() { dvdutil_install_packages "${DVDUTIL_PACKAGES[@]}"; }

# The Windows build and its tests: mingw-w64 (posix threads), Wine with its
# 32-bit side and its fonts, the GoogleTest sources to build with the cross
# compiler, a virtual X display for the window tests, and zip for the Windows ZIP.
DVDUTIL_WINDOWS_PACKAGES=(g++-mingw-w64-i686-posix wine wine32:i386 fonts-wine googletest xvfb xauth zip
                          unzip)

dvdutil_install_windows_deps() { dvdutil_install_packages "${DVDUTIL_WINDOWS_PACKAGES[@]}"; }

# Starts a virtual X display of the caller's own on a free display number and
# exports DISPLAY; the caller ends it (kill "$DVDUTIL_XVFB_PID"). $1: a folder
# for the file Xvfb writes its display number to.
dvdutil_start_xvfb() {
  local number="$1/xvfb.display"
  rm -f "$number"
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$number" 2>/dev/null &
  DVDUTIL_XVFB_PID=$!
  local _
  for _ in $(seq 100); do
    [ -s "$number" ] && break
    kill -0 "$DVDUTIL_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$number" ]; then
    echo "error: Xvfb did not start" >&2
    return 1
  fi
  DISPLAY=":$(cat "$number")"
  export DISPLAY
}

# Wine (WINEPREFIX set, its server running) for windows on that display: its
# own window frames, as there is no window manager (hiding a window then waits
# for nobody), and Arial Black shown as Lato Black, the Qt windows' stand-in.
dvdutil_wine_window_settings() {
  # The caption buttons' symbols come from Marlett, which Wine finds only in the
  # prefix's own font folder.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ]; then cp -f "$marlett" "$fonts/"; fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Arial Black' /d 'Lato Black' /f \
    </dev/null >/dev/null 2>&1 || true
}

# Configures and builds the tree into $1 (default: build/).
dvdutil_build() {
  local root build
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  build="${1:-$root/build}"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVDUTIL_WERROR=ON >/dev/null
  cmake --build "$build" -j "$(nproc)"
}
