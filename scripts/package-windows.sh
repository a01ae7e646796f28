#!/usr/bin/env bash
# Makes the Windows ZIP, dvdutil-<version>-win32.zip, in the source folder:
# the Windows build (build-windows/, made by scripts/test.sh --windows or here)
# installed into one flat folder that runs as it is on Windows.
#   scripts/package-windows.sh           make the ZIP
#   scripts/package-windows.sh --check   make it, unpack it elsewhere and check
#                                        that every program is in it, needs no
#                                        DLL beyond the system's, and that the
#                                        tools run from there under Wine (CI)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: scripts/package-windows.sh [--check]" >&2; exit 2 ;;
esac

programs=(toolgate flashspti flashaspi zonespti pacespti paceaspi)
tools=(drivelist dvdregion dvdspeed fwhex fwgen)
# What Windows itself brings; anything else would have to travel in the ZIP.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|msvcrt|winmm|ws2_32|shlwapi|version|uxtheme|gdiplus)\.dll$'

fail() {
  echo "package-windows: FAIL: $*" >&2
  exit 1
}

dvdutil_install_deps
dvdutil_install_windows_deps
build="${DVDUTIL_BUILD_DIR:-$root/build-windows}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDVDUTIL_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-i686.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)"

version="$(cat "$build/dvdutil_version.txt")"
name="dvdutil-$version-win32"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Without the debugging information: a ZIP for users, a tenth of the size.
cmake --install "$build" --prefix "$work/$name" --strip >/dev/null
zip_file="$root/$name.zip"
rm -f "$zip_file"
(cd "$work" && zip -qr -X "$zip_file" "$name")
echo "wrote $zip_file"
[ "$check" -eq 1 ] || exit 0

mkdir "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$zip_file")
folder="$work/unpacked/$name"
for exe in "${programs[@]}" "${tools[@]}"; do
  [ -f "$folder/$exe.exe" ] || fail "$exe.exe is not in the ZIP"
  while read -r dll; do
    echo "${dll,,}" | grep -Eq "$system_dlls" || fail "$exe.exe needs $dll, which is not in the ZIP"
  done < <(i686-w64-mingw32-objdump -p "$folder/$exe.exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
extra="$(cd "$folder" && find . -type f ! -name '*.exe' | sort)"
[ -z "$extra" ] || fail "unexpected files in the ZIP: $extra"

export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe=d"
wineboot -i >/dev/null 2>&1 || true
for tool in "${tools[@]}"; do
  out="$(cd "$folder" && wine "./$tool.exe" --version </dev/null 2>&1 | tr -d '\r')" ||
    fail "$tool.exe --version failed from the unpacked folder: $out"
  echo "$out" | grep -q "$version" || fail "$tool.exe --version printed: $out"
done
wineserver -k >/dev/null 2>&1 || true
echo "package-windows: OK ($name.zip: ${#programs[@]} programs, ${#tools[@]} tools)"
