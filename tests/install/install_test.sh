#!/usr/bin/env bash
# Installs the built suite into a temporary prefix, checks what landed where,
# then starts the installed toolgate on a copy of the demo machine and has it
# press "Update Utility": the installed flashspti beside it must start (it
# saves an image of its window and ends), and toolgate must come back.
#   install_test.sh <build folder> <source folder>
set -euo pipefail
build="$1"
source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for program in toolgate flashspti flashaspi; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
  entry="$prefix/share/applications/$program.desktop"
  [ -f "$entry" ] || fail "$program.desktop not installed"
  grep -qx "Exec=\"$prefix/bin/$program\"" "$entry" || fail "$program.desktop: Exec does not name the installed program"
  grep -qx "Icon=$program" "$entry" || fail "$program.desktop: no icon"
  grep -qx "Type=Application" "$entry" || fail "$program.desktop: not an application"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$program.svg" ] || fail "$program.svg not installed"
done
for tool in drivelist fwhex fwgen; do
  [ -x "$prefix/bin/$tool" ] || fail "bin/$tool not installed"
done

cp "$source/emulator/machines/demo.json" "$work/demo.json"
mkdir "$work/shots"
# No other copy of the programs may be found: only the installed folder counts.
(cd "$work" && env -i HOME="$work" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
  DVDUTIL_MACHINE="$work/demo.json" DVDUTIL_SNAPSHOT="$work/shots" DVDUTIL_SNAPSHOT_PRESS=3 \
  timeout 60 "$prefix/bin/toolgate") || fail "the installed toolgate did not end cleanly"
[ -s "$work/shots/flashspti.png" ] || fail "toolgate did not start the installed flashspti"
[ -s "$work/shots/toolgate.png" ] || fail "toolgate did not come back after flashspti ended"
echo "installed suite: ok"
