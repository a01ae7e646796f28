#!/usr/bin/env bash
# Opens each windowed program of the Linux build (Qt, offscreen) and of the
# Windows build (under Wine, on the X display of the run) on its own copy of
# the same demo machine, with DVDUTIL_SNAPSHOT, and compares the window dumps
# (<program>.txt: caption, every control's text and state) byte for byte:
# once as the window opens, once after one button is pressed, so the texts a
# command sequence leaves are compared too. The dumps of programs a program
# starts (the launcher's tools) are compared as well.
#   compare_windows.sh <linux build dir> <source dir> <program>=<.exe> ...
# The .exe arguments are the windowed programs the Windows build made; each
# must have a Linux build and a row below, or the comparison fails. Wine's
# settings (WINEPREFIX, WINEDEBUG, DISPLAY, ...) come from the environment.
set -uo pipefail
linux="$(realpath "$1")"
source="$(realpath "$2")"
shift 2
work="$(mktemp -d "${TMPDIR:-/tmp}/compare-windows-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Each program: the demo machine it opens on, and the control pressed in the
# second run (Get Region, Drive Information, the launcher's Speed Control
# Utility, which starts paceaspi beside it on the 98 machine). The updaters
# have none: each of their buttons waits for a box's answer.
setting_of() {
  case "$1" in
    flashspti) echo "demo.json -" ;;
    flashaspi) echo "demo98.json -" ;;
    zonespti) echo "demo.json 1021" ;;
    pacespti) echo "demo.json 1008" ;;
    paceaspi) echo "demo98.json 1008" ;;
    toolgate) echo "demo98.json 7" ;;
    *) return 1 ;;
  esac
}

# Every program's Linux build (in <prog>/app/) and Windows build, each side
# in one folder, so the launcher finds the tools beside it.
mkdir -p "$work/bin/linux" "$work/bin/windows"
programs=()
failures=0
for pair in "$@"; do
  program="${pair%%=*}"
  exe="${pair#*=}"
  built="$(find "$linux" -path '*/CMakeFiles' -prune -o -type f -path "*/app/$program" \
    -perm -u+x -print | head -n 1)"
  if [ -z "$built" ]; then
    echo "NOT COMPARED: $program.exe is built, $program is not in $linux"
    failures=$((failures + 1))
    continue
  fi
  if ! setting_of "$program" >/dev/null; then
    echo "NOT COMPARED: no demo machine and button set for $program in $0"
    failures=$((failures + 1))
    continue
  fi
  cp "$built" "$work/bin/linux/$program"
  cp "$exe" "$work/bin/windows/$program.exe"
  programs+=("$program")
done

# One run of one side: the dumps land in $folder/shots.
run_side() {
  local side="$1" program="$2" machine="$3" press="$4" folder="$5"
  mkdir -p "$folder/shots"
  chmod 700 "$folder"
  cp "$source/emulator/machines/$machine" "$folder/machine.json"
  local variables=(DVDUTIL_MACHINE=machine.json)
  [ -n "$press" ] && variables+=(DVDUTIL_SNAPSHOT_PRESS="$press")
  if [ "$side" = linux ]; then
    (cd "$folder" && env "${variables[@]}" HOME="$folder" XDG_RUNTIME_DIR="$folder" \
      QT_QPA_PLATFORM=offscreen DVDUTIL_SNAPSHOT="$folder/shots" \
      timeout 120 "$work/bin/linux/$program" </dev/null >"$folder/output" 2>&1)
  else
    (cd "$folder" && env "${variables[@]}" DVDUTIL_SNAPSHOT="$(winepath -w "$folder/shots")" \
      timeout 120 wine "$work/bin/windows/$program.exe" </dev/null >"$folder/output" 2>&1)
  fi
  echo "$?" >"$folder/status"
}

for program in "${programs[@]}"; do
  read -r machine button <<<"$(setting_of "$program")"
  presses=("")
  [ "$button" != - ] && presses+=("$button")
  for press in "${presses[@]}"; do
    label="$program on $machine${press:+, $press pressed}"
    run="$work/$program${press:+-$press}"
    for side in linux windows; do
      run_side "$side" "$program" "$machine" "$press" "$run/$side"
    done
    if [ ! -s "$run/linux/shots/$program.txt" ] || [ ! -s "$run/windows/shots/$program.txt" ]; then
      echo "NO WINDOW: $label (exit status $(cat "$run/linux/status") on Linux," \
        "$(cat "$run/windows/status") under Wine)"
      tail -n 5 "$run/linux/output" "$run/windows/output"
      failures=$((failures + 1))
      continue
    fi
    # The program's own dump and those of the programs it started.
    for dump in $( (cd "$run/linux/shots" && ls ./*.txt; cd "$run/windows/shots" && ls ./*.txt) |
      sort -u); do
      dump="${dump#./}"
      if ! cmp -s "$run/linux/shots/$dump" "$run/windows/shots/$dump"; then
        echo "DIFFERENT: $label, $dump (< Linux, > Windows)"
        diff "$run/linux/shots/$dump" "$run/windows/shots/$dump" | head -n 40
        failures=$((failures + 1))
      fi
    done
    echo "compared: $label"
  done
done
if [ "${#programs[@]}" -eq 0 ]; then
  echo "no windowed program to compare"
  failures=$((failures + 1))
fi
if [ "$failures" -ne 0 ]; then
  echo "$failures differences between the Linux and the Windows windows"
  exit 1
fi
echo "The Linux and the Windows programs show the same texts."
