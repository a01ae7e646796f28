#!/usr/bin/env bash
# Installs the built suite into a temporary prefix, checks what landed where,
# then starts the installed toolgate on a copy of the demo machine and has it
# press its tool buttons.
#   install_test.sh <build folder> <source folder>
set -euo pipefail
build="$1"
source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
for program in toolgate flashspti flashaspi pacespti paceaspi zonespti; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program not installed"
  entry="$prefix/share/applications/$program.desktop"
  [ -f "$entry" ] || fail "$program.desktop not installed"
  grep -qx "Exec=\"$prefix/bin/$program\"" "$entry" || fail "$program.desktop: Exec does not name the installed program"
  grep -qx "Icon=$program" "$entry" || fail "$program.desktop: no icon"
  grep -qx "Type=Application" "$entry" || fail "$program.desktop: not an application"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$program.svg" ] || fail "$program.svg not installed"
done
for tool in drivelist fwhex fwgen dvdspeed dvdregion; do
  [ -x "$prefix/bin/$tool" ] || fail "bin/$tool not installed"
done
version="$(sed -n 's/^project(dvdutil VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")"
for program in toolgate flashspti flashaspi pacespti paceaspi zonespti drivelist fwhex fwgen dvdspeed dvdregion; do
  page="$prefix/share/man/man1/$program.1"
  [ -s "$page" ] || fail "man page $program.1 not installed"
  grep -q "$version" "$page" || fail "$program.1 does not carry the version $version"
  grep -qi "exit status" "$page" || fail "$program.1 has no exit-status table"
  # Answered on the terminal: no display, no machine, no window.
  answer="$(env -i PATH=/usr/bin:/bin "$prefix/bin/$program" --version)" ||
    fail "$program --version failed"
  [ "$answer" = "$program $version" ] || fail "$program --version says \"$answer\""
done

cp "$source/emulator/machines/demo.json" "$work/demo.json"
# Each button, pressed in the installed toolgate, must start the installed tool
# beside it (which saves an image of its window and ends), and toolgate must come back.
# No other copy of the programs may be found: only the installed folder counts.
for button in 3:flashspti 4:zonespti 7:pacespti; do
  id="${button%%:*}" tool="${button#*:}"
  shots="$work/shots-$tool"
  mkdir "$shots"
  (cd "$work" && env -i HOME="$work" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen \
    DVDUTIL_MACHINE="$work/demo.json" DVDUTIL_SNAPSHOT="$shots" DVDUTIL_SNAPSHOT_PRESS="$id" \
    timeout 60 "$prefix/bin/toolgate") || fail "the installed toolgate did not end cleanly"
  [ -s "$shots/$tool.png" ] || fail "toolgate did not start the installed $tool"
  [ -s "$shots/toolgate.png" ] || fail "toolgate did not come back after $tool ended"
done
echo "installed suite: ok"
